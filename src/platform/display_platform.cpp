#include "platform/display_platform.h"

#include <QtGlobal>

namespace platform {

std::optional<QByteArray> PreferredPlatform(const DisplaySession& session)
{
    if (!session.qpaPlatform.isEmpty() || session.display.isEmpty()) return std::nullopt;
    // Qt takes both spellings of its own option, anywhere on the line.
    for (const QString& argument : session.arguments.mid(1))
        if (argument == u"-platform" || argument == u"--platform") return std::nullopt;
    return QByteArray("xcb");
}

DisplaySession CurrentDisplaySession(const QStringList& arguments)
{
    return {qgetenv("QT_QPA_PLATFORM"), qgetenv("DISPLAY"), qgetenv("WAYLAND_DISPLAY"), arguments};
}

}  // namespace platform
