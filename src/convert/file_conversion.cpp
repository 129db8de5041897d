#include "convert/file_conversion.h"

#include "convert/chinese_script.h"
#include "convert/post_export.h"

#include <unistd.h>
#include <cerrno>
#include <optional>

#ifdef __GLIBC__
#include <malloc.h>
#endif

#include "convert/ybb_to_html.h"

using namespace Qt::StringLiterals;

namespace convert {
namespace {

// The name standing for the standard input and output.
const QString kStandardStream = u"-"_s;

// How much of the file is decoded, converted and encoded at a time: small
// beside a long document, large beside the cost of a pass.
constexpr qsizetype kPieceBytes = 256 * 1024;

const QString kPageStart = u"<HTML><body><Pre>"_s;
const QString kPageEnd = u"</Pre></body></HTML>"_s;

bool Fail(QString* error, QString* reason, const QString& what, const QString& why)
{
    if (error) *error = what;
    if (reason) *reason = why;
    return false;
}

// The whole standard input, refused past the size Open takes.
std::optional<QByteArray> ReadStandardInput(QString* error, QString* reason)
{
    const QString what = u"Cannot open file "_s + kStandardStream;
    QByteArray bytes;
    qsizetype used = 0;
    for (;;) {
        if (bytes.size() - used < kPieceBytes) bytes.resize(used + 4 * kPieceBytes + used / 2);
        const ssize_t got = ::read(STDIN_FILENO, bytes.data() + used, size_t(bytes.size() - used));
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) {
            Fail(error, reason, what, qt_error_string(errno));
            return std::nullopt;
        }
        if (got == 0) break;
        used += got;
        if (used > text::kMaxDocumentBytes) {
            Fail(error, reason, what, text::TooLargeReason(used));
            return std::nullopt;
        }
    }
    bytes.resize(used);
    bytes.squeeze();
    return bytes;
}

// Every piece makes buffers of a few hundred KB. The C library would map
// each anew and give it back when freed, and the system would fault its pages
// in again for every piece; kept in the heap they are used again, which
// halves the time of a long conversion. Only this process, which does
// nothing else, is tuned so.
void KeepPieceBuffers()
{
#ifdef __GLIBC__
    mallopt(M_MMAP_THRESHOLD, 4 * 1024 * 1024);
    mallopt(M_TRIM_THRESHOLD, 64 * 1024 * 1024);
#endif
}

bool WriteStandardOutput(const QByteArray& bytes, QString* error, QString* reason)
{
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t written =
            ::write(STDOUT_FILENO, bytes.constData() + done, size_t(bytes.size() - done));
        if (written < 0 && errno == EINTR) continue;
        if (written < 0)
            return Fail(error, reason, u"Cannot create file "_s + kStandardStream,
                        qt_error_string(errno));
        done += written;
    }
    return true;
}

}  // namespace

namespace {

const QString kNoOpenCC = QStringLiteral("找不到 OpenCC 的轉換表（Debian 套件 libopencc-data）");

std::optional<ScriptConversion> ScriptOf(FileConversion conversion)
{
    switch (conversion) {
        case FileConversion::ScriptToTaiwan:
            return ScriptConversion::SimplifiedToTaiwan;
        case FileConversion::ScriptToHongKong:
            return ScriptConversion::SimplifiedToHongKong;
        case FileConversion::ScriptToSimplified:
            return ScriptConversion::TraditionalToSimplified;
        case FileConversion::ScriptToTaiwanStandard:
            return ScriptConversion::TraditionalToTaiwan;
        default:
            return std::nullopt;
    }
}

}  // namespace

DocumentConversion::DocumentConversion(FileConversion conversion, text::FileEncoding encoding)
    : m_conversion(conversion), m_encoding(encoding)
{
}

bool DocumentConversion::add(const QString& piece, QByteArray& bytes, QString* error)
{
    if (!piece.isEmpty()) m_endsInLine = piece.back() != u'\n';
    if (IsExport(m_conversion)) {
        m_post += piece;
        return true;
    }
    if (const auto script = ScriptOf(m_conversion)) {
        // No tag goes on across a line break, nor so a piece's end.
        const std::optional<QString> converted = ConvertScript(piece, *script);
        if (!converted) {
            if (error) *error = kNoOpenCC;
            return false;
        }
        return encode(*converted, bytes, error);
    }
    if (m_conversion == FileConversion::HtmlToText) {
        QString stripped;
        stripped.reserve(piece.size());
        m_stripper.add(piece, stripped);
        return encode(stripped, bytes, error);
    }
    // No search text of the converter holds a line break, so pieces that
    // end after one convert as the whole text would.
    if (!m_started && !encode(kPageStart, bytes, error)) return false;
    return encode(ConvertYbbToHtml(piece), bytes, error);
}

