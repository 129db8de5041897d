#include "tray/vela_tray_icon.h"

#include <QApplication>
#include <QMenu>
#include <QStyle>
#include <QTimer>
#include <array>

#include "platform/hot_key.h"
#include "text/big5_codec.h"

using namespace Qt::Literals::StringLiterals;

namespace tray {

namespace {

constexpr int kTipExtended = 127;
constexpr int kTipBasic = 63;
constexpr int kBalloonText = 255;
constexpr int kBalloonTitle = 63;

// The first bytes of text in Big5 that fit into limit, never half a
// character. A character Big5 cannot hold is shown as "?", as the system's
// code page conversion would.
QByteArray Big5Prefix(const QString& text, int limit)
{
    // Every character takes at least one byte: the rest cannot fit.
    const QStringView head = QStringView(text).left(limit + 1);
    QString encodable;
    encodable.reserve(head.size());
    for (qsizetype i = 0; i < head.size();) {
        const qsizetype step =
            (head[i].isHighSurrogate() && i + 1 < head.size() && head[i + 1].isLowSurrogate()) ? 2
                                                                                               : 1;
        const QStringView character = head.mid(i, step);
        if (text::EncodeBig5(character, text::Unencodable::Fail).ok())
            encodable += character;
        else
            encodable += u'?';
        i += step;
    }
    return text::EncodeBig5Prefix(encodable, limit, text::Unencodable::Fail).bytes;
}

}  // namespace

QIcon StockIcon(TIDI_Icons which)
{
    static std::array<QIcon, 6> cache;
    QIcon& icon = cache[which];
    if (icon.isNull()) {
        static const struct {
            const char* theme;
            QStyle::StandardPixmap standard;
        } kStock[] = {
            {"application-x-executable", QStyle::SP_DesktopIcon},
            {"dialog-information", QStyle::SP_MessageBoxInformation},
            {"dialog-warning", QStyle::SP_MessageBoxWarning},
            {"dialog-error", QStyle::SP_MessageBoxCritical},
            {"dialog-question", QStyle::SP_MessageBoxQuestion},
            {"user-desktop", QStyle::SP_ComputerIcon},
        };
        icon = QIcon::fromTheme(QString::fromLatin1(kStock[which].theme),
                                QApplication::style()->standardIcon(kStock[which].standard));
    }
    return icon;
}

TVelaTrayIcon::TVelaTrayIcon(QWidget* owner, std::unique_ptr<TrayShell> shell,
                             std::unique_ptr<platform::HotKey> hotKey)
    : QObject(owner),
      m_shell(std::move(shell)),
      m_hotKey(std::move(hotKey)),
      m_application(ApplicationWindow::of(owner))
{
    m_extendedShell = m_shell->extended();
    m_extended.size = NotifyIconData::kExtendedSize;
    m_basic.size = NotifyIconData::kBasicSize;
    m_shell->setReceiver([this](TrayMouseMessage message) { WndProc(message); });
    m_hotKey->setHandler([this] {
        if (OnShortCut) OnShortCut(this);
    });
    m_timer = new QTimer(this);
    m_timer->setInterval(m_interval);
    connect(m_timer, &QTimer::timeout, this, &TVelaTrayIcon::TimerTick);
}

TVelaTrayIcon::~TVelaTrayIcon()
{
    if (m_active) DeleteIcon();
    if (m_hookInstalled) m_application.onMinimize = std::move(m_previousMinimize);
    if (m_hotKeyHeld) m_hotKey->release();
    m_timer->stop();
}

void TVelaTrayIcon::beginLoading()
{
    m_loading = true;
}

void TVelaTrayIcon::Loaded()
{
    m_loading = false;
    if (m_active) AddIcon();
}

void TVelaTrayIcon::setActive(bool value)
{
    if (value == m_active) return;
    m_active = value;
    if (value)
        AddIcon();
    else
        DeleteIcon();
}

void TVelaTrayIcon::setAnimate(bool value)
{
    if (value == m_animate) return;
    m_animate = value;
    m_frame = 0;
    updateTimer();
}

void TVelaTrayIcon::setInterval(int value)
{
    if (value == m_interval) return;
    m_interval = value;
    updateTimer();
}

void TVelaTrayIcon::updateTimer()
{
    // A zero or negative interval stops the animation: a timer of 0 ms would
    // refresh the icon on every pass of the event loop.
    m_timer->setInterval(qMax(m_interval, 1));
    if (m_animate && m_interval > 0)
        m_timer->start();
    else
        m_timer->stop();
}

void TVelaTrayIcon::setHideAppOnMinimize(bool value)
{
    if (value == m_hideAppOnMinimize) return;
    m_hideAppOnMinimize = value;
    if (value) {
        m_previousMinimize = std::move(m_application.onMinimize);
        m_application.onMinimize = [this](QObject* sender) { AppMinimize(sender); };
        m_hookInstalled = true;
    } else {
        m_application.onMinimize = std::move(m_previousMinimize);
        m_previousMinimize = nullptr;
        m_hookInstalled = false;
    }
}

void TVelaTrayIcon::setHint(const QString& value)
{
    if (value == m_hint) return;
    m_hint = value;
    ModifyIcon();
}

void TVelaTrayIcon::setImageIndex(int value)
{
    if (value == m_imageIndex) return;
    m_imageIndex = value;
    ModifyIcon();
}

void TVelaTrayIcon::setShortCut(quint16 value)
{
    if (value == m_shortCut) return;
    m_shortCut = value;
    // The old key goes first, so it is not held for the rest of the run and
    // cannot stand in the way of the new one.
    if (m_hotKeyHeld) {
        m_hotKey->release();
        m_hotKeyHeld = false;
    }
    if (value == 0) return;
    unsigned modifiers = 0;
    if (value & 0x2000) modifiers |= platform::HotKey::Shift;
    if (value & 0x4000) modifiers |= platform::HotKey::Control;
    if (value & 0x8000) modifiers |= platform::HotKey::Alt;
    m_hotKeyHeld = m_hotKey->grab(modifiers, value & 0xFF);
}

void TVelaTrayIcon::setShowAtDesignTime(bool value)
{
    if (value == m_showAtDesignTime) return;
    m_showAtDesignTime = value;
    if (value)
        AddIcon();
    else
        DeleteIcon();
}

void TVelaTrayIcon::setShowHint(bool value)
{
    if (value == m_showHint) return;
    m_showHint = value;
    ModifyIcon();
}

void TVelaTrayIcon::setUseAppIcon(bool value)
{
    if (value == m_useAppIcon) return;
    m_useAppIcon = value;
    ModifyIcon();
}

void TVelaTrayIcon::setWinIcon(TIDI_Icons value)
{
    if (value == m_winIcon) return;
    m_winIcon = value;
    ModifyIcon();
}

void TVelaTrayIcon::UpdateIconData()
{
    m_icon = QIcon();
    const int count = m_imageList ? m_imageList->count() : 0;
    if (m_useAppIcon) {
        m_icon = m_application.icon();
    } else if (m_animate) {
        if (count > 0) {
            // Images taken out of the list under the counter: start again.
            if (m_frame >= count) m_frame = 0;
            m_icon = m_imageList->icon(m_frame);
            if (++m_frame >= count) m_frame = 0;
        }
    } else if (m_imageIndex >= 0 && m_imageIndex < count) {
        m_icon = m_imageList->icon(m_imageIndex);
    }
    // The stock icon is looked up in the icon theme only when it is shown:
    // the lookup searches the theme's folders, which start-up need not pay.
    if (m_icon.isNull()) m_icon = StockIcon(m_winIcon);

    for (NotifyIconData* record : {&m_extended, &m_basic}) {
        record->flags = NifMessage | NifIcon;
        record->callbackMessage = NotifyIconData::kCallbackMessage;
        if (m_showHint) {
            record->flags |= NifTip;
            record->tip = Big5Prefix(m_hint, record == &m_extended ? kTipExtended : kTipBasic);
        }
        record->icon = m_icon;
    }
}

void TVelaTrayIcon::AddIcon()
{
    if (m_loading) return;
    UpdateIconData();
    m_shell->notify(TrayRequest::Add, activeRecord());
}

void TVelaTrayIcon::ModifyIcon()
{
    if (m_loading) return;
    UpdateIconData();
    m_shell->notify(TrayRequest::Modify, activeRecord());
}

void TVelaTrayIcon::DeleteIcon()
{
    m_shell->notify(TrayRequest::Delete, activeRecord());
}

void TVelaTrayIcon::TimerTick()
{
    ModifyIcon();
}

bool TVelaTrayIcon::ShowBalloon(const QString& title, const QString& text, unsigned timeout)
{
    if (!m_extendedShell) return false;
    // The icon and tip of the last refresh go along; the next refresh drops
    // the balloon flag, so the balloon shows once.
    m_extended.flags |= NifInfo;
    m_extended.info = Big5Prefix(text, kBalloonText);
    m_extended.infoTitle = Big5Prefix(title, kBalloonTitle);
    m_extended.timeout = timeout;
    m_extended.infoFlags = NotifyIconData::kInfoIcon;
    return m_shell->notify(TrayRequest::Modify, m_extended);
}

void TVelaTrayIcon::WndProc(TrayMouseMessage message)
{
    switch (message) {
        case TrayMouseMessage::LeftButtonUp:
            if (m_showOnClick) RestoreApp();
            if (OnClick) OnClick(this);
            break;
        case TrayMouseMessage::LeftButtonDoubleClick:
            if (OnDblClick) OnDblClick(this);
            break;
        case TrayMouseMessage::RightButtonUp:
            DoRightClick();
            break;
        case TrayMouseMessage::Other:
            break;
    }
}

void TVelaTrayIcon::DoRightClick()
{
    const QPoint at = m_shell->cursorPosition();
    if (m_popupMenu) m_popupMenu->popup(at);
    if (OnRightClick) OnRightClick(this, Qt::RightButton, Qt::NoModifier, at.x(), at.y());
}

void TVelaTrayIcon::RestoreApp()
{
    m_application.show();
    m_application.restore();
}

void TVelaTrayIcon::AppMinimize(QObject* sender)
{
    if (m_previousMinimize) m_previousMinimize(sender);
    // Without a notification area there would be no icon to bring the
    // window back with: it stays minimised where the user can find it.
    if (m_shell->hostPresent()) m_application.hide();
}

}  // namespace tray
