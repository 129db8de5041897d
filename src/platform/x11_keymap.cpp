#include "platform/x11_keymap.h"

#include <xcb/xcb.h>

#include <QGuiApplication>

namespace platform {

xcb_connection_t* X11ConnectionOfQt()
{
    if (!qGuiApp || QGuiApplication::platformName() != QLatin1StringView("xcb")) return nullptr;
    const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 ? x11->connection() : nullptr;
}

namespace {

constexpr xcb_keysym_t kNumLockKeysym = 0xff7f;  // XK_Num_Lock

}  // namespace

// Which real modifier Num Lock locks depends on the keymap (Mod2 nearly
// everywhere, but nothing guarantees it), so look for the modifier that holds
// a key producing Num_Lock. Caps Lock always locks the core Lock modifier.
uint8_t X11NumLockMask(xcb_connection_t* connection)
{
    constexpr uint8_t kUsualMask = XCB_MOD_MASK_2;
    const xcb_setup_t* setup = xcb_get_setup(connection);
    const xcb_keycode_t first = setup->min_keycode;
    const uint8_t count = setup->max_keycode - setup->min_keycode + 1;

    // Both requests go out before either reply is awaited: one round trip.
    const auto keyboardCookie = xcb_get_keyboard_mapping(connection, first, count);
    const auto modifierCookie = xcb_get_modifier_mapping(connection);
    const X11Reply<xcb_get_keyboard_mapping_reply_t> keyboard(
        xcb_get_keyboard_mapping_reply(connection, keyboardCookie, nullptr));
    const X11Reply<xcb_get_modifier_mapping_reply_t> modifiers(
        xcb_get_modifier_mapping_reply(connection, modifierCookie, nullptr));
    if (!keyboard || !modifiers || keyboard->keysyms_per_keycode == 0) return kUsualMask;

    const xcb_keysym_t* keysyms = xcb_get_keyboard_mapping_keysyms(keyboard.get());
    const int keysymCount = xcb_get_keyboard_mapping_keysyms_length(keyboard.get());
    const auto producesNumLock = [&](xcb_keycode_t keycode) {
        if (keycode < first) return false;
        const int row = (keycode - first) * keyboard->keysyms_per_keycode;
        for (int i = 0; i < keyboard->keysyms_per_keycode && row + i < keysymCount; ++i) {
            if (keysyms[row + i] == kNumLockKeysym) return true;
        }
        return false;
    };

    const xcb_keycode_t* keycodes = xcb_get_modifier_mapping_keycodes(modifiers.get());
    const int perModifier = modifiers->keycodes_per_modifier;
    for (int modifier = 0; modifier < 8; ++modifier) {
        for (int i = 0; i < perModifier; ++i) {
            if (producesNumLock(keycodes[modifier * perModifier + i]))
                return static_cast<uint8_t>(1u << modifier);
        }
    }
    return kUsualMask;
}

uint8_t X11KeycodeForKeysym(xcb_connection_t* connection, uint32_t keysym)
{
    const xcb_setup_t* setup = xcb_get_setup(connection);
    const xcb_keycode_t first = setup->min_keycode;
    const uint8_t count = setup->max_keycode - setup->min_keycode + 1;
    const X11Reply<xcb_get_keyboard_mapping_reply_t> keyboard(xcb_get_keyboard_mapping_reply(
        connection, xcb_get_keyboard_mapping(connection, first, count), nullptr));
    if (!keyboard || keyboard->keysyms_per_keycode == 0) return 0;
    const xcb_keysym_t* keysyms = xcb_get_keyboard_mapping_keysyms(keyboard.get());
    const int keysymCount = xcb_get_keyboard_mapping_keysyms_length(keyboard.get());
    // The unshifted column first: a key is grabbed by the keysym it gives
    // without modifiers, then any other column will do.
    for (int column = 0; column < keyboard->keysyms_per_keycode; ++column) {
        for (int row = 0; row * keyboard->keysyms_per_keycode + column < keysymCount; ++row) {
            if (keysyms[row * keyboard->keysyms_per_keycode + column] == keysym)
                return static_cast<uint8_t>(first + row);
        }
    }
    return 0;
}

}  // namespace platform
