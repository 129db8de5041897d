#include "convert/tag_scan.h"

#include <QList>
#include <QString>

#include "convert/ybb_to_html.h"

using namespace Qt::Literals::StringLiterals;

namespace convert::scan {

namespace {

// A text a tag begins with, and the tag it begins.
struct Start {
    QString text;
    int kind;
    Role role;
};

// The starts a text can be, found by its first letter: a lookup costs a
// comparison or two at each bracket, however many tags the table has.
class Starts {
public:
    void append(const Start& start)
    {
        m_starts.append(start);
        const qsizetype index = m_starts.size() - 1;
        m_byLetter[letter(start.text)].append(index);
    }

    const Start* find(QStringView text) const
    {
        const int at = letter(text);
        if (at < 0) return nullptr;
        for (const qsizetype index : m_byLetter[at])
            if (m_starts[index].text == text) return &m_starts[index];
        return nullptr;
    }

    qsizetype longest() const
    {
        qsizetype longest = 0;
        for (const Start& start : m_starts) longest = qMax(longest, start.text.size());
        return longest;
    }

private:
    // The letter after "[" or "[/", apart for closers; -1 for none of the
    // table's.
    static int letter(QStringView text)
    {
        const bool closer = text.size() > 2 && text[1] == u'/';
        const qsizetype at = closer ? 2 : 1;
        if (text.size() <= at || text[at].unicode() >= 128) return -1;
        return (closer ? 128 : 0) + text[at].unicode();
    }

