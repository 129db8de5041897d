// The paragraph colouring layer of the highlighting: display only, under the
// occurrences' colours, and laid on what is shown as it comes into view.
#include <gtest/gtest.h>

#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTest>
#include <QTextBlock>

#include "markup/highlight.h"

using namespace Qt::Literals::StringLiterals;

namespace {

// Each character of a block as the colour it shows, its layout's formats
// under the editing area's extra selections: r red, b blue, . none.
QString Colours(const QPlainTextEdit& memo, const QTextBlock& block)
{
    QString marks(block.length() - 1, u'.');
    const auto mark = [&marks](int from, int to, const QTextFormat& format) {
        const QColor colour = format.foreground().color();
        for (int i = std::max(from, 0); i < std::min(to, int(marks.size())); ++i)
            marks[i] = colour == Qt::red ? u'r' : colour == Qt::blue ? u'b' : u'?';
    };
    for (const QTextLayout::FormatRange& range : block.layout()->formats())
        mark(range.start, range.start + range.length, range.format);
    for (const QTextEdit::ExtraSelection& selection : memo.extraSelections())
        mark(selection.cursor.selectionStart() - block.position(),
             selection.cursor.selectionEnd() - block.position(), selection.format);
    return marks;
}

// Every character but spaces in blue.
QList<QTextLayout::FormatRange> Blue(const QTextBlock& block)
{
    QList<QTextLayout::FormatRange> ranges;
    QTextCharFormat blue;
    blue.setForeground(Qt::blue);
    const QString paragraph = block.text();
    for (int i = 0; i < paragraph.size(); ++i)
        if (paragraph[i] != u' ') ranges.append({i, 1, blue});
    return ranges;
}

TEST(ParagraphColouring, ShowsUnderTheOccurrencesAndLeavesTheDocumentAlone)
{
    QPlainTextEdit memo;
    memo.resize(400, 300);
    memo.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&memo));
    QStringList lines;
    for (int i = 0; i < 3000; ++i) lines.append(u"ab [b]c"_s);
    memo.setPlainText(lines.join(u'\n'));
    memo.document()->clearUndoRedoStacks();
    memo.document()->setModified(false);
    QTextDocument& document = *memo.document();
    const QTextBlock first = document.firstBlock(), last = document.lastBlock();

    markup::HighlightOccurrences(memo, u"[b]"_s, Qt::red);
    markup::SetParagraphColouring(memo, Blue);
    EXPECT_EQ(Colours(memo, first), u"bb.rrrb"_s);
    // Far below the screen nothing has been coloured by the layer.
    EXPECT_EQ(Colours(memo, last), u"...rrr."_s);
    // What an edit above brings on screen, not a scroll, is coloured before
    // it is shown, down to the bottom of the screen.
    QTextCursor cut(&document);
    cut.setPosition(document.findBlockByNumber(100).position(), QTextCursor::KeepAnchor);
    cut.removeSelectedText();
    memo.viewport()->repaint();
    const int shown = memo.viewport()->height() / memo.fontMetrics().lineSpacing();
    for (int block = 0; block < shown; ++block)
        EXPECT_EQ(Colours(memo, document.findBlockByNumber(block)), u"bb.rrrb"_s) << block;
    document.undo();
    memo.verticalScrollBar()->setValue(memo.verticalScrollBar()->maximum());
    QTest::qWait(50);
    EXPECT_EQ(Colours(memo, last), u"bb.rrrb"_s);
    EXPECT_FALSE(document.isUndoAvailable());
    EXPECT_FALSE(document.isModified());

    // Typing is coloured as it comes.
    memo.moveCursor(QTextCursor::End);
    QTest::keyClicks(&memo, u"x [b"_s);
    memo.viewport()->repaint();
    EXPECT_EQ(last.text(), u"ab [b]cx [b"_s);
    EXPECT_EQ(Colours(memo, last), u"bb.rrrbb.bb"_s);

    markup::SetParagraphColouring(memo, {});
    EXPECT_EQ(Colours(memo, last), u"...rrr....."_s);
    EXPECT_EQ(document.toPlainText().size(), lines.join(u'\n').size() + 4);
    document.undo();
    EXPECT_EQ(last.text(), u"ab [b]c"_s);
    EXPECT_FALSE(document.isUndoAvailable());
    EXPECT_FALSE(document.isModified());
}

}  // namespace
