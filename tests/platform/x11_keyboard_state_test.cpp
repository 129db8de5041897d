// The XKB reading against a private Xvfb server, on a connection of the
// test's own, whatever platform the test program's QApplication uses.
#include <xcb/xcb.h>

#include <gtest/gtest.h>
#include <memory>

#include "lock_checks.h"
#include "platform/x11_keyboard_state.h"
#include "virtual_display.h"

using namespace Qt::Literals::StringLiterals;

namespace {

struct Disconnect {
    void operator()(xcb_connection_t* connection) const { xcb_disconnect(connection); }
};
using Connection = std::unique_ptr<xcb_connection_t, Disconnect>;

class X11KeyboardStateTest : public ::testing::Test {
protected:
    // A fresh server per test, so every test starts with both locks off.
    void SetUp() override
    {
        m_display = std::make_unique<VirtualDisplay>();
        ASSERT_TRUE(m_display->isRunning()) << m_display->failure().toStdString();
        m_connection.reset(xcb_connect(m_display->name().toLocal8Bit().constData(), nullptr));
        ASSERT_EQ(xcb_connection_has_error(m_connection.get()), 0);
        m_state = platform::MakeX11KeyboardState(m_connection.get());
        ASSERT_NE(m_state, nullptr);
    }

    void TearDown() override
    {
        m_state.reset();
        m_connection.reset();
        m_display.reset();
    }

    void press(const QString& keysym) const
    {
        ASSERT_EQ(pressKey(m_display->name(), keysym), u""_s);
    }

    std::unique_ptr<VirtualDisplay> m_display;
    Connection m_connection;
    std::unique_ptr<platform::KeyboardState> m_state;
};

}  // namespace

TEST_F(X11KeyboardStateTest, StartsWithBothLocksOff)
{
    EXPECT_FALSE(m_state->capsLock());
    EXPECT_FALSE(m_state->numLock());
}

TEST_F(X11KeyboardStateTest, CapsLockGoesOnAndOffWithEachPress)
{
    expectLockFollowsTwoPresses(*m_state, m_display->name(), kCapsLockKey);
}

TEST_F(X11KeyboardStateTest, NumLockGoesOnAndOffWithEachPress)
{
    expectLockFollowsTwoPresses(*m_state, m_display->name(), kNumLockKey);
}

TEST_F(X11KeyboardStateTest, TheTwoLocksAreIndependent)
{
    press(u"Caps_Lock"_s);
    press(u"Num_Lock"_s);
    EXPECT_TRUE(eventually([&] { return m_state->capsLock() && m_state->numLock(); }));

    press(u"Caps_Lock"_s);
    EXPECT_TRUE(eventually([&] { return !m_state->capsLock(); }));
    EXPECT_TRUE(m_state->numLock());

    press(u"Num_Lock"_s);
    EXPECT_TRUE(eventually([&] { return !m_state->numLock(); }));
    EXPECT_FALSE(m_state->capsLock());
}

TEST(X11KeyboardStateWithoutServer, GivesNothingForABrokenConnection)
{
    EXPECT_EQ(platform::MakeX11KeyboardState(nullptr), nullptr);
    // A display number no server listens on: xcb hands back a connection in
    // its error state rather than null.
    const Connection broken(xcb_connect(":65000", nullptr));
    ASSERT_NE(xcb_connection_has_error(broken.get()), 0);
    EXPECT_EQ(platform::MakeX11KeyboardState(broken.get()), nullptr);
}
