// Saving a document file without losing the old one or what it was: its
// owner, group, mode, extended attributes and hard links.
#include "text/document_file.h"
#include "text/recovery_folder.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <cerrno>
#include <memory>
#include <optional>
#include <utility>

using namespace Qt::Literals::StringLiterals;

namespace text {
namespace {

// Permission bits as well as access(): the superuser passes access() on
// every file, yet a file or folder without any write bit is read-only here.
bool IsWritable(const QFileInfo& info)
{
    const auto writeBits = QFile::WriteOwner | QFile::WriteGroup | QFile::WriteOther;
    return info.isWritable() && (info.permissions() & writeBits);
}

// The file a save will replace: QSaveFile writes to the end of a chain of
// symbolic links, so the checks must look at that file and its folder.
QFileInfo SaveTarget(const QString& path)
{
    QFileInfo info(path);
    for (int depth = 0; depth < 64 && info.isSymLink(); ++depth)
        info = QFileInfo(info.symLinkTarget());
    return info;
}

QString SystemReason(int error)
{
    return qt_error_string(error);
}

struct Failure {
    QString reason;
};

// Writes all bytes at `offset` in the file; 0 or the system's error.
int WriteAt(int handle, QByteArrayView bytes, qint64 offset = 0)
{
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t written = ::pwrite(handle, bytes.data() + done, size_t(bytes.size() - done),
                                         off_t(offset + done));
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return written < 0 ? errno : ENOSPC;
        done += written;
    }
    return 0;
}

// Asks a size-then-fill call such as listxattr or getxattr for the whole
// answer, again if it grew in between; nothing when the call fails.
template <class Call>
std::optional<QByteArray> AskWhole(Call call)
{
    for (int attempt = 0; attempt < 4; ++attempt) {
        const ssize_t size = call(nullptr, 0);
        if (size <= 0) return size == 0 ? std::optional(QByteArray()) : std::nullopt;
        QByteArray answer(size, Qt::Uninitialized);
        const ssize_t got = call(answer.data(), size_t(answer.size()));
        if (got >= 0) return answer.left(got);
        if (errno != ERANGE) return std::nullopt;
    }
    return std::nullopt;
}

// The ACL a new file takes from its folder's default ACL; the old file's
// access was its mode alone when it had none.
constexpr char kAccessAcl[] = "system.posix_acl_access";

// Gives the new file every extended attribute of the old one that the
// program may read; one the file system or the program's rights refuse is
// left out and the others are still given.
void CopyExtendedAttributes(const QByteArray& oldFile, int handle)
{
    const char* const from = oldFile.constData();
    const std::optional<QByteArray> names =
        AskWhole([&](char* list, size_t size) { return ::listxattr(from, list, size); });
    bool hadAccessAcl = false;
    for (const QByteArray& name : names.value_or(QByteArray()).split('\0')) {
        if (name.isEmpty()) continue;
        hadAccessAcl |= name == kAccessAcl;
        const std::optional<QByteArray> value = AskWhole([&](char* data, size_t size) {
            return ::getxattr(from, name.constData(), data, size);
        });
        if (value)
            ::fsetxattr(handle, name.constData(), value->constData(), size_t(value->size()), 0);
    }
    if (!hadAccessAcl) ::fremovexattr(handle, kAccessAcl);
}

// The new file beside the old one, given the old file's owner, group and
// mode before anything is written to it. Empty, with no failure, when the
// owner or group cannot be given.
std::unique_ptr<QSaveFile> OpenReplacing(const QString& path, const struct stat* old,
                                         Failure* failure)
{
    auto file = std::make_unique<QSaveFile>(path);
    // Unbuffered, so that the bytes go through WriteAt and its error is
    // the system's own.
    if (!file->open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        failure->reason = file->errorString();
        return nullptr;
    }
    if (old) {
        const int handle = file->handle();
        const bool sameOwner = old->st_uid == geteuid() && old->st_gid == getegid();
        if (!sameOwner && fchown(handle, old->st_uid, old->st_gid) != 0) {
            file->cancelWriting();
            return nullptr;
        }
        // After fchown, which clears the set-user and set-group bits.
        if (fchmod(handle, old->st_mode & 07777) != 0) {
            failure->reason = SystemReason(errno);
            file->cancelWriting();
            return nullptr;
        }
    }
    return file;
}

// Renames the written file over the old one, giving it the old one's
// extended attributes first.
bool CommitReplacing(QSaveFile& file, const struct stat* old, const QByteArray& oldFile,
                     Failure* failure, FileStamp* stamp)
{
    // After writing, which would clear a capability attribute.
    if (old) CopyExtendedAttributes(oldFile, file.handle());
    // Renaming keeps the modification time and the inode.
    struct stat written {};
    const bool stamped = ::fstat(file.handle(), &written) == 0;
    if (!file.commit()) {
        failure->reason = file.errorString();
        return false;
    }
    if (stamp) *stamp = stamped ? StampOf(written) : FileStamp{};
    return true;
}

// Copies the old bytes into the recovery folder; the backup's path, or empty
// with `failure` set.
QString BackUp(const QString& path, Failure* failure)
{
    QFile old(path);
    if (!old.open(QIODevice::ReadOnly)) {
        failure->reason = old.errorString();
        return {};
    }
    const QByteArray bytes = old.readAll();
    if (old.error() != QFileDevice::NoError) {
        failure->reason = old.errorString();
        return {};
    }
    const QString folder = RecoveryFolder();
    if (!QDir().mkpath(folder)) {
        failure->reason = SystemReason(errno) + u" ("_s + folder + u')';
        return {};
    }
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    const QString backup =
        u"%1/%2.%3.%4.bak"_s.arg(folder, QFileInfo(path).fileName(), QString::number(::getpid()),
                                 QString::number(QDateTime::currentMSecsSinceEpoch()));
    QSaveFile copy(backup);
    if (!copy.open(QIODevice::WriteOnly) || copy.write(bytes) != bytes.size() || !copy.commit()) {
        failure->reason = copy.errorString();
        return {};
    }
    return backup;
}

// Overwrites the file itself: same inode, so owner, group, mode and every
// hard link stay as they were.
bool WriteInPlace(const QString& path, const QByteArray& bytes, Failure* failure, FileStamp* stamp)
{
    const QByteArray name = QFile::encodeName(path);
    const int handle = ::open(name.constData(), O_WRONLY | O_CLOEXEC);
    if (handle < 0) {
        failure->reason = SystemReason(errno);
        return false;
    }
    int error = WriteAt(handle, bytes);
    if (!error && ::ftruncate(handle, off_t(bytes.size())) != 0) error = errno;
    if (!error && ::fsync(handle) != 0) error = errno;
    struct stat written {};
    if (!error && stamp) *stamp = ::fstat(handle, &written) == 0 ? StampOf(written) : FileStamp{};
    if (::close(handle) != 0 && !error) error = errno;
    if (error) failure->reason = SystemReason(error);
    return !error;
}

}  // namespace

