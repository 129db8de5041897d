#include "markup/document_search.h"

#include <QList>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

namespace markup {

namespace {

bool IsWordCharacter(char32_t c)
{
    // Ideographs are letters (Lo) to Unicode, so they count as well.
    return QChar::isLetterOrNumber(c);
}

// The code point ending just before `index`, or 0 at the start.
char32_t Before(QStringView text, qsizetype index)
{
    if (index <= 0) return 0;
    const QChar low = text.at(index - 1);
    if (low.isLowSurrogate() && index >= 2 && text.at(index - 2).isHighSurrogate())
        return QChar::surrogateToUcs4(text.at(index - 2), low);
    return low.unicode();
}

// The code point starting at `index`, or 0 at the end.
char32_t At(QStringView text, qsizetype index)
{
    if (index >= text.size()) return 0;
    const QChar high = text.at(index);
    if (high.isHighSurrogate() && index + 1 < text.size() && text.at(index + 1).isLowSurrogate())
        return QChar::surrogateToUcs4(high, text.at(index + 1));
    return high.unicode();
}

// A whole word ends where a word character does not go on past the
// occurrence; an occurrence that begins or ends with a space or a
// punctuation mark has that edge free.
bool Accepted(QStringView text, qsizetype index, qsizetype length, const FindOptions& options)
{
    if (!options.wholeWord) return true;
    const bool startFree =
        !IsWordCharacter(At(text, index)) || !IsWordCharacter(Before(text, index));
    const bool endFree = !IsWordCharacter(Before(text, index + length)) ||
                         !IsWordCharacter(At(text, index + length));
    return startFree && endFree;
}

// Searches one paragraph's text from `from` on (forward) or for an occurrence
// starting at or before `from` (backward); -1 when there is none.
qsizetype FindInText(QStringView text, const QString& what, qsizetype from,
                     const FindOptions& options)
{
    const Qt::CaseSensitivity sensitivity =
        options.matchCase ? Qt::CaseSensitive : Qt::CaseInsensitive;
    if (!options.backward) {
        for (qsizetype at = text.indexOf(what, from, sensitivity); at >= 0;
             at = text.indexOf(what, at + 1, sensitivity)) {
            if (Accepted(text, at, what.size(), options)) return at;
        }
        return -1;
    }
    // lastIndexOf counts a negative start from the end, so stop at 0 here.
    for (qsizetype limit = from; limit >= 0;) {
        const qsizetype at = text.lastIndexOf(what, limit, sensitivity);
        if (at < 0) return -1;
        if (Accepted(text, at, what.size(), options)) return at;
        limit = at - 1;
    }
    return -1;
}

bool HasLineBreak(const QString& what)
{
    return what.contains(u'\n') || what.contains(QChar::ParagraphSeparator) ||
           what.contains(QChar::LineSeparator);
}

}  // namespace

std::optional<Occurrence> FindInDocument(const QTextDocument& document, const QString& what,
                                         int position, const FindOptions& options)
{
    if (what.isEmpty() || HasLineBreak(what)) return std::nullopt;
    position = std::clamp(position, 0, document.characterCount() - 1);
    QTextBlock block = document.findBlock(position);
    qsizetype offset = position - block.position();
    const int length = int(what.size());
    while (block.isValid()) {
        const QString text = block.text();
        const qsizetype from = options.backward ? offset - length : offset;
        if (!options.backward || from >= 0) {
            const qsizetype at = FindInText(text, what, from, options);
            if (at >= 0) {
                const int start = block.position() + int(at);
                return Occurrence{start, start + length};
            }
        }
        if (options.backward) {
            block = block.previous();
            offset = block.isValid() ? block.length() - 1 : 0;
        } else {
            block = block.next();
            offset = 0;
        }
    }
    return std::nullopt;
}

int ReplaceAllInDocument(QTextDocument& document, const QString& what, const QString& with,
                         const FindOptions& options, int* end)
{
    if (what.isEmpty() || HasLineBreak(what)) return 0;
    FindOptions forward = options;
    forward.backward = false;
    // An occurrence never spans a line break, so each paragraph is searched
    // once, as it stood, and rewritten with one edit from its first
    // occurrence to the end of its last; the text between them goes back
    // unchanged. Far fewer edits than one per occurrence, and the paragraphs
    // without one are left alone.
    QTextCursor cursor(&document);
    int count = 0;
    bool editing = false;
    QString rewritten;
    for (QTextBlock block = document.begin(); block.isValid();) {
        // Taken first: a replacement with a line break splits this paragraph.
        const QTextBlock next = block.next();
        const QString text = block.text();
        qsizetype at = FindInText(text, what, 0, forward);
        if (at >= 0) {
            const qsizetype first = at;
            qsizetype after = at;
            rewritten.clear();
            while (at >= 0) {
                rewritten += QStringView(text).mid(after, at - after);
                rewritten += with;
                after = at + what.size();
                ++count;
                at = FindInText(text, what, after, forward);
            }
            if (!editing) cursor.beginEditBlock();
            editing = true;
            const int position = block.position();
            cursor.setPosition(position + int(first));
            cursor.setPosition(position + int(after), QTextCursor::KeepAnchor);
            cursor.insertText(rewritten, QTextCharFormat());
            if (end) *end = cursor.position();
        }
        block = next;
    }
    if (editing) cursor.endEditBlock();
    return count;
}

Replacements FindReplacements(QStringView rawText, const QString& what, const QString& with,
                              const FindOptions& options)
{
    Replacements found;
    if (what.isEmpty() || HasLineBreak(what)) return found;
    FindOptions forward = options;
    forward.backward = false;
    qsizetype grown = 0;  // by the edits so far
    for (qsizetype start = 0; start <= rawText.size();) {
        qsizetype stop = rawText.indexOf(QChar::ParagraphSeparator, start);
        if (stop < 0) stop = rawText.size();
        const QStringView text = rawText.sliced(start, stop - start);
        qsizetype at = FindInText(text, what, 0, forward);
        if (at >= 0) {
            ParagraphEdit edit;
            const qsizetype first = at;
            qsizetype after = at;
            while (at >= 0) {
                edit.text += text.mid(after, at - after);
                edit.text += with;
                after = at + what.size();
                ++found.count;
                at = FindInText(text, what, after, forward);
            }
            edit.position = int(start + first + grown);
            edit.length = int(after - first);
            grown += edit.text.size() - edit.length;
            found.end = edit.position + int(edit.text.size());
            found.edits.append(std::move(edit));
        }
        start = stop + 1;
    }
    return found;
}

}  // namespace markup
