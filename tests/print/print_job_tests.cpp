// Printing's pagination alone, and the job on a recording printer.
#include <gtest/gtest.h>
#include <QFont>

#include "fakes/recording_printer.h"
#include "print/print_job.h"

using namespace Qt::Literals::StringLiterals;

namespace {

TEST(PrintPagination, BreaksOnlyBeforeALineThatFollowsAFullPage)
{
    const struct {
        qsizetype lines;
        int lineHeight, printableHeight;
        QList<qsizetype> breaks;
    } cases[] = {
        // T = 6600 / 110 - 4 = 56: a page holds 57 lines.
        {0, 110, 6600, {}},
        {1, 110, 6600, {}},
        {56, 110, 6600, {}},
        {57, 110, 6600, {}},  // fills its page exactly: no blank sheet after it
        {58, 110, 6600, {57}},
        {60, 110, 6600, {57}},
        {114, 110, 6600, {57}},
        {115, 110, 6600, {57, 114}},
        // A larger font: T = 26, 27 lines a page.
        {60, 220, 6600, {27, 54}},
        // T keeps its fraction and is never rounded up: 56.9 still gives 57.
        {58, 110, 6699, {57}},
        {58, 110, 6710, {}},
        // A page too short for any margin still takes one line.
        {3, 110, 100, {1, 2}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.lines << " lines, LH " << c.lineHeight << ", height "
                                        << c.printableHeight);
        EXPECT_EQ(print::PageBreaks(c.lines, c.lineHeight, c.printableHeight), c.breaks);
    }
}

TEST(PrintJob, DrawsEachLineAtTheLeftOffsetOneLineHeightApart)
{
    RecordingPrinter printer;  // LH = 100 + 10, T = 56
    QFont font(u"Serif"_s);
    font.setPointSize(12);
    EXPECT_EQ(print::PrintLines(printer, Numbered(60), {font}), 2);
    ASSERT_EQ(printer.pages.size(), 2);
    ASSERT_EQ(printer.pages[0].size(), 57);
    EXPECT_EQ(printer.pages[0].first(), (RecordingPrinter::Drawn{10, 110, u"line 1"_s}));
    EXPECT_EQ(printer.pages[0].last(), (RecordingPrinter::Drawn{10, 57 * 110, u"line 57"_s}));
    EXPECT_EQ(printer.pages[1],
              (QList<RecordingPrinter::Drawn>{
                  {10, 110, u"line 58"_s}, {10, 220, u"line 59"_s}, {10, 330, u"line 60"_s}}));
    EXPECT_EQ(printer.font, font);
    EXPECT_EQ(printer.jobsEnded, 1);

    // Told of each full page; calling the job off there aborts it.
    QList<QPair<qsizetype, qsizetype>> told;
    RecordingPrinter stopped;
    const auto stop = [&](qsizetype finished, qsizetype total) {
        told.append({finished, total});
        return finished < 2;
    };
    EXPECT_EQ(print::PrintLines(stopped, Numbered(200), {font}, stop), std::nullopt);
    EXPECT_EQ(told, (QList<QPair<qsizetype, qsizetype>>{{1, 4}, {2, 4}}));
    EXPECT_EQ(stopped.pages.size(), 2);
    EXPECT_EQ(stopped.jobsAborted, 1);
    EXPECT_EQ(stopped.jobsEnded, 0);

    RecordingPrinter empty;
    EXPECT_EQ(print::PrintLines(empty, {}, {font}), 1);
    EXPECT_EQ(empty.pages, QList<QList<RecordingPrinter::Drawn>>{{}});
    EXPECT_EQ(empty.jobsBegun, 1);
    EXPECT_EQ(empty.jobsEnded, 1);
}

}  // namespace
