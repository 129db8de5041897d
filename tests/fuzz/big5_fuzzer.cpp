// The Big5 codec both ways. Bytes decode to text that encodes back to the
// same bytes, whatever they are. Text either encodes to bytes that decode
// back to the same text, or is refused at its first character code page 950
// cannot hold. The prefix encoder never cuts a character in two.
#include <QList>
#include <QStringView>
#include <cstddef>
#include <cstdint>

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
    const text::Big5Encoded back = text::EncodeBig5(text::DecodeBig5(bytes), Unencodable::Fail);
    Require(back.ok(), "decoded bytes encode again");
    Require(back.bytes == bytes, "bytes -> text -> bytes is the identity");
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

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    CheckBytes(FuzzBytes(data, size));
    CheckText(FuzzText(data, size));
    return 0;
}
