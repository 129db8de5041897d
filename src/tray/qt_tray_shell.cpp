#include <QCursor>
#include <QSystemTrayIcon>
#include <QTimer>

#include "text/big5_codec.h"
#include "tray/tray_shell.h"

namespace {

// The notification area through QSystemTrayIcon: add shows the icon, modify
// sets icon and tooltip, delete hides it, a balloon is a message with the
// information icon. On X11 Qt docks the icon again by itself when the tray
// host restarts; a host that appears only after the icon was added is
// looked for here, as Qt does not.
class QtTrayShell final : public TrayShell {
public:
    QtTrayShell()
    {
        QObject::connect(
            &m_icon, &QSystemTrayIcon::activated, &m_icon,
            [this](QSystemTrayIcon::ActivationReason reason) { deliver(Translate(reason)); });
        m_watch.setInterval(2000);
        QObject::connect(&m_watch, &QTimer::timeout, &m_icon, [this] {
            if (!QSystemTrayIcon::isSystemTrayAvailable()) return;
            m_watch.stop();
            // Hiding and showing again makes Qt look for the host anew.
            m_icon.hide();
            m_icon.show();
        });
    }

    bool extended() const override { return QSystemTrayIcon::supportsMessages(); }
    bool hostPresent() const override { return QSystemTrayIcon::isSystemTrayAvailable(); }

    bool notify(TrayRequest request, const NotifyIconData& data) override
    {
        switch (request) {
            case TrayRequest::Add:
                apply(data);
                m_icon.show();
                m_added = true;
                if (!hostPresent()) m_watch.start();
                return hostPresent();
            case TrayRequest::Modify:
                if (!m_added) return false;
                apply(data);
                if (data.flags & NifInfo) {
                    if (!hostPresent()) return false;
                    m_icon.showMessage(text::DecodeBig5(data.infoTitle),
                                       text::DecodeBig5(data.info), QSystemTrayIcon::Information,
                                       int(data.timeout));
                }
                return hostPresent();
            case TrayRequest::Delete:
                m_watch.stop();
                if (!m_added) return false;
                m_icon.hide();
                m_added = false;
                return true;
        }
        return false;
    }

    QPoint cursorPosition() const override { return QCursor::pos(); }

private:
    static TrayMouseMessage Translate(QSystemTrayIcon::ActivationReason reason)
    {
        switch (reason) {
            case QSystemTrayIcon::Trigger:
                return TrayMouseMessage::LeftButtonUp;
            case QSystemTrayIcon::DoubleClick:
                return TrayMouseMessage::LeftButtonDoubleClick;
            case QSystemTrayIcon::Context:
                return TrayMouseMessage::RightButtonUp;
            default:
                return TrayMouseMessage::Other;
        }
    }

    void apply(const NotifyIconData& data)
    {
        if (data.flags & NifIcon) m_icon.setIcon(data.icon);
        if (data.flags & NifTip) m_icon.setToolTip(text::DecodeBig5(data.tip));
    }

    QSystemTrayIcon m_icon;
    QTimer m_watch;
    bool m_added = false;
};

}  // namespace

std::unique_ptr<TrayShell> makeTrayShell()
{
    return std::make_unique<QtTrayShell>();
}
