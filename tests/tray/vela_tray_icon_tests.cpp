// The tray icon component against a recording notification area.
#include <gtest/gtest.h>
#include <QMenu>
#include <QPixmap>
#include <QTest>
#include <QWidget>
#include <functional>

#include "convert/qstring_printer.h"
#include "fakes/recording_tray.h"
#include "text/big5_codec.h"
#include "tray/vela_tray_icon.h"

using namespace Qt::Literals::StringLiterals;

namespace {

QIcon Filled(QColor colour)
{
    QPixmap pixmap(16, 16);
    pixmap.fill(colour);
    return QIcon(pixmap);
}

QByteArray Big5(const QString& text)
{
    return text::EncodeBig5(text, text::Unencodable::Fail).bytes;
}

class TrayIconTest : public ::testing::Test {
protected:
    QWidget owner;
    QList<ShellCall> calls;
    QStringList keys;
    RecordingTrayShell* shell = nullptr;
    RecordingHotKey* hotKey = nullptr;
    std::unique_ptr<tray::TVelaTrayIcon> tray;
    tray::ImageList images{QSize(16, 16)};
    const QIcon appIcon = Filled(Qt::green);

    void SetUp() override
    {
        owner.setWindowIcon(appIcon);
        for (const QColor colour : {Qt::red, Qt::blue, Qt::yellow}) images.add(Filled(colour));
    }

    // The component, made on a shell that is extended or not.
    tray::TVelaTrayIcon& make(bool extended = true)
    {
        auto recording = std::make_unique<RecordingTrayShell>(calls);
        recording->isExtended = extended;
        shell = recording.get();
        auto keyLog = std::make_unique<RecordingHotKey>(keys);
        hotKey = keyLog.get();
        tray =
            std::make_unique<tray::TVelaTrayIcon>(&owner, std::move(recording), std::move(keyLog));
        return *tray;
    }

