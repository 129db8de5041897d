#include "platform/x11_hot_key.h"

#include <xcb/xcb.h>

#include <QAbstractNativeEventFilter>
#include <QCoreApplication>
#include <QList>

#include "platform/x11_keymap.h"

namespace platform {

namespace {

// The key is grabbed on the root window, so the server sends its presses to
// us whichever window has the focus. The server matches the modifier state
// exactly, Num Lock and Caps Lock included, so every combination of the two
// locks is grabbed as well.
class X11HotKey final : public HotKey, public QAbstractNativeEventFilter {
public:
    explicit X11HotKey(xcb_connection_t* connection)
        : m_connection(connection),
          m_root(xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root)
    {
        QCoreApplication::instance()->installNativeEventFilter(this);
    }

    ~X11HotKey() override
    {
        release();
        if (QCoreApplication::instance())
            QCoreApplication::instance()->removeNativeEventFilter(this);
    }

    bool grab(unsigned modifiers, int virtualKey) override
    {
        release();
        if (xcb_connection_has_error(m_connection)) return false;
        const unsigned keysym = KeysymForVirtualKey(virtualKey);
        const uint8_t keycode = keysym ? X11KeycodeForKeysym(m_connection, keysym) : 0;
        if (keycode == 0) return false;

        uint16_t mask = 0;
        if (modifiers & Shift) mask |= XCB_MOD_MASK_SHIFT;
        if (modifiers & Control) mask |= XCB_MOD_MASK_CONTROL;
        if (modifiers & Alt) mask |= XCB_MOD_MASK_1;
        const uint16_t numLock = X11NumLockMask(m_connection);
        const uint16_t variants[] = {0, numLock, XCB_MOD_MASK_LOCK,
                                     uint16_t(numLock | XCB_MOD_MASK_LOCK)};

        // All four requests go out before any answer is awaited.
        QList<xcb_void_cookie_t> cookies;
        for (const uint16_t locks : variants) {
            cookies.append(xcb_grab_key_checked(m_connection, 0, m_root, mask | locks, keycode,
                                                XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC));
        }
        bool refused = false;
        for (const xcb_void_cookie_t cookie : cookies) {
            if (X11Reply<xcb_generic_error_t> error{xcb_request_check(m_connection, cookie)})
                refused = true;
        }
        m_keycode = keycode;
        m_modifiers = mask;
        m_lockMask = uint16_t(numLock | XCB_MOD_MASK_LOCK);
        // Held by another program: let go of the variants we did get, so
        // none of them fires on its own.
        if (refused) {
            release();
            return false;
        }
        return true;
    }

    void release() override
    {
        if (m_keycode == 0) return;
        if (!xcb_connection_has_error(m_connection)) {
            for (const uint16_t locks : {uint16_t(0), uint16_t(m_lockMask & ~XCB_MOD_MASK_LOCK),
                                         uint16_t(XCB_MOD_MASK_LOCK), m_lockMask}) {
                xcb_ungrab_key(m_connection, m_keycode, m_root, m_modifiers | locks);
            }
            xcb_flush(m_connection);
        }
        m_keycode = 0;
    }

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) override
    {
        if (m_keycode == 0 || eventType != "xcb_generic_event_t") return false;
        const auto* event = static_cast<const xcb_generic_event_t*>(message);
        const uint8_t type = event->response_type & 0x7f;
        if (type != XCB_KEY_PRESS && type != XCB_KEY_RELEASE) return false;
        const auto* key = static_cast<const xcb_key_press_event_t*>(message);
        if (key->event != m_root || key->detail != m_keycode) return false;
        const uint16_t relevant =
            XCB_MOD_MASK_SHIFT | XCB_MOD_MASK_CONTROL | XCB_MOD_MASK_1 | XCB_MOD_MASK_4;
        if ((key->state & relevant & ~m_lockMask) != m_modifiers) return false;
        // The handler runs from the event loop, not from inside Qt's reading
        // of the X event queue.
        if (type == XCB_KEY_PRESS)
            QMetaObject::invokeMethod(
                &m_context, [this] { pressed(); }, Qt::QueuedConnection);
        return true;
    }

private:
    xcb_connection_t* const m_connection;
    const xcb_window_t m_root;
    uint8_t m_keycode = 0;
    uint16_t m_modifiers = 0;
    uint16_t m_lockMask = XCB_MOD_MASK_LOCK;
    QObject m_context;  // queued presses die with the key
};

}  // namespace

std::unique_ptr<HotKey> MakeX11HotKey(xcb_connection_t* connection)
{
    if (!connection || xcb_connection_has_error(connection)) return nullptr;
    return std::make_unique<X11HotKey>(connection);
}

}  // namespace platform
