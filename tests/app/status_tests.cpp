#include <QLineEdit>

#include "app/form_fixture.h"

using namespace Qt::Literals::StringLiterals;

namespace {

using StatusTest = FormTest;

QString Position(int line, int column)
{
    return u"  行: %1  列: %2"_s.arg(line).arg(column);
}

TEST_F(StatusTest, CaretPositionAsLineAndColumn)
{
    form.Memo1->setFocus();
    QTest::keyClicks(form.Memo1, u"abc"_s);
    EXPECT_EQ(form.statusPanelText(0), Position(1, 4));

    setText(u"one\ntwo\nthree"_s);
    select(8, 8);
    EXPECT_EQ(form.statusPanelText(0), Position(3, 1));

    setText(u"\tx"_s);
    EXPECT_EQ(form.statusPanelText(0), Position(1, 3));
}

TEST_F(StatusTest, SelectionShowsItsStartWhicheverEndTheCaretIsAt)
{
    setText(u"hello world"_s);
    select(2, 7);
    EXPECT_EQ(form.statusPanelText(0), Position(1, 3));
    select(7, 2);
    EXPECT_EQ(form.statusPanelText(0), Position(1, 3));
}

TEST_F(StatusTest, PositionFollowsInsertionsAndNew)
{
    setText(u""_s);
    button("SpeedButton8")->click();
    EXPECT_EQ(form.statusPanelText(0), Position(2, 1));
    button("SpeedButton1")->click();
    EXPECT_EQ(form.statusPanelText(0), Position(2, 8));
    form.Memo1->document()->setModified(false);
    action("N7")->trigger();
    EXPECT_EQ(form.statusPanelText(0), Position(1, 1));
}

TEST_F(StatusTest, WrappedRowsCountAsLines)
{
    QString paragraph;
    for (int i = 0; i < 60; ++i) paragraph += u"word "_s;
    setText(paragraph);
    const int rows = int(markup::DisplayedLines(*form.Memo1).size());
    ASSERT_GT(rows, 1);
    EXPECT_TRUE(form.statusPanelText(0).startsWith(u"  行: %1  列: "_s.arg(rows)));
    action("W1")->trigger();
    form.Memo1->moveCursor(QTextCursor::End);
    EXPECT_EQ(form.statusPanelText(0), Position(1, int(paragraph.size()) + 1));
}

TEST_F(StatusTest, ResizingReWrapsAndTheRowFollows)
{
    QString paragraph;
    for (int i = 0; i < 60; ++i) paragraph += u"word "_s;
    setText(paragraph);
    const QString narrow = form.statusPanelText(0);
    form.resize(form.width() + 400, form.height());
    EXPECT_TRUE(QTest::qWaitFor([&] { return form.statusPanelText(0) != narrow; }, 2000));
    const int rows = int(markup::DisplayedLines(*form.Memo1).size());
    EXPECT_TRUE(form.statusPanelText(0).startsWith(u"  行: %1  列: "_s.arg(rows)));
}

TEST_F(StatusTest, LockPanelsFollowTheKeyboard)
{
    form.Timer1Timer();
    EXPECT_EQ(form.statusPanelText(1), u""_s);
    EXPECT_EQ(form.statusPanelText(2), u"插入模式"_s);
    EXPECT_EQ(form.statusPanelText(3), u""_s);

    keyboard.num = true;
    keyboard.caps = true;
    form.Timer1Timer();
    EXPECT_EQ(form.statusPanelText(1), u"NUM"_s);
    EXPECT_EQ(form.statusPanelText(3), u"Caps Lock"_s);
    EXPECT_EQ(form.statusPanelText(4), u""_s);

    // The timer itself keeps the panels current.
    keyboard.caps = false;
    EXPECT_TRUE(QTest::qWaitFor([&] { return form.statusPanelText(3).isEmpty(); }, 2000));
}

TEST_F(StatusTest, InsertKeyTogglesOverwriteTyping)
{
    setText(u"abc"_s);
    select(0, 0);
    form.Memo1->setFocus();
    QTest::keyClick(form.Memo1, Qt::Key_Insert);
    EXPECT_TRUE(form.insertToggle());
    form.Timer1Timer();
    EXPECT_EQ(form.statusPanelText(2), u"取代模式"_s);
    QTest::keyClicks(form.Memo1, u"XY"_s);
    EXPECT_EQ(text(), u"XYc"_s);

    // A press outside the editing area flips the toggle too.
    form.Edit1->setFocus();
    QTest::keyClick(form.Edit1, Qt::Key_Insert);
    EXPECT_FALSE(form.insertToggle());
    form.Memo1->setFocus();
    QTest::keyClicks(form.Memo1, u"Z"_s);
    EXPECT_EQ(text(), u"XYZc"_s);
}

}  // namespace
