#pragma once

#include <QDeadlineTimer>
#include <QString>
#include <QStringList>
#include <QTextBlock>

class QPlainTextEdit;

// The document as the editing area shows it. While word wrap is on, a
// paragraph shown on several rows counts as one line per row, broken where
// the editing area wraps it; with word wrap off the lines are the paragraphs.
// Printing, the conversion and the preview read the document this way, and
// the status bar numbers the same rows.
namespace markup {

// The whole document as it is held, with "\n" between paragraphs and every
// other character as typed; unlike QPlainTextEdit::toPlainText() it keeps
// U+00A0, U+2028, U+FDD0 and U+FDD1. Everything that takes the document as a
// whole (saving, the clipboard, the conversions) reads it this way. A U+2029
// that came with the text is kept as well (see EditorText).
QString DocumentText(const QPlainTextEdit& memo);

// Text made ready to go into the editing area. Its document takes U+FDD0,
// U+FDD1 and U+2029 as paragraph breaks, so they are held as the stand-ins
// U+DC00, U+DC01 and U+DC02 (lone surrogates, which no real text contains)
// and turned back by DocumentText and DisplayedLines.
QString EditorText(QString text);
// The inverse, for raw text taken from the editing area (a whole document, a
// block or a selection): stand-ins back, U+2029 paragraph separators to "\n".
QString FromEditorText(QString text);

// The lines, each without its break. A document ending with a line break has
// no empty last line; the empty document has no line.
QStringList DisplayedLines(const QPlainTextEdit& memo);

// The same a part at a time, for a large document read between events:
// appends the lines of the blocks from `block` on to `lines` until
// `deadline`, and returns the block to go on from, invalid once the last has
// been read, or the block before `end`. The document must not change between
// the parts.
QTextBlock AppendDisplayedLines(const QPlainTextEdit& memo, QTextBlock block, QStringList& lines,
                                QDeadlineTimer deadline = QDeadlineTimer::Forever,
                                const QTextBlock& end = {});

struct RowPosition {
    int row = 0;       // counted from 0
    int rowStart = 0;  // document position of the row's first character
};

// The displayed row holding document position `position`. The rows of the
// blocks above it are kept between calls (RowIndex), so this is O(log n) once
// they are counted; rows made stale by a new width or font are counted first.
RowPosition RowOfPosition(const QPlainTextEdit& memo, int position);

}  // namespace markup
