#pragma once

#include <QString>

#include "platform/keyboard_state.h"

// One lock key: the keysym that switches it, the reading that should follow
// it and the reading of the other lock, which must not.
struct LockKey {
    QString keysym;
    bool (platform::KeyboardState::*reads)() const;
    bool (platform::KeyboardState::*other)() const;
};

extern const LockKey kCapsLockKey;
extern const LockKey kNumLockKey;

// Starting with both locks off, presses the key twice on `display` (empty:
// the environment's) and expects the lock on after the first press and off
// after the second, the other lock off throughout.
void expectLockFollowsTwoPresses(const platform::KeyboardState& state, const QString& display,
                                 const LockKey& lock);