    // What an icon is: "image N" of the list, "app", "stock N" or "other".
    QString name(const QIcon& icon) const
    {
        for (int i = 0; i < images.count(); ++i) {
            if (icon.cacheKey() == images.icon(i).cacheKey()) return u"image %1"_s.arg(i);
        }
        if (icon.cacheKey() == appIcon.cacheKey()) return u"app"_s;
        for (int i = tray::idiAPPLICATION; i <= tray::idiWINLOGO; ++i) {
            if (icon.cacheKey() == tray::StockIcon(tray::TIDI_Icons(i)).cacheKey())
                return u"stock %1"_s.arg(i);
        }
        return u"other"_s;
    }
    QStringList shown() const
    {
        QStringList names;
        for (const ShellCall& call : calls) names.append(name(call.data.icon));
        return names;
    }
};

TEST_F(TrayIconTest, SendsNothingWhileLoadingAndAddsOnceWhenLoaded)
{
    tray::TVelaTrayIcon& icon = make();
    icon.beginLoading();
    icon.setActive(true);
    icon.setHint(u"Quillpost 4.0"_s);
    icon.setImageIndex(1);
    icon.setShowHint(true);
    icon.setWinIcon(tray::idiQUESTION);
    icon.setImageList(&images);
    EXPECT_TRUE(calls.isEmpty());

    icon.Loaded();
    ASSERT_EQ(calls.size(), 1);
    const tray::NotifyIconData& added = calls[0].data;
    EXPECT_EQ(calls[0].request, tray::TrayRequest::Add);
    EXPECT_EQ(name(added.icon), u"image 1"_s);
    EXPECT_EQ(added.size, 488);
    EXPECT_EQ(added.flags, 7u);
    EXPECT_EQ(added.callbackMessage, 2057u);
    EXPECT_EQ(added.tip, "Quillpost 4.0");
    EXPECT_TRUE(shell->holdsIcon());
}

TEST_F(TrayIconTest, AnimationStepsThroughTheImagesOnePerInterval)
{
    const struct {
        int images;  // -1: no image list
        QStringList expected;
    } rows[] = {
        {2, {u"image 0"_s, u"image 1"_s, u"image 0"_s, u"image 1"_s, u"image 0"_s}},
        {3, {u"image 0"_s, u"image 1"_s, u"image 2"_s, u"image 0"_s, u"image 1"_s}},
        {1, {u"image 0"_s, u"image 0"_s, u"image 0"_s, u"image 0"_s, u"image 0"_s}},
        {0, {u"stock 5"_s, u"stock 5"_s, u"stock 5"_s, u"stock 5"_s, u"stock 5"_s}},
        {-1, {u"stock 5"_s, u"stock 5"_s, u"stock 5"_s, u"stock 5"_s, u"stock 5"_s}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.images);
        calls.clear();
        tray::ImageList list(QSize(16, 16));
        for (int i = 0; i < row.images; ++i) list.add(images.icon(i));
        tray::TVelaTrayIcon& icon = make();
        icon.setInterval(5);
        if (row.images >= 0) icon.setImageList(&list);
        icon.setAnimate(true);
        icon.setActive(true);
        ASSERT_TRUE(QTest::qWaitFor([&] { return calls.size() >= 5; }, 5000));
        EXPECT_EQ(shown().mid(0, 5), row.expected);
        EXPECT_EQ(calls[0].request, tray::TrayRequest::Add);
        EXPECT_EQ(calls[1].request, tray::TrayRequest::Modify);
        tray.reset();
    }
}

TEST_F(TrayIconTest, AnimationRestartsAtTheFirstImageAndStopsWithoutAnInterval)
{
    tray::TVelaTrayIcon& icon = make();
    icon.setImageList(&images);
    icon.setInterval(5);
    icon.setAnimate(true);
    icon.setActive(true);
    ASSERT_TRUE(QTest::qWaitFor([&] { return calls.size() >= 2; }, 5000));
    icon.setAnimate(false);
    icon.setAnimate(true);
    calls.clear();
    icon.setHint(u"x"_s);  // a refresh
    EXPECT_EQ(shown(), QStringList{u"image 0"_s});

    // A zero or negative interval: nothing ticks, the image stays.
    for (const int interval : {0, -10}) {
        icon.setInterval(interval);
        calls.clear();
        QTest::qWait(60);
        EXPECT_TRUE(calls.isEmpty()) << interval;
    }
}

TEST_F(TrayIconTest, StillIconFollowsImageIndexAppIconAndFallback)
{
    const struct {
        int imageIndex;
        bool list;
        bool useAppIcon;
        bool animate;
        tray::TIDI_Icons winIcon;
        QString expected;
    } rows[] = {
        {0, true, false, false, tray::idiWINLOGO, u"image 0"_s},
        {2, true, false, false, tray::idiWINLOGO, u"image 2"_s},
        {-1, true, false, false, tray::idiWINLOGO, u"stock 5"_s},
        {3, true, false, false, tray::idiQUESTION, u"stock 4"_s},
        {0, false, false, false, tray::idiHAND, u"stock 3"_s},
        {1, true, true, false, tray::idiWINLOGO, u"app"_s},
        {1, true, true, true, tray::idiWINLOGO, u"app"_s},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.expected.toStdString() + " " + std::to_string(row.imageIndex));
        tray.reset();
        calls.clear();
        tray::TVelaTrayIcon& icon = make();
        icon.beginLoading();
        icon.setImageIndex(row.imageIndex);
        if (row.list) icon.setImageList(&images);
        icon.setUseAppIcon(row.useAppIcon);
        icon.setAnimate(row.animate);
        icon.setWinIcon(row.winIcon);
        icon.setActive(true);
        icon.Loaded();
        EXPECT_EQ(shown(), QStringList{row.expected});
    }
}

