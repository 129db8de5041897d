#include <QApplication>
#include <QContextMenuEvent>
#include <QMenu>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTimer>

#include "app/form_fixture.h"
#include "spell/spell_layer.h"

using namespace Qt::Literals::StringLiterals;

namespace {

using SpellingTest = FormTest;

// Right-clicks `word` and chooses the context menu's entry `entry`.
void ChooseFromContextMenu(MemoEdit& memo, int position, const QString& entry)
{
    QTextCursor at(memo.document());
    at.setPosition(position);
    const QPoint point = memo.cursorRect(at).center();
    QTimer::singleShot(0, &memo, [entry] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        ASSERT_TRUE(menu);
        for (QAction* action : menu->actions())
            if (action->text() == entry) action->trigger();
        menu->close();
    });
    QContextMenuEvent event(QContextMenuEvent::Mouse, point, memo.viewport()->mapToGlobal(point));
    QApplication::sendEvent(memo.viewport(), &event);
}

// The words the paragraph shows underlined.
QStringList Underlined(const MemoEdit& memo, const QTextBlock& block)
{
    QStringList words;
    if (auto* layer = memo.findChild<spell::SpellLayer*>())
        for (const spell::WordSpan& span : layer->marks(block))
            words << block.text().mid(span.start, span.length);
    return words;
}

TEST_F(SpellingTest, UnderlinesAMisspeltWordAndReplacesItAsOneStep)
{
    // The words added go to a personal dictionary of this test's own.
    QTemporaryDir data;
    const QByteArray saved = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", data.path().toLocal8Bit());
    const auto restore = qScopeGuard([&] { qputenv("XDG_DATA_HOME", saved); });
    setText(u"[b]Ths[/b] 中文 wrol"_s);
    const QTextBlock line = form.Memo1->document()->firstBlock();
    action("N73")->trigger();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !Underlined(*form.Memo1, line).isEmpty(); }, 5000));
    // Not the word being typed, until the caret leaves it.
    QTest::keyClick(form.Memo1, Qt::Key_D);
    QTest::qWait(20);
    EXPECT_EQ(Underlined(*form.Memo1, line), QStringList{u"Ths"_s});
    form.Memo1->moveCursor(QTextCursor::Start);
    QTest::qWait(20);
    EXPECT_EQ(Underlined(*form.Memo1, line), (QStringList{u"Ths"_s, u"wrold"_s}));
    ChooseFromContextMenu(*form.Memo1, int(text().indexOf(u"wrold"_s)) + 2, u"world"_s);
    EXPECT_EQ(text(), u"[b]Ths[/b] 中文 world"_s);
    form.Memo1->undo();
    EXPECT_EQ(text(), u"[b]Ths[/b] 中文 wrold"_s);
    // Added to the dictionary, a word is no longer marked anywhere.
    ChooseFromContextMenu(*form.Memo1, 4, u"加入字典"_s);
    QTest::qWait(20);
    EXPECT_EQ(Underlined(*form.Memo1, line), QStringList{u"wrold"_s});
    action("N73")->trigger();
    EXPECT_EQ(Underlined(*form.Memo1, line), QStringList{});
}

// With no dictionary on the system the check item is greyed and says which
// package brings one.
TEST(SpellingWithoutDictionary, GreyedWithThePackageNamed)
{
    QTemporaryDir empty;
    const QByteArray dirs = qgetenv("XDG_DATA_DIRS"), path = qgetenv("DICPATH");
    qputenv("XDG_DATA_DIRS", empty.path().toLocal8Bit());
    qunsetenv("DICPATH");
    ScriptedPrompts prompts;
    FakeKeyboardState keyboard;
    FixedClock clock;
    TForm1 form(prompts, keyboard, clock);
    qputenv("XDG_DATA_DIRS", dirs);
    qputenv("DICPATH", path);
    QAction* item = form.findChild<QAction*>(u"N73"_s);
    EXPECT_FALSE(item->isEnabled());
    EXPECT_TRUE(item->toolTip().contains(u"hunspell-en-us"_s));
}

}  // namespace
