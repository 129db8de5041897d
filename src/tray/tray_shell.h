#pragma once

#include <QByteArray>
#include <QIcon>
#include <QPoint>
#include <functional>
#include <memory>

namespace tray {

// What the tray component asks of the desktop's notification area: one icon
// added, modified and deleted through a notification record, balloons on the
// same record, and the mouse messages coming back.

// Which parts of the record a request carries.
enum NotifyIconFlag : unsigned {
    NifMessage = 0x01,
    NifIcon = 0x02,
    NifTip = 0x04,
    NifInfo = 0x10,
};

// The notification record. Texts are Big5 bytes already cut to the layout's
// limits; the shell decodes them for display.
struct NotifyIconData {
    static constexpr int kBasicSize = 88;      // tip of 63 bytes, no balloon
    static constexpr int kExtendedSize = 488;  // tip of 127 bytes, balloon fields
    static constexpr unsigned kCallbackMessage = 2057;
    static constexpr unsigned kInfoIcon = 1;  // the information icon

    int size = kBasicSize;
    unsigned flags = 0;
    unsigned callbackMessage = kCallbackMessage;
    QIcon icon;
    QByteArray tip;
    QByteArray info;       // balloon text, up to 255 bytes
    QByteArray infoTitle;  // balloon title, up to 63 bytes
    unsigned timeout = 0;  // balloon, milliseconds
    unsigned infoFlags = 0;
};

enum class TrayRequest { Add, Modify, Delete };

// Mouse messages on the icon, as the shell reports them.
enum class TrayMouseMessage { LeftButtonUp, LeftButtonDoubleClick, RightButtonUp, Other };

class TrayShell {
public:
    virtual ~TrayShell() = default;
    // True when the shell shows balloons: the extended record is used then.
    virtual bool extended() const = 0;
    // True while a notification area is there to hold the icon.
    virtual bool hostPresent() const = 0;
    // True when the shell accepted the request.
    virtual bool notify(TrayRequest request, const NotifyIconData& data) = 0;
    virtual QPoint cursorPosition() const = 0;
    // Where the mouse messages on the icon go.
    void setReceiver(std::function<void(TrayMouseMessage)> receiver)
    {
        m_receiver = std::move(receiver);
    }

protected:
    void deliver(TrayMouseMessage message) const
    {
        if (m_receiver) m_receiver(message);
    }

private:
    std::function<void(TrayMouseMessage)> m_receiver;
};

// The desktop's notification area through QSystemTrayIcon.
std::unique_ptr<TrayShell> MakeTrayShell();

}  // namespace tray
