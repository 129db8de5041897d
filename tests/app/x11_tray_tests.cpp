// The main window's tray icon in a real notification area: trayer on the
// test's X display, started and stopped by the tests themselves.
#include <xcb/xcb.h>

#include <gtest/gtest.h>
#include <QApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QProcess>
#include <QScreen>
#include <QSystemTrayIcon>
#include <QTest>
#include <memory>

#include "app/form1/form1.h"
#include "app/memo_edit.h"
#include "convert/qstring_printer.h"
#include "fakes/scripted_prompts.h"
#include "tray/vela_tray_icon.h"

using namespace Qt::Literals::StringLiterals;

namespace {

// A notification area of its own for one test.
class TrayHost {
public:
    ~TrayHost() { stop(); }

    bool start()
    {
        m_trayer.start(u"trayer"_s, {u"--edge"_s, u"top"_s, u"--align"_s, u"right"_s,
                                     u"--widthtype"_s, u"pixel"_s, u"--width"_s, u"80"_s,
                                     u"--height"_s, u"24"_s, u"--transparent"_s, u"false"_s});
        return m_trayer.waitForStarted(10000) &&
               QTest::qWaitFor([] { return QSystemTrayIcon::isSystemTrayAvailable(); }, 10000);
    }
    void stop()
    {
        if (m_trayer.state() == QProcess::NotRunning) return;
        m_trayer.kill();
        m_trayer.waitForFinished(5000);
    }

private:
    QProcess m_trayer;
};

xcb_connection_t* Connection()
{
    return qGuiApp->nativeInterface<QNativeInterface::QX11Application>()->connection();
}

// The window Qt docks into the notification area, if there is one.
QWidget* IconWindow()
{
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (qstrcmp(widget->metaObject()->className(), "QSystemTrayIconSys") == 0) return widget;
    }
    return nullptr;
}

// Docked: the host has taken the icon's window in and shows it.
bool Docked()
{
    QWidget* icon = IconWindow();
    if (!icon) return false;
    xcb_connection_t* connection = Connection();
    const auto window = xcb_window_t(icon->winId());
    std::unique_ptr<xcb_query_tree_reply_t, decltype(&std::free)> tree(
        xcb_query_tree_reply(connection, xcb_query_tree(connection, window), nullptr), &std::free);
    std::unique_ptr<xcb_get_window_attributes_reply_t, decltype(&std::free)> attributes(
        xcb_get_window_attributes_reply(connection, xcb_get_window_attributes(connection, window),
                                        nullptr),
        &std::free);
    return tree && attributes && tree->parent != tree->root &&
           attributes->map_state == XCB_MAP_STATE_VIEWABLE;
}

bool WaitDocked()
{
    return QTest::qWaitFor(Docked, 10000);
}

QString Xdotool(const QStringList& arguments)
{
    QProcess xdotool;
    xdotool.start(u"xdotool"_s, arguments);
    if (!xdotool.waitForFinished(10000) || xdotool.exitCode() != 0)
        return u"xdotool failed: "_s + QString::fromLocal8Bit(xdotool.readAllStandardError());
    return {};
}

// The pointer comes from elsewhere, as a user's would: one already resting
// where a new icon docks enters nothing.
QString PointAtIcon(int x)
{
    const QString away = Xdotool({u"mousemove"_s, u"600"_s, u"400"_s});
    if (!away.isEmpty()) return away;
    return Xdotool({u"mousemove"_s, u"--window"_s, QString::number(IconWindow()->winId()),
                    QString::number(x), u"8"_s});
}

QImage IconPixels()
{
    return QGuiApplication::primaryScreen()->grabWindow(IconWindow()->winId()).toImage();
}

// Something drawn on the host's plain background.
bool Drawn(const QImage& image)
{
    if (image.isNull()) return false;
    const QRgb background = image.pixel(0, 0);
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixel(x, y) != background) return true;
        }
    }
    return false;
}

