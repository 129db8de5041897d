#include "print/print_job.h"

#include <QFontInfo>
#include <QPlainTextEdit>
#include <cmath>

#include "platform/printer_device.h"

using namespace Qt::Literals::StringLiterals;

namespace print {

namespace {

constexpr int kLeft = 10;
constexpr int kLineGap = 10;

}  // namespace

int LinesPerPage(int lineHeight, int printableHeight)
{
    const double threshold = double(printableHeight) / double(std::max(lineHeight, 1)) - 4.0;
    if (!(threshold >= 0.0)) return 1;
    return int(std::min(std::floor(threshold), 1e9)) + 1;
}

QList<qsizetype> PageBreaks(qsizetype lineCount, int lineHeight, int printableHeight)
{
    const qsizetype perPage = LinesPerPage(lineHeight, printableHeight);
    QList<qsizetype> breaks;
    if (lineCount > perPage) breaks.reserve((lineCount - 1) / perPage);
    for (qsizetype first = perPage; first < lineCount; first += perPage) breaks.append(first);
    return breaks;
}

platform::PrintFont EditorPrintFont(const QPlainTextEdit& editor)
{
    QFont font = editor.font();
    font.setPointSizeF(QFontInfo(editor.font()).pointSizeF());
    // Tab stops are in the editing area's pixels; a point is 1/72 inch.
    return {font, editor.tabStopDistance() * 72.0 / editor.logicalDpiX()};
}

std::optional<qsizetype> PrintLines(platform::PrinterDevice& printer, const QStringList& lines,
                                    const platform::PrintFont& font, const PrintProgress& progress)
{
    printer.beginJob(font);
    const int lineHeight = printer.textHeight(u"Ay"_s) + kLineGap;
    const QList<qsizetype> breaks = PageBreaks(lines.size(), lineHeight, printer.printableHeight());
    qsizetype nextBreak = 0;
    int y = lineHeight;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (nextBreak < breaks.size() && breaks[nextBreak] == i) {
            if (progress && !progress(nextBreak + 1, breaks.size() + 1)) {
                printer.abortJob();
                return std::nullopt;
            }
            printer.newPage();
            ++nextBreak;
            y = lineHeight;
        }
        printer.drawText(kLeft, y, lines[i]);
        y += lineHeight;
    }
    printer.endJob();
    return breaks.size() + 1;
}

}  // namespace print