bool WriteDocumentFile(const QString& path, QStringView text, FileEncoding encoding, QString* error,
                       QString* reason, FileStamp* stamp)
{
    const std::optional<QByteArray> bytes = EncodeDocument(text, encoding, error);
    return bytes && WriteDocumentBytes(path, *bytes, error, reason, stamp);
}

// One save under way: the new file beside the old one, or the bytes held
// for writing the old one in place.
struct DocumentFileWriter::Save {
    QString path;
    QFileInfo target;
    QByteArray oldFile;
    struct stat old {};
    bool exists = false;
    std::unique_ptr<QSaveFile> file;
    qint64 written = 0;
    bool inPlace = false;
    QByteArray held;

    bool fail(QString* error, QString* reason, const QString& why)
    {
        if (error) *error = u"Cannot create file "_s + path;
        if (reason) *reason = why;
        file.reset();
        held.clear();
        return false;
    }
};

DocumentFileWriter::DocumentFileWriter(const QString& path) : m_save(std::make_unique<Save>())
{
    m_save->path = path;
}

// Without commit() the new file goes (QSaveFile removes it) and the old one
// stays.
DocumentFileWriter::~DocumentFileWriter() = default;

bool DocumentFileWriter::open(QString* error, QString* reason)
{
    Save& save = *m_save;
    const auto fail = [&](const QString& why) { return save.fail(error, reason, why); };
    if (save.path.isEmpty()) return fail(SystemReason(ENOENT));
    save.target = SaveTarget(save.path);
    const QFileInfo& target = save.target;
    if (target.exists() && !target.isFile())
        return fail(SystemReason(target.isDir() ? EISDIR : EINVAL));
    // QSaveFile renames its temporary file over the old one, which the folder
    // allows even when the file itself is read-only; a read-only file must
    // stay as it is.
    if (target.exists() && !IsWritable(target)) return fail(SystemReason(EACCES));
    const QFileInfo folder(target.absolutePath());
    if (!folder.isDir()) return fail(SystemReason(ENOENT));
    const bool folderWritable = IsWritable(folder);

    Failure failure;
    save.oldFile = QFile::encodeName(target.absoluteFilePath());
    save.exists = ::stat(save.oldFile.constData(), &save.old) == 0;
    if (!save.exists) {
        if (!folderWritable) return fail(SystemReason(EACCES));
        save.file = OpenReplacing(save.path, nullptr, &failure);
        return save.file || fail(failure.reason);
    }
    if (save.old.st_nlink == 1 && folderWritable) {
        save.file = OpenReplacing(save.path, &save.old, &failure);
        if (save.file) return true;
        if (!failure.reason.isEmpty()) return fail(failure.reason);
        // The owner or group cannot be given back: write in place instead.
    }
    save.inPlace = true;
    return true;
}

