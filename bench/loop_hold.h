#pragma once

// How long an action holds the event loop, for the benchmarks that drive an
// editing area offscreen.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <algorithm>
#include <functional>

namespace bench {

// Milliseconds the action held the loop, with the repaint it caused, and
// the longest of a few turns of the loop after it.
inline double Held(const std::function<void()>& action)
{
    QElapsedTimer clock;
    clock.start();
    action();
    QCoreApplication::sendPostedEvents();
    double held = double(clock.nsecsElapsed()) / 1e6;
    for (int i = 0; i < 5; ++i) {
        QElapsedTimer turn;
        turn.start();
        QCoreApplication::processEvents();
        held = std::max(held, double(turn.nsecsElapsed()) / 1e6);
    }
    return held;
}

}  // namespace bench
