#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <optional>

// Document files: the document is held with "\n" line breaks, as the editing
// area gives it; files have CR LF breaks and are Big5 unless they were UTF-8
// when read, in which case they are written back as UTF-8.
namespace text {

enum class FileEncoding {
    Big5,
    Utf8,     // UTF-8 without a byte-order mark
    Utf8Bom,  // UTF-8 that starts with the byte-order mark EF BB BF
};

struct DocumentText {
    QString text;  // line breaks are "\n"
    FileEncoding encoding = FileEncoding::Big5;
};

// File bytes to document text. A byte-order mark, or valid UTF-8 with at
// least one non-ASCII character, means UTF-8; anything else is Big5. CR LF,
// lone CR and lone LF all become "\n".
DocumentText DecodeDocument(QByteArrayView bytes);

// Document text to file bytes, every line break written as CR LF. Fails when
// the text holds a character the encoding cannot hold; `error` then names it
// with its line and column.
std::optional<QByteArray> EncodeDocument(QStringView text, FileEncoding encoding, QString* error);

// Reads a whole document file. On failure `error` is "Cannot open file "
// followed by the path.
std::optional<DocumentText> ReadDocumentFile(const QString& path, QString* error);

// Writes a whole document file, replacing the old one only once the new one
// is complete; a failed write leaves the old file as it was. The file keeps
// its permissions. Errors: an unencodable character as EncodeDocument names
// it (nothing is written), or "Cannot create file " followed by the path.
bool WriteDocumentFile(const QString& path, QStringView text, FileEncoding encoding,
                       QString* error);

// Reads a file to append to the document: decoded as ReadDocumentFile does,
// split into lines by SplitLines.
std::optional<QStringList> ReadArticleLines(const QString& path, QString* error);

// The index in `text` of the first character `encoding` cannot hold, or -1.
qsizetype FirstUnencodable(QStringView text, FileEncoding encoding);

// Why a save stops at text[index]: the character, its code point and the
// encoding, at `line` and `column` (both from 1) as the caller numbers them.
QString UnencodableMessage(QStringView text, qsizetype index, qsizetype line, qsizetype column,
                           FileEncoding encoding);

}  // namespace text
