// The UTF-8 validator against a strict decoder, and which encoding a file is
// read in: Big5 words that happen to be valid UTF-8 against real UTF-8 texts.
#include <gtest/gtest.h>

#include <QStringDecoder>

#include "text/big5_codec.h"
#include "text/document_file.h"
#include "text/utf8_validation.h"

#include <random>
#include <vector>

using namespace Qt::Literals::StringLiterals;
using text::FileEncoding;

namespace {

bool StrictlyDecodes(const QByteArray& bytes)
{
    QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    const QString decoded = decoder(bytes);
    return !decoder.hasError();
}

QByteArray Bytes(std::initializer_list<int> values)
{
    QByteArray bytes;
    for (const int value : values) bytes.append(char(value));
    return bytes;
}

TEST(Utf8Validation, AgreesWithAStrictDecoder)
{
    std::vector<QByteArray> inputs = {
        {},
        Bytes({0xC0, 0xAF}),              // overlong "/"
        Bytes({0xE0, 0x80, 0xAF}),        // overlong, three bytes
        Bytes({0xF0, 0x80, 0x80, 0xAF}),  // overlong, four bytes
        Bytes({0xE0, 0xA0, 0x80}),        // U+0800, the first three-byte code point
        Bytes({0xED, 0x9F, 0xBF}),        // U+D7FF, the last before the surrogates
        Bytes({0xED, 0xA0, 0x80}),        // U+D800, a surrogate
        Bytes({0xED, 0xBF, 0xBF}),        // U+DFFF
        Bytes({0xF4, 0x8F, 0xBF, 0xBF}),  // U+10FFFF
        Bytes({0xF4, 0x90, 0x80, 0x80}),  // above U+10FFFF
        Bytes({0xF5, 0x80, 0x80, 0x80}),
        Bytes({0xEF, 0xBF, 0xBE}),  // U+FFFE, a noncharacter but well-formed
        Bytes({0xE4, 0xB8}),        // cut off
        Bytes({'a', 'b', 'c', 'd', 'e', 'f', 'g', 0xE4, 0xB8, 0xAD, 'h'}),  // across a word
        QByteArray(15, 'a') + Bytes({0xC3}),                                // cut off at the end
        Bytes({0x80}),
        Bytes({0xBF, 'a'}),
        Bytes({0xFE}),
        Bytes({0xFF}),
    };
    // Every one- and two-byte input, and every three-byte input after a lead
    // byte with the third byte at the edges of the continuation range.
    for (int a = 0; a < 256; ++a) {
        inputs.push_back(Bytes({a}));
        for (int b = 0; b < 256; ++b) {
            inputs.push_back(Bytes({a, b}));
            if (a >= 0xE0)
                for (const int c : {0x7F, 0x80, 0xBF, 0xC0}) inputs.push_back(Bytes({a, b, c}));
        }
    }
    // Random inputs from an alphabet of the bytes that matter.
    const int alphabet[] = {0x00, 'a',  0x7F, 0x80, 0x8F, 0x90, 0x9F, 0xA0, 0xBF, 0xC0,
                            0xC1, 0xC2, 0xDF, 0xE0, 0xE1, 0xED, 0xEF, 0xF0, 0xF4, 0xF5};
    std::mt19937 random(10);
    for (int n = 0; n < 200000; ++n) {
        QByteArray bytes;
        const int size = int(random() % 24);
        for (int i = 0; i < size; ++i) bytes.append(char(alphabet[random() % std::size(alphabet)]));
        inputs.push_back(bytes);
    }
    for (const QByteArray& bytes : inputs)
        ASSERT_EQ(text::IsValidUtf8(bytes), StrictlyDecodes(bytes))
            << bytes.toHex(' ').toStdString();
}

// Every code page 950 code of a Han character, from the codec's own tables.
std::vector<QByteArray> HanCodes()
{
    std::vector<QByteArray> codes;
    for (int lead = 0x81; lead <= 0xFE; ++lead) {
        for (int trail = 0x40; trail <= 0xFE; ++trail) {
            const QByteArray code = Bytes({lead, trail});
            const QString decoded = text::DecodeBig5(code);
            if (decoded.size() == 1 && decoded[0].script() == QChar::Script_Han)
                codes.push_back(code);
        }
    }
    return codes;
}

TEST(EncodingDetection, Big5WordsThatAreValidUtf8StayBig5)
{
    EXPECT_EQ(text::DecodeDocument(Bytes({0xC2, 0xBD, 0xC4, 0xB6})).text, u"翻譯"_s);

    const std::vector<QByteArray> codes = HanCodes();
    ASSERT_GT(codes.size(), 13000u);
    int words = 0;
    for (const QByteArray& first : codes) {
        // A first character whose bytes cannot start UTF-8 never makes a
        // valid word; skipping it keeps the loop short.
        if (uchar(first[0]) < 0xC2 || uchar(first[1]) > 0xBF) continue;
        for (const QByteArray& second : codes) {
            const QByteArray word = first + second;
            // A file that starts with the byte-order mark is UTF-8 whatever
            // follows; one word begins with those three bytes.
            if (!text::IsValidUtf8(word) || word.startsWith("\xEF\xBB\xBF")) continue;
            ++words;
            const text::DocumentText read = text::DecodeDocument(word);
            ASSERT_EQ(read.encoding, FileEncoding::Big5) << word.toHex(' ').toStdString();
        }
    }
    // Both kinds: two two-byte sequences, and a longer one the second
    // character ends.
    EXPECT_GT(words, 100000);
}

TEST(EncodingDetection, Utf8TextsAreUtf8WithAndWithoutMark)
{
    const QString texts[] = {
        // Short.
        u"café"_s,
        u"Größe"_s,
        u"¿Dónde está el niño?"_s,
        u"Están aquí."_s,
        u"señor"_s,
        u"naïve"_s,
        u"Привет, мир!"_s,
        u"Καλημέρα"_s,
        u"Łódź"_s,
        u"日本語"_s,
        u"中文"_s,
        u"繁體中文"_s,
        u"こんにちは"_s,
        u"Prix : 5 € la pièce"_s,
        // Long.
        u"La réunion aura lieu à Genève le 3 mars ; les élèves présenteront leurs "
        "travaux. Où est la bibliothèque ? Près de l'hôtel de ville."_s,
        u"Die Straße führt über die Brücke zum Bahnhof. Bitte schließen Sie die Tür, "
        "während der Zug hält."_s,
        u"El pingüino comía una piña en la montaña mientras el búho miraba."_s,
        u"Zażółć gęślą jaźń. Příliš žluťoučký kůň úpěl ďábelské ódy."_s,
        u"Съешь же ещё этих мягких французских булок, да выпей чаю."_s,
        u"Ξεσκεπάζω την ψυχοφθόρα βδελυγμία."_s,
        u"今天天氣很好，我們去公園散步吧。這是一個繁體中文的句子。"_s,
        u"今天天气很好，我们去公园散步吧。这是一个简体中文的句子。"_s,
        u"いろはにほへと ちりぬるを わかよたれそ つねならむ。東京都に住んでいます。"_s,
        u"The quick brown fox – “quoted” — and a price of 5 €.\nSecond line, naïve café."_s,
    };
    for (const QString& sample : texts) {
        for (const QString& body : {sample, (sample + u"\n"_s).repeated(200)}) {
            const QByteArray plain = body.toUtf8();
            const QByteArray marked = "\xEF\xBB\xBF" + plain;
            const text::DocumentText read = text::DecodeDocument(plain);
            EXPECT_EQ(read.encoding, FileEncoding::Utf8) << sample.toStdString();
            EXPECT_EQ(read.text, body) << sample.toStdString();
            const text::DocumentText readMarked = text::DecodeDocument(marked);
            EXPECT_EQ(readMarked.encoding, FileEncoding::Utf8Bom) << sample.toStdString();
            EXPECT_EQ(readMarked.text, body);
        }
    }
}

}  // namespace
