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

}  // namespace text
