#include "text/document_file.h"

#include "text/big5_codec.h"
#include "text/encoding_guess.h"
#include "text/line_split.h"
#include "text/utf8_validation.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>

using namespace Qt::StringLiterals;

namespace text {
namespace {

constexpr QByteArrayView kByteOrderMark("\xEF\xBB\xBF");

bool IsAscii(QByteArrayView bytes)
{
    return std::all_of(bytes.begin(), bytes.end(), [](char byte) { return uchar(byte) < 0x80; });
}

// Bytes already known to be valid UTF-8. A further mark after the one
// already removed is text and must stay.
QString DecodeUtf8(QByteArrayView bytes)
{
    QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::Stateless |
                                                       QStringConverter::Flag::ConvertInitialBom);
    return decoder(bytes);
}

// CR LF, lone CR and lone LF all end a line; inside the program a line
// break is "\n" only.
QString ToNewlines(QString text)
{
    if (!text.contains(u'\r')) return text;
    QChar* const data = text.data();
    const qsizetype size = text.size();
    qsizetype kept = 0;
    for (qsizetype i = 0; i < size; ++i) {
        if (data[i] == u'\r') {
            data[kept++] = u'\n';
            if (i + 1 < size && data[i + 1] == u'\n') ++i;
        } else {
            data[kept++] = data[i];
        }
    }
    text.truncate(kept);
    return text;
}

QString ToCrLf(QStringView text)
{
    QString converted;
    converted.reserve(text.size() + text.size() / 16 + 16);
    const qsizetype size = text.size();
    qsizetype start = 0;
    for (qsizetype i = 0; i < size; ++i) {
        const QChar c = text[i];
        if (c != u'\n' && c != u'\r') continue;
        converted += text.sliced(start, i - start);
        converted += u"\r\n";
        if (c == u'\r' && i + 1 < size && text[i + 1] == u'\n') ++i;
        start = i + 1;
    }
    converted += text.sliced(start);
    return converted;
}

qsizetype FirstLoneSurrogate(QStringView text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (!c.isSurrogate()) continue;
        if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            ++i;
            continue;
        }
        return i;
    }
    return -1;
}

// "的字元「X」(U+XXXX)" for the character at text[index].
QString CharacterText(QStringView text, qsizetype index)
{
    char32_t codePoint = text[index].unicode();
    QString shown = text.sliced(index, 1).toString();
    if (text[index].isHighSurrogate() && index + 1 < text.size() &&
        text[index + 1].isLowSurrogate()) {
        codePoint = QChar::surrogateToUcs4(text[index], text[index + 1]);
        shown = text.sliced(index, 2).toString();
    } else if (text[index].isSurrogate()) {
        shown = QString(QChar::ReplacementCharacter);  // half a character cannot be shown
    }
    const QString hex = QString::number(uint(codePoint), 16).toUpper().rightJustified(4, u'0');
    return u"的字元「%1」(U+%2)"_s.arg(shown, hex);
}

QString RefusalText(QStringView text, qsizetype index, qsizetype line, qsizetype column,
                    FileEncoding encoding)
{
    const QString where = u"第 %1 行第 %2 列"_s.arg(QString::number(line), QString::number(column));
    const bool big5 = encoding == FileEncoding::Big5;
    if (IsBig5Placeholder(text, index)) {
        // A byte of a Big5 file that was no character: in Big5 it would pair
        // with the one after it, and it has no UTF-8 form.
        const uint byte = text[index].unicode() - kBig5PlaceholderBase;
        return where + u"是原檔中不成字的位元組 0x%1，%2，檔案未寫入。"_s.arg(
                           QString::number(byte, 16).toUpper(),
                           big5 ? u"存成 Big5 會和後面的字合成另一個字"_s : u"無法以 UTF-8 儲存"_s);
    }
    if (big5) {
        return where + CharacterText(text, index) +
               u" 無法以 Big5 儲存，檔案未寫入。可在「檔案」選單的「儲存編碼」改用 UTF-8 儲存。"_s;
    }
    return where + CharacterText(text, index) + u" 無法以 UTF-8 儲存，檔案未寫入。"_s;
}

