#pragma once

#include <QFont>
#include <QList>
#include <QStringList>
#include <functional>
#include <optional>

#include "platform/printer_device.h"

class QPlainTextEdit;

// Printing the document as plain lines with a fixed line spacing.
namespace print {

// The first line of every page is one line height below the top of the
// printable area, and a page takes lines while their count n is not above
// T = printable height / line height - 4 (with its fraction), plus one
// more: floor(T) + 1 lines, and at least one.
int LinesPerPage(int lineHeight, int printableHeight);

// Where the pages after the first begin, as indices of their first lines.
// A page is begun only for a line that follows, so a document that exactly
// fills its last page ends there; the job has size() + 1 pages.
QList<qsizetype> PageBreaks(qsizetype lineCount, int lineHeight, int printableHeight);

// Told after each page that another follows: the pages finished and the
// pages in all. Returning false calls the job off.
using PrintProgress = std::function<bool(qsizetype finished, qsizetype total)>;

// The editing area's font at the same point size on paper, and its tab
// stops, as long on paper as on the screen.
platform::PrintFont EditorPrintFont(const QPlainTextEdit& editor);

// Prints the lines in `font` and returns the number of pages printed, or
// nothing when `progress` called the job off. The line height is the height
// of "Ay" plus 10 device units; each line is drawn at 10 from the left.
// Throws what the device throws.
std::optional<qsizetype> PrintLines(platform::PrinterDevice& printer, const QStringList& lines,
                                    const platform::PrintFont& font,
                                    const PrintProgress& progress = {});

}  // namespace print
