#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

// Big5 as Windows code page 950, as ICU's "windows-950" converter maps it.
// Used only at the program's edges: files, the preview page's bytes and the
// tray texts cut to byte limits.
namespace text {

// What to do with a character code page 950 cannot hold.
enum class Unencodable {
    Fail,                // stop: no bytes, failedAt names the character
    CharacterReference,  // write "&#N;" (decimal code point), for HTML pages; a
                         // placeholder for a kept byte becomes "&#65533;"
};

struct Big5Encoded {
    QByteArray bytes;
    qsizetype failedAt = -1;  // with Unencodable::Fail: index into the input of
                              // the first character that cannot be encoded
    bool ok() const { return failedAt < 0; }
};

Big5Encoded EncodeBig5(QStringView text, Unencodable policy);

// Decodes code page 950 bytes. A byte sequence that is not valid Big5 is kept:
// each such byte becomes a placeholder that EncodeBig5 with Unencodable::Fail
// turns back into the same byte. Encoding the text gives back the bytes, but
// for the ten second codes of characters (A2A4 A2A5 A2A6 A2A7 A2CC A2CE F9FA
// F9FB F9FC F9FD), which read as their characters and come back as the
// characters' own codes.
QString DecodeBig5(QByteArrayView bytes);

// Whether every byte is part of a code page 950 code DecodeBig5 reads as a
// character, so that decoding would need no placeholder.
bool IsCleanBig5(QByteArrayView bytes);

// The placeholder for a kept byte b (0x80 to 0xFF) is the lone low surrogate
// kBig5PlaceholderBase + b (U+DC80 to U+DCFF). No character is a lone
// surrogate, so a placeholder can never be mistaken for text, nor text for a
// placeholder; a real U+F00xx or U+DCxx pair is an ordinary character.
inline constexpr char16_t kBig5PlaceholderBase = 0xDC00;

// Whether units[i] is a placeholder: a low surrogate U+DC80 to U+DCFF that
// does not end a surrogate pair.
bool IsBig5Placeholder(QStringView text, qsizetype i);

// The text with every placeholder replaced by U+FFFD, for whatever leaves the
// program as text rather than as file bytes (the clipboard, printing).
QString WithoutPlaceholders(QString text);

// Encodes as much of the text as fits into maxBytes bytes, never cutting a
// character (or a character reference) in two; for texts with a byte limit,
// such as the tray's. With Unencodable::Fail an unencodable character inside
// the part that fits fails the whole call as EncodeBig5 does.
Big5Encoded EncodeBig5Prefix(QStringView text, qsizetype maxBytes, Unencodable policy);

// The codec with its tables and with ICU's converter asked code by code,
// the source of the tables, for tests that hold the two against each other.
// maxBytes < 0: no limit.
namespace detail {
QString DecodeBig5Direct(QByteArrayView bytes);
QString DecodeBig5Tables(QByteArrayView bytes);
Big5Encoded EncodeBig5Direct(QStringView text, Unencodable policy, qsizetype maxBytes);
Big5Encoded EncodeBig5Tables(QStringView text, Unencodable policy, qsizetype maxBytes);
}  // namespace detail

}  // namespace text
