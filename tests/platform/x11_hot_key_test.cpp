// System-wide keys on a real X server, pressed by another client (xdotool).
#include <xcb/xcb.h>

#include <gtest/gtest.h>
#include <QGuiApplication>
#include <QTest>
#include <memory>

#include "platform/hot_key.h"
#include "platform/x11_keymap.h"
#include "virtual_display.h"

using namespace Qt::Literals::StringLiterals;

namespace {

struct Disconnect {
    void operator()(xcb_connection_t* connection) const { xcb_disconnect(connection); }
};
using Connection = std::unique_ptr<xcb_connection_t, Disconnect>;

class HotKeyOnX11 : public ::testing::Test {
protected:
    std::unique_ptr<platform::HotKey> key;
    int fired = 0;

    void SetUp() override
    {
        if (QGuiApplication::platformName() != u"xcb"_s) GTEST_SKIP() << "needs an X display";
        key = platform::MakeHotKey();
        key->setHandler([this] { ++fired; });
    }

    void press(const char* keys) const
    {
        ASSERT_EQ(pressKey({}, QString::fromLatin1(keys)), u""_s);
    }
    // Presses and tells whether the handler ran within a short while.
    bool fires(const char* keys)
    {
        const int before = fired;
        press(keys);
        return QTest::qWaitFor([&] { return fired > before; }, 1000);
    }

    // Another program's try at the same key without modifiers other than
    // Ctrl: true when the server lets it have the key.
    static bool otherProgramGets(uint32_t keysym)
    {
        const Connection other(xcb_connect(nullptr, nullptr));
        if (xcb_connection_has_error(other.get())) return false;
        const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(other.get())).data->root;
        const uint8_t keycode = platform::X11KeycodeForKeysym(other.get(), keysym);
        const platform::X11Reply<xcb_generic_error_t> error(xcb_request_check(
            other.get(), xcb_grab_key_checked(other.get(), 0, root, XCB_MOD_MASK_CONTROL, keycode,
                                              XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC)));
        return !error;
    }
};

TEST_F(HotKeyOnX11, FiresWhateverTheLocksAndOnlyForItsModifiers)
{
    ASSERT_TRUE(key->grab(platform::HotKey::Control, 'T'));
    EXPECT_TRUE(fires("ctrl+t"));
    EXPECT_FALSE(fires("t"));
    EXPECT_FALSE(fires("ctrl+shift+t"));
    press("Num_Lock");
    EXPECT_TRUE(fires("ctrl+t"));
    press("Caps_Lock");
    EXPECT_TRUE(fires("ctrl+t"));
    press("Num_Lock");
    EXPECT_TRUE(fires("ctrl+t"));
    press("Caps_Lock");

    ASSERT_TRUE(key->grab(platform::HotKey::Shift | platform::HotKey::Alt, 0x70));
    EXPECT_TRUE(fires("shift+alt+F1"));
    key->release();
    EXPECT_FALSE(fires("shift+alt+F1"));
}

TEST_F(HotKeyOnX11, ANewKeyLetsTheOldOneGo)
{
    ASSERT_TRUE(key->grab(platform::HotKey::Control, 'T'));
    EXPECT_FALSE(otherProgramGets('t'));
    ASSERT_TRUE(key->grab(platform::HotKey::Control, 'Y'));
    EXPECT_FALSE(fires("ctrl+t"));
    EXPECT_TRUE(fires("ctrl+y"));
    EXPECT_TRUE(otherProgramGets('t'));
    key->release();
    EXPECT_TRUE(otherProgramGets('y'));
}

TEST_F(HotKeyOnX11, AKeyHeldByAnotherProgramIsRefused)
{
    const Connection other(xcb_connect(nullptr, nullptr));
    ASSERT_EQ(xcb_connection_has_error(other.get()), 0);
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(other.get())).data->root;
    const uint8_t keycode = platform::X11KeycodeForKeysym(other.get(), 'u');
    ASSERT_NE(keycode, 0);
    // Held with Caps Lock only: one variant of ours is refused, so none stays.
    ASSERT_EQ(xcb_request_check(other.get(),
                                xcb_grab_key_checked(
                                    other.get(), 0, root, XCB_MOD_MASK_CONTROL | XCB_MOD_MASK_LOCK,
                                    keycode, XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC)),
              nullptr);
    EXPECT_FALSE(key->grab(platform::HotKey::Control, 'U'));
    EXPECT_FALSE(fires("ctrl+u"));
    EXPECT_TRUE(otherProgramGets('u'));
}

}  // namespace
