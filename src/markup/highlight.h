#pragma once

#include <QColor>
#include <QString>

class QPlainTextEdit;

// Colouring texts of the document for display only: the colours live in the
// editing area's layout, not in the text, so they never reach a saved file
// or the clipboard, never enter the undo history and never mark the document
// modified. A coloured text stays coloured while the user edits, and the
// same text typed later is coloured as well.
namespace markup {

// Colours every occurrence of `text` (case-sensitive, overlapping ones too)
// in `colour`; a text given later wins where occurrences overlap. The
// selection and the scroll position stay as they are.
void HighlightOccurrences(QPlainTextEdit& memo, const QString& text, const QColor& colour);

}  // namespace markup
