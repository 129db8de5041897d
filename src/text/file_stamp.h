#pragma once

#include <QString>
#include <QtGlobal>

#include <optional>

struct stat;

// What a file was when the program last read or wrote it, to tell whether
// another program has changed it since. Taken from one stat() call; nothing
// reads the file's content.
namespace text {

struct FileStamp {
    qint64 size = 0;
    qint64 modifiedSeconds = 0;      // modification time: seconds since the epoch
    qint64 modifiedNanoseconds = 0;  // and the nanoseconds within that second
    quint64 inode = 0;
    quint64 device = 0;

    friend bool operator==(const FileStamp&, const FileStamp&) = default;
};

FileStamp StampOf(const struct stat& info);

// The stamp of the regular file at `path` (symbolic links followed), or
// nothing when there is none: missing, out of reach or not a regular file.
std::optional<FileStamp> ReadFileStamp(const QString& path);

enum class StampCheck {
    Same,     // the file is as stamped
    Changed,  // rewritten, replaced, or something else stands at the path
    Missing,  // nothing there (deleted, or its folder gone or out of reach)
};

// Whether the file at `path` still has `stamp`; one stat().
StampCheck CheckFileStamp(const QString& path, const FileStamp& stamp);

}  // namespace text
