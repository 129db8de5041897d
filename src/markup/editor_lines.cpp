#include "markup/editor_lines.h"

#include <QPlainTextDocumentLayout>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextLayout>

#include <iterator>

namespace markup {

namespace {

bool Wraps(const QPlainTextEdit& memo)
{
    return memo.lineWrapMode() != QPlainTextEdit::NoWrap;
}

// The block's layout with its rows, or null while it has none.
const QTextLayout* LaidOut(const QPlainTextEdit& memo, const QTextBlock& block)
{
    if (auto* layout = qobject_cast<QPlainTextDocumentLayout*>(memo.document()->documentLayout()))
        layout->ensureBlockLayout(block);
    const QTextLayout* textLayout = block.layout();
    return textLayout && textLayout->lineCount() > 0 ? textLayout : nullptr;
}

// The block's rows as (start, length) within the block; one row for an
// unwrapped or empty block.
QList<QPair<int, int>> Rows(const QPlainTextEdit& memo, const QTextBlock& block)
{
    const int length = block.length() - 1;  // without the block separator
    if (!Wraps(memo) || length <= 0) return {{0, length > 0 ? length : 0}};
    const QTextLayout* textLayout = LaidOut(memo, block);
    if (!textLayout) return {{0, length}};
    QList<QPair<int, int>> rows;
    rows.reserve(textLayout->lineCount());
    for (int i = 0; i < textLayout->lineCount(); ++i) {
        const QTextLine line = textLayout->lineAt(i);
        rows.append({line.textStart(), line.textLength()});
    }
    return rows;
}

int RowCount(const QPlainTextEdit& memo, const QTextBlock& block)
{
    if (!Wraps(memo) || block.length() <= 1) return 1;
    const QTextLayout* textLayout = LaidOut(memo, block);
    return textLayout ? textLayout->lineCount() : 1;
}

// Characters the editing area's document takes as paragraph breaks, held
// there as the lone surrogate kStandInBase + their index.
constexpr char16_t kHeldCharacters[] = {0xFDD0, 0xFDD1, 0x2029};
constexpr char16_t kStandInBase = 0xDC00;

}  // namespace

QString DocumentText(const QPlainTextEdit& memo)
{
    return FromEditorText(memo.document()->toRawText());
}

QString FromEditorText(QString text)
{
    char16_t* const data = reinterpret_cast<char16_t*>(text.data());
    const qsizetype size = text.size();
    for (qsizetype i = 0; i < size; ++i) {
        const char16_t c = data[i];
        if (c == QChar::ParagraphSeparator) {
            data[i] = u'\n';
        } else if (c >= kStandInBase && c < kStandInBase + std::size(kHeldCharacters) &&
                   !(i > 0 && QChar::isHighSurrogate(data[i - 1]))) {
            data[i] = kHeldCharacters[c - kStandInBase];
        }
    }
    return text;
}

QString EditorText(QString text)
{
    char16_t* const data = reinterpret_cast<char16_t*>(text.data());
    const qsizetype size = text.size();
    for (qsizetype i = 0; i < size; ++i) {
        for (std::size_t held = 0; held < std::size(kHeldCharacters); ++held)
            if (data[i] == kHeldCharacters[held]) data[i] = char16_t(kStandInBase + held);
    }
    return text;
}

QStringList DisplayedLines(const QPlainTextEdit& memo)
{
    QStringList lines;
    const QTextDocument* document = memo.document();
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
        const bool last = !block.next().isValid();
        if (last && block.length() <= 1) break;  // the empty line after a final break
        const QString text = FromEditorText(block.text());
        if (!Wraps(memo)) {
            lines.append(text);
            continue;
        }
        for (const auto& [start, length] : Rows(memo, block)) lines.append(text.mid(start, length));
    }
    return lines;
}

RowPosition RowOfPosition(const QPlainTextEdit& memo, int position)
{
    const QTextDocument* document = memo.document();
    const QTextBlock target = document->findBlock(position);
    int row = 0;
    for (QTextBlock block = document->begin(); block.isValid() && block != target;
         block = block.next())
        row += RowCount(memo, block);
    if (!target.isValid()) return {row, position};

    const int offset = position - target.position();
    const auto rows = Rows(memo, target);
    int index = 0;
    // A position at a wrap point belongs to the row it starts.
    while (index + 1 < rows.size() && offset >= rows[index + 1].first) ++index;
    return {row + index, target.position() + rows[index].first};
}

}  // namespace markup
