// Saves that keep the file: owner, group, mode, extended attributes and hard links, writing in
// place where a new file could not keep them, and the system's reason when a
// save fails. Run as the superuser, the tests also save as another user; where
// that is not possible they skip.
#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "text/document_file.h"
#include "text/recovery_folder.h"

#include <pwd.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

using namespace Qt::Literals::StringLiterals;
using text::FileEncoding;
using text::WriteDocumentFile;

namespace {

struct stat Stat(const QString& path)
{
    struct stat info {};
    EXPECT_EQ(::stat(QFile::encodeName(path).constData(), &info), 0) << path.toStdString();
    return info;
}

QByteArray ReadAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

void WriteAll(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_EQ(file.write(bytes), bytes.size());
}

// The unprivileged account the superuser can save as.
const passwd* OtherUser()
{
    return geteuid() == 0 ? getpwnam("nobody") : nullptr;
}

class DocumentSaveTest : public ::testing::Test {
protected:
    QTemporaryDir m_dir;
    QTemporaryDir m_state;

    void SetUp() override
    {
        qputenv("XDG_STATE_HOME", m_state.path().toLocal8Bit());
        // Reachable by the other user.
        ::chmod(QFile::encodeName(m_dir.path()).constData(), 0777);
    }
    void TearDown() override { qunsetenv("XDG_STATE_HOME"); }

