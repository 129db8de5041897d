#pragma once

#include <memory>

#include "platform/hot_key.h"

struct xcb_connection_t;

namespace platform {

// Keys grabbed on the root window of Qt's own connection; their presses are
// taken out of Qt's event stream. Nothing for a broken connection.
std::unique_ptr<HotKey> MakeX11HotKey(xcb_connection_t* connection);

}  // namespace platform
