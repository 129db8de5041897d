#pragma once

#include <memory>

#include "platform/keyboard_state.h"

struct xcb_connection_t;

namespace platform {

// Lock states read from the X server's keyboard through XKB, on a connection
// the caller keeps open for the object's lifetime. Nothing when the server
// lacks the XKB extension.
std::unique_ptr<KeyboardState> MakeX11KeyboardState(xcb_connection_t* connection);

}  // namespace platform
