#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <memory>
#include <optional>

#include "text/file_stamp.h"

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

// File bytes to document text. A byte-order mark before valid UTF-8 means
// UTF-8; so does valid UTF-8 with a non-ASCII character that is not Big5, or
// is Big5 too but reads as UTF-8 text (ReadsAsUtf8Text). Anything else is
// Big5. CR LF, lone CR and lone LF all become "\n".
DocumentText DecodeDocument(QByteArrayView bytes);

// The encoding DecodeDocument reads `bytes` in.
FileEncoding DocumentEncoding(QByteArrayView bytes);

// The text DecodeDocument makes of `bytes`, in pieces, for documents too
// long to hold as text and converted text at once. Each piece ends after a
// line break, but the last; together they are DecodeDocument's text. The
// bytes must outlive this.
class DocumentPieces {
public:
    explicit DocumentPieces(QByteArrayView bytes);
    FileEncoding encoding() const { return m_encoding; }
    bool atEnd() const { return m_rest.isEmpty(); }
    // The next piece: at least `bytes` bytes of the file (unless it ends
    // sooner), through the end of that line.
    QString next(qsizetype bytes);

private:
    FileEncoding m_encoding;
    QByteArrayView m_rest;
};

// Document text to file bytes, every line break written as CR LF. Fails when
// the text holds a character the encoding cannot hold; `error` then names it
// with its line and column.
std::optional<QByteArray> EncodeDocument(QStringView text, FileEncoding encoding, QString* error);

// The largest file Open and Insert article take, and the most characters a
// document may reach by Insert article: far below what the editing area's
// int positions could address, and still a document the editor handles.
inline constexpr qint64 kMaxDocumentBytes = qint64(512) * 1024 * 1024;

// Why a document of `size` bytes or characters is refused, for the error box.
QString TooLargeReason(qint64 size);

// Reads the bytes of a whole document file. On failure `error` is "Cannot
// open file " followed by the path, and `reason` says why (the system's
// reason, or a file larger than kMaxDocumentBytes). `stamp` gets the file's
// stamp as it was when reading began, so that a change made while it was
// read counts as a change.
std::optional<QByteArray> ReadDocumentBytes(const QString& path, QString* error,
                                            QString* reason = nullptr, FileStamp* stamp = nullptr);

// Reads and decodes a whole document file; fails as ReadDocumentBytes does.
std::optional<DocumentText> ReadDocumentFile(const QString& path, QString* error,
                                             QString* reason = nullptr, FileStamp* stamp = nullptr);

// Writes a whole document file. The old file is replaced only once the new
// one is complete (a failed write leaves it as it was), and the new one gets
// the old one's owner, group and mode. Where that cannot be done (the file
// has other hard links, its owner or group cannot be given to a new file, or
// the folder may not be written while the file may), the file is written in
// place, after its old bytes have been copied to a backup in the recovery
// folder; the backup is removed once the write has succeeded and kept, named
// in `reason`, when it has not.
// A replaced file's extended attributes (its ACL, its SELinux label, user.*
// attributes) are given to the new one too, each that the file system and
// the program's rights allow; one refused does not stop the save.
// Errors: an unencodable character as EncodeDocument names it (nothing is
// written), or "Cannot create file " followed by the path, with the system's
// reason (and what became of the old bytes) in `reason`. After a successful
// save `stamp` is the stamp of the file as written.
bool WriteDocumentFile(const QString& path, QStringView text, FileEncoding encoding, QString* error,
                       QString* reason = nullptr, FileStamp* stamp = nullptr);

// Writes bytes made by EncodeDocument as WriteDocumentFile writes a
// document, failing as it does once the text is encoded.
bool WriteDocumentBytes(const QString& path, const QByteArray& bytes, QString* error,
                        QString* reason = nullptr, FileStamp* stamp = nullptr);

// The same save, its bytes given as they are made, so that a long document
// need not be held whole: they go straight into the new file beside the old
// one, which replaces it at commit(). Where the file has to be written in
// place they are held until commit() instead, so that a writer given up
// before then (destroyed without commit(), or after a failure) always
// leaves the old file as it was. Each call fails as WriteDocumentBytes does.
class DocumentFileWriter {
public:
    explicit DocumentFileWriter(const QString& path);
    ~DocumentFileWriter();
    DocumentFileWriter(const DocumentFileWriter&) = delete;
    DocumentFileWriter& operator=(const DocumentFileWriter&) = delete;

    bool open(QString* error, QString* reason = nullptr);
    bool write(QByteArrayView bytes, QString* error, QString* reason = nullptr);
    bool commit(QString* error, QString* reason = nullptr, FileStamp* stamp = nullptr);

private:
    struct Save;
    std::unique_ptr<Save> m_save;
};

// Reads a file to append to the document: decoded as ReadDocumentFile does,
// split into lines by SplitLines.
std::optional<QStringList> ReadArticleLines(const QString& path, QString* error,
                                            QString* reason = nullptr);

// The index in `text` of the first character `encoding` cannot hold, or -1.
qsizetype FirstUnencodable(QStringView text, FileEncoding encoding);

// Why a save stops at text[index]: the character, its code point and the
// encoding, at `line` and `column` (both from 1) as the caller numbers them.
// A Big5 refusal adds that the save encoding can be switched to UTF-8; a
// byte kept from a Big5 file, refused in UTF-8, is named as the byte.
QString UnencodableMessage(QStringView text, qsizetype index, qsizetype line, qsizetype column,
                           FileEncoding encoding);

}  // namespace text
