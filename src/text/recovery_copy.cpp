#include "text/recovery_copy.h"

#include <QDataStream>
#include <QFile>
#include <QSaveFile>
#include <QSysInfo>
#include <QtEndian>
#include <algorithm>

namespace text {

namespace {

constexpr char kMagic[4] = {'Q', 'P', 'R', 'C'};
constexpr quint32 kFormat = 1;

// Text is stored as UTF-16, little-endian: any QString comes back exactly,
// lone surrogates included.
void ToLittleEndian(QString& text)
{
    if constexpr (QSysInfo::ByteOrder == QSysInfo::BigEndian) {
        char16_t* const units = reinterpret_cast<char16_t*>(text.data());
        qToLittleEndian<char16_t>(units, text.size(), units);
    } else {
        Q_UNUSED(text);
    }
}

}  // namespace

bool WriteRecoveryCopy(const QString& path, const QStringList& textPieces, const QString& fileName,
                       FileEncoding encoding)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return false;
    file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    QDataStream out(&file);
    out.setVersion(QDataStream::Qt_6_0);
    out.writeRawData(kMagic, sizeof kMagic);
    qint64 length = 0;
    for (const QString& piece : textPieces) length += piece.size();
    out << kFormat << fileName << qint32(encoding) << length;
    for (QString piece : textPieces) {
        piece.replace(QChar::ParagraphSeparator, u'\n');
        ToLittleEndian(piece);
        out.writeRawData(reinterpret_cast<const char*>(piece.constData()), int(piece.size() * 2));
    }
    return out.status() == QDataStream::Ok && file.commit();
}

std::optional<RecoveryCopy> ReadRecoveryCopy(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
    QDataStream in(&file);
    in.setVersion(QDataStream::Qt_6_0);
    char magic[sizeof kMagic] = {};
    if (in.readRawData(magic, sizeof magic) != sizeof magic ||
        !std::equal(magic, magic + sizeof magic, kMagic))
        return std::nullopt;
    quint32 format = 0;
    RecoveryCopy copy;
    qint32 encoding = 0;
    qint64 length = -1;
    in >> format >> copy.fileName >> encoding >> length;
    if (in.status() != QDataStream::Ok || format != kFormat || length < 0 ||
        file.size() - file.pos() != length * 2)
        return std::nullopt;
    copy.encoding = static_cast<FileEncoding>(encoding);
    copy.text.resize(length);
    if (in.readRawData(reinterpret_cast<char*>(copy.text.data()), int(length * 2)) != length * 2)
        return std::nullopt;
    ToLittleEndian(copy.text);
    return copy;
}

}  // namespace text
