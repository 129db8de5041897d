// The live preview beside the editing area, and the two view settings kept
// between runs, on the real window.
#include <signal.h>
#include <QDir>
#include <QElapsedTimer>
#include <QLabel>
#include <QSplitter>
#include <QTemporaryDir>
#include <QWebEnginePage>
#include <QWebEngineScript>
#include <QWebEngineView>
#include <memory>
#include <optional>

#include "app/form_fixture.h"
#include "app/live_preview.h"
#include "app/window_settings.h"

using namespace Qt::Literals::StringLiterals;

namespace {

using LivePreviewTest = FormTest;

// What the page says when asked from the program's own script world.
QVariant Evaluate(QWebEngineView& view, const QString& script)
{
    const auto answer = std::make_shared<std::optional<QVariant>>();
    view.page()->runJavaScript(script, QWebEngineScript::ApplicationWorld,
                               [answer](const QVariant& value) { *answer = value; });
    EXPECT_TRUE(QTest::qWaitFor([&] { return answer->has_value(); }, 8000)) << script.toStdString();
    return answer->value_or(QVariant());
}

TEST_F(LivePreviewTest, PageFollowsTypingOnceItPausesAndScrollsWithTheCaret)
{
    const QRect alone = form.Memo1->geometry();
    action("N57")->trigger();
    auto* view = form.findChild<QWebEngineView*>(u"EmbeddedWB2"_s);
    ASSERT_NE(view, nullptr);
    ASSERT_TRUE(view->isVisible());
    EXPECT_EQ(form.Memo1->parentWidget(), form.findChild<QSplitter*>(u"Splitter1"_s));
    EXPECT_TRUE(form.Memo1->hasFocus());
    int loads = 0;
    QObject::connect(form.findChild<LivePreview*>(), &LivePreview::pageShown, view,
                     [&](bool ok) { loads += ok; });
    ASSERT_TRUE(QTest::qWaitFor([&] { return loads == 1; }, 8000));  // the empty post

    QTest::keyClicks(form.Memo1, u"[b]bold[/b] text"_s);
    QElapsedTimer typed;
    typed.start();
    QTest::qWait(150);
    if (typed.elapsed() < LivePreview::kPauseMs) {
        EXPECT_EQ(loads, 1);  // typing has not paused long enough yet
    }
    ASSERT_TRUE(QTest::qWaitFor([&] { return loads == 2; }, 8000));
    QTest::qWait(1000);
    EXPECT_EQ(loads, 2);  // one page for the whole burst
    EXPECT_EQ(Evaluate(*view, u"document.querySelector('b').textContent"_s).toString(), u"bold"_s);

    // A long post with the caret at its end: the pane shows the end.
    QStringList lines;
    for (int i = 0; i < 300; ++i) lines.append(u"line %1"_s.arg(i));
    setText(lines.join(u'\n'));
    ASSERT_TRUE(QTest::qWaitFor([&] { return loads == 3; }, 8000));
    const auto scrolled = [&] { return Evaluate(*view, u"window.scrollY"_s).toDouble(); };
    EXPECT_TRUE(QTest::qWaitFor([&] { return scrolled() > 1000; }, 4000)) << scrolled();
    // The caret moved back to the start without an edit: no new page.
    form.Memo1->moveCursor(QTextCursor::Start);
    EXPECT_TRUE(QTest::qWaitFor([&] { return scrolled() == 0; }, 4000)) << scrolled();
    EXPECT_EQ(loads, 3);
    // A new width wraps the lines elsewhere: a new page.
    form.resize(form.width() + 120, form.height());
    ASSERT_TRUE(QTest::qWaitFor([&] { return loads == 4; }, 8000));

    // Unticked, the editing area is back where it was, alone.
    action("N57")->trigger();
    EXPECT_FALSE(view->isVisible());
    EXPECT_EQ(form.Memo1->parentWidget(), form.TabSheet1);
    const QRect wider(alone.topLeft(), QSize(form.TabSheet1->width(), alone.height()));
    EXPECT_TRUE(QTest::qWaitFor([&] { return form.Memo1->geometry() == wider; }, 1000));
    QTest::keyClicks(form.Memo1, u"more"_s);
    QTest::qWait(800);
    EXPECT_EQ(loads, 4);
    EXPECT_EQ(prompts.asked(), QStringList{});
}

// One renderer for the pane: later pages go into the same page and process;
// when that process ends, the pane says so and the next page starts another.
TEST_F(LivePreviewTest, OneRendererForTheSessionAndANoticeWhenItEnds)
{
    action("N57")->trigger();
    auto* view = form.findChild<QWebEngineView*>(u"EmbeddedWB2"_s);
    int shown = 0;
    QObject::connect(form.findChild<LivePreview*>(), &LivePreview::pageShown, view,
                     [&](bool ok) { shown += ok; });
    ASSERT_TRUE(QTest::qWaitFor([&] { return shown == 1; }, 8000));
    QWebEnginePage* const page = view->page();
    const qint64 renderer = page->renderProcessPid();
    for (const int update : {2, 3}) {
        form.Memo1->insertPlainText(u"字"_s);
        ASSERT_TRUE(QTest::qWaitFor([&] { return shown == update; }, 8000));
        EXPECT_EQ(view->page(), page);
        EXPECT_EQ(page->renderProcessPid(), renderer);
    }

    auto* notice = form.findChild<QLabel*>(u"LivePreviewNotice"_s);
    ASSERT_FALSE(notice->isVisible());
    ::kill(pid_t(renderer), SIGKILL);
    ASSERT_TRUE(QTest::qWaitFor([&] { return notice->isVisible(); }, 8000));
    QTest::keyClicks(form.Memo1, u"x"_s);
    ASSERT_TRUE(QTest::qWaitFor([&] { return shown == 4; }, 8000));
    EXPECT_FALSE(notice->isVisible());
    EXPECT_NE(page->renderProcessPid(), renderer);
    EXPECT_EQ(Evaluate(*view, u"document.body.textContent"_s).toString().trimmed(), u"字字x"_s);
}

// Settings go to $XDG_CONFIG_HOME/quillpost/quillpost.conf; a folder where
// none can be read or written is no obstacle and asks nothing.
class SettingsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        m_saved = qgetenv("XDG_CONFIG_HOME");
    }
    void TearDown() override { qputenv("XDG_CONFIG_HOME", m_saved); }
    // A window made as start-up makes it, with settings from `folder`.
    std::unique_ptr<TForm1> startWith(const QString& folder)
    {
        qputenv("XDG_CONFIG_HOME", folder.toLocal8Bit());
        auto form = std::make_unique<TForm1>(m_prompts, m_keyboard, m_clock);
        form->restoreSettings();
        form->show();
        return form;
    }
    bool ticked(TForm1& form, const char* name)
    {
        return form.findChild<QAction*>(QString::fromLatin1(name))->isChecked();
    }

    QTemporaryDir m_dir;
    QByteArray m_saved;
    ScriptedPrompts m_prompts;
    FakeKeyboardState m_keyboard;
    FixedClock m_clock;
};