QStringList LabelsOf(const char* className)
{
    QStringList texts;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (qstrcmp(widget->metaObject()->className(), className) != 0 || !widget->isVisible())
            continue;
        if (auto* label = qobject_cast<QLabel*>(widget)) texts.append(label->text());
        for (QLabel* label : widget->findChildren<QLabel*>()) texts.append(label->text());
    }
    return texts;
}

class TrayOnX11 : public ::testing::Test {
protected:
    ScriptedPrompts prompts;
    FakeKeyboardState keyboard;
    FixedClock clock;
    TrayHost host;

    void SetUp() override
    {
        if (QGuiApplication::platformName() != u"xcb"_s) GTEST_SKIP() << "needs an X display";
        // The host of an earlier test is gone once Qt has seen it go.
        ASSERT_TRUE(
            QTest::qWaitFor([] { return !QSystemTrayIcon::isSystemTrayAvailable(); }, 5000));
    }
};

TEST_F(TrayOnX11, DocksWithItsTooltipAlternatesFramesAndWelcomes)
{
    ASSERT_TRUE(host.start());
    TForm1 form(prompts, keyboard, clock);
    form.show();
    ASSERT_TRUE(WaitDocked());
    EXPECT_TRUE(
        QTest::qWaitFor([] { return LabelsOf("QBalloonTip").contains(u"歡迎使用"_s); }, 5000));
    EXPECT_TRUE(LabelsOf("QBalloonTip").contains(u"Quillpost 4.0"_s));

    // One frame, the other, and the first again, a second apart.
    ASSERT_TRUE(QTest::qWaitFor([] { return Drawn(IconPixels()); }, 3000));
    const QImage first = IconPixels();
    QImage second;
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            second = IconPixels();
            return second != first && Drawn(second);
        },
        2500));
    EXPECT_TRUE(QTest::qWaitFor([&] { return IconPixels() == first; }, 2500));

    ASSERT_EQ(PointAtIcon(6), u""_s);
    ASSERT_EQ(PointAtIcon(8), u""_s);
    EXPECT_TRUE(
        QTest::qWaitFor([] { return LabelsOf("QTipLabel").contains(u"Quillpost 4.0"_s); }, 5000));
}

TEST_F(TrayOnX11, MinimisedWindowComesBackWithAClickOnTheIcon)
{
    ASSERT_TRUE(host.start());
    TForm1 form(prompts, keyboard, clock);
    form.show();
    ASSERT_TRUE(WaitDocked());
    form.showMinimized();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !form.isVisible(); }, 3000));

    ASSERT_EQ(PointAtIcon(8), u""_s);
    ASSERT_EQ(Xdotool({u"click"_s, u"1"_s}), u""_s);
    EXPECT_TRUE(QTest::qWaitFor([&] { return form.isVisible() && !form.isMinimized(); }, 3000));
}

TEST_F(TrayOnX11, AHotKeyGivenToTheIconBringsTheWindowBack)
{
    ASSERT_TRUE(host.start());
    TForm1 form(prompts, keyboard, clock);
    form.show();
    ASSERT_TRUE(WaitDocked());
    form.VelaTrayIcon1->setShortCut(0x4054);  // Ctrl+T
    form.showMinimized();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !form.isVisible(); }, 3000));
    ASSERT_EQ(Xdotool({u"key"_s, u"ctrl+t"_s}), u""_s);
    EXPECT_TRUE(QTest::qWaitFor([&] { return form.isVisible() && !form.isMinimized(); }, 3000));
}

TEST_F(TrayOnX11, IconDocksWhenAHostComesLaterAndAgainAfterItRestarts)
{
    TForm1 form(prompts, keyboard, clock);
    form.show();
    // No notification area: minimising must not lose the window.
    form.showMinimized();
    QTest::qWait(100);
    EXPECT_TRUE(form.isVisible());
    form.showNormal();

    ASSERT_TRUE(host.start());
    EXPECT_TRUE(WaitDocked());
    host.stop();
    ASSERT_TRUE(QTest::qWaitFor([] { return !Docked(); }, 5000));
    ASSERT_TRUE(host.start());
    EXPECT_TRUE(WaitDocked());
}

}  // namespace
