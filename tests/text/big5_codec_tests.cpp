#include <gtest/gtest.h>

#include "text/big5_codec.h"

#include <iterator>
#include <random>
#include <vector>

using namespace Qt::Literals::StringLiterals;
using text::DecodeBig5;
using text::EncodeBig5;
using text::EncodeBig5Prefix;
using text::kBig5PlaceholderBase;
using text::Unencodable;

namespace {

// Not QString::fromUcs4, which drops U+FEFF as a byte-order mark.
QString Character(char32_t codePoint)
{
    if (!QChar::requiresSurrogates(codePoint)) return QString(QChar(char16_t(codePoint)));
    const QChar pair[2] = {QChar(QChar::highSurrogate(codePoint)),
                           QChar(QChar::lowSurrogate(codePoint))};
    return QString(pair, 2);
}

QString Placeholder(uchar byte)
{
    return QString(QChar(char16_t(kBig5PlaceholderBase + byte)));
}

QByteArray Bytes(std::initializer_list<int> values)
{
    QByteArray bytes;
    for (const int value : values) bytes.append(char(value));
    return bytes;
}

// Every high surrogate followed by a low one; a low one on its own only as
// the placeholder of a kept byte.
bool SurrogatesPaired(const QString& text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
            ++i;
        else if (text[i].isSurrogate() && !text::IsBig5Placeholder(text, i))
            return false;
    }
    return true;
}

QByteArray EncodeOrDie(const QString& text)
{
    const text::Big5Encoded encoded = EncodeBig5(text, Unencodable::Fail);
    EXPECT_TRUE(encoded.ok()) << text.toStdString();
    return encoded.bytes;
}

struct Symbol {
    const char16_t* text;
    int lead;
    int trail;
};

// The punctuation and symbols the insertion commands write, with their codes.
const Symbol kSymbols[] = {
    {u"【", 0xA1, 0x69},     {u"】", 0xA1, 0x6A}, {u"「", 0xA1, 0x75}, {u"」", 0xA1, 0x76},
    {u"『", 0xA1, 0x79},     {u"』", 0xA1, 0x7A}, {u"〈", 0xA1, 0x71}, {u"〉", 0xA1, 0x72},
    {u"《", 0xA1, 0x6D},     {u"》", 0xA1, 0x6E}, {u"〔", 0xA1, 0x65}, {u"〕", 0xA1, 0x66},
    {u"｛", 0xA1, 0x61},     {u"｝", 0xA1, 0x62}, {u"←", 0xA1, 0xF6},  {u"→", 0xA1, 0xF7},
    {u"●", 0xA1, 0xB4},      {u"○", 0xA1, 0xB3},  {u"★", 0xA1, 0xB9},  {u"☆", 0xA1, 0xB8},
    {u"■", 0xA1, 0xBD},      {u"□", 0xA1, 0xBC},  {u"，", 0xA1, 0x41}, {u"。", 0xA1, 0x43},
    {u"\uFE56", 0xA1, 0x53}, {u"※", 0xA1, 0xB0},  {u"＠", 0xA2, 0x49}, {u"：", 0xA1, 0x47},
    {u"一", 0xA4, 0x40},     {u"中", 0xA4, 0xA4}, {u"文", 0xA4, 0xE5},
};

TEST(Big5Codec, SymbolsHaveTheirCodePage950Bytes)
{
    for (const Symbol& symbol : kSymbols) {
        const QString character = QString::fromUtf16(symbol.text);
        const QByteArray bytes = Bytes({symbol.lead, symbol.trail});
        EXPECT_EQ(EncodeOrDie(character), bytes) << character.toStdString();
        EXPECT_EQ(DecodeBig5(bytes), character) << character.toStdString();
    }
}

TEST(Big5Codec, ChineseTextWithAsciiRoundTrips)
{
    const QString post =
        u"發表時間：2024/1/2 下午 03:04\r\n【中 文 化】[b]測試[/b]，繁體字。\t\\ ~"_s;
    const QByteArray bytes = EncodeOrDie(post);
    EXPECT_EQ(DecodeBig5(bytes), post);
    // ASCII stays one byte each, so the tags are where a byte search finds them.
    EXPECT_TRUE(bytes.contains("[b]"));
    EXPECT_TRUE(bytes.startsWith(Bytes({0xB5, 0x6F})));  // 發
}

