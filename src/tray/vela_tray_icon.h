#pragma once

#include <QIcon>
#include <QMenu>
#include <QObject>
#include <QPointer>
#include <functional>
#include <memory>

#include "tray/application_window.h"
#include "tray/image_list.h"
#include "tray/tray_shell.h"

class QTimer;

namespace platform {
class HotKey;
}

namespace tray {

// The fallback stock icons, shown when no image can be taken.
enum TIDI_Icons { idiAPPLICATION, idiASTERISK, idiEXCLAMATION, idiHAND, idiQUESTION, idiWINLOGO };

// The stock icon for a choice: from the icon theme, else the style's own.
// The same icon object on every call, as stock icons are shared.
QIcon StockIcon(TIDI_Icons which);

// The application's icon in the notification area: animated through an
// image list, with a tooltip and balloons, mouse clicks reported, the
// application taken off the taskbar while minimised, and one system-wide
// hot key.
//
// Properties set between beginLoading() and Loaded() send nothing to the
// shell; Loaded() adds the icon once, when every property is in place. A
// setter given the value it already holds does nothing.
class TVelaTrayIcon : public QObject {
    Q_OBJECT
public:
    using NotifyEvent = std::function<void(QObject* sender)>;
    using MouseEvent = std::function<void(QObject* sender, Qt::MouseButton button,
                                          Qt::KeyboardModifiers shift, int x, int y)>;

    TVelaTrayIcon(QWidget* owner, std::unique_ptr<TrayShell> shell,
                  std::unique_ptr<platform::HotKey> hotKey);
    ~TVelaTrayIcon() override;

    void beginLoading();
    void Loaded();

    bool Active() const { return m_active; }
    void setActive(bool value);
    bool Animate() const { return m_animate; }
    void setAnimate(bool value);
    bool HideAppOnMinimize() const { return m_hideAppOnMinimize; }
    void setHideAppOnMinimize(bool value);
    QString Hint() const { return m_hint; }
    void setHint(const QString& value);
    int ImageIndex() const { return m_imageIndex; }
    void setImageIndex(int value);
    ImageList* imageList() const { return m_imageList; }
    void setImageList(ImageList* value) { m_imageList = value; }
    int Interval() const { return m_interval; }
    void setInterval(int value);
    QMenu* PopupMenu() const { return m_popupMenu; }
    void setPopupMenu(QMenu* value) { m_popupMenu = value; }
    // Low byte a virtual-key code; 0x2000 Shift, 0x4000 Ctrl, 0x8000 Alt.
    quint16 ShortCut() const { return m_shortCut; }
    void setShortCut(quint16 value);
    bool ShowAtDesignTime() const { return m_showAtDesignTime; }
    void setShowAtDesignTime(bool value);
    bool ShowHint() const { return m_showHint; }
    void setShowHint(bool value);
    bool ShowOnClick() const { return m_showOnClick; }
    void setShowOnClick(bool value) { m_showOnClick = value; }
    bool UseAppIcon() const { return m_useAppIcon; }
    void setUseAppIcon(bool value);
    TIDI_Icons WinIcon() const { return m_winIcon; }
    void setWinIcon(TIDI_Icons value);

    NotifyEvent OnClick;
    NotifyEvent OnDblClick;
    MouseEvent OnRightClick;
    NotifyEvent OnShortCut;

    // A balloon with the information icon at the tray icon; true when the
    // shell took it. Title and text are cut to 63 and 255 Big5 bytes.
    bool ShowBalloon(const QString& title, const QString& text, unsigned timeout);

    // Shows and restores the application window.
    void RestoreApp();
    // The minimise notification installed while HideAppOnMinimize is on.
    void AppMinimize(QObject* sender);

private:
    NotifyIconData& activeRecord() { return m_extendedShell ? m_extended : m_basic; }
    void UpdateIconData();
    void AddIcon();
    void ModifyIcon();
    void DeleteIcon();
    void TimerTick();
    void WndProc(TrayMouseMessage message);
    void DoRightClick();
    void updateTimer();

    std::unique_ptr<TrayShell> m_shell;
    std::unique_ptr<platform::HotKey> m_hotKey;
    ApplicationWindow& m_application;
    bool m_extendedShell = false;
    bool m_loading = false;
    NotifyIconData m_extended;
    NotifyIconData m_basic;
    QIcon m_icon;
    int m_frame = 0;
    QTimer* m_timer = nullptr;
    bool m_hookInstalled = false;
    ApplicationWindow::MinimizeHandler m_previousMinimize;
    bool m_hotKeyHeld = false;

    bool m_active = false;
    bool m_animate = false;
    bool m_hideAppOnMinimize = false;
    QString m_hint;
    int m_imageIndex = -1;
    QPointer<ImageList> m_imageList;
    int m_interval = 1000;
    QPointer<QMenu> m_popupMenu;
    quint16 m_shortCut = 0;
    bool m_showAtDesignTime = false;
    bool m_showHint = false;
    bool m_showOnClick = false;
    bool m_useAppIcon = false;
    TIDI_Icons m_winIcon = idiWINLOGO;
};

}  // namespace tray