TEST_F(TrayIconTest, TipIsCutToTheLayoutsLimitNeverThroughACharacter)
{
    const QString chinese = QString(100, u'中');  // 200 bytes
    const QString odd = u"a"_s + QString(99, u'中');
    const struct {
        QString hint;
        bool extended;
        QString expected;
    } rows[] = {
        {chinese, true, QString(63, u'中')},
        {chinese, false, QString(31, u'中')},
        {odd, true, odd.left(64)},
        {odd, false, odd.left(32)},
        {u"short"_s, false, u"short"_s},
        {QString(200, u'x'), true, QString(127, u'x')},
        // Big5 cannot hold it: shown as a question mark, one byte.
        {u"a\U0001F600b"_s, true, u"a?b"_s},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.hint.toStdString() + (row.extended ? " extended" : " basic"));
        calls.clear();
        tray::TVelaTrayIcon& icon = make(row.extended);
        icon.setShowHint(true);
        icon.setHint(row.hint);
        icon.setActive(true);
        ASSERT_FALSE(calls.isEmpty());
        const tray::NotifyIconData& sent = calls.last().data;
        EXPECT_EQ(sent.size, row.extended ? 488 : 88);
        EXPECT_EQ(sent.tip, Big5(row.expected));
        EXPECT_LE(sent.tip.size(), row.extended ? 127 : 63);
    }
}

TEST_F(TrayIconTest, HintWithoutShowHintOrWhileInactiveShowsOnTheNextAdd)
{
    tray::TVelaTrayIcon& icon = make();
    icon.setHint(u"first"_s);
    icon.setActive(true);
    EXPECT_EQ(calls.last().data.flags & tray::NifTip, 0u);

    // The shell refuses to modify what it does not hold: nothing visible.
    icon.setActive(false);
    icon.setShowHint(true);
    icon.setHint(u"second"_s);
    EXPECT_EQ(calls.last().request, tray::TrayRequest::Modify);
    EXPECT_FALSE(shell->holdsIcon());
    icon.setActive(true);
    EXPECT_EQ(calls.last().request, tray::TrayRequest::Add);
    EXPECT_EQ(calls.last().data.tip, "second");
    EXPECT_EQ(calls.last().data.flags, 7u);
}

TEST_F(TrayIconTest, ASetterGivenItsValueDoesNothingAndAChangeRefreshesOnce)
{
    tray::TVelaTrayIcon& icon = make();
    icon.setImageList(&images);
    icon.setActive(true);
    const struct {
        const char* what;
        std::function<void()> same;
        std::function<void()> changed;
        tray::TrayRequest request;
    } rows[] = {
        {"Active", [&] { icon.setActive(true); }, [&] { icon.setActive(false); },
         tray::TrayRequest::Delete},
        {"Hint", [&] { icon.setHint({}); }, [&] { icon.setHint(u"h"_s); },
         tray::TrayRequest::Modify},
        {"ImageIndex", [&] { icon.setImageIndex(-1); }, [&] { icon.setImageIndex(1); },
         tray::TrayRequest::Modify},
        {"ShowHint", [&] { icon.setShowHint(false); }, [&] { icon.setShowHint(true); },
         tray::TrayRequest::Modify},
        {"UseAppIcon", [&] { icon.setUseAppIcon(false); }, [&] { icon.setUseAppIcon(true); },
         tray::TrayRequest::Modify},
        {"WinIcon", [&] { icon.setWinIcon(tray::idiWINLOGO); },
         [&] { icon.setWinIcon(tray::idiHAND); }, tray::TrayRequest::Modify},
        {"ShowAtDesignTime", [&] { icon.setShowAtDesignTime(false); },
         [&] { icon.setShowAtDesignTime(true); }, tray::TrayRequest::Add},
        // Stored only: no request at all.
        {"ImageList", [&] { icon.setImageList(&images); }, [&] { icon.setImageList(nullptr); },
         tray::TrayRequest(-1)},
        {"ShowOnClick", [&] { icon.setShowOnClick(false); }, [&] { icon.setShowOnClick(true); },
         tray::TrayRequest(-1)},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        calls.clear();
        row.same();
        EXPECT_TRUE(calls.isEmpty());
        row.changed();
        if (row.request == tray::TrayRequest(-1)) {
            EXPECT_TRUE(calls.isEmpty());
        } else {
            ASSERT_EQ(calls.size(), 1);
            EXPECT_EQ(calls[0].request, row.request);
        }
        icon.setActive(true);
    }
}

