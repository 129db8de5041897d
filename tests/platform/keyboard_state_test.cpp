// The lock states as the program obtains them from MakeKeyboardState(). The
// XKB reading is exercised on the xcb platform by the platform_tests_on_xcb
// run (the whole program under scripts/with-xvfb.sh).
#include <gtest/gtest.h>
#include <QGuiApplication>

#include "lock_checks.h"
#include "platform/keyboard_state.h"
#include "virtual_display.h"

using namespace Qt::Literals::StringLiterals;

namespace {

bool onXcb()
{
    return QGuiApplication::platformName() == u"xcb"_s;
}

}  // namespace

TEST(KeyboardStateFactory, ReportsBothLocksOffAwayFromX11)
{
    if (onXcb()) GTEST_SKIP() << "runs on platforms other than xcb";
    const auto state = platform::MakeKeyboardState();
    ASSERT_NE(state, nullptr);
    EXPECT_FALSE(state->capsLock());
    EXPECT_FALSE(state->numLock());
}

TEST(KeyboardStateFactory, IgnoresAnXServerTheProgramDoesNotRunOn)
{
    if (onXcb()) GTEST_SKIP() << "runs on platforms other than xcb";
    // Even with a display in the environment whose locks are on, a program on
    // another platform has no business reading that server.
    const VirtualDisplay display;
    ASSERT_TRUE(display.isRunning()) << display.failure().toStdString();
    ASSERT_EQ(pressKey(display.name(), u"Caps_Lock"_s), u""_s);
    ASSERT_EQ(pressKey(display.name(), u"Num_Lock"_s), u""_s);
    const QByteArray savedDisplay = qgetenv("DISPLAY");
    qputenv("DISPLAY", display.name().toLocal8Bit());

    const auto state = platform::MakeKeyboardState();
    EXPECT_FALSE(state->capsLock());
    EXPECT_FALSE(state->numLock());
    if (savedDisplay.isEmpty())
        qunsetenv("DISPLAY");
    else
        qputenv("DISPLAY", savedDisplay);
}

TEST(KeyboardStateFactory, FollowsCapsLockOnTheProgramsDisplay)
{
    if (!onXcb()) GTEST_SKIP() << "needs the xcb platform";
    expectLockFollowsTwoPresses(*platform::MakeKeyboardState(), {}, kCapsLockKey);
}

TEST(KeyboardStateFactory, FollowsNumLockOnTheProgramsDisplay)
{
    if (!onXcb()) GTEST_SKIP() << "needs the xcb platform";
    expectLockFollowsTwoPresses(*platform::MakeKeyboardState(), {}, kNumLockKey);
}
