#include <gtest/gtest.h>
#include <QPlainTextEdit>

#include "markup/editor_lines.h"
#include "markup/insertion.h"

using namespace Qt::Literals::StringLiterals;
using markup::AppendLine;
using markup::InsertAtCaret;
using markup::WrapSelection;

namespace {

class InsertionTest : public ::testing::Test {
protected:
    QPlainTextEdit memo;

    void setText(const QString& text, int caret = -1)
    {
        memo.setPlainText(text);
        QTextCursor cursor = memo.textCursor();
        cursor.setPosition(caret < 0 ? int(text.size()) : caret);
        memo.setTextCursor(cursor);
    }
    void select(int start, int end)
    {
        QTextCursor cursor = memo.textCursor();
        cursor.setPosition(start);
        cursor.setPosition(end, QTextCursor::KeepAnchor);
        memo.setTextCursor(cursor);
    }
    QString text() const { return memo.toPlainText(); }
    int caret() const { return memo.textCursor().position(); }
    bool selected() const { return memo.textCursor().hasSelection(); }
};

TEST_F(InsertionTest, WrapWithoutSelectionPutsBothTagsAtTheCaret)
{
    setText(u"ab"_s, 1);
    WrapSelection(memo, u"[b]"_s, u"[/b]"_s);
    EXPECT_EQ(text(), u"a[b][/b]b"_s);
    EXPECT_EQ(caret(), 8);  // after the closing tag, not between the tags
    EXPECT_FALSE(selected());
}

TEST_F(InsertionTest, WrapSurroundsTheSelectionWhicheverEndTheCaretIsAt)
{
    for (const bool backwards : {false, true}) {
        setText(u"x abc y"_s);
        backwards ? select(5, 2) : select(2, 5);
        WrapSelection(memo, u"[center]"_s, u"[/center]"_s);
        EXPECT_EQ(text(), u"x [center]abc[/center] y"_s);
        EXPECT_EQ(caret(), 22);
        EXPECT_FALSE(selected());
    }
}

TEST_F(InsertionTest, WrapKeepsLineBreaksAndNestsOnRepeat)
{
    setText(u"one\ntwo\nthree"_s);
    select(0, 7);
    WrapSelection(memo, u"[quote]"_s, u"[/quote]"_s);
    EXPECT_EQ(text(), u"[quote]one\ntwo[/quote]\nthree"_s);

    setText(u"abc"_s);
    select(0, 3);
    WrapSelection(memo, u"[b]"_s, u"[/b]"_s);
    select(0, int(text().size()));
    WrapSelection(memo, u"[b]"_s, u"[/b]"_s);
    EXPECT_EQ(text(), u"[b][b]abc[/b][/b]"_s);
}

TEST_F(InsertionTest, WrapKeepsCharactersOutsideTheBasicPlane)
{
    setText(u"a😀b"_s);
    select(1, 3);
    WrapSelection(memo, u"「"_s, u"」"_s);
    EXPECT_EQ(text(), u"a「😀」b"_s);
    EXPECT_EQ(caret(), 5);
}

TEST_F(InsertionTest, EachInsertionIsOneUndoStep)
{
    setText(u"abc"_s);
    select(0, 3);
    WrapSelection(memo, u"[i]"_s, u"[/i]"_s);
    memo.undo();
    EXPECT_EQ(text(), u"abc"_s);

    select(1, 2);
    InsertAtCaret(memo, u"[img]請輸入圖片網址[/img]"_s);
    memo.undo();
    EXPECT_EQ(text(), u"abc"_s);

    AppendLine(memo, u"[hr]"_s);
    memo.undo();
    EXPECT_EQ(text(), u"abc"_s);
}

TEST_F(InsertionTest, InsertReplacesTheSelection)
{
    setText(u"abcdef"_s);
    select(1, 4);
    InsertAtCaret(memo, u"★"_s);
    EXPECT_EQ(text(), u"a★ef"_s);
    EXPECT_EQ(caret(), 2);
    EXPECT_FALSE(selected());

    setText(u"ab"_s, 1);
    InsertAtCaret(memo, u"   "_s);
    EXPECT_EQ(text(), u"a   b"_s);
    EXPECT_EQ(caret(), 4);
}

TEST_F(InsertionTest, AppendLineOnTheThreeKindsOfDocumentEnd)
{
    struct Case {
        QString before, after;
    } cases[] = {
        {u""_s, u"[hr]\n"_s},
        {u"abc"_s, u"abc\n[hr]"_s},
        {u"abc\n"_s, u"abc\n[hr]\n"_s},
        {u"\n\n"_s, u"\n\n[hr]\n"_s},
    };
    for (const Case& c : cases) {
        setText(c.before, 0);
        AppendLine(memo, u"[hr]"_s);
        EXPECT_EQ(text(), c.after) << c.before.toStdString();
        EXPECT_EQ(caret(), int(c.after.size())) << c.before.toStdString();
        EXPECT_FALSE(selected());
    }
}

TEST_F(InsertionTest, AppendLineLeavesTheSelectedTextInPlace)
{
    setText(u"abc\ndef"_s);
    select(1, 2);
    AppendLine(memo, u"【主題】"_s);
    AppendLine(memo, u"【內文】"_s);
    EXPECT_EQ(text(), u"abc\ndef\n【主題】\n【內文】"_s);
    EXPECT_EQ(caret(), int(text().size()));
}

TEST_F(InsertionTest, AppendLineReportsALineTheAreaDidNotTake)
{
    // An area that keeps only two blocks drops the first ones as lines come
    // in, so the caret cannot end where the whole line would have put it.
    memo.setMaximumBlockCount(2);
    setText(u"a\nb"_s);
    try {
        AppendLine(memo, u"[hr]"_s);
        FAIL() << "no error";
    } catch (const markup::InsertionError& error) {
        EXPECT_STREQ(error.what(), "RichEdit line insertion error");
    }
    EXPECT_TRUE(text().endsWith(u"[hr]"_s));
}

class LinesTest : public InsertionTest {
protected:
    void SetUp() override
    {
        memo.setLineWrapMode(QPlainTextEdit::WidgetWidth);
        memo.resize(200, 300);
        memo.show();
    }
};

TEST_F(LinesTest, ParagraphsWithoutWrapAndNoEmptyLastLine)
{
    memo.setLineWrapMode(QPlainTextEdit::NoWrap);
    setText(u"one\n\ntwo\n"_s);
    EXPECT_EQ(markup::DisplayedLines(memo), (QStringList{u"one"_s, u""_s, u"two"_s}));
    setText(u""_s);
    EXPECT_TRUE(markup::DisplayedLines(memo).isEmpty());
    setText(u"\n"_s);
    EXPECT_EQ(markup::DisplayedLines(memo), QStringList{u""_s});
}

TEST_F(LinesTest, WrappedParagraphGivesOneLinePerRow)
{
    const QString words = u"alpha beta gamma delta epsilon zeta eta theta iota kappa lambda mu"_s;
    setText(words + u"\nshort"_s);
    const QStringList wrapped = markup::DisplayedLines(memo);
    ASSERT_GT(wrapped.size(), 2);
    EXPECT_EQ(wrapped.last(), u"short"_s);
    // The rows put back together are the paragraph, nothing lost or added.
    EXPECT_EQ(QStringList(wrapped.mid(0, wrapped.size() - 1)).join(QString()), words);

    memo.setLineWrapMode(QPlainTextEdit::NoWrap);
    EXPECT_EQ(markup::DisplayedLines(memo), (QStringList{words, u"short"_s}));
}

TEST_F(LinesTest, RowOfPositionFollowsWrappedRows)
{
    const QString words = u"alpha beta gamma delta epsilon zeta eta theta iota kappa lambda mu"_s;
    setText(u"first\n"_s + words);
    const QStringList lines = markup::DisplayedLines(memo);
    ASSERT_GT(lines.size(), 2);
    // The first character of the third row is on row 2, column 1.
    const int thirdRowStart = 6 + int(lines[1].size());
    const markup::RowPosition row = markup::RowOfPosition(memo, thirdRowStart);
    EXPECT_EQ(row.row, 2);
    EXPECT_EQ(row.rowStart, thirdRowStart);
    EXPECT_EQ(markup::RowOfPosition(memo, 3).row, 0);
    EXPECT_EQ(markup::RowOfPosition(memo, 3).rowStart, 0);
}

}  // namespace

namespace {

TEST_F(InsertionTest, AppendLinesKeepsEmptyLinesWhereLineByLineWouldLoseThem)
{
    setText(u"abc"_s, 0);
    markup::AppendLines(memo, {u"five"_s, u""_s, u"six"_s});
    EXPECT_EQ(text(), u"abc\nfive\n\nsix"_s);
    EXPECT_EQ(caret(), int(text().size()));

    setText(u"abc\n"_s, 0);
    markup::AppendLines(memo, {u"five"_s, u""_s, u"six"_s});
    EXPECT_EQ(text(), u"abc\nfive\n\nsix\n"_s);

    // Without empty lines it is AppendLine line after line.
    setText(u"x"_s);
    markup::AppendLines(memo, {u"a"_s, u"b"_s});
    QPlainTextEdit other;
    other.setPlainText(u"x"_s);
    AppendLine(other, u"a"_s);
    AppendLine(other, u"b"_s);
    EXPECT_EQ(text(), other.toPlainText());

    setText(u"x"_s);
    markup::AppendLines(memo, {});
    EXPECT_EQ(text(), u"x"_s);
    memo.undo();
    EXPECT_EQ(text(), u"x"_s);
}

}  // namespace
