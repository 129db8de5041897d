#include <QCursor>
#include <QSystemTrayIcon>

#include "text/big5_codec.h"
#include "tray/tray_shell.h"

namespace tray {

namespace {

// The notification area through QSystemTrayIcon: add shows the icon, modify
// sets icon and tooltip, delete hides it, a balloon is a message with the
// information icon. On X11 Qt docks the icon by itself whenever a tray host
// appears, also one that restarts or comes only after the icon was added.
class QtTrayShell final : public TrayShell {
public:
    QtTrayShell()
    {
        QObject::connect(
            &m_icon, &QSystemTrayIcon::activated, &m_icon,
            [this](QSystemTrayIcon::ActivationReason reason) { deliver(Translate(reason)); });
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
    bool m_added = false;
};

}  // namespace

std::unique_ptr<TrayShell> MakeTrayShell()
{
    return std::make_unique<QtTrayShell>();
}

}  // namespace tray
