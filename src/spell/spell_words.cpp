#include "spell/spell_words.h"

#include <QChar>
#include <vector>

#include "convert/tag_scan.h"
#include "markup/tag_table.h"

namespace spell {

namespace {

// Longest "[name]" not in the converter's table that is still taken for a
// tag of some board rather than for words in brackets.
constexpr qsizetype kLongestForeignTag = 40;

const markup::TagButton& CodeButton()
{
    return markup::Toolbar(markup::ToolbarForm::Code);
}

// Letters of the alphabets a Latin-script dictionary holds: not the
// full-width forms of East Asian text.
bool IsLatinLetter(QChar c)
{
    return c.unicode() < 0x2000 && c.isLetter() && c.script() == QChar::Script_Latin;
}

bool IsApostrophe(QChar c)
{
    return c == u'\'' || c == u'\u2019';
}

// What a word, or a name or number glued to one, is made of.
bool IsWordPart(QChar c)
{
    return IsLatinLetter(c) || (c.unicode() < 0x2000 && c.isMark()) || c.isDigit() || c == u'_' ||
           IsApostrophe(c);
}

// Where one piece of text without spaces ends: a space, East Asian text or a
// bracket.
bool EndsPiece(QChar c)
{
    return c.isSpace() || c.unicode() >= 0x2000 || c == u'[' || c == u']' || c == u'<' ||
           c == u'>' || c == u'(' || c == u')' || c == u'"';
}

bool IsAddress(QStringView piece)
{
    if (piece.contains(u"://") || piece.startsWith(u"www.", Qt::CaseInsensitive)) return true;
    const qsizetype at = piece.indexOf(u'@');
    return at > 0 && piece.indexOf(u'.', at) > at + 1;  // an e-mail address
}

class Exclusions {
public:
    explicit Exclusions(qsizetype size) : m_skipped(size_t(size), false) {}
    void skip(qsizetype from, qsizetype to)
    {
        for (qsizetype i = qMax<qsizetype>(from, 0); i < to && i < qsizetype(m_skipped.size()); ++i)
            m_skipped[size_t(i)] = true;
    }
    bool any(qsizetype from, qsizetype to) const
    {
        for (qsizetype i = from; i < to; ++i)
            if (m_skipped[size_t(i)]) return true;
        return false;
    }

private:
    std::vector<bool> m_skipped;
};

void SkipCode(QStringView paragraph, bool inCode, Exclusions& out)
{
    qsizetype codeFrom = inCode ? 0 : -1;
    for (const CodeMarker& marker : CodeMarkers(paragraph)) {
        if (marker.opens && codeFrom < 0) {
            codeFrom = marker.at;
        } else if (!marker.opens && codeFrom >= 0) {
            out.skip(codeFrom, marker.at + CodeButton().closing.size());
            codeFrom = -1;
        }
    }
    if (codeFrom >= 0) out.skip(codeFrom, paragraph.size());
}

void SkipTags(QStringView paragraph, Exclusions& out)
{
    convert::scan::Scanner scanner(paragraph);
    for (convert::scan::Tag tag; scanner.next(tag);) out.skip(tag.start, tag.start + tag.length);
    // Tags of other boards: "[quote]", "[spoiler=…]".
    for (qsizetype open = paragraph.indexOf(u'['); open >= 0;
         open = paragraph.indexOf(u'[', open + 1)) {
        qsizetype end = open + 1;
        while (end < paragraph.size() && end - open <= kLongestForeignTag &&
               !paragraph[end].isSpace() && paragraph[end] != u'[' && paragraph[end] != u']')
            ++end;
        if (end < paragraph.size() && paragraph[end] == u']' && end > open + 1)
            out.skip(open, end + 1);
    }
    // A picture's address, between its tags.
    for (qsizetype open = paragraph.indexOf(markup::kPictureOpen); open >= 0;
         open = paragraph.indexOf(markup::kPictureOpen, open + 1)) {
        const qsizetype close = paragraph.indexOf(markup::kPictureClose, open);
        out.skip(open, close < 0 ? paragraph.size() : close);
    }
}

void SkipAddresses(QStringView paragraph, Exclusions& out)
{
    for (qsizetype at = 0; at < paragraph.size();) {
        if (EndsPiece(paragraph[at])) {
            ++at;
            continue;
        }
        qsizetype end = at + 1;
        while (end < paragraph.size() && !EndsPiece(paragraph[end])) ++end;
        if (IsAddress(paragraph.sliced(at, end - at))) out.skip(at, end);
        at = end;
    }
}

}  // namespace

QList<CodeMarker> CodeMarkers(QStringView text)
{
    const QStringView open = CodeButton().text, close = CodeButton().closing;
    QList<CodeMarker> markers;
    for (qsizetype at = text.indexOf(u'['); at >= 0; at = text.indexOf(u'[', at + 1)) {
        if (text.sliced(at).startsWith(open))
            markers.append({at, true});
        else if (text.sliced(at).startsWith(close))
            markers.append({at, false});
    }
    return markers;
}

qsizetype LongestCodeMarker()
{
    return qMax(CodeButton().text.size(), CodeButton().closing.size());
}

QList<WordSpan> WordsToCheck(QStringView paragraph, bool startsInCode)
{
    QList<WordSpan> words;
    Exclusions excluded(paragraph.size());
    SkipCode(paragraph, startsInCode, excluded);
    SkipTags(paragraph, excluded);
    SkipAddresses(paragraph, excluded);
    for (qsizetype at = 0; at < paragraph.size();) {
        if (!IsWordPart(paragraph[at])) {
            ++at;
            continue;
        }
        qsizetype end = at + 1;
        while (end < paragraph.size() && IsWordPart(paragraph[end])) ++end;
        const qsizetype next = end;
        // Quotation marks around a word are not part of it.
        qsizetype start = at;
        while (start < end && IsApostrophe(paragraph[start])) ++start;
        while (end > start && IsApostrophe(paragraph[end - 1])) --end;
        bool name = false;  // a name or number: "x86", "file_name"
        for (qsizetype i = start; i < end && !name; ++i)
            name = paragraph[i].isDigit() || paragraph[i] == u'_';
        if (end > start && !name && IsLatinLetter(paragraph[start]) && !excluded.any(start, end))
            words.append({start, end - start});
        at = next;
    }
    return words;
}

}  // namespace spell
