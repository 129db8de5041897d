#pragma once

#include <QDateTime>
#include <memory>

namespace platform {

// The local clock, behind a seam so tests can fix the time.
class Clock {
public:
    virtual ~Clock() = default;
    virtual QDateTime now() const = 0;
};

std::unique_ptr<Clock> MakeSystemClock();

}  // namespace platform
