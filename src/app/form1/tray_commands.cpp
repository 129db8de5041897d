// The tray icon of the main window: its settings, the switch for hiding on
// minimise, and the hot key's way back to the window.
#include <QAction>

#include "app/form1/form1.h"
#include "look/program_icon.h"
#include "platform/hot_key.h"
#include "tray/vela_tray_icon.h"

using namespace Qt::Literals::StringLiterals;

void TForm1::buildTray(std::unique_ptr<tray::TrayShell> shell,
                       std::unique_ptr<platform::HotKey> hotKey)
{
    // Two 16 x 16 frames, drawn up to 4x so they stay sharp on any tray.
    ImageList1 = new tray::ImageList(QSize(16, 16), this);
    ImageList1->setObjectName(u"ImageList1"_s);
    ImageList1->add(look::TrayFrame(u"tray-1"_s));
    ImageList1->add(look::TrayFrame(u"tray-2"_s));

    VelaTrayIcon1 = new tray::TVelaTrayIcon(this, std::move(shell), std::move(hotKey));
    VelaTrayIcon1->setObjectName(u"VelaTrayIcon1"_s);
    VelaTrayIcon1->beginLoading();
    VelaTrayIcon1->setActive(true);
    VelaTrayIcon1->setAnimate(true);
    VelaTrayIcon1->setHideAppOnMinimize(true);
    VelaTrayIcon1->setHint(u"Quillpost 4.0"_s);
    VelaTrayIcon1->setImageIndex(0);
    VelaTrayIcon1->setImageList(ImageList1);
    VelaTrayIcon1->setShortCut(0);
    VelaTrayIcon1->setShowAtDesignTime(false);
    VelaTrayIcon1->setShowHint(true);
    VelaTrayIcon1->setShowOnClick(true);
    VelaTrayIcon1->setUseAppIcon(false);
    VelaTrayIcon1->setWinIcon(tray::idiQUESTION);
    VelaTrayIcon1->OnShortCut = [this](QObject*) { VelaTrayIcon1ShortCut(); };
    VelaTrayIcon1->Loaded();
}

void TForm1::N42Click()
{
    // The entry's tick has flipped already; it and the setting flip together.
    VelaTrayIcon1->setHideAppOnMinimize(!VelaTrayIcon1->HideAppOnMinimize());
    action("N42")->setText(VelaTrayIcon1->HideAppOnMinimize() ? u"隱藏主視窗"_s : u"顯示主視窗"_s);
}

void TForm1::VelaTrayIcon1ShortCut()
{
    VelaTrayIcon1->RestoreApp();
}
