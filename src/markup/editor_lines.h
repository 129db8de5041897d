#pragma once

#include <QStringList>

class QPlainTextEdit;

// The document as the editing area shows it. While word wrap is on, a
// paragraph shown on several rows counts as one line per row, broken where
// the editing area wraps it; with word wrap off the lines are the paragraphs.
// Printing, the conversion and the preview read the document this way, and
// the status bar numbers the same rows.
namespace markup {

// The lines, each without its break. A document ending with a line break has
// no empty last line; the empty document has no line.
QStringList DisplayedLines(const QPlainTextEdit& memo);

struct RowPosition {
    int row = 0;       // counted from 0
    int rowStart = 0;  // document position of the row's first character
};

// The displayed row holding document position `position`. The rows of the
// blocks above it are kept between calls (RowIndex), so this is O(log n) once
// they are counted; rows made stale by a new width or font are counted first.
RowPosition RowOfPosition(const QPlainTextEdit& memo, int position);

}  // namespace markup
