#include "platform/x11_keyboard_state.h"
#include "platform/x11_keymap.h"

#include <xcb/xcb.h>
// xkb.h names a structure member "explicit", a C++ keyword.
#define explicit xkb_explicit
#include <xcb/xkb.h>
#undef explicit

#include <cstdint>
#include <cstdlib>
#include <memory>

namespace platform {

namespace {

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
        const X11Reply<xcb_xkb_get_state_reply_t> state(xcb_xkb_get_state_reply(
            m_connection, xcb_xkb_get_state(m_connection, XCB_XKB_ID_USE_CORE_KBD), nullptr));
        return state ? state->lockedMods : 0;
    }

    xcb_connection_t* const m_connection;
    const uint8_t m_numLockMask;
};

}  // namespace

std::unique_ptr<KeyboardState> MakeX11KeyboardState(xcb_connection_t* connection)
{
    if (!connection || xcb_connection_has_error(connection)) return nullptr;
    // XKB requests are refused until the client has announced the version it
    // speaks; Qt does so on its own connection, a fresh one has not.
    const X11Reply<xcb_xkb_use_extension_reply_t> xkb(xcb_xkb_use_extension_reply(
        connection, xcb_xkb_use_extension(connection, XCB_XKB_MAJOR_VERSION, XCB_XKB_MINOR_VERSION),
        nullptr));
    if (!xkb || !xkb->supported) return nullptr;
    return std::make_unique<X11KeyboardState>(connection, X11NumLockMask(connection));
}

}  // namespace platform
