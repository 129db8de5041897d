#include <gtest/gtest.h>
#include <malloc.h>
#include <QPlainTextDocumentLayout>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QTest>
#include <QTextBlock>
#include <QTextLayout>
#include <random>

#include "markup/editor_lines.h"
#include "markup/highlight.h"
#include "markup/row_counts.h"
#include "markup/row_index.h"

using namespace Qt::Literals::StringLiterals;

namespace {

// The definitions, walked from the top with every block laid out by the
// editing area itself.
QList<QPair<int, int>> ReferenceRows(const QPlainTextEdit& memo, const QTextBlock& block)
{
    const int length = block.length() - 1;
    if (memo.lineWrapMode() == QPlainTextEdit::NoWrap || length <= 0)
        return {{0, std::max(length, 0)}};
    qobject_cast<QPlainTextDocumentLayout*>(memo.document()->documentLayout())
        ->ensureBlockLayout(block);
    QList<QPair<int, int>> rows;
    for (int i = 0; i < block.layout()->lineCount(); ++i)
        rows.append(
            {block.layout()->lineAt(i).textStart(), block.layout()->lineAt(i).textLength()});
    return rows.isEmpty() ? QList<QPair<int, int>>{{0, length}} : rows;
}

markup::RowPosition ReferenceRow(const QPlainTextEdit& memo, int position)
{
    const QTextBlock target = memo.document()->findBlock(position);
    int row = 0;
    for (QTextBlock block = memo.document()->begin(); block.isValid() && block != target;
         block = block.next())
        row += int(ReferenceRows(memo, block).size());
    const auto rows = ReferenceRows(memo, target);
    int index = 0;
    while (index + 1 < rows.size() && position - target.position() >= rows[index + 1].first)
        ++index;
    return {row + index, target.position() + rows[index].first};
}

QStringList ReferenceLines(const QPlainTextEdit& memo)
{
    QStringList lines;
    for (QTextBlock block = memo.document()->begin(); block.isValid(); block = block.next()) {
        if (!block.next().isValid() && block.length() <= 1) break;
        for (const auto& [start, length] : ReferenceRows(memo, block))
            lines.append(block.text().mid(start, length));
    }
    return lines;
}

QTextCharFormat Larger()
{
    QTextCharFormat format;
    format.setFontWeight(QFont::Bold);
    format.setFontPointSize(15);
    return format;
}

QTextCharFormat Red()
{
    QTextCharFormat format;
    format.setForeground(Qt::red);
    return format;
}

QString RandomText(std::mt19937& random, int pieces)
{
    static const QStringList kPieces = {
        u"word "_s, u"alphabet "_s, u"繁體中文"_s, u"，"_s, u"\t"_s, u"[b]"_s,
        u"x"_s,     u"\n"_s,        u"\n\n"_s,     u"  "_s, u"長"_s, u"supercalifragilistic"_s};
    QString text;
    for (int i = 0; i < pieces; ++i) text += kPieces[int(random() % kPieces.size())];
    return text;
}

// Two editing areas with the same text, width and font: one answers from the
// kept row counts, its twin by the definition, so the twin's layouts never
// help the first.
class RowIndexTest : public ::testing::TestWithParam<bool> {
protected:
    QPlainTextEdit memo, twin;
    std::mt19937 random{20261208};

    void SetUp() override
    {
        for (QPlainTextEdit* edit : {&memo, &twin}) {
            edit->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
            edit->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
            edit->setLineWrapMode(GetParam() ? QPlainTextEdit::WidgetWidth
                                             : QPlainTextEdit::NoWrap);
            edit->resize(240, 200);
            edit->show();
        }
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&memo));
    }
    template <typename Change>
    void both(Change change)
    {
        change(memo);
        change(twin);
        QCoreApplication::processEvents();
    }
    void expectSameRows(const char* step)
    {
        SCOPED_TRACE(step);
        const int end = memo.document()->characterCount() - 1;
        QList<int> probes = {0, end, end / 2};
        for (int i = 0; i < 12; ++i) probes.append(int(random() % (end + 1)));
        for (const int position : probes) {
            const markup::RowPosition got = markup::RowOfPosition(memo, position);
            const markup::RowPosition want = ReferenceRow(twin, position);
            EXPECT_EQ(got.row, want.row) << "at " << position;
            EXPECT_EQ(got.rowStart, want.rowStart) << "at " << position;
        }
        EXPECT_EQ(markup::DisplayedLines(memo), ReferenceLines(twin));
    }
};

