#include "markup/editor_lines.h"

#include <QPlainTextEdit>
#include <QTextBlock>

#include "markup/row_index.h"

namespace markup {

namespace {

bool Wraps(const QPlainTextEdit& memo)
{
    return memo.lineWrapMode() != QPlainTextEdit::NoWrap;
}

}  // namespace

QStringList DisplayedLines(const QPlainTextEdit& memo)
{
    QStringList lines;
    // Each block is broken once, and the rows counted on the way are kept for
    // the status bar.
    RowIndex& index = RowIndex::of(memo);
    const QTextDocument* document = memo.document();
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
        const bool last = !block.next().isValid();
        if (last && block.length() <= 1) break;  // the empty line after a final break
        const QString text = block.text();
        if (!Wraps(memo)) {
            lines.append(text);
            continue;
        }
        for (const auto& [start, length] : index.rows(block)) lines.append(text.mid(start, length));
    }
    return lines;
}

RowPosition RowOfPosition(const QPlainTextEdit& memo, int position)
{
    return RowIndex::of(memo).rowOf(position);
}

}  // namespace markup