TEST_F(TrayIconTest, ImageListIsTakenAtTheNextRefreshAndForgottenWhenDestroyed)
{
    tray::TVelaTrayIcon& icon = make();
    icon.setImageIndex(1);
    icon.setActive(true);
    auto list = std::make_unique<tray::ImageList>(QSize(16, 16));
    list->add(images.icon(2));
    list->add(images.icon(0));
    calls.clear();
    icon.setImageList(list.get());
    EXPECT_TRUE(calls.isEmpty());
    icon.setHint(u"refresh"_s);
    EXPECT_EQ(shown(), QStringList{u"image 0"_s});

    list.reset();
    EXPECT_EQ(icon.imageList(), nullptr);
    icon.setHint(u"again"_s);
    EXPECT_EQ(shown().last(), u"stock 5"_s);
}

TEST_F(TrayIconTest, BalloonIsCutToItsLimitsAndShownOnce)
{
    const struct {
        bool extended;
        bool active;
        QString title, text;
        bool result;
        QString sentTitle, sentText;  // nothing sent when both are empty
    } rows[] = {
        {true, true, u"歡迎使用"_s, u"Quillpost 4.0"_s, true, u"歡迎使用"_s, u"Quillpost 4.0"_s},
        {true, true, QString(100, u't'), QString(300, u'x'), true, QString(63, u't'),
         QString(255, u'x')},
        {true, true, QString(50, u'標'), QString(150, u'文'), true, QString(31, u'標'),
         QString(127, u'文')},
        // Not in the tray: the shell refuses.
        {true, false, u"t"_s, u"x"_s, false, u"t"_s, u"x"_s},
        // A shell without balloons: nothing is sent.
        {false, true, u"t"_s, u"x"_s, false, {}, {}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.title.toStdString());
        calls.clear();
        tray::TVelaTrayIcon& icon = make(row.extended);
        icon.setImageList(&images);
        icon.setShowHint(true);
        icon.setHint(u"tip"_s);
        icon.setActive(row.active);
        const qsizetype before = calls.size();
        EXPECT_EQ(icon.ShowBalloon(row.title, row.text, 3000), row.result);
        if (row.sentTitle.isEmpty()) {
            EXPECT_EQ(calls.size(), before);
            continue;
        }
        ASSERT_EQ(calls.size(), before + 1);
        const tray::NotifyIconData& sent = calls.last().data;
        EXPECT_EQ(calls.last().request, tray::TrayRequest::Modify);
        EXPECT_EQ(sent.flags, 7u | tray::NifInfo);
        EXPECT_EQ(sent.infoTitle, Big5(row.sentTitle));
        EXPECT_EQ(sent.info, Big5(row.sentText));
        EXPECT_EQ(sent.timeout, 3000u);
        EXPECT_EQ(sent.infoFlags, 1u);
        // Icon and tip of the last refresh go along.
        EXPECT_EQ(sent.tip, "tip");
        // The next refresh does not show it again.
        icon.setImageIndex(0);
        EXPECT_EQ(calls.last().data.flags & tray::NifInfo, 0u);
    }
}

TEST_F(TrayIconTest, MouseMessagesReachTheirEvents)
{
    tray::TVelaTrayIcon& icon = make();
    QStringList events;
    icon.setActive(true);
    owner.hide();

    // Nothing set: a right click does nothing.
    shell->send(tray::TrayMouseMessage::RightButtonUp);
    shell->send(tray::TrayMouseMessage::LeftButtonUp);
    EXPECT_FALSE(owner.isVisible());

    icon.setShowOnClick(true);
    icon.OnClick = [&](QObject* sender) {
        events.append(u"click %1"_s.arg(owner.isVisible()));
        EXPECT_EQ(sender, &icon);
    };
    icon.OnDblClick = [&](QObject*) { events.append(u"double"_s); };
    icon.OnRightClick = [&](QObject*, Qt::MouseButton button, Qt::KeyboardModifiers shift, int x,
                            int y) {
        events.append(u"right %1 %2 %3 %4"_s.arg(button).arg(shift).arg(x).arg(y));
    };
    // What the shell reports for a double click.
    shell->send(tray::TrayMouseMessage::LeftButtonUp);
    owner.hide();
    shell->send(tray::TrayMouseMessage::LeftButtonDoubleClick);
    shell->send(tray::TrayMouseMessage::LeftButtonUp);
    shell->cursor = QPoint(300, 7);
    shell->send(tray::TrayMouseMessage::RightButtonUp);
    shell->send(tray::TrayMouseMessage::Other);
    EXPECT_EQ(events, (QStringList{u"click 1"_s, u"double"_s, u"click 1"_s,
                                   u"right %1 0 300 7"_s.arg(Qt::RightButton)}));
    EXPECT_EQ(calls.size(), 1);
}

