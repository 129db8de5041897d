#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

// Big5 as Windows code page 950, through ICU's "windows-950" converter.
// Used only at the program's edges: files, the preview page's bytes and the
// tray texts cut to byte limits.
namespace text {

// What to do with a character code page 950 cannot hold.
enum class Unencodable {
    Fail,                // stop: no bytes, failedAt names the character
    CharacterReference,  // write "&#N;" (decimal code point), for HTML pages
};

struct Big5Encoded {
    QByteArray bytes;
    qsizetype failedAt = -1;  // with Unencodable::Fail: index into the input of
                              // the first character that cannot be encoded
    bool ok() const { return failedAt < 0; }
};

Big5Encoded EncodeBig5(QStringView text, Unencodable policy);

// Decodes code page 950 bytes. A byte sequence that is not valid Big5 is kept:
// each such byte becomes a visible placeholder character that EncodeBig5
// turns back into the same byte.
QString DecodeBig5(QByteArrayView bytes);

// The placeholder for a kept byte b (0x80 to 0xFF) is the code point
// kBig5PlaceholderBase + b, in Supplementary Private Use Area-A, which code
// page 950 never maps, so a placeholder can be told from real text.
inline constexpr char32_t kBig5PlaceholderBase = 0xF0000;

// Encodes as much of the text as fits into maxBytes bytes, never cutting a
// character (or a character reference) in two; for texts with a byte limit,
// such as the tray's. With Unencodable::Fail an unencodable character inside
// the part that fits fails the whole call as EncodeBig5 does.
Big5Encoded EncodeBig5Prefix(QStringView text, qsizetype maxBytes, Unencodable policy);

}  // namespace text