// The ten second codes of code page 950: each reads as a character that has
// a code of its own, with which the character is written.
struct OneWayCode {
    int code;
    char16_t character;
    int ownCode;
};
const OneWayCode kOneWayCodes[] = {
    {0xA2A4, u'═', 0xF9F9}, {0xA2A5, u'╞', 0xF9E9},  {0xA2A6, u'╪', 0xF9EA},
    {0xA2A7, u'╡', 0xF9EB}, {0xA2CC, u'十', 0xA451}, {0xA2CE, u'卅', 0xA4CA},
    {0xF9FA, u'╭', 0xA27E}, {0xF9FB, u'╮', 0xA2A1},  {0xF9FC, u'╰', 0xA2A2},
    {0xF9FD, u'╯', 0xA2A3},
};

const OneWayCode* FindOneWay(int code)
{
    for (const OneWayCode& oneWay : kOneWayCodes)
        if (oneWay.code == code) return &oneWay;
    return nullptr;
}

TEST(Big5Codec, EveryByteAndBytePairComesBackUnchanged)
{
    for (int lead = 0; lead < 256; ++lead) {
        for (int trail = 0; trail < 256; ++trail) {
            // The trailing LF, which is never a trail byte, catches a decoder
            // that swallows a byte it should keep.
            const QByteArray bytes = Bytes({lead, trail, '\n'});
            const QString decoded = DecodeBig5(bytes);
            ASSERT_TRUE(SurrogatesPaired(decoded)) << lead << ' ' << trail;
            ASSERT_TRUE(decoded.endsWith(u'\n'));
            // Only the one-way codes come back as other bytes.
            const OneWayCode* const oneWay = FindOneWay(lead << 8 | trail);
            const QByteArray expected =
                oneWay ? Bytes({oneWay->ownCode >> 8, oneWay->ownCode & 0xFF, '\n'}) : bytes;
            ASSERT_EQ(EncodeOrDie(decoded), expected) << lead << ' ' << trail;
        }
    }
}

TEST(Big5Codec, AllPairsInOneStreamComeBackUnchanged)
{
    // Back to back, a kept byte can meet the next pair's lead byte; the
    // stream must still come back whole, its text unchanged.
    QByteArray bytes;
    for (int lead = 0x80; lead < 256; ++lead)
        for (int trail = 0; trail < 256; ++trail) bytes += Bytes({lead, trail});
    const QString decoded = DecodeBig5(bytes);
    EXPECT_TRUE(SurrogatesPaired(decoded));
    // One-way codes come back as other codes of two bytes.
    const QByteArray written = EncodeOrDie(decoded);
    EXPECT_EQ(written.size(), bytes.size());
    EXPECT_EQ(DecodeBig5(written), decoded);
}

TEST(Big5Codec, OneWayCodesReadAsTheirCharactersAndAreSavedAsTheirOwnCodes)
{
    for (const OneWayCode& oneWay : kOneWayCodes) {
        const QString character(QChar(oneWay.character));
        SCOPED_TRACE(character.toStdString());
        // Between a pair before and an ASCII letter after, so that the
        // neighbours keep their bytes.
        const QByteArray file = Bytes({0xA4, 0xA4, oneWay.code >> 8, oneWay.code & 0xFF, 'x'});
        EXPECT_EQ(DecodeBig5(file), u"中"_s + character + u"x"_s);
        EXPECT_EQ(EncodeOrDie(DecodeBig5(file)),
                  Bytes({0xA4, 0xA4, oneWay.ownCode >> 8, oneWay.ownCode & 0xFF, 'x'}));
        EXPECT_EQ(DecodeBig5(Bytes({oneWay.ownCode >> 8, oneWay.ownCode & 0xFF})), character);
        EXPECT_TRUE(text::IsCleanBig5(file));
    }
}

TEST(Big5Codec, EveryEncodableCharacterReadsBack)
{
    for (char32_t codePoint = 0; codePoint < 0x10000; ++codePoint) {
        if (QChar::isSurrogate(codePoint)) continue;
        const QString character = Character(codePoint);
        const text::Big5Encoded encoded = EncodeBig5(character, Unencodable::Fail);
        if (!encoded.ok()) continue;
        ASSERT_FALSE(encoded.bytes.isEmpty()) << std::hex << uint(codePoint);
        ASSERT_EQ(DecodeBig5(encoded.bytes), character) << std::hex << uint(codePoint);
    }
}

TEST(Big5Codec, InvisibleFormatCharactersAreRefusedRatherThanDropped)
{
    for (const QString& text : {u"a\u200Bb"_s, u"a\u200Db"_s, u"a\u00ADb"_s}) {
        const text::Big5Encoded encoded = EncodeBig5(text, Unencodable::Fail);
        EXPECT_EQ(encoded.failedAt, 1) << text.toStdString();
    }
}