TEST_F(SettingsTest, RememberedInTheConfigurationFolder)
{
    const QString folder = m_dir.filePath(u"config"_s);
    const auto flip = [](TForm1& form, const char* name) {
        form.findChild<QAction*>(QString::fromLatin1(name))->trigger();
    };
    {
        const auto form = startWith(folder);
        EXPECT_FALSE(ticked(*form, "N57") || ticked(*form, "N58"));
        flip(*form, "N57");
        flip(*form, "N58");
    }
    EXPECT_TRUE(QFile::exists(folder + u"/quillpost/quillpost.conf"_s));
    {
        const auto form = startWith(folder);
        EXPECT_TRUE(ticked(*form, "N57") && ticked(*form, "N58"));
        EXPECT_NE(form->EmbeddedWB2, nullptr);
        flip(*form, "N57");
    }
    const auto form = startWith(folder);
    EXPECT_FALSE(ticked(*form, "N57"));
    EXPECT_TRUE(ticked(*form, "N58"));
    EXPECT_EQ(m_prompts.asked(), QStringList{});
}

TEST_F(SettingsTest, UnusableFileIsIgnoredSilently)
{
    // A folder that cannot be made (a file stands in its way), and a
    // settings file that is a folder: neither readable nor writable, even
    // for root.
    QFile blocker(m_dir.filePath(u"blocker"_s));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    const QString unreadable = m_dir.filePath(u"config"_s);
    ASSERT_TRUE(QDir().mkpath(unreadable + u"/quillpost/quillpost.conf"_s));
    for (const QString& folder : {blocker.fileName(), unreadable}) {
        const auto form = startWith(folder);
        for (const char* name : {"N57", "N58"}) {
            EXPECT_FALSE(ticked(*form, name));
            form->findChild<QAction*>(QString::fromLatin1(name))->trigger();
            EXPECT_TRUE(ticked(*form, name));
            EXPECT_FALSE(ticked(*startWith(folder), name)) << folder.toStdString();
        }
    }
    EXPECT_EQ(m_prompts.asked(), QStringList{});
}

}  // namespace
