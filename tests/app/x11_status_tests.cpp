// The status bar against a real X server: a lock switched by the server's
// keyboard shows within a few timer ticks.
#include <gtest/gtest.h>
#include <QGuiApplication>
#include <QProcess>
#include <QTest>

#include "app/form1/form1.h"
#include "fakes/scripted_prompts.h"
#include "platform/keyboard_state.h"

using namespace Qt::Literals::StringLiterals;

namespace {

void PressKey(const QString& key)
{
    ASSERT_EQ(QProcess::execute(u"xdotool"_s, {u"key"_s, key}), 0);
}

TEST(StatusOnX11, LocksSwitchedInTheServerShowInTheirPanels)
{
    if (QGuiApplication::platformName() != u"xcb"_s) GTEST_SKIP() << "needs an X display";
    ScriptedPrompts prompts;
    FixedClock clock;
    const auto keyboard = platform::MakeKeyboardState();
    TForm1 form(prompts, *keyboard, clock);
    form.show();

    PressKey(u"Caps_Lock"_s);
    EXPECT_TRUE(QTest::qWaitFor([&] { return form.statusPanelText(3) == u"Caps Lock"_s; }, 2000));
    PressKey(u"Caps_Lock"_s);
    EXPECT_TRUE(QTest::qWaitFor([&] { return form.statusPanelText(3).isEmpty(); }, 2000));

    const bool numBefore = form.statusPanelText(1) == u"NUM"_s;
    PressKey(u"Num_Lock"_s);
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return (form.statusPanelText(1) == u"NUM"_s) != numBefore; }, 2000));
    PressKey(u"Num_Lock"_s);
}

}  // namespace
