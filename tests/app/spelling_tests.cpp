#include <QApplication>
#include <QContextMenuEvent>
#include <QMenu>
#include <QTemporaryDir>
#include <QTimer>

#include "app/form_fixture.h"

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

TEST_F(SpellingTest, UnderlinesAMisspeltWordAndReplacesItAsOneStep)
{
    setText(u"[b]Ths[/b] 中文 wrold"_s);
    action("N73")->trigger();
    ASSERT_TRUE(QTest::qWaitFor([&] { return form.Memo1->extraSelections().size() == 2; }, 5000));
    const QTextEdit::ExtraSelection mark = form.Memo1->extraSelections().constLast();
    EXPECT_EQ(mark.cursor.selectedText(), u"wrold"_s);
    EXPECT_EQ(mark.format.underlineStyle(), QTextCharFormat::SpellCheckUnderline);
    ChooseFromContextMenu(*form.Memo1, int(text().indexOf(u"wrold"_s)) + 2, u"world"_s);
    EXPECT_EQ(text(), u"[b]Ths[/b] 中文 world"_s);
    form.Memo1->undo();
    EXPECT_EQ(text(), u"[b]Ths[/b] 中文 wrold"_s);
    // Added to the dictionary, a word is no longer marked anywhere.
    ChooseFromContextMenu(*form.Memo1, 4, u"加入字典"_s);
    QTest::qWait(50);
    EXPECT_EQ(form.Memo1->extraSelections().size(), 1);
    action("N73")->trigger();
    EXPECT_TRUE(form.Memo1->extraSelections().isEmpty());
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
