#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "text/big5_codec.h"
#include "text/document_file.h"
#include "text/recovery_folder.h"

#include <sys/resource.h>
#include <csignal>

using namespace Qt::Literals::StringLiterals;
using text::FileEncoding;
using text::ReadArticleLines;
using text::ReadDocumentFile;
using text::RecoveryFolder;
using text::WriteDocumentFile;

namespace {

class DocumentFileTest : public ::testing::Test {
protected:
    QTemporaryDir m_dir;
    QTemporaryDir m_state;  // backups of files written in place go below it

    void SetUp() override { qputenv("XDG_STATE_HOME", m_state.path().toLocal8Bit()); }

    void TearDown() override
    {
        qunsetenv("XDG_STATE_HOME");
        // Read-only folders made by a test must be removable afterwards.
        QFile::setPermissions(m_dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QFile::setPermissions(path(u"locked"_s),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }

    QString path(const QString& name) const { return m_dir.filePath(name); }

    static void writeRaw(const QString& path, const QByteArray& bytes)
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        ASSERT_EQ(file.write(bytes), bytes.size());
    }

    static QByteArray readRaw(const QString& path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
    }

    QStringList entries() const
    {
        return QDir(m_dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    }

    // Writes `text` to `target` expecting "Cannot create file" and no change.
    void expectCannotCreate(const QString& target, const QString& text = u"new\n"_s)
    {
        QString error;
        EXPECT_FALSE(WriteDocumentFile(target, text, FileEncoding::Big5, &error));
        EXPECT_EQ(error, u"Cannot create file "_s + target);
    }
};

TEST_F(DocumentFileTest, Big5FileReadAndSavedUnchangedKeepsItsBytes)
{
    const QByteArray bytes =
        text::EncodeBig5(u"發表時間：\r\n【測試】\r\n"_s, text::Unencodable::Fail).bytes +
        "\xA3\xC0\x81\r\n";
    writeRaw(path(u"post.txt"_s), bytes);

    QString error;
    const std::optional<text::DocumentText> read = ReadDocumentFile(path(u"post.txt"_s), &error);
    ASSERT_TRUE(read) << error.toStdString();
    EXPECT_EQ(read->encoding, FileEncoding::Big5);
    EXPECT_TRUE(read->text.startsWith(u"發表時間：\n【測試】\n"_s));

    ASSERT_TRUE(WriteDocumentFile(path(u"post.txt"_s), read->text, read->encoding, &error));
    EXPECT_EQ(readRaw(path(u"post.txt"_s)), bytes);
}

TEST_F(DocumentFileTest, Utf8FileIsSavedAsUtf8WithItsMark)
{
    const QByteArray bytes = "\xEF\xBB\xBF" + u"😀 中文\r\n"_s.toUtf8();
    writeRaw(path(u"utf8.txt"_s), bytes);
    QString error;
    const std::optional<text::DocumentText> read = ReadDocumentFile(path(u"utf8.txt"_s), &error);
    ASSERT_TRUE(read);
    EXPECT_EQ(read->encoding, FileEncoding::Utf8Bom);
    ASSERT_TRUE(WriteDocumentFile(path(u"utf8.txt"_s), read->text, read->encoding, &error));
    EXPECT_EQ(readRaw(path(u"utf8.txt"_s)), bytes);
}

TEST_F(DocumentFileTest, NewFileIsCreatedAndEmptyDocumentWritesAnEmptyFile)
{
    QString error;
    ASSERT_TRUE(WriteDocumentFile(path(u"new.txt"_s), u"中\n"_s, FileEncoding::Big5, &error));
    EXPECT_EQ(readRaw(path(u"new.txt"_s)), QByteArray("\xA4\xA4\r\n"));
    ASSERT_TRUE(WriteDocumentFile(path(u"new.txt"_s), QString(), FileEncoding::Big5, &error));
    EXPECT_EQ(readRaw(path(u"new.txt"_s)), QByteArray());
    const std::optional<text::DocumentText> read = ReadDocumentFile(path(u"new.txt"_s), &error);
    ASSERT_TRUE(read);
    EXPECT_TRUE(read->text.isEmpty());
}

TEST_F(DocumentFileTest, ReadingWhatIsNotAReadableFileFails)
{
    for (const QString& target : {path(u"missing.txt"_s), m_dir.path(), QString()}) {
        QString error;
        EXPECT_FALSE(ReadDocumentFile(target, &error));
        EXPECT_EQ(error, u"Cannot open file "_s + target);
    }
}

TEST_F(DocumentFileTest, UnencodableCharacterWritesNothing)
{
    writeRaw(path(u"post.txt"_s), "old\r\n");
    QString error;
    EXPECT_FALSE(WriteDocumentFile(path(u"post.txt"_s), u"一\n二😀"_s, FileEncoding::Big5, &error));
    EXPECT_EQ(
        error,
        u"第 2 行第 2 列的字元「😀」(U+1F600) 無法以 Big5 儲存，檔案未寫入。可在「檔案」選單的「儲存編碼」改用 UTF-8 儲存。"_s);
    EXPECT_EQ(readRaw(path(u"post.txt"_s)), QByteArray("old\r\n"));

    EXPECT_FALSE(WriteDocumentFile(path(u"other.txt"_s), u"😀"_s, FileEncoding::Big5, &error));
    EXPECT_EQ(entries(), QStringList{u"post.txt"_s});
}

TEST_F(DocumentFileTest, ReadOnlyFileIsNotReplaced)
{
    // Checked by the permission bits, so this holds for the superuser too.
    const QString target = path(u"locked.txt"_s);
    writeRaw(target, "old");
    ASSERT_TRUE(QFile::setPermissions(target, QFile::ReadOwner | QFile::ReadGroup));
    expectCannotCreate(target);
    EXPECT_EQ(readRaw(target), QByteArray("old"));
    EXPECT_EQ(QFile::permissions(target) & ~(QFile::ReadUser | QFile::WriteUser | QFile::ExeUser),
              QFile::ReadOwner | QFile::ReadGroup);
}

TEST_F(DocumentFileTest, AWritableFileInAReadOnlyFolderIsWrittenInPlace)
{
    const QString folder = path(u"locked"_s);
    ASSERT_TRUE(QDir(m_dir.path()).mkdir(u"locked"_s));
    writeRaw(folder + u"/old.txt"_s, "old");
    ASSERT_TRUE(QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner));

    QString error;
    QString reason;
    EXPECT_FALSE(
        WriteDocumentFile(folder + u"/new.txt"_s, u"new"_s, FileEncoding::Big5, &error, &reason));
    EXPECT_EQ(error, u"Cannot create file "_s + folder + u"/new.txt"_s);
    EXPECT_EQ(reason, qt_error_string(EACCES));
    EXPECT_TRUE(WriteDocumentFile(folder + u"/old.txt"_s, u"new\n"_s, FileEncoding::Big5, &error));
    EXPECT_EQ(readRaw(folder + u"/old.txt"_s), QByteArray("new\r\n"));
    EXPECT_EQ(QDir(folder).entryList(QDir::Files | QDir::Hidden), QStringList{u"old.txt"_s});
    // The backup made before writing in place is gone once the write is done.
    EXPECT_EQ(QDir(RecoveryFolder()).entryList(QDir::Files), QStringList());
}

TEST_F(DocumentFileTest, MissingFolderOrAFolderAsPathFails)
{
    expectCannotCreate(path(u"no/such/folder/post.txt"_s));
    ASSERT_TRUE(QDir(m_dir.path()).mkdir(u"folder"_s));
    expectCannotCreate(path(u"folder"_s));
    EXPECT_TRUE(QFileInfo(path(u"folder"_s)).isDir());
    expectCannotCreate(QString());
    EXPECT_EQ(entries(), QStringList{u"folder"_s});
}

TEST_F(DocumentFileTest, PermissionsAreKept)
{
    const QString target = path(u"shared.txt"_s);
    writeRaw(target, "old");
    const QFile::Permissions permissions =
        QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::WriteGroup;
    ASSERT_TRUE(QFile::setPermissions(target, permissions));
    QString error;
    ASSERT_TRUE(WriteDocumentFile(target, u"new"_s, FileEncoding::Big5, &error));
    EXPECT_EQ(readRaw(target), QByteArray("new"));
    EXPECT_EQ(QFile::permissions(target) & ~(QFile::ReadUser | QFile::WriteUser | QFile::ExeUser),
              permissions);
}

TEST_F(DocumentFileTest, SavingThroughASymbolicLinkReplacesTheTarget)
{
    writeRaw(path(u"target.txt"_s), "old");
    ASSERT_TRUE(QFile::link(path(u"target.txt"_s), path(u"link.txt"_s)));
    QString error;
    ASSERT_TRUE(WriteDocumentFile(path(u"link.txt"_s), u"new"_s, FileEncoding::Big5, &error));
    EXPECT_TRUE(QFileInfo(path(u"link.txt"_s)).isSymLink());
    EXPECT_EQ(readRaw(path(u"target.txt"_s)), QByteArray("new"));
}

TEST_F(DocumentFileTest, FailedWriteLeavesTheOldFileAndNoTemporaryFile)
{
    // A file size limit makes the write fail part way, as a full disk does.
    const QString target = path(u"post.txt"_s);
    writeRaw(target, "old");
    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    rlimit small = saved;
    small.rlim_cur = 4096;
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    QString error;
    const bool written =
        WriteDocumentFile(target, QString(64 * 1024, u'x'), FileEncoding::Big5, &error);
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);

