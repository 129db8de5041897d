// The Big5 codec both ways. Bytes decode to text that encodes back to the
// same bytes, whatever they are, but for the one-way codes, which come back
// as their characters' own codes. Text either encodes to bytes that decode
// back to the same text, or is refused at its first character code page 950
// cannot hold. The prefix encoder never cuts a character in two.
#include <QList>
#include <QStringView>
#include <cstddef>
#include <cstdint>
#include <iterator>

#include "fuzz_check.h"
#include "text/big5_codec.h"

using text::Unencodable;

namespace {

qsizetype CodePointLength(QStringView text, qsizetype at)
{
    return at + 1 < text.size() && text[at].isHighSurrogate() && text[at + 1].isLowSurrogate() ? 2
                                                                                               : 1;
}

void CheckBytes(const QByteArray& bytes)
{
    const QString decoded = text::DecodeBig5(bytes);
    const text::Big5Encoded back = text::EncodeBig5(decoded, Unencodable::Fail);
    Require(back.ok(), "decoded bytes encode again");
    // A one-way code comes back as its character's own code, two bytes too.
    Require(back.bytes.size() == bytes.size(), "bytes -> text -> bytes keeps the length");
    Require(text::DecodeBig5(back.bytes) == decoded, "bytes written back read as the same text");
}

void CheckText(const QString& text)
{
    const text::Big5Encoded encoded = text::EncodeBig5(text, Unencodable::Fail);
    // Encoded a character at a time: where each one ends, and whether it fits.
    QList<qsizetype> ends{0};
    QByteArray joined;
    qsizetype firstUnencodable = -1;
    for (qsizetype at = 0; at < text.size();) {
        const qsizetype length = CodePointLength(text, at);
        const QStringView one = QStringView(text).mid(at, length);
        const text::Big5Encoded alone = text::EncodeBig5(one, Unencodable::Fail);
        if (!alone.ok() && firstUnencodable < 0) firstUnencodable = at;
        joined += text::EncodeBig5(one, Unencodable::CharacterReference).bytes;
        ends.append(joined.size());
        at += length;
    }
    if (encoded.ok()) {
        Require(firstUnencodable < 0, "every character of an encoded text is encodable");
        Require(text::DecodeBig5(encoded.bytes) == text, "text -> bytes -> text is the identity");
    } else {
        Require(encoded.failedAt == firstUnencodable, "refused at the first unencodable character");
        Require(encoded.bytes.isEmpty(), "a refused text gives no bytes");
    }

    const text::Big5Encoded referenced = text::EncodeBig5(text, Unencodable::CharacterReference);
    Require(referenced.ok() && referenced.bytes == joined,
            "character references: the characters' encodings joined");
    for (const qsizetype limit : {qsizetype(0), qsizetype(1), qsizetype(7), joined.size() / 2}) {
        const text::Big5Encoded prefix =
            text::EncodeBig5Prefix(text, limit, Unencodable::CharacterReference);
        Require(prefix.ok(), "a prefix with references encodes");
        qsizetype longest = 0;
        for (const qsizetype end : ends)
            if (end <= limit) longest = end;
        Require(prefix.bytes == joined.left(longest),
                "the prefix is the most whole characters that fit");
    }
}

// Text drawn from where code page 950 is tricky: ASCII (the trail bytes of
// many pairs), Chinese characters, full-width forms, Latin-1, the private-use
// plane and the characters next to it. Each two input bytes give one code
// point; only whole characters, never lone surrogates, as a user could type.
QString PickedText(const uint8_t* data, size_t size)
{
    static constexpr char32_t kRegions[] = {0x0000, 0x0080,  0x3000,  0x4E00, 0x7A00,
                                            0xFF00, 0xF0000, 0xFFF00, 0xE000};
    QString text;
    for (size_t i = 0; i + 1 < size; i += 2) {
        const char32_t region = kRegions[data[i] % std::size(kRegions)];
        const char32_t point = region + (region == 0 ? data[i + 1] & 0x7F : data[i + 1]);
        text += QStringView(QChar::fromUcs4(point));
    }
    return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    CheckBytes(FuzzBytes(data, size));
    CheckText(FuzzText(data, size));
    CheckText(PickedText(data, size));
    return 0;
}