TEST_P(RowIndexTest, KeptCountsAgreeWithTheWalkFromTheTop)
{
    const QString text = RandomText(random, 400);
    both([&](QPlainTextEdit& e) { e.setPlainText(text); });
    expectSameRows("opened");

    for (int step = 0; step < 60; ++step) {
        const int length = memo.document()->characterCount() - 1;
        const int at = int(random() % (length + 1));
        const int span = std::min(length - at, int(random() % 40));
        const QString inserted = RandomText(random, int(random() % 6));
        const int kind = int(random() % 10);
        both([&](QPlainTextEdit& e) {
            QTextCursor cursor(e.document());
            cursor.setPosition(at);
            cursor.setPosition(at + span, QTextCursor::KeepAnchor);
            if (kind == 0)
                e.resize(160 + (step * 37) % 300, 200);
            else if (kind == 1)
                e.setFont(QFont(e.font().family(), 8 + step % 9));
            else if (kind == 2)
                e.undo();
            else if (kind == 3)
                cursor.mergeCharFormat(Larger());
            else if (kind == 4)
                cursor.mergeCharFormat(Red());
            else if (kind == 5)
                // Colours of their own cut a row's text into pieces shaped apart.
                markup::HighlightOccurrences(e, step % 2 ? u"word"_s : u"中"_s, Qt::blue);
            else
                cursor.insertText(inserted);
        });
        expectSameRows(kind == 0   ? "resized"
                       : kind == 1 ? "new font"
                       : kind < 6  ? "formatted"
                                   : "edited");
    }
}

TEST_P(RowIndexTest, LargeDocumentIsCountedBetweenEvents)
{
    const QString text = RandomText(random, 20000);
    both([&](QPlainTextEdit& e) { e.setPlainText(text); });
    markup::RowIndex& index = markup::RowIndex::of(memo);
    const int end = memo.document()->characterCount() - 1;
    const markup::RowPosition want = ReferenceRow(twin, end);
    std::optional<markup::RowPosition> got = index.rowOfSoon(end);
    // Word wrap off needs no counting at all; on, far more text than may be
    // laid out at once lies above the end.
    EXPECT_EQ(got.has_value(), !GetParam());
    QSignalSpy progressed(&index, &markup::RowIndex::progressed);
    EXPECT_TRUE(QTest::qWaitFor([&] { return (got = index.rowOfSoon(end)).has_value(); }, 60000));
    ASSERT_TRUE(got);
    EXPECT_EQ(got->row, want.row);
    EXPECT_EQ(got->rowStart, want.rowStart);
    EXPECT_EQ(progressed.isEmpty(), !GetParam());
}

TEST(RowIndexHiddenTest, AnEditingAreaNeverShownDoesNotWrapYet)
{
    QPlainTextEdit memo, twin;
    QString text;
    for (int i = 0; i < 200; ++i) text += u"word "_s;
    text += u"\nshort"_s;
    for (QPlainTextEdit* edit : {&memo, &twin}) {
        edit->setPlainText(text);
        edit->setFont(QFont(edit->font().family(), 11));  // which drops every layout
    }
    EXPECT_EQ(markup::DisplayedLines(memo), ReferenceLines(twin));
    const int end = memo.document()->characterCount() - 1;
    EXPECT_EQ(markup::RowOfPosition(memo, end).row, ReferenceRow(twin, end).row);
}