TEST(Big5Codec, InvalidBytesBecomePlaceholdersThatEncodeBack)
{
    struct Case {
        QByteArray bytes;
        QString text;
    };
    const Case cases[] = {
        {Bytes({0xA4}), Placeholder(0xA4)},                          // lead byte at the end
        {Bytes({0xA4, '\r', '\n'}), Placeholder(0xA4) + u"\r\n"_s},  // line break after a lead
        {Bytes({0xA4, 0x0A, 0xA4, 0x40}), Placeholder(0xA4) + u"\n一"_s},
        {Bytes({'a', 0x81, 0x39, 'b'}), u"a"_s + Placeholder(0x81) + u"9b"_s},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(DecodeBig5(c.bytes), c.text) << c.bytes.toHex().toStdString();
        EXPECT_EQ(EncodeOrDie(c.text), c.bytes);
    }
}

TEST(Big5Codec, EmptyInputs)
{
    EXPECT_EQ(DecodeBig5({}), QString());
    const text::Big5Encoded encoded = EncodeBig5(u"", Unencodable::Fail);
    EXPECT_TRUE(encoded.ok());
    EXPECT_TRUE(encoded.bytes.isEmpty());
}

TEST(Big5Codec, FailNamesTheFirstUnencodableCharacterAndGivesNoBytes)
{
    struct Case {
        QString text;
        qsizetype failedAt;
    };
    const Case cases[] = {
        {u"中文😀x한"_s, 2},  // a surrogate pair: the index of its first half
        {u"한"_s, 0},        // first character
        {u"ab\xD83D"
         "c"_s,
         2},                 // lone high surrogate
        {u"ab\xDE00"_s, 2},  // lone low surrogate at the end
    };
    for (const Case& c : cases) {
        const text::Big5Encoded encoded = EncodeBig5(c.text, Unencodable::Fail);
        EXPECT_FALSE(encoded.ok());
        EXPECT_EQ(encoded.failedAt, c.failedAt) << c.text.toStdString();
        EXPECT_TRUE(encoded.bytes.isEmpty());
    }
}

TEST(Big5Codec, CharacterReferenceWritesTheWholeCodePoint)
{
    const text::Big5Encoded encoded = EncodeBig5(
        u"中😀한\xD83D"
        "a"_s +
            Placeholder(0xFE),
        Unencodable::CharacterReference);
    EXPECT_TRUE(encoded.ok());
    // A kept byte is shown as U+FFFD on a page, never as the byte itself.
    EXPECT_EQ(encoded.bytes, Bytes({0xA4, 0xA4}) + "&#128512;&#54620;&#55357;a&#65533;");
}

// Characters of the private-use planes and real surrogate pairs near the
// placeholders are text like any other: refused in a file, referenced on a
// page, never taken for a kept byte.
TEST(Big5Codec, NoCharacterIsTakenForAKeptByte)
{
    for (const char32_t codePoint :
         {0xF000Au, 0xF003Cu, 0xF0041u, 0xF00A4u, 0xF005Du, 0xF00FFu, 0x10DC80u, 0x1F4A9u}) {
        SCOPED_TRACE(uint(codePoint));
        const QString text = u"a"_s + Character(codePoint) + u"b"_s;
        EXPECT_FALSE(text::IsBig5Placeholder(text, 1));
        EXPECT_FALSE(text::IsBig5Placeholder(text, 2));
        EXPECT_EQ(EncodeBig5(text, Unencodable::Fail).failedAt, 1);
        EXPECT_EQ(EncodeBig5(text, Unencodable::CharacterReference).bytes,
                  "a&#" + QByteArray::number(uint(codePoint)) + ";b");
        EXPECT_EQ(text::WithoutPlaceholders(text), text);
    }
    // Kept bytes leave the program as text only as U+FFFD.
    // A3C0 is a code no character has.
    EXPECT_EQ(text::WithoutPlaceholders(DecodeBig5(Bytes({'x', 0xA4, '\n', 0xA3, 0xC0}))),
              u"x\uFFFD\n\uFFFD\uFFFD"_s);
}