    QList<Start> m_starts;
    QList<qsizetype> m_byLetter[256];
};

struct Vocabulary {
    QList<Kind> kinds;
    QStringList texts;  // what the kinds' views point into
    Starts plain;       // whole tags: "[b]", "[/b]", "[hr]"
    Starts prefixes;    // tags up to their "=": "[url=", "[font=", "[/font="
    qsizetype longestPlain = 0;
    qsizetype longestPrefix = 0;
};

// Read from the converter's own table: every search text "[x]" is a tag,
// paired where "[/x]" is one as well; "[x=\"" is a link opener closed by
// "[/x]", "[x=" a face or size opener closed by "[/x=".
Vocabulary MakeVocabulary()
{
    Vocabulary v;
    const QStringList searches = ConversionSearchTexts();
    v.texts.reserve(2 * searches.size() + 2);  // the views below must not move
    const auto keep = [&v](const QString& text) -> QStringView {
        v.texts.append(text);
        return v.texts.constLast();
    };
    for (const QString& search : searches) {
        if (!search.startsWith(u'[') || search.startsWith(u"[/"_s)) continue;
        const int kind = int(v.kinds.size());
        if (search.endsWith(u']')) {
            const QString closer = u"[/"_s + search.mid(1);
            const bool paired = searches.contains(closer);
            v.kinds.append({keep(search), paired ? keep(closer) : QStringView(), Form::Plain});
            v.plain.append({search, kind, paired ? Role::Opener : Role::Single});
            if (paired) v.plain.append({closer, kind, Role::Closer});
        } else if (search.endsWith(u"=\""_s)) {
            const QString closer = u"[/"_s + search.mid(1, search.size() - 3) + u"]"_s;
            if (!searches.contains(closer)) continue;
            v.kinds.append({keep(search), keep(closer), Form::Address});
            v.prefixes.append({search.chopped(1), kind, Role::Opener});
            v.plain.append({closer, kind, Role::Closer});
        } else if (search.endsWith(u'=')) {
            const QString closer = u"[/"_s + search.mid(1);
            if (!searches.contains(closer)) continue;
            v.kinds.append({keep(search), keep(closer), Form::Named});
            v.prefixes.append({search, kind, Role::Opener});
            v.prefixes.append({closer, kind, Role::Closer});
        }
    }
    v.kinds.append({keep(u" ["_s), keep(u"[/"_s), Form::Colour});
    v.longestPlain = v.plain.longest();
    v.longestPrefix = v.prefixes.longest();
    return v;
}

const Vocabulary& Known()
{
    static const Vocabulary vocabulary = MakeVocabulary();
    return vocabulary;
}

}  // namespace

int KindCount()
{
    return int(Known().kinds.size());
}

const Kind& KindAt(int kind)
{
    return Known().kinds[kind];
}

void Scanner::NextOf::search(QStringView text, qsizetype position)
{
    // Most searches end within a few characters (a run of brackets looks
    // for the next one at every step): those are looked at here, and only
    // a longer search pays for the library's.
    const qsizetype near = qMin(text.size(), position + 16);
    const char16_t first = what[0].unicode();
    for (qsizetype at = position; at < near; ++at) {
        if (text[at].unicode() == first && (what.size() == 1 || text.sliced(at).startsWith(what))) {
            found = at;
            return;
        }
    }
    found = near < text.size() ? text.indexOf(what, near) : -1;
    if (found < 0) found = text.size();
}

bool Scanner::next(Tag& tag)
{
    const qsizetype size = m_text.size();
    const QChar* const data = m_text.data();
    while (m_at < size) {
        const char16_t c = data[m_at].unicode();
        const bool more = m_at + 1 < size;
        if ((c == u'"' && more && data[m_at + 1] == u']') ||
            (c == u']' && more && data[m_at + 1] == u' ')) {
            // The link's end, and the end of face, size and colour tags,
            // wherever they stand.
            m_at = m_free = m_at + 2;
        } else if (c == u'[') {
            if (bracket(tag)) return true;
        } else {
            ++m_at;
        }
    }
    return false;
}

// At an opening bracket: the converter's named tags and the face, size and
// link openers come first, wherever they stand; then a colour tag, known by
// its spaces: a space before "[" that no earlier step took makes an opener,
// "[/" a closer, and "] " ends either.
bool Scanner::bracket(Tag& tag)
{
    const qsizetype p = m_at;
    const qsizetype size = m_text.size();
    const auto at = [&](qsizetype i) { return i < size ? m_text[i].unicode() : u'\0'; };
    const bool spaceBefore = p > m_free && p > 0 && m_text[p - 1] == u' ';
    if (at(p + 1) == u'[' && !spaceBefore) {
        // "[[": no tag starts at the first, nor can it be a stray " [".
        ++m_at;
        return false;
    }
    const Vocabulary& known = Known();
    const qsizetype end = lineEnd(p);

    qsizetype q = p + 1;
    const qsizetype limit = qMin(end, p + qMax(known.longestPlain, known.longestPrefix));
    while (q < limit && at(q) != u']' && at(q) != u'=' && at(q) != u'[') ++q;
    if (q < end && at(q) == u']') {
        if (const Start* start = known.plain.find(m_text.sliced(p, q + 1 - p))) {
            tag = {p, q + 1 - p, q + 1, 0, start->kind, Form::Plain, start->role, Flaw::None};
            tag.form = known.kinds[start->kind].form;
            m_at = m_free = q + 1;
            return true;
        }
    } else if (q < end && at(q) == u'=') {
        if (const Start* start = known.prefixes.find(m_text.sliced(p, q + 1 - p))) {
            const Form form = known.kinds[start->kind].form;
            tag = {p, q + 1 - p, q + 1, 0, start->kind, form, start->role, Flaw::None};
            if (form == Form::Address && at(q + 1) == u'"') {
                // The converter leaves the quote, which ends the address
                // again with the "]" after it.
                const qsizetype close = m_quoteClose.from(m_text, q + 1);
                tag.valueStart = q + 2;
                if (close >= end) {
                    tag.length = q + 2 - p;
                    tag.flaw = Flaw::Unended;
                    m_at = m_free = q + 1;
                    return true;
                }
                tag.length = close + 2 - p;
                // In "[url=\"]" the one quote opens and ends the address.
                tag.valueLength = qMax<qsizetype>(0, close - tag.valueStart);
                m_at = m_free = close + 2;
                return true;
            }
            if (form == Form::Named) {
                const qsizetype close = m_close.from(m_text, q + 1);
                m_at = m_free = q + 1;
                if (close >= end) {
                    tag.flaw = Flaw::Unended;
                    return true;
                }
                tag.length = close + 1 - p;
                tag.valueLength = close - tag.valueStart;
                if (at(close + 1) == u' ') {
                    m_at = m_free = close + 2;
                } else {
                    tag.flaw = Flaw::NoSpaceAfter;
                    m_at = close + 1;
                }
                return true;
            }
        }
    }

    // A colour tag, or a bracket of the text.
    const bool slash = at(p + 1) == u'/';
    const qsizetype close = m_close.from(m_text, p + 1);
    const int colour = int(known.kinds.size()) - 1;
    tag = {p, 0, 0, 0, colour, Form::Colour, slash ? Role::Closer : Role::Opener, Flaw::None};
    if (close < end && m_open.from(m_text, p + 1) > close) {
        const bool spaceAfter = at(close + 1) == u' ';
        if (!slash && !spaceBefore && !spaceAfter) {
            ++m_at;  // "a[1]b" stays as it is
            return false;
        }
        if (slash)
            tag.flaw = spaceBefore  ? Flaw::SpaceBefore
                       : spaceAfter ? Flaw::None
                                    : Flaw::NoSpaceAfter;
        else
            tag.flaw = !spaceBefore ? Flaw::NoSpaceBefore
                       : spaceAfter ? Flaw::None
                                    : Flaw::NoSpaceAfter;
        tag.length = close + 1 - p;
        tag.valueStart = p + (slash ? 2 : 1);
        tag.valueLength = close - tag.valueStart;
        if (spaceAfter) {
            m_at = m_free = close + 2;
        } else {
            m_at = close + 1;
            m_free = spaceBefore ? p + 1 : slash ? p + 2 : m_free;
        }
        return true;
    }
    // No "]" on the line: the converter still takes " [" and "[/".
    if (spaceBefore || slash) {
        tag.length = slash ? 2 : 1;
        tag.flaw = Flaw::Stray;
        m_at = m_free = p + (spaceBefore ? 1 : 2);
        return true;
    }
    ++m_at;
    return false;
}

}  // namespace convert::scan