// Counting reads the layouts the editing area made for the rows it shows and
// makes none for the others: a layout kept for every block of a long
// document would be memory nobody asked for.
TEST(RowIndexMemoryTest, CountingKeepsNoLayoutForRowsNotShown)
{
    QPlainTextEdit memo;
    // (A scroll bar coming would give every block a layout of the editing
    // area's own making, at the new width.)
    memo.setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    memo.resize(240, 200);
    memo.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&memo));
    QString text;
    constexpr int kBlocks = 20000;
    for (int i = 0; i < kBlocks; ++i) text += u"row %1\n"_s.arg(i);
    memo.setPlainText(text);
    QCoreApplication::processEvents();
    markup::RowIndex& index = markup::RowIndex::of(memo);
    const size_t before = mallinfo2().uordblks;
    const int end = memo.document()->characterCount() - 1;
    EXPECT_EQ(index.rowOf(end).row, kBlocks);
    const size_t after = mallinfo2().uordblks;
    EXPECT_LT(after > before ? after - before : 0, size_t(kBlocks) * 64);
}

INSTANTIATE_TEST_SUITE_P(WordWrap, RowIndexTest, ::testing::Bool(),
                         [](const auto& test) { return test.param ? "On" : "Off"; });

// The sums and the kept breaks against plain lists, over edits that split
// and join the runs the blocks are kept in.
TEST(RowCountsTest, SumsFollowAPlainList)
{
    std::mt19937 random(7);
    std::vector<int> model(700, markup::RowCounts::kUnknown);
    std::vector<markup::RowCounts::Breaks> breaks(model.size());
    markup::RowCounts counts;
    counts.reset(int(model.size()));
    for (int step = 0; step < 3000; ++step) {
        const int size = int(model.size());
        const int kind = int(random() % 5);
        if (kind < 2 && size > 0) {
            const int block = int(random() % size);
            const int rows = int(random() % 5);
            model[size_t(block)] = rows;
            counts.set(block, rows);
            breaks[size_t(block)].clear();
        } else if (kind == 2 && size > 0) {
            // Rows with where they break, told apart by the step that set them.
            const int block = int(random() % size);
            const markup::RowCounts::Breaks rows = {{0, step}, {step, 1}};
            model[size_t(block)] = 2;
            breaks[size_t(block)] = rows;
            counts.set(block, rows);
        } else {
            const int first = int(random() % (size + 1));
            const int removed =
                std::min(size - first, 1 + int(random() % (random() % 10 ? 3 : 900)));
            const int added = int(random() % (random() % 10 ? 3 : 900)) + (removed == 0);
            model.erase(model.begin() + first, model.begin() + first + removed);
            model.insert(model.begin() + first, size_t(added), markup::RowCounts::kUnknown);
            breaks.erase(breaks.begin() + first, breaks.begin() + first + removed);
            breaks.insert(breaks.begin() + first, size_t(added), markup::RowCounts::Breaks());
            counts.replace(first, removed, added);
        }
        if (step % 500 == 499) {
            // Everything stale at once, as after a new width.
            counts.reset(int(model.size()));
            std::fill(model.begin(), model.end(), markup::RowCounts::kUnknown);
            for (auto& kept : breaks) kept.clear();
        }
        ASSERT_EQ(counts.size(), int(model.size()));
        for (int probe = 0; probe < 4; ++probe) {
            const int block = int(random() % (model.size() + 1));
            qint64 rows = 0;
            int unknown = 0;
            for (int i = 0; i < block; ++i) {
                if (model[size_t(i)] == markup::RowCounts::kUnknown)
                    ++unknown;
                else
                    rows += model[size_t(i)];
            }
            ASSERT_EQ(counts.rowsBefore(block), rows) << "step " << step;
            ASSERT_EQ(counts.unknownBefore(block), unknown) << "step " << step;
            const auto next =
                std::find(model.begin() + block, model.end(), markup::RowCounts::kUnknown);
            ASSERT_EQ(counts.firstUnknown(block), int(next - model.begin())) << "step " << step;
            if (block < int(model.size())) {
                ASSERT_EQ(counts.rows(block), model[size_t(block)]);
                ASSERT_EQ(counts.breaks(block), breaks[size_t(block)]) << "step " << step;
            }
        }
    }
}

}  // namespace