TEST(Big5Codec, PrefixNeverCutsACharacter)
{
    const QString tip = u"中文ab"_s;
    const auto prefix = [&](const QString& text, qsizetype maxBytes, Unencodable policy) {
        const text::Big5Encoded encoded = EncodeBig5Prefix(text, maxBytes, policy);
        EXPECT_TRUE(encoded.ok());
        return encoded.bytes;
    };
    EXPECT_EQ(prefix(tip, 3, Unencodable::Fail), Bytes({0xA4, 0xA4}));
    EXPECT_EQ(prefix(tip, 4, Unencodable::Fail), EncodeOrDie(u"中文"_s));
    EXPECT_EQ(prefix(tip, 5, Unencodable::Fail), EncodeOrDie(u"中文a"_s));
    EXPECT_EQ(prefix(tip, 100, Unencodable::Fail), EncodeOrDie(tip));
    EXPECT_EQ(prefix(tip, 1, Unencodable::Fail), QByteArray());
    EXPECT_EQ(prefix(tip, 0, Unencodable::Fail), QByteArray());
    EXPECT_EQ(prefix(tip, -5, Unencodable::Fail), QByteArray());
    // A character reference is one unit too.
    EXPECT_EQ(prefix(u"a😀"_s, 9, Unencodable::CharacterReference), QByteArray("a"));
    EXPECT_EQ(prefix(u"a😀"_s, 10, Unencodable::CharacterReference), QByteArray("a&#128512;"));
    // A kept byte counts as the one byte it is.
    EXPECT_EQ(prefix(Placeholder(0xA4) + u"b"_s, 1, Unencodable::Fail), Bytes({0xA4}));
}

TEST(Big5Codec, PrefixFailsOnlyOnWhatFits)
{
    EXPECT_EQ(EncodeBig5Prefix(u"a😀"_s, 4, Unencodable::Fail).failedAt, 1);
    const text::Big5Encoded cut = EncodeBig5Prefix(u"中😀"_s, 1, Unencodable::Fail);
    EXPECT_TRUE(cut.ok());
    EXPECT_TRUE(cut.bytes.isEmpty());
}

// The tables built into the program must say what ICU's converter says when
// asked code by code, on every byte, pair and code unit, cut or not.
TEST(Big5Codec, CodeByCodeLookupAgreesWithTheTables)
{
    using namespace text::detail;
    QByteArray pairs;
    for (int lead = 0; lead < 256; ++lead)
        for (int trail = 0; trail < 256; ++trail) pairs += Bytes({lead, trail});
    ASSERT_EQ(DecodeBig5Direct(pairs), DecodeBig5Tables(pairs));

    QString units;
    for (int unit = 0; unit < 0x10000; ++unit) units += QChar(char16_t(unit));
    ASSERT_EQ(EncodeBig5Direct(units, Unencodable::CharacterReference, -1).bytes,
              EncodeBig5Tables(units, Unencodable::CharacterReference, -1).bytes);
    for (int unit = 0; unit < 0x10000; ++unit) {
        const QString one{QChar(char16_t(unit))};
        const text::Big5Encoded direct = EncodeBig5Direct(one, Unencodable::Fail, -1);
        const text::Big5Encoded tables = EncodeBig5Tables(one, Unencodable::Fail, -1);
        ASSERT_EQ(direct.failedAt, tables.failedAt) << std::hex << unit;
        ASSERT_EQ(direct.bytes, tables.bytes) << std::hex << unit;
    }

    // Short random texts near the byte limit, with kept bytes, pairs and
    // lone surrogates among the characters.
    std::mt19937 random(950);
    const char16_t pool[] = {u'a',   u'\n',  0x4E2D,
                             0x6587, 0xFF0C, 0x20AC,
                             0xD83D, 0xDE00, char16_t(kBig5PlaceholderBase + 0xA4),
                             0xDCFF, 0xF8F8, 0x2027};
    for (int round = 0; round < 3000; ++round) {
        QString text;
        QByteArray bytes;
        for (int i = int(random() % 9); i > 0; --i) {
            text += QChar(pool[random() % std::size(pool)]);
            bytes += char(random() % 3 ? 0x80 + random() % 0x80 : random() % 0x80);
        }
        ASSERT_EQ(DecodeBig5Direct(bytes), DecodeBig5Tables(bytes)) << bytes.toHex().toStdString();
        const qsizetype limit = qsizetype(random() % 12) - 1;
        for (const Unencodable policy : {Unencodable::Fail, Unencodable::CharacterReference}) {
            const text::Big5Encoded direct = EncodeBig5Direct(text, policy, limit);
            const text::Big5Encoded tables = EncodeBig5Tables(text, policy, limit);
            ASSERT_EQ(direct.failedAt, tables.failedAt) << round;
            ASSERT_EQ(direct.bytes, tables.bytes) << round;
        }
    }
}

}  // namespace