    EXPECT_FALSE(written);
    EXPECT_EQ(error, u"Cannot create file "_s + target);
    EXPECT_EQ(readRaw(target), QByteArray("old"));
    EXPECT_EQ(entries(), QStringList{u"post.txt"_s});
}

TEST_F(DocumentFileTest, FiveMegabyteFileComesBack)
{
    const QString line = u"【中 文 化】繁體中文的測試文字，含 ASCII [b]tags[/b]。\n"_s;
    const qsizetype lineBytes =
        text::EncodeBig5(line, text::Unencodable::Fail).bytes.size() + 1;  // LF becomes CR LF
    QString document;
    for (qsizetype size = 0; size < 5 * 1024 * 1024; size += lineBytes) document += line;
    QString error;
    ASSERT_TRUE(WriteDocumentFile(path(u"big.txt"_s), document, FileEncoding::Big5, &error));
    EXPECT_GE(QFileInfo(path(u"big.txt"_s)).size(), 5 * 1024 * 1024);
    const std::optional<text::DocumentText> read = ReadDocumentFile(path(u"big.txt"_s), &error);
    ASSERT_TRUE(read);
    EXPECT_EQ(read->encoding, FileEncoding::Big5);
    EXPECT_EQ(read->text, document);
}

TEST_F(DocumentFileTest, ArticleIsSplitIntoLines)
{
    const QByteArray big5 =
        text::EncodeBig5(u"第一行\r\n第二行\r第三行\n\n"_s, text::Unencodable::Fail).bytes;
    writeRaw(path(u"article.txt"_s), big5);
    QString error;
    EXPECT_EQ(ReadArticleLines(path(u"article.txt"_s), &error),
              (QStringList{u"第一行"_s, u"第二行"_s, u"第三行"_s, u""_s}));

    writeRaw(path(u"utf8.txt"_s), u"Καλημέρα\r\nβ\r\n"_s.toUtf8());
    EXPECT_EQ(ReadArticleLines(path(u"utf8.txt"_s), &error), (QStringList{u"Καλημέρα"_s, u"β"_s}));

    writeRaw(path(u"empty.txt"_s), {});
    EXPECT_EQ(ReadArticleLines(path(u"empty.txt"_s), &error), QStringList());

    EXPECT_FALSE(ReadArticleLines(path(u"missing.txt"_s), &error));
    EXPECT_EQ(error, u"Cannot open file "_s + path(u"missing.txt"_s));
}

}  // namespace
