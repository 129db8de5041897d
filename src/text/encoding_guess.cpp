#include "text/encoding_guess.h"

#include <QList>

namespace text {
namespace {

bool IsAsciiLetter(char32_t c)
{
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}

// Letters of Latin-1 and Latin Extended-A and -B: the accented letters of
// European languages, which sit inside words of ASCII letters.
bool IsLatinLetter(char32_t c)
{
    return c >= 0xC0 && c <= 0x24F && c != 0xD7 && c != 0xF7;
}

// CJK punctuation, kana, ideographs and full-width forms, which follow one
// another in Chinese and Japanese text.
bool IsCjk(char32_t c)
{
    return (c >= 0x3000 && c <= 0x30FF) || (c >= 0x3400 && c <= 0x4DBF) ||
           (c >= 0x4E00 && c <= 0x9FFF) || (c >= 0xFF00 && c <= 0xFFEF) ||
           (c >= 0x20000 && c <= 0x2FFFF);
}

constexpr char32_t kEdge = 0x110000;  // before the first and after the last character

}  // namespace

bool ReadsAsUtf8Text(QStringView decoded)
{
    qsizetype support = 0;
    qsizetype against = 0;
    char32_t previous = kEdge;
    char32_t current = kEdge;
    const auto judge = [&](char32_t next) {
        if (current == kEdge || current < 0x80) return;
        const auto ascii = [](char32_t c) { return c < 0x80; };
        if (IsLatinLetter(current) && (IsAsciiLetter(previous) || IsAsciiLetter(next)))
            ++support;
        else if (IsCjk(current) && (IsCjk(previous) || IsCjk(next)))
            ++support;
        else if (!ascii(previous) && !ascii(next))
            ++against;
    };
    for (qsizetype i = 0; i < decoded.size(); ++i) {
        char32_t next = decoded[i].unicode();
        if (decoded[i].isHighSurrogate() && i + 1 < decoded.size() &&
            decoded[i + 1].isLowSurrogate()) {
            next = QChar::surrogateToUcs4(decoded[i], decoded[i + 1]);
            ++i;
        }
        judge(next);
        previous = current;
        current = next;
    }
    judge(kEdge);
    return support > against;
}

}  // namespace text
