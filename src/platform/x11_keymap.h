#pragma once

#include <cstdint>
#include <cstdlib>
#include <memory>

struct xcb_connection_t;

namespace platform {

// xcb replies are malloc'ed and freed with free().
struct X11FreeDeleter {
    void operator()(void* p) const { std::free(p); }
};
template <typename T>
using X11Reply = std::unique_ptr<T, X11FreeDeleter>;

// Qt's own connection to the X server while the program runs on an X
// display; null on any other platform.
xcb_connection_t* X11ConnectionOfQt();

// The real modifier that Num Lock locks in the server's current keymap.
uint8_t X11NumLockMask(xcb_connection_t* connection);

// A key code that produces keysym in the current keymap; 0 when none does.
uint8_t X11KeycodeForKeysym(xcb_connection_t* connection, uint32_t keysym);

}  // namespace platform
