#pragma once

#include <QDateTime>
#include <memory>

// The local clock, behind a seam so tests can fix the time.
class Clock {
public:
    virtual ~Clock() = default;
    virtual QDateTime now() const = 0;
};

std::unique_ptr<Clock> makeSystemClock();
