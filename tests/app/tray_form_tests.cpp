// The main window's tray icon, on a recording notification area.
#include <gtest/gtest.h>
#include <QAction>
#include <QTest>

#include "app/form1/form1.h"
#include "app/memo_edit.h"
#include "convert/qstring_printer.h"
#include "fakes/recording_tray.h"
#include "fakes/scripted_prompts.h"
#include "text/big5_codec.h"
#include "tray/vela_tray_icon.h"

using namespace Qt::Literals::StringLiterals;

namespace {

class TrayFormTest : public ::testing::Test {
protected:
    QList<ShellCall> calls;
    QStringList keys;
    ScriptedPrompts prompts;
    FakeKeyboardState keyboard;
    FixedClock clock;
    RecordingTrayShell* shell = nullptr;
    std::unique_ptr<TForm1> form;

    void make(bool host = true)
    {
        auto recording = std::make_unique<RecordingTrayShell>(calls);
        recording->host = host;
        shell = recording.get();
        form = std::make_unique<TForm1>(prompts, keyboard, clock, std::move(recording),
                                        std::make_unique<RecordingHotKey>(keys));
    }
    void TearDown() override
    {
        if (form) form->close();
    }
    void show()
    {
        form->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    }
    QAction* n42() const { return form->findChild<QAction*>(u"N42"_s); }
    int imageOf(const QIcon& icon) const
    {
        for (int i = 0; i < form->ImageList1->count(); ++i) {
            if (icon.cacheKey() == form->ImageList1->icon(i).cacheKey()) return i;
        }
        return -1;
    }
    bool minimiseAndSettle()
    {
        form->showMinimized();
        QTest::qWait(30);
        return form->isVisible();
    }
};

TEST_F(TrayFormTest, IconIsAddedOnceWithItsFirstFrameThenWelcomesAndAnimates)
{
    make();
    ASSERT_EQ(calls.size(), 1);
    EXPECT_EQ(calls[0].request, tray::TrayRequest::Add);
    EXPECT_EQ(imageOf(calls[0].data.icon), 0);
    EXPECT_EQ(calls[0].data.tip, "Quillpost 4.0");
    EXPECT_EQ(calls[0].data.flags, 7u);
    EXPECT_EQ(form->ImageList1->count(), 2);
    EXPECT_EQ(form->ImageList1->imageSize(), QSize(16, 16));
    EXPECT_EQ(form->VelaTrayIcon1->Interval(), 1000);
    EXPECT_EQ(form->VelaTrayIcon1->ShortCut(), 0);
    EXPECT_EQ(form->VelaTrayIcon1->WinIcon(), tray::idiQUESTION);
    EXPECT_TRUE(keys.isEmpty());
    // Both frames draw at 1x and 2x.
    for (int i = 0; i < 2; ++i) {
        EXPECT_FALSE(form->ImageList1->icon(i).pixmap(QSize(16, 16), 2.0).isNull());
    }

    show();
    ASSERT_EQ(calls.size(), 2);
    const tray::NotifyIconData& balloon = calls[1].data;
    EXPECT_TRUE(balloon.flags & tray::NifInfo);
    EXPECT_EQ(balloon.infoTitle, text::EncodeBig5(u"歡迎使用"_s, text::Unencodable::Fail).bytes);
    EXPECT_EQ(balloon.info, "Quillpost 4.0");
    EXPECT_EQ(balloon.timeout, 3000u);
    EXPECT_EQ(balloon.infoFlags, 1u);

    ASSERT_TRUE(QTest::qWaitFor([&] { return calls.size() >= 3; }, 2500));
    EXPECT_EQ(calls[2].request, tray::TrayRequest::Modify);
    EXPECT_EQ(imageOf(calls[2].data.icon), 1);
    EXPECT_FALSE(calls[2].data.flags & tray::NifInfo);
}

TEST_F(TrayFormTest, F9SwitchesHidingWithTheTickAndTheCaption)
{
    make();
    show();
    QAction* entry = n42();
    ASSERT_TRUE(entry->isEnabled());
    EXPECT_TRUE(entry->isChecked());
    EXPECT_EQ(entry->text(), u"隱藏主視窗"_s);
    EXPECT_EQ(entry->shortcut(), QKeySequence(Qt::Key_F9));

    const struct {
        bool ticked;
        QString caption;
    } steps[] = {{false, u"顯示主視窗"_s}, {true, u"隱藏主視窗"_s}, {false, u"顯示主視窗"_s}};
    for (const auto& step : steps) {
        QTest::keyClick(form->Memo1, Qt::Key_F9);
        EXPECT_EQ(entry->isChecked(), step.ticked);
        EXPECT_EQ(entry->text(), step.caption);
        EXPECT_EQ(form->VelaTrayIcon1->HideAppOnMinimize(), step.ticked);
    }
}

TEST_F(TrayFormTest, MinimiseHidesUntilTheIconIsClicked)
{
    make();
    show();
    // Hiding on: the window leaves the screen and the taskbar.
    EXPECT_FALSE(minimiseAndSettle());
    shell->send(tray::TrayMouseMessage::LeftButtonUp);
    EXPECT_TRUE(form->isVisible());
    EXPECT_FALSE(form->isMinimized());

    // Hiding off: an ordinary minimise, which a click undoes too.
    n42()->trigger();
    EXPECT_TRUE(minimiseAndSettle());
    EXPECT_TRUE(form->isMinimized());
    shell->send(tray::TrayMouseMessage::LeftButtonUp);
    EXPECT_FALSE(form->isMinimized());
    // Coming back is no new showing: one welcome, from the first.
    EXPECT_EQ(calls.first().request, tray::TrayRequest::Add);
    int balloons = 0;
    for (const ShellCall& call : calls.mid(1)) {
        EXPECT_EQ(call.request, tray::TrayRequest::Modify);
        if (call.data.flags & tray::NifInfo) ++balloons;
    }
    EXPECT_EQ(balloons, 1);
}

TEST_F(TrayFormTest, WithoutATrayHostTheWindowStaysReachable)
{
    make(false);
    show();
    EXPECT_FALSE(form->VelaTrayIcon1->ShowBalloon(u"t"_s, u"x"_s, 10));
    EXPECT_TRUE(minimiseAndSettle());
    form->showNormal();
    // The editor works as ever.
    QTest::keyClicks(form->Memo1, u"abc"_s);
    EXPECT_EQ(form->Memo1->toPlainText(), u"abc"_s);
    form->Memo1->document()->setModified(false);
}

TEST_F(TrayFormTest, ClosingRemovesTheIcon)
{
    make();
    show();
    form->close();
    form.reset();
    EXPECT_EQ(calls.last().request, tray::TrayRequest::Delete);
}

}  // namespace
