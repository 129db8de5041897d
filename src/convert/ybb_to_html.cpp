#include "convert/ybb_to_html.h"

#include <QStringView>
#include <algorithm>
#include <cstring>
#include <iterator>
#include <limits>
#include <string_view>

#if __has_include(<sys/mman.h>)
#include <sys/mman.h>
#endif

#include "text/line_split.h"

#ifdef __SSE2__
#include <emmintrin.h>
#endif

using namespace Qt::StringLiterals;

namespace convert {
namespace {

struct Step {
    QStringView search;
    QStringView replacement;
};

// The order matters: the generic steps at the end ("] ", " [", "[/") pick up
// the face, size and colour tags only after the named tags have been turned
// into HTML, and they must not see the brackets of those tags any more.
constexpr Step kSteps[] = {
    {u"[b]", u"<b>"},
    {u"[/b]", u"</b>"},
    {u"[i]", u"<i>"},
    {u"[/i]", u"</i>"},
    {u"[u]", u"<u>"},
    {u"[/u]", u"</u>"},
    {u"[s]", u"<s>"},
    {u"[/s]", u"</s>"},
    {u"[left]", u"<div align=\"left\">"},
    {u"[/left]", u"</div id=\"left\">"},
    {u"[center]", u"<center>"},
    {u"[/center]", u"</center>"},
    {u"[right]", u"<div align=right>"},
    {u"[/right]", u"</div id=right>"},
    {u"[hr]", u"<hr noshade size=\"1\">"},
    {u"[url=\"", u"<a href=\""},
    {u"\"]", u"\">"},
    {u"[/url]", u"</a>"},
    {u"[img]", u"<img src=\""},
    {u"[/img]", u"\">"},
    {u"[code]", u"<pre id=\"code\">"},
    {u"[/code]", u"</pre id=\"code\">"},
    {u"[quote]",
     u"<blockquote id=\"quote\"><font id=\"quote\" size=\"2\">引言:</font>"
     u"<hr height=\"1\" noshade id=\"quote\"><br/>"},
    {u"[/quote]", u"<br/><hr height=\"1\" noshade id=\"quote\"></blockquote id=\"quote\">"},
    {u"[list]", u"<ul>"},
    {u"[/list]", u"</ul>"},
    {u"[*]", u"<li>"},
    {u"[/*]", u"</li>"},
    {u"[font=", u"<font face=\""},
    {u"] ", u"\">"},
    {u"[/font=", u"</font id=\""},
    {u"[size=", u"<font size=\""},
    {u"[/size=", u"</font id=\""},
    {u" [", u"<font color=\""},
    {u"[/", u"</font id=\""},
};

// Indices into kSteps of the steps the one-pass scanner treats apart.
constexpr int kUrlStep = 15;       // [url="
constexpr int kQuoteBracket = 16;  // "]
constexpr int kBracketSpace = 29;  // ] followed by a space
constexpr int kSpaceBracket = 33;  // a space followed by [
constexpr int kBracketSlash = 34;  // "[/"

constexpr bool SearchIs(int step, std::u16string_view text)
{
    const QStringView search = kSteps[step].search;
    if (search.size() != qsizetype(text.size())) return false;
    for (qsizetype i = 0; i < search.size(); ++i)
        if (search[i] != text[std::size_t(i)]) return false;
    return true;
}
static_assert(SearchIs(kUrlStep, u"[url=\"") && SearchIs(kQuoteBracket, u"\"]") &&
              SearchIs(kBracketSpace, u"] ") && SearchIs(kSpaceBracket, u" [") &&
              SearchIs(kBracketSlash, u"[/") && std::size(kSteps) == kBracketSlash + 1);

// One step: every occurrence, leftmost first, none overlapping, and what has
// just been written is not searched again. The search texts are ASCII, so a
// match can never start inside a CJK character or a surrogate pair.
QString ReplaceAll(const QString& input, QStringView search, QStringView replacement)
{
    qsizetype found = input.indexOf(search);
    if (found < 0) return input;
    QString output;
    output.reserve(input.size() + input.size() / 4);
    qsizetype from = 0;
    while (found >= 0) {
        output.append(QStringView(input).sliced(from, found - from));
        output.append(replacement);
        from = found + search.size();
        found = input.indexOf(search, from);
    }
    output.append(QStringView(input).sliced(from));
    return output;
}

// What the table does to the "[" at the start of the rest of the input.
struct BracketMatch {
    // How much of the input it takes (0: nothing matches) and what it
    // writes. "[url=\"" leaves its double quote to be read again: the
    // replacement writes the quote back, and a "]" right after it forms the
    // next step's "\"]" with it.
    qsizetype consumed = 0;
    QStringView replacement;
};

// The search texts that start with "[", except the generic "[/", which
// yields to " [" and so is decided by the caller. Looked up by the two
// characters after the "[", which at most three of them share. Built at
// compile time, so a table that outgrew the buckets would not compile.
class BracketSteps {
public:
    constexpr BracketSteps()
    {
        for (int step = 0; step < kBracketSlash; ++step) {
            const QStringView search = kSteps[step].search;
            if (search[0] != u'[') continue;
            Bucket& bucket =
                m_buckets[code(search[1].unicode()) * kCodes + code(search[2].unicode())];
            bucket.steps[bucket.count++] = step;
        }
    }