bool DocumentConversion::finish(QByteArray& bytes, QString* error)
{
    if (ScriptOf(m_conversion)) return encode(u"", bytes, error);
    if (IsExport(m_conversion)) {
        const Dialect dialect = m_conversion == FileConversion::ToBBCode   ? Dialect::BBCode
                                : m_conversion == FileConversion::ToDiscuz ? Dialect::Discuz
                                                                           : Dialect::Markdown;
        const QString post = std::exchange(m_post, {});
        QString text = ExportPost(post, dialect).text;
        // A file's last line ends as the post's did.
        if (post.endsWith(u'\n') && !text.isEmpty() && !text.endsWith(u'\n')) text += u'\n';
        return encode(text, bytes, error);
    }
    if (m_conversion == FileConversion::HtmlToText) {
        QString rest;
        m_stripper.finish(rest);
        return encode(rest, bytes, error);
    }
    if (!m_started && !encode(kPageStart, bytes, error)) return false;
    // The command takes every line with its line break, the last one too.
    if (m_endsInLine && !encode(u"\n", bytes, error)) return false;
    return encode(kPageEnd, bytes, error);
}

bool DocumentConversion::encode(QStringView converted, QByteArray& bytes, QString* error)
{
    // A byte-order mark read is written back once, at the start.
    if (!m_started && m_encoding == text::FileEncoding::Utf8Bom) bytes += "\xEF\xBB\xBF";
    m_started = true;
    const text::FileEncoding encoding =
        m_encoding == text::FileEncoding::Big5 ? m_encoding : text::FileEncoding::Utf8;
    const std::optional<QByteArray> encoded = text::EncodeDocument(converted, encoding, nullptr);
    const qsizetype lastBreak = converted.lastIndexOf(u'\n');
    if (encoded) {
        bytes += *encoded;
        m_line += converted.count(u'\n');
        m_lineLength =
            lastBreak < 0 ? m_lineLength + converted.size() : converted.size() - lastBreak - 1;
        return true;
    }
    if (error) {
        const qsizetype at = text::FirstUnencodable(converted, encoding);
        const QStringView before = converted.first(at);
        const qsizetype breakBefore = before.lastIndexOf(u'\n');
        const qsizetype column = breakBefore < 0 ? m_lineLength + at : at - breakBefore - 1;
        *error = text::UnencodableMessage(converted, at, m_line + before.count(u'\n'), column + 1,
                                          encoding);
    }
    return false;
}

bool ConvertFile(FileConversion conversion, const QString& input, const QString& output,
                 QString* error, QString* reason)
{
    const std::optional<QByteArray> bytes = input == kStandardStream
                                                ? ReadStandardInput(error, reason)
                                                : text::ReadDocumentBytes(input, error, reason);
    if (!bytes) return false;
    KeepPieceBuffers();
    text::DocumentPieces pieces(*bytes);
    DocumentConversion converting(conversion, pieces.encoding());
    const bool toStandardOutput = output == kStandardStream;
    // The standard output gets the pieces as they come; a file gets them in
    // its new copy, which replaces it once the conversion has succeeded.
    // A file that cannot be made is reported only after the conversion:
    // a refused character, which leaves the file alone as well, is named
    // first.
    std::optional<text::DocumentFileWriter> file;
    QString fileError, fileReason;
    if (!toStandardOutput) {
        file.emplace(output);
        if (!file->open(&fileError, &fileReason)) file.reset();
    }
    const auto failedFile = [&] {
        if (error) *error = fileError;
        if (reason) *reason = fileReason;
        return false;
    };
    const auto put = [&](const QByteArray& piece) {
        if (toStandardOutput) return WriteStandardOutput(piece, error, reason);
        if (file && !file->write(piece, &fileError, &fileReason)) file.reset();
        return true;
    };
    const auto refused = [&] {
        if (reason) reason->clear();
        return false;
    };
    QByteArray piece;
    while (!pieces.atEnd()) {
        if (!converting.add(pieces.next(kPieceBytes), piece, error)) return refused();
        if (!put(piece)) return false;
        piece.resize(0);
    }
    if (!converting.finish(piece, error)) return refused();
    if (!put(piece)) return false;
    if (toStandardOutput) return true;
    if (!file || !file->commit(&fileError, &fileReason)) return failedFile();
    return true;
}

}  // namespace convert