bool DocumentFileWriter::write(QByteArrayView bytes, QString* error, QString* reason)
{
    Save& save = *m_save;
    if (save.inPlace) {
        save.held.append(bytes);
        return true;
    }
    if (!save.file) return save.fail(error, reason, SystemReason(EBADF));
    if (const int failed = WriteAt(save.file->handle(), bytes, save.written)) {
        save.file->cancelWriting();
        return save.fail(error, reason, SystemReason(failed));
    }
    save.written += bytes.size();
    return true;
}

bool DocumentFileWriter::commit(QString* error, QString* reason, FileStamp* stamp)
{
    Save& save = *m_save;
    const auto fail = [&](const QString& why) { return save.fail(error, reason, why); };
    Failure failure;
    if (!save.inPlace) {
        if (!save.file) return fail(SystemReason(EBADF));
        const bool committed = CommitReplacing(*save.file, save.exists ? &save.old : nullptr,
                                               save.oldFile, &failure, stamp);
        save.file.reset();
        return committed || fail(failure.reason);
    }
    const QString target = save.target.absoluteFilePath();
    const QString backup = BackUp(target, &failure);
    if (backup.isEmpty()) return fail(failure.reason + u"\n舊檔無法先行備份，檔案未寫入。"_s);
    const QByteArray bytes = std::exchange(save.held, {});
    if (!WriteInPlace(target, bytes, &failure, stamp))
        return fail(failure.reason + u"\n檔案已就地寫入一部分；原有內容備份在 "_s + backup);
    QFile::remove(backup);
    return true;
}

bool WriteDocumentBytes(const QString& path, const QByteArray& bytes, QString* error,
                        QString* reason, FileStamp* stamp)
{
    DocumentFileWriter writer(path);
    return writer.open(error, reason) && writer.write(bytes, error, reason) &&
           writer.commit(error, reason, stamp);
}

}  // namespace text