    QString path(const QString& name) const { return m_dir.filePath(name); }
    QStringList backups() const { return QDir(text::RecoveryFolder()).entryList(QDir::Files); }
};

TEST_F(DocumentSaveTest, OwnerGroupModeAndHardLinksAreKept)
{
    struct Case {
        const char* name;
        uid_t owner;
        gid_t group;
        mode_t mode;
        bool linked;
    };
    const passwd* other = OtherUser();
    const Case cases[] = {
        {"own.txt", geteuid(), getegid(), 0640, false},
        {"setgid.txt", geteuid(), getegid(), 02644, false},
        {"linked.txt", geteuid(), getegid(), 0600, true},
        {"theirs.txt", other ? other->pw_uid : geteuid(), other ? other->pw_gid : getegid(), 0640,
         false},
        {"theirs-linked.txt", other ? other->pw_uid : geteuid(), other ? other->pw_gid : getegid(),
         0604, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QString target = path(QString::fromLatin1(c.name));
        WriteAll(target, "old");
        const QByteArray name = QFile::encodeName(target);
        ASSERT_EQ(::chown(name.constData(), c.owner, c.group), 0);
        ASSERT_EQ(::chmod(name.constData(), c.mode), 0);
        const QString link = target + u".link"_s;
        if (c.linked) {
            ASSERT_EQ(::link(name.constData(), QFile::encodeName(link).constData()), 0);
        }

        QString error;
        ASSERT_TRUE(WriteDocumentFile(target, u"new\n"_s, FileEncoding::Big5, &error))
            << error.toStdString();
        EXPECT_EQ(ReadAll(target), "new\r\n");
        const struct stat after = Stat(target);
        EXPECT_EQ(after.st_uid, c.owner);
        EXPECT_EQ(after.st_gid, c.group);
        EXPECT_EQ(after.st_mode & 07777, c.mode);
        if (c.linked) {
            EXPECT_EQ(ReadAll(link), "new\r\n");
            EXPECT_EQ(after.st_nlink, 2u);
        }
    }
    EXPECT_EQ(backups(), QStringList());
}

TEST_F(DocumentSaveTest, UserAttributesAreKeptAcrossAReplacingSave)
{
    const QString target = path(u"tagged.txt"_s);
    WriteAll(target, "old");
    const QByteArray name = QFile::encodeName(target);
    const struct {
        const char* name;
        QByteArray value;
    } attributes[] = {{"user.origin", "https://example.org/forum"}, {"user.empty", ""}};
    for (const auto& attribute : attributes) {
        if (::setxattr(name.constData(), attribute.name, attribute.value.constData(),
                       size_t(attribute.value.size()), 0) != 0)
            GTEST_SKIP() << "the file system of " << m_dir.path().toStdString()
                         << " refuses user attributes: " << std::strerror(errno);
    }
    const ino_t before = Stat(target).st_ino;

    QString error;
    ASSERT_TRUE(WriteDocumentFile(target, u"new"_s, FileEncoding::Big5, &error))
        << error.toStdString();
    EXPECT_NE(Stat(target).st_ino, before);  // really a new file
    for (const auto& attribute : attributes) {
        char value[64] = {};
        const ssize_t size = ::getxattr(name.constData(), attribute.name, value, sizeof value);
        EXPECT_EQ(QByteArray(value, qMax<ssize_t>(size, 0)), attribute.value) << attribute.name;
        EXPECT_EQ(size, attribute.value.size()) << attribute.name;
    }
}

// Saved by another user who may write the file but not give a new file its
// owner, nor write into its folder: the file is written in place.
TEST_F(DocumentSaveTest, AFileOfAnotherOwnerIsWrittenInPlace)
{
    const passwd* other = OtherUser();
    if (!other) GTEST_SKIP() << "needs the superuser and the account nobody";
    const QString target = path(u"shared.txt"_s);
    WriteAll(target, "old");
    ASSERT_EQ(::chmod(QFile::encodeName(target).constData(), 0666), 0);
    const QString lockedFolder = path(u"locked"_s);
    ASSERT_TRUE(QDir().mkdir(lockedFolder));
    WriteAll(lockedFolder + u"/in-locked.txt"_s, "old");
    ASSERT_EQ(::chmod(QFile::encodeName(lockedFolder + u"/in-locked.txt"_s).constData(), 0666), 0);
    ASSERT_EQ(::chmod(QFile::encodeName(m_state.path()).constData(), 0777), 0);

    const auto saveAsOther = [&] {
        if (setgid(other->pw_gid) != 0 || setuid(other->pw_uid) != 0) std::exit(2);
        for (const QString& file : {target, lockedFolder + u"/in-locked.txt"_s}) {
            QString error;
            if (!WriteDocumentFile(file, u"new"_s, FileEncoding::Big5, &error)) {
                std::fprintf(stderr, "%s\n", qPrintable(error));
                std::exit(3);
            }
        }
        std::exit(0);
    };
    EXPECT_EXIT(saveAsOther(), ::testing::ExitedWithCode(0), "");
    for (const QString& file : {target, lockedFolder + u"/in-locked.txt"_s}) {
        EXPECT_EQ(ReadAll(file), "new");
        EXPECT_EQ(Stat(file).st_uid, geteuid());
        EXPECT_EQ(Stat(file).st_mode & 07777, 0666u);
    }
    EXPECT_EQ(QDir(lockedFolder).entryList(QDir::Files | QDir::Hidden),
              QStringList{u"in-locked.txt"_s});
}

// A small file system that fills up part way through a save.
class FullDiskTest : public DocumentSaveTest {
protected:
    QString m_disk;

    void SetUp() override
    {
        DocumentSaveTest::SetUp();
        m_disk = path(u"disk"_s);
        ASSERT_TRUE(QDir().mkdir(m_disk));
        if (geteuid() != 0 ||
            ::mount("tmpfs", QFile::encodeName(m_disk).constData(), "tmpfs", 0, "size=64k") != 0)
            GTEST_SKIP() << "cannot mount a small file system here";
    }
    void TearDown() override
    {
        ::umount(QFile::encodeName(m_disk).constData());
        DocumentSaveTest::TearDown();
    }
};

TEST_F(FullDiskTest, TheReasonIsGivenAndTheOldBytesAreKept)
{
    const QString big = QString(200 * 1024, u'x');
    const QString replaced = m_disk + u"/post.txt"_s;
    WriteAll(replaced, "old");
    QString error;
    QString reason;
    EXPECT_FALSE(WriteDocumentFile(replaced, big, FileEncoding::Big5, &error, &reason));
    EXPECT_EQ(error, u"Cannot create file "_s + replaced);
    EXPECT_TRUE(reason.startsWith(qt_error_string(ENOSPC))) << reason.toStdString();
    EXPECT_EQ(ReadAll(replaced), "old");
    EXPECT_EQ(QDir(m_disk).entryList(QDir::Files | QDir::Hidden), QStringList{u"post.txt"_s});

    // Written in place because of its second link, it fails part way; the
    // old bytes wait in the backup the reason names.
    const QString linked = m_disk + u"/linked.txt"_s;
    WriteAll(linked, "old linked");
    ASSERT_EQ(::link(QFile::encodeName(linked).constData(),
                     QFile::encodeName(linked + u"2"_s).constData()),
              0);
    EXPECT_FALSE(WriteDocumentFile(linked, big, FileEncoding::Big5, &error, &reason));
    EXPECT_TRUE(reason.startsWith(qt_error_string(ENOSPC))) << reason.toStdString();
    ASSERT_EQ(backups().size(), 1);
    const QString backup = text::RecoveryFolder() + u'/' + backups().first();
    EXPECT_TRUE(reason.contains(backup)) << reason.toStdString();
    EXPECT_EQ(ReadAll(backup), "old linked");
}

}  // namespace
