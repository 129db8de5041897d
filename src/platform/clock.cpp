#include "platform/clock.h"

namespace platform {

namespace {

class SystemClock final : public Clock {
public:
    QDateTime now() const override { return QDateTime::currentDateTime(); }
};

}  // namespace

std::unique_ptr<Clock> MakeSystemClock()
{
    return std::make_unique<SystemClock>();
}

}  // namespace platform