    BracketMatch match(const char16_t* rest, qsizetype available) const
    {
        if (available < 3 || rest[1] >= 128 || rest[2] >= 128) return {};
        const int code1 = m_codes[rest[1]], code2 = m_codes[rest[2]];
        if (code1 == 0 || code2 == 0) return {};
        const Bucket& bucket = m_buckets[code1 * kCodes + code2];
        for (int i = 0; i < bucket.count; ++i) {
            const Step& step = kSteps[bucket.steps[i]];
            const qsizetype length = step.search.size();
            if (length > available) continue;
            const char16_t* const search = step.search.utf16();
            qsizetype k = 3;
            while (k < length && rest[k] == search[k]) ++k;
            if (k < length) continue;
            if (bucket.steps[i] == kUrlStep) return {length - 1, step.replacement.chopped(1)};
            return {length, step.replacement};
        }
        return {};
    }

private:
    static constexpr int kCodes = 32;  // more than the characters used there
    struct Bucket {
        int count = 0;
        int steps[3] = {};
    };

    constexpr int code(char16_t c)
    {
        if (m_codes[c] == 0) m_codes[c] = ++m_used;
        return m_codes[c];
    }

    int m_used = 0;
    unsigned char m_codes[128] = {};
    Bucket m_buckets[kCodes * kCodes] = {};
};

constexpr BracketSteps kBracketSteps;

// The characters at which something can happen; everything else is copied.
constexpr bool IsSpecial(char16_t c)
{
    return c == u'[' || c == u']' || c == u'"';
}

const char16_t* NextSpecial(const char16_t* at, const char16_t* end)
{
#ifdef __SSE2__
    const __m128i open = _mm_set1_epi16(u'[');
    const __m128i close = _mm_set1_epi16(u']');
    const __m128i quote = _mm_set1_epi16(u'"');
    for (; end - at >= 8; at += 8) {
        const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at));
        const __m128i hits =
            _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi16(chunk, open), _mm_cmpeq_epi16(chunk, close)),
                         _mm_cmpeq_epi16(chunk, quote));
        if (const int mask = _mm_movemask_epi8(hits)) return at + (__builtin_ctz(mask) >> 1);
    }
#endif
    while (at < end && !IsSpecial(*at)) ++at;
    return at;
}

// A long output is written once from start to end; in large pages the
// system maps it in with a few hundred faults instead of some thousands.
void UseLargePages(QString& buffer)
{
#ifdef MADV_HUGEPAGE
    constexpr quintptr kLargePage = 2 * 1024 * 1024;
    const auto start = reinterpret_cast<quintptr>(buffer.data());
    const quintptr end = start + quintptr(buffer.size()) * sizeof(QChar);
    const quintptr first = (start + kLargePage - 1) & ~(kLargePage - 1);
    const quintptr last = end & ~(kLargePage - 1);
    if (last > first) madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE);
#else
    Q_UNUSED(buffer);
#endif
}

// Appends to a string it sizes itself, without the checks of QString::append
// on every piece.
class Writer {
public:
    explicit Writer(qsizetype capacity)
    {
        m_text.resize(std::max<qsizetype>(capacity, 16));
        UseLargePages(m_text);
    }

    // Some of the input, then a replacement.
    void write(const char16_t* input, qsizetype length, QStringView replacement)
    {
        if (m_text.size() - m_used < length + replacement.size()) grow(length + replacement.size());
        char16_t* const out = reinterpret_cast<char16_t*>(m_text.data()) + m_used;
        std::memcpy(out, input, std::size_t(length) * sizeof(char16_t));
        std::copy_n(replacement.utf16(), replacement.size(), out + length);
        m_used += length + replacement.size();
    }

    qsizetype used() const { return m_used; }

    QString take()
    {
        m_text.resize(m_used);
        return std::move(m_text);
    }

private:
    void grow(qsizetype length) { m_text.resize(std::max(2 * m_text.size(), m_used + length)); }

