#include "platform/x11_keyboard_state.h"

#include <xcb/xcb.h>
// xkb.h names a structure member "explicit", a C++ keyword.
#define explicit xkb_explicit
#include <xcb/xkb.h>
#undef explicit

#include <cstdint>
#include <cstdlib>
#include <memory>

namespace {

constexpr xcb_keysym_t kNumLockKeysym = 0xff7f;  // XK_Num_Lock

struct FreeDeleter {
    void operator()(void* p) const { std::free(p); }
};
template <typename T>
using Reply = std::unique_ptr<T, FreeDeleter>;

// Which real modifier Num Lock locks depends on the keymap (Mod2 nearly
// everywhere, but nothing guarantees it), so look for the modifier that holds
// a key producing Num_Lock. Caps Lock always locks the core Lock modifier.
uint8_t findNumLockMask(xcb_connection_t* connection)
{
    constexpr uint8_t kUsualMask = XCB_MOD_MASK_2;
    const xcb_setup_t* setup = xcb_get_setup(connection);
    const xcb_keycode_t first = setup->min_keycode;
    const uint8_t count = setup->max_keycode - setup->min_keycode + 1;

    // Both requests go out before either reply is awaited: one round trip.
    const auto keyboardCookie = xcb_get_keyboard_mapping(connection, first, count);
    const auto modifierCookie = xcb_get_modifier_mapping(connection);
    const Reply<xcb_get_keyboard_mapping_reply_t> keyboard(
        xcb_get_keyboard_mapping_reply(connection, keyboardCookie, nullptr));
    const Reply<xcb_get_modifier_mapping_reply_t> modifiers(
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

// Reads the locked modifiers of the core keyboard on every call: one small
// request and its reply, cheap enough for the status bar's 200 ms poll, and
// always the server's truth, whichever window switched the lock.
class X11KeyboardState final : public KeyboardState {
public:
    X11KeyboardState(xcb_connection_t* connection, uint8_t numLockMask)
        : m_connection(connection), m_numLockMask(numLockMask)
    {
    }

    bool numLock() const override { return (lockedModifiers() & m_numLockMask) != 0; }
    bool capsLock() const override { return (lockedModifiers() & XCB_MOD_MASK_LOCK) != 0; }

private:
    uint8_t lockedModifiers() const
    {
        if (xcb_connection_has_error(m_connection)) return 0;
        const Reply<xcb_xkb_get_state_reply_t> state(xcb_xkb_get_state_reply(
            m_connection, xcb_xkb_get_state(m_connection, XCB_XKB_ID_USE_CORE_KBD), nullptr));
        return state ? state->lockedMods : 0;
    }

    xcb_connection_t* const m_connection;
    const uint8_t m_numLockMask;
};

}  // namespace

std::unique_ptr<KeyboardState> makeX11KeyboardState(xcb_connection_t* connection)
{
    if (!connection || xcb_connection_has_error(connection)) return nullptr;
    // XKB requests are refused until the client has announced the version it
    // speaks; Qt does so on its own connection, a fresh one has not.
    const Reply<xcb_xkb_use_extension_reply_t> xkb(xcb_xkb_use_extension_reply(
        connection, xcb_xkb_use_extension(connection, XCB_XKB_MAJOR_VERSION, XCB_XKB_MINOR_VERSION),
        nullptr));
    if (!xkb || !xkb->supported) return nullptr;
    return std::make_unique<X11KeyboardState>(connection, findNumLockMask(connection));
}
