#include "text/file_stamp.h"

#include <QFile>

#include <sys/stat.h>

namespace text {

FileStamp StampOf(const struct stat& info)
{
    return {qint64(info.st_size), qint64(info.st_mtim.tv_sec), qint64(info.st_mtim.tv_nsec),
            quint64(info.st_ino), quint64(info.st_dev)};
}

std::optional<FileStamp> ReadFileStamp(const QString& path)
{
    struct stat info {};
    if (path.isEmpty() || ::stat(QFile::encodeName(path).constData(), &info) != 0 ||
        !S_ISREG(info.st_mode))
        return std::nullopt;
    return StampOf(info);
}

StampCheck CheckFileStamp(const QString& path, const FileStamp& stamp)
{
    struct stat info {};
    if (path.isEmpty() || ::stat(QFile::encodeName(path).constData(), &info) != 0)
        return StampCheck::Missing;
    // A folder or a device in the file's place is not the file.
    if (!S_ISREG(info.st_mode)) return StampCheck::Changed;
    return StampOf(info) == stamp ? StampCheck::Same : StampCheck::Changed;
}

}  // namespace text
