// Virtual-key codes to X keysyms, and the fallback that refuses every key.
#include <gtest/gtest.h>
#include <QGuiApplication>

#include "platform/hot_key.h"

namespace {

TEST(HotKeyKeysyms, VirtualKeysMapToTheirKeysyms)
{
    const struct {
        int virtualKey;
        unsigned keysym;
    } rows[] = {
        {'A', 'a'},     {'T', 't'},     {'Z', 'z'},     {'0', '0'},
        {'9', '9'},     {0x70, 0xffbe},  // F1
        {0x7B, 0xffc9},                  // F12
        {0x87, 0xffd5},                  // F24
        {0x60, 0xffb0},                  // keypad 0
        {0x69, 0xffb9},                  // keypad 9
        {0x20, 0x20},   {0x1B, 0xff1b}, {0x2E, 0xffff}, {0x24, 0xff50},
        {0x28, 0xff54}, {0x00, 0},      {0x10, 0},  // Shift alone is no key to grab
        {0x5B, 0},      {0xFF, 0},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(platform::KeysymForVirtualKey(row.virtualKey), row.keysym) << row.virtualKey;
    }
}

TEST(HotKeyFallback, RefusesEveryKeyOffX11)
{
    if (QGuiApplication::platformName() == QStringLiteral("xcb")) GTEST_SKIP() << "on X11";
    const auto key = platform::MakeHotKey();
    EXPECT_FALSE(key->grab(platform::HotKey::Control, 'T'));
    key->release();
}

}  // namespace