    QString m_text;
    qsizetype m_used = 0;
};

}  // namespace

QString ConvertYbbToHtmlReference(const QString& text)
{
    QString result = text;
    for (const Step& step : kSteps) result = ReplaceAll(result, step.search, step.replacement);
    return result;
}

// The 35 steps in one left-to-right scan. It gives the same text because of
// what the table's texts are made of:
// - No replacement holds a bracket, and every search text holds one, so a
//   later step can match only where the bracket is still the user's own.
// - No replacement starts or ends with a space, or starts with "/", "f" or
//   "s", so each search text that a later step finds consists of characters
//   that stood side by side in the input; nothing inserted takes part.
// - The one exception is the double quote that "[url=\"" writes back: it is
//   the input's own quote, so the scanner leaves it in the input.
// - The named tags ("[b]" … "[/*]") and "[url=\"" never overlap one another
//   or "\"]"; among the generic steps, "[font=", "[/font=", "[size=" and
//   "[/size=" come before " [", which comes before "[/"; "] " takes its
//   space before " [" can. No search text overlaps itself, so each step
//   takes every occurrence left to it.
// So at a "[", a named tag or a face or size tag wins; otherwise a space
// just before it (not already taken by "] ") makes it a colour opener;
// otherwise "[/" is a closer. At "]" only "] " matters, at '"' only "\"]".
//
// The output is written from start to end, each piece as soon as it is
// decided, so the conversion can stop once `wanted` characters are out.
namespace {

QString Convert(QStringView text, qsizetype wanted)
{
    const qsizetype size = text.size();
    const auto* const data = text.utf16();
    const char16_t* const end = data + size;
    qsizetype at = NextSpecial(data, end) - data;

    // Converted posts come out about one and a half times as long. Room for
    // twice the input costs little more: pages never written are never
    // mapped in.
    Writer output(qMin(2 * size, wanted) + 64);
    qsizetype from = 0;  // the input before this is written out
    const auto replace = [&](qsizetype start, qsizetype consumed, QStringView replacement) {
        output.write(data + from, start - from, replacement);
        at = start + consumed;
        from = at;
    };
    while (at < size) {
        const char16_t c = data[at];
        const qsizetype available = size - at;
        if (c == u'"') {
            if (available > 1 && data[at + 1] == u']')
                replace(at, 2, kSteps[kQuoteBracket].replacement);
            else
                ++at;
        } else if (c == u']') {
            if (available > 1 && data[at + 1] == u' ')
                replace(at, 2, kSteps[kBracketSpace].replacement);
            else
                ++at;
        } else if (const BracketMatch match = kBracketSteps.match(data + at, available);
                   match.consumed > 0) {
            replace(at, match.consumed, match.replacement);
        } else if (at > from && data[at - 1] == u' ') {
            replace(at - 1, 2, kSteps[kSpaceBracket].replacement);
        } else if (available > 1 && data[at + 1] == u'/') {
            replace(at, 2, kSteps[kBracketSlash].replacement);
        } else {
            ++at;
        }
        at = NextSpecial(data + at, end) - data;
        // The text before `at` is decided, but for a space that a "[" at
        // `at` may take.
        const qsizetype decided = qMax(from, at < size ? at - 1 : at);
        if (output.used() + (decided - from) >= wanted) {
            at = from + qMax<qsizetype>(0, qMin(decided - from, wanted - output.used()));
            break;
        }
    }
    output.write(data + from, at - from, {});
    return output.take();
}

}  // namespace

QString ConvertYbbToHtml(const QString& text)
{
    const auto* const data = reinterpret_cast<const char16_t*>(text.utf16());
    if (NextSpecial(data, data + text.size()) == data + text.size()) return text;
    return Convert(text, std::numeric_limits<qsizetype>::max());
}

QString ConvertYbbToHtmlStart(QStringView text, qsizetype length)
{
    return Convert(text, length);
}

QString ConvertDocumentToHtmlPage(const QStringList& lines)
{
    // No search text holds a line break, so joining with "\n" instead of
    // CR LF converts exactly the same.
    return u"<HTML><body><Pre>"_s + ConvertYbbToHtml(text::JoinLines(lines, u"\n")) +
           u"</Pre></body></HTML>"_s;
}

QStringView ReplacementOf(QStringView search)
{
    for (const Step& step : kSteps)
        if (step.search == search) return step.replacement;
    return {};
}

QStringList ConversionSearchTexts()
{
    QStringList texts;
    for (const Step& step : kSteps) texts.append(step.search.toString());
    return texts;
}

}  // namespace convert
