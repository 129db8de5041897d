#include "markup/editor_lines.h"

#include <QPlainTextEdit>
#include <QTextBlock>

#include "markup/row_index.h"
#include "text/big5_codec.h"

#include <iterator>

namespace markup {

namespace {

bool Wraps(const QPlainTextEdit& memo)
{
    return memo.lineWrapMode() != QPlainTextEdit::NoWrap;
}

// Characters the editing area's document takes as paragraph breaks, held
// there as the lone surrogate kStandInBase + their index.
constexpr char16_t kHeldCharacters[] = {0xFDD0, 0xFDD1, 0x2029};
constexpr char16_t kStandInBase = 0xDC00;
// A Big5 file's kept bytes are lone surrogates too, from U+DC80 on; a stand-in
// taken for a kept byte, or one for the other, would change the text.
static_assert(kStandInBase + std::size(kHeldCharacters) <= text::kBig5PlaceholderBase + 0x80,
              "the stand-ins must stay below the Big5 placeholders");

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
    AppendDisplayedLines(memo, memo.document()->begin(), lines);
    return lines;
}

QTextBlock AppendDisplayedLines(const QPlainTextEdit& memo, QTextBlock block, QStringList& lines,
                                QDeadlineTimer deadline, const QTextBlock& end)
{
    // Each block is broken once, and the rows counted on the way are kept for
    // the status bar.
    RowIndex& index = RowIndex::of(memo);
    const bool wraps = Wraps(memo);
    // The clock is read every few blocks only: most blocks take far less.
    int sinceLook = 0;
    for (; block.isValid() && block != end; block = block.next()) {
        if (++sinceLook == 64) {
            sinceLook = 0;
            if (deadline.hasExpired()) return block;
        }
        const bool last = !block.next().isValid();
        if (last && block.length() <= 1) break;  // the empty line after a final break
        const QString text = FromEditorText(block.text());
        if (!wraps) {
            lines.append(text);
            continue;
        }
        for (const auto& [start, length] : index.rows(block)) lines.append(text.mid(start, length));
    }
    return {};
}

RowPosition RowOfPosition(const QPlainTextEdit& memo, int position)
{
    return RowIndex::of(memo).rowOf(position);
}

}  // namespace markup