TEST_F(TrayIconTest, RightClickPopsUpTheMenuAtTheCursor)
{
    tray::TVelaTrayIcon& icon = make();
    QMenu menu;
    menu.addAction(u"entry"_s);
    icon.setPopupMenu(&menu);
    shell->cursor = QPoint(40, 50);
    shell->send(tray::TrayMouseMessage::RightButtonUp);
    EXPECT_TRUE(menu.isVisible());
    EXPECT_EQ(menu.pos(), QPoint(40, 50));
    menu.hide();
}

TEST_F(TrayIconTest, HotKeyTakesTheModifierBitsAndLetsTheOldKeyGoFirst)
{
    tray::TVelaTrayIcon& icon = make();
    int fired = 0;
    icon.OnShortCut = [&](QObject* sender) {
        EXPECT_EQ(sender, &icon);
        ++fired;
    };
    const struct {
        quint16 shortCut;
        QStringList log;
    } steps[] = {
        {0x4054, {u"grab 2 54"_s}},                // Ctrl+T
        {0x4054, {}},                              // the same again
        {0xA070, {u"release"_s, u"grab 5 70"_s}},  // Shift+Alt+F1
        {0x6041, {u"release"_s, u"grab 6 41"_s}},  // Ctrl+Shift+A
        {0x8020, {u"release"_s, u"grab 1 20"_s}},  // Alt+Space
        {0, {u"release"_s}},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.shortCut);
        keys.clear();
        icon.setShortCut(step.shortCut);
        EXPECT_EQ(keys, step.log);
        EXPECT_EQ(icon.ShortCut(), step.shortCut);
    }
    icon.setShortCut(0x4054);
    hotKey->press();
    EXPECT_EQ(fired, 1);

    // A refused key is not held, so there is nothing to let go of later.
    hotKey->accept = false;
    icon.setShortCut(0x4055);
    keys.clear();
    icon.setShortCut(0);
    EXPECT_EQ(keys, QStringList{});
    EXPECT_TRUE(calls.isEmpty());
}

TEST_F(TrayIconTest, HidingOnMinimiseWrapsAndThenRestoresThePreviousHandler)
{
    tray::ApplicationWindow& application = tray::ApplicationWindow::of(&owner);
    QStringList log;
    application.onMinimize = [&](QObject* sender) {
        log.append(u"previous %1"_s.arg(sender == &owner));
    };
    owner.show();
    const auto minimise = [&] {
        // The platform reports each state change once more, later.
        owner.showMinimized();
        QTest::qWait(20);
        log.append(owner.isVisible() ? u"visible"_s : u"hidden"_s);
        owner.showNormal();
        QTest::qWait(20);
    };
    {
        tray::TVelaTrayIcon& icon = make();
        icon.setHideAppOnMinimize(true);
        minimise();
        shell->host = false;  // nowhere to come back from: stays
        minimise();
        shell->host = true;
        icon.setHideAppOnMinimize(false);
        minimise();
        icon.setHideAppOnMinimize(true);
        tray.reset();  // destruction puts the previous handler back too
    }
    minimise();
    EXPECT_EQ(log, (QStringList{u"previous 1"_s, u"hidden"_s, u"previous 1"_s, u"visible"_s,
                                u"previous 1"_s, u"visible"_s, u"previous 1"_s, u"visible"_s}));
}

TEST_F(TrayIconTest, DestructionRemovesTheIcon)
{
    make().setActive(true);
    tray.reset();
    ASSERT_FALSE(calls.isEmpty());
    EXPECT_EQ(calls.last().request, tray::TrayRequest::Delete);

    calls.clear();
    make();
    tray.reset();
    EXPECT_TRUE(calls.isEmpty());
}

}  // namespace
