#include "lock_checks.h"

#include <gtest/gtest.h>

#include "virtual_display.h"

using namespace Qt::Literals::StringLiterals;

const LockKey kCapsLockKey{u"Caps_Lock"_s, &platform::KeyboardState::capsLock,
                           &platform::KeyboardState::numLock};
const LockKey kNumLockKey{u"Num_Lock"_s, &platform::KeyboardState::numLock,
                          &platform::KeyboardState::capsLock};

void expectLockFollowsTwoPresses(const platform::KeyboardState& state, const QString& display,
                                 const LockKey& lock)
{
    const auto isOn = [&] { return (state.*lock.reads)(); };
    ASSERT_FALSE(isOn()) << "the display must start with the lock off";

    ASSERT_EQ(pressKey(display, lock.keysym), u""_s);
    EXPECT_TRUE(eventually(isOn)) << "on after one press of " << lock.keysym.toStdString();
    EXPECT_FALSE((state.*lock.other)());

    ASSERT_EQ(pressKey(display, lock.keysym), u""_s);
    EXPECT_TRUE(eventually([&] { return !isOn(); }))
        << "off after a second press of " << lock.keysym.toStdString();
    EXPECT_FALSE((state.*lock.other)());
}
