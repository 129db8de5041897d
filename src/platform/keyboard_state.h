#pragma once

#include <memory>

namespace platform {

// The lock states the status bar shows. On X11 they come from the X server's
// keyboard indicators, so a lock switched in another window is seen too.
class KeyboardState {
public:
    virtual ~KeyboardState() = default;
    virtual bool numLock() const = 0;
    virtual bool capsLock() const = 0;
};

// X11 when the program runs on an X display, else a fallback that reports
// what Qt can tell (both locks off).
std::unique_ptr<KeyboardState> MakeKeyboardState();

}  // namespace platform
