#pragma once

#include <QByteArray>
#include <QStringList>
#include <optional>

namespace platform {

// What the program finds of the desktop before Qt connects to it.
struct DisplaySession {
    QByteArray qpaPlatform;     // QT_QPA_PLATFORM
    QByteArray display;         // DISPLAY
    QByteArray waylandDisplay;  // WAYLAND_DISPLAY
    QStringList arguments;      // the command line, the program's name first
};

// The Qt platform plug-in to ask for, or none to leave Qt's own choice.
// The lock-key panels, the global hot key and hiding to the tray on
// minimise need X11, so where an X server is reachable (XWayland too) the
// program takes it, unless the user chose a platform in the environment or
// with -platform. A pure Wayland session runs natively.
std::optional<QByteArray> PreferredPlatform(const DisplaySession& session);

// The session of this process, from its environment and `arguments`.
DisplaySession CurrentDisplaySession(const QStringList& arguments);

}  // namespace platform
