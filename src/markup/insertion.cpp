#include "markup/insertion.h"

#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

namespace markup {

namespace {

// New text never inherits a display colour from its neighbours.
const QTextCharFormat kPlainFormat;

void PlaceCaret(QPlainTextEdit& memo, QTextCursor& cursor, int position)
{
    cursor.setPosition(position);
    memo.setTextCursor(cursor);
    memo.ensureCursorVisible();
}

}  // namespace

void WrapSelection(QPlainTextEdit& memo, const QString& opening, const QString& closing)
{
    QTextCursor cursor = memo.textCursor();
    const int start = cursor.selectionStart();
    const int end = cursor.selectionEnd();
    // The selected text stays where it is, so its line breaks and every
    // character come through untouched; the tags go on either side of it.
    cursor.beginEditBlock();
    cursor.setPosition(end);
    cursor.insertText(closing, kPlainFormat);
    cursor.setPosition(start);
    cursor.insertText(opening, kPlainFormat);
    cursor.endEditBlock();
    PlaceCaret(memo, cursor, end + int(opening.size()) + int(closing.size()));
}

void InsertAtCaret(QPlainTextEdit& memo, const QString& text)
{
    QTextCursor cursor = memo.textCursor();
    cursor.beginEditBlock();
    cursor.insertText(text, kPlainFormat);
    cursor.endEditBlock();
    PlaceCaret(memo, cursor, cursor.position());
}

namespace {

void InsertAtEnd(QPlainTextEdit& memo, const QString& inserted)
{
    QTextDocument& document = *memo.document();
    QTextCursor cursor(&document);
    cursor.movePosition(QTextCursor::End);
    const int insertionPoint = cursor.position();
    cursor.beginEditBlock();
    cursor.insertText(inserted, kPlainFormat);
    cursor.endEditBlock();
    memo.setTextCursor(cursor);
    memo.ensureCursorVisible();

    if (memo.textCursor().position() != insertionPoint + inserted.size())
        throw InsertionError("RichEdit line insertion error");
}

// An empty last block means an empty document or one ending in a break.
bool EndsInEmptyLine(const QPlainTextEdit& memo)
{
    return memo.document()->lastBlock().length() <= 1;
}

}  // namespace

void AppendLine(QPlainTextEdit& memo, const QString& text)
{
    InsertAtEnd(memo, EndsInEmptyLine(memo) ? text + u'\n' : u'\n' + text);
}

void AppendLines(QPlainTextEdit& memo, const QStringList& lines)
{
    if (lines.isEmpty()) return;
    const QString joined = lines.join(u'\n');
    InsertAtEnd(memo, EndsInEmptyLine(memo) ? joined + u'\n' : u'\n' + joined);
}

}  // namespace markup
