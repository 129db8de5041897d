#pragma once

#include <QString>
#include <QStringList>
#include <stdexcept>

class QPlainTextEdit;

// The three ways the insertion commands write into the document. Each is one
// undo step and leaves nothing selected, with the caret right after what it
// inserted.
namespace markup {

// The editing area did not take a whole appended line.
class InsertionError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Replaces the selection by opening + selected text + closing; with nothing
// selected, puts opening + closing at the caret.
void WrapSelection(QPlainTextEdit& memo, const QString& opening, const QString& closing);

// Replaces the selection by text; with nothing selected, inserts it at the caret.
void InsertAtCaret(QPlainTextEdit& memo, const QString& text);

// Adds text as a new last line of the document, wherever the caret is. When
// the document is empty or ends with a line break the line takes the place
// of the empty last line (text + break); otherwise it follows a new break.
// Throws InsertionError("RichEdit line insertion error") when the editing
// area did not take the whole text; what it took stays.
void AppendLine(QPlainTextEdit& memo, const QString& text);

// Adds lines at the end as AppendLine adds each, in one undo step. An empty
// line among them is kept even where the document did not end with a break
// (line by line it would become the empty last line and be taken by the
// next), so a file appended this way loses none of its lines.
void AppendLines(QPlainTextEdit& memo, const QStringList& lines);

}  // namespace markup
