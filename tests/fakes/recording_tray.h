#pragma once

#include <QList>
#include <QStringList>

#include "platform/hot_key.h"
#include "tray/tray_shell.h"

// A notification area that records every request. Like the real one it
// holds the icon only between an accepted add and a delete, and refuses a
// modify for an icon it does not hold. The log outlives the shell, so a test
// sees what the component sent while it was destroyed.
struct ShellCall {
    tray::TrayRequest request;
    tray::NotifyIconData data;
};

class RecordingTrayShell final : public tray::TrayShell {
public:
    explicit RecordingTrayShell(QList<ShellCall>& log) : m_log(log) {}

    bool isExtended = true;
    bool host = true;
    QPoint cursor{0, 0};

    bool holdsIcon() const { return m_holdsIcon; }
    void send(tray::TrayMouseMessage message) const { deliver(message); }

    bool extended() const override { return isExtended; }
    bool hostPresent() const override { return host; }
    QPoint cursorPosition() const override { return cursor; }
    bool notify(tray::TrayRequest request, const tray::NotifyIconData& data) override
    {
        m_log.append({request, data});
        switch (request) {
            case tray::TrayRequest::Add:
                m_holdsIcon = host;
                return host;
            case tray::TrayRequest::Modify:
                return m_holdsIcon;
            case tray::TrayRequest::Delete: {
                const bool held = m_holdsIcon;
                m_holdsIcon = false;
                return held;
            }
        }
        return false;
    }

private:
    QList<ShellCall>& m_log;
    bool m_holdsIcon = false;
};

// Hot keys as a log of "grab MODIFIERS KEY" and "release" lines.
class RecordingHotKey final : public platform::HotKey {
public:
    explicit RecordingHotKey(QStringList& log) : m_log(log) {}

    bool accept = true;  // false: as if another program held every key

    bool grab(unsigned modifiers, int virtualKey) override
    {
        m_log.append(QStringLiteral("grab %1 %2").arg(modifiers).arg(virtualKey, 0, 16));
        return accept;
    }
    void release() override { m_log.append(QStringLiteral("release")); }
    void press() const { pressed(); }

private:
    QStringList& m_log;
};