// A byte kept from a Big5 file is written back as it was read. Next to other
// bytes than it had in the file (an edit took its neighbour away), a lead
// byte can pair with the byte that now follows it into a character, which
// would change the text. The index in `text` of the first kept byte that
// does so in `bytes`, its encoding, or -1.
qsizetype FirstJoiningByte(QStringView text, QByteArrayView bytes)
{
    qsizetype kept = 0;
    while (kept < text.size() && !IsBig5Placeholder(text, kept)) ++kept;
    if (kept == text.size()) return -1;  // nothing kept, nothing to pair
    const QString back = DecodeBig5(bytes);
    const qsizetype same =
        std::mismatch(text.begin(), text.end(), back.begin(), back.end()).first - text.begin();
    return same == text.size() && back.size() == text.size() ? -1 : same;
}

// `text` has CR LF breaks here; line and column count from 1, the column in
// the same units as the editing area's caret positions.
QString UnencodableMessage(QStringView text, qsizetype index, FileEncoding encoding)
{
    const QStringView before = text.first(index);
    const qsizetype line = before.count(u'\n') + 1;
    const qsizetype column = index - (before.lastIndexOf(u'\n') + 1) + 1;
    return RefusalText(text, index, line, column, encoding);
}

// Which encoding DecodeDocument reads the bytes in. A byte-order mark before
// valid UTF-8 means UTF-8; a mark followed by bytes that are not UTF-8 is
// read as Big5 with the rest, so that those bytes too are written back
// unchanged. Valid UTF-8 that is Big5 too is UTF-8 only where it reads so;
// the UTF-8 text decoded to find that out is left in `utf8`, if given.
FileEncoding Detect(QByteArrayView bytes, QString* utf8)
{
    if (bytes.startsWith(kByteOrderMark))
        return IsValidUtf8(bytes.sliced(kByteOrderMark.size())) ? FileEncoding::Utf8Bom
                                                                : FileEncoding::Big5;
    if (!IsValidUtf8(bytes) || IsAscii(bytes)) return FileEncoding::Big5;
    if (!IsCleanBig5(bytes)) return FileEncoding::Utf8;
    QString decoded = DecodeUtf8(bytes);
    if (!ReadsAsUtf8Text(decoded)) return FileEncoding::Big5;
    if (utf8) *utf8 = std::move(decoded);
    return FileEncoding::Utf8;
}

// The bytes that hold the text: all but a byte-order mark.
QByteArrayView Body(QByteArrayView bytes, FileEncoding encoding)
{
    return encoding == FileEncoding::Utf8Bom ? bytes.sliced(kByteOrderMark.size()) : bytes;
}

}  // namespace

DocumentText DecodeDocument(QByteArrayView bytes)
{
    QString utf8;
    const FileEncoding encoding = Detect(bytes, &utf8);
    if (encoding == FileEncoding::Big5) return {ToNewlines(DecodeBig5(bytes)), encoding};
    if (utf8.isNull()) utf8 = DecodeUtf8(Body(bytes, encoding));
    return {ToNewlines(std::move(utf8)), encoding};
}

FileEncoding DocumentEncoding(QByteArrayView bytes)
{
    return Detect(bytes, nullptr);
}

DocumentPieces::DocumentPieces(QByteArrayView bytes)
    : m_encoding(DocumentEncoding(bytes)), m_rest(Body(bytes, m_encoding))
{
}

QString DocumentPieces::next(qsizetype bytes)
{
    // A line feed byte is a whole character in both encodings (never the
    // second byte of a Big5 code, never inside a UTF-8 sequence), and a CR LF
    // pair ends at it, so the pieces decode as the whole would.
    const qsizetype end = m_rest.indexOf('\n', std::max<qsizetype>(bytes, 1) - 1);
    const QByteArrayView piece = end < 0 ? m_rest : m_rest.first(end + 1);
    m_rest = m_rest.sliced(piece.size());
    return ToNewlines(m_encoding == FileEncoding::Big5 ? DecodeBig5(piece) : DecodeUtf8(piece));
}

std::optional<QByteArray> EncodeDocument(QStringView text, FileEncoding encoding, QString* error)
{
    const QString withCrLf = ToCrLf(text);
    if (encoding == FileEncoding::Big5) {
        Big5Encoded encoded = EncodeBig5(withCrLf, Unencodable::Fail);
        if (encoded.ok()) encoded.failedAt = FirstJoiningByte(withCrLf, encoded.bytes);
        if (!encoded.ok()) {
            if (error) *error = UnencodableMessage(withCrLf, encoded.failedAt, encoding);
            return std::nullopt;
        }
        return std::move(encoded.bytes);
    }
    // toUtf8 would write a lone surrogate as "?", silently changing the text.
    const qsizetype lone = FirstLoneSurrogate(withCrLf);
    if (lone >= 0) {
        if (error) *error = UnencodableMessage(withCrLf, lone, encoding);
        return std::nullopt;
    }
    QByteArray bytes;
    if (encoding == FileEncoding::Utf8Bom) bytes = kByteOrderMark.toByteArray();
    bytes += withCrLf.toUtf8();
    return bytes;
}

QString TooLargeReason(qint64 size)
{
    const auto megabytes = [](qint64 bytes) {
        return QString::number((bytes + (1 << 20) - 1) >> 20);
    };
    return u"大小 %1 MB，超過可編輯的上限 %2 MB"_s.arg(megabytes(size),
                                                       megabytes(kMaxDocumentBytes));
}

std::optional<QByteArray> ReadDocumentBytes(const QString& path, QString* error, QString* reason,
                                            FileStamp* stamp)
{
    const auto fail = [&](const QString& why) -> std::optional<QByteArray> {
        if (error) *error = u"Cannot open file "_s + path;
        if (reason) *reason = why;
        return std::nullopt;
    };
    // Folders, devices and pipes are no documents; reading a device such as
    // /dev/zero would never end.
    const QFileInfo info(path);
    if (path.isEmpty() || !info.exists()) return fail(qt_error_string(ENOENT));
    if (!info.isFile()) return fail(qt_error_string(info.isDir() ? EISDIR : EINVAL));
    if (info.size() > kMaxDocumentBytes) return fail(TooLargeReason(info.size()));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return fail(file.errorString());
    struct stat opened {};
    if (::fstat(file.handle(), &opened) != 0) return fail(qt_error_string(errno));
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) return fail(file.errorString());
    // It may have grown since it was measured.
    if (bytes.size() > kMaxDocumentBytes) return fail(TooLargeReason(bytes.size()));
    if (stamp) *stamp = StampOf(opened);
    return bytes;
}

std::optional<DocumentText> ReadDocumentFile(const QString& path, QString* error, QString* reason,
                                             FileStamp* stamp)
{
    const std::optional<QByteArray> bytes = ReadDocumentBytes(path, error, reason, stamp);
    if (!bytes) return std::nullopt;
    return DecodeDocument(*bytes);
}

std::optional<QStringList> ReadArticleLines(const QString& path, QString* error, QString* reason)
{
    std::optional<DocumentText> document = ReadDocumentFile(path, error, reason);
    if (!document) return std::nullopt;
    return SplitLines(document->text);
}

qsizetype FirstUnencodable(QStringView text, FileEncoding encoding)
{
    if (encoding == FileEncoding::Big5) {
        const Big5Encoded encoded = EncodeBig5(text, Unencodable::Fail);
        return encoded.ok() ? FirstJoiningByte(text, encoded.bytes) : encoded.failedAt;
    }
    return FirstLoneSurrogate(text);
}

QString UnencodableMessage(QStringView text, qsizetype index, qsizetype line, qsizetype column,
                           FileEncoding encoding)
{
    return RefusalText(text, index, line, column, encoding);
}

}  // namespace text
