// The recovery copy of unsaved text: its file, when it is written and
// removed, and how a copy left by a dead program is offered.
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QThreadPool>

#include "app/crash_recovery.h"
#include "form_fixture.h"
#include "text/recovery_folder.h"

using namespace Qt::Literals::StringLiterals;

namespace {

const QString kAsked = u"confirm:還原未存檔內容|發現上次未儲存的內容，是否還原？"_s;

TEST(RecoveryCopyFile, KeepsEveryTextExactly)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"copy.recovery"_s);
    struct Case {
        QStringList pieces;
        QString text;
    };
    const QString placeholder(QChar(0xDC80));
    const QString pair = u"\U0001F600"_s;
    const Case cases[] = {
        {{}, {}},
        {{u"a\u00A0b\u2028c\uFDD0\uFDD1"_s}, u"a\u00A0b\u2028c\uFDD0\uFDD1"_s},
        // Paragraph separators are the document's line breaks.
        {{u"one\u2029two\u2029"_s}, u"one\ntwo\n"_s},
        // A slice may end inside a surrogate pair; placeholders stay lone.
        {{u"中"_s + pair.left(1), pair.mid(1) + placeholder + u"\U000F000A"_s},
         u"中"_s + pair + placeholder + u"\U000F000A"_s},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(
            WriteRecoveryCopy(path, c.pieces, u"/tmp/<b>x</b>\\0"_s, text::FileEncoding::Utf8Bom));
        const auto copy = ReadRecoveryCopy(path);
        ASSERT_TRUE(copy.has_value());
        EXPECT_EQ(copy->text, c.text);
        EXPECT_EQ(copy->fileName, u"/tmp/<b>x</b>\\0"_s);
        EXPECT_EQ(copy->encoding, text::FileEncoding::Utf8Bom);
    }
    EXPECT_EQ(QFile::permissions(path), QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                            QFileDevice::ReadUser | QFileDevice::WriteUser);

    // A cut-off copy or some other file is no copy.
    ASSERT_TRUE(WriteRecoveryCopy(path, {u"abc"_s}, u"\\0"_s, text::FileEncoding::Big5));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    ASSERT_TRUE(file.resize(file.size() - 1));
    file.close();
    EXPECT_FALSE(ReadRecoveryCopy(path).has_value());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write("plain text\n");
    file.close();
    EXPECT_FALSE(ReadRecoveryCopy(path).has_value());
    EXPECT_FALSE(ReadRecoveryCopy(dir.filePath(u"missing"_s)).has_value());
}

TEST(RecoveryFolderLookup, FollowsTheStateHome)
{
    const QByteArray saved = qgetenv("XDG_STATE_HOME");
    qputenv("XDG_STATE_HOME", "/srv/state");
    EXPECT_EQ(text::RecoveryFolder(), u"/srv/state/quillpost/recovery"_s);
    for (const char* unusable : {"", "relative/state"}) {
        qputenv("XDG_STATE_HOME", unusable);
        EXPECT_EQ(text::RecoveryFolder(), QDir::homePath() + u"/.local/state/quillpost/recovery"_s);
    }
    qputenv("XDG_STATE_HOME", saved);
}

class RecoveryTest : public FormTest {
protected:
    QTemporaryDir state;
    QByteArray savedState = qgetenv("XDG_STATE_HOME");

    void SetUp() override
    {
        qputenv("XDG_STATE_HOME", state.path().toLocal8Bit());
        FormTest::SetUp();
    }
    void TearDown() override
    {
        FormTest::TearDown();
        qputenv("XDG_STATE_HOME", savedState);
    }
    QString folder() const { return state.path() + u"/quillpost/recovery"_s; }
    QStringList filesInFolder() const { return QDir(folder()).entryList(QDir::Files, QDir::Name); }
    // A copy as a program that has since died left it: no lock held.
    QString leaveCopy(const QString& id, const QString& text, const QString& fileName)
    {
        QDir().mkpath(folder());
        const QString path = folder() + u'/' + id + u".recovery"_s;
        EXPECT_TRUE(WriteRecoveryCopy(path, {text}, fileName, text::FileEncoding::Utf8));
        return path;
    }
};

TEST_F(RecoveryTest, WrittenOnceTypingPausesAndRemovedOnSave)
{
    CrashRecovery recovery(form, prompts);
    ASSERT_TRUE(recovery.active());
    QTest::keyClicks(form.Memo1, u"ab"_s);
    form.Memo1->insertPlainText(u"\u3000c\nd"_s);
    EXPECT_FALSE(QFile::exists(recovery.copyPath()));  // not on every keystroke
    ASSERT_TRUE(QTest::qWaitFor([&] { return QFile::exists(recovery.copyPath()); }, 5000));
    const auto copy = ReadRecoveryCopy(recovery.copyPath());
    ASSERT_TRUE(copy.has_value());
    EXPECT_EQ(copy->text, u"ab\u3000c\nd"_s);
    EXPECT_EQ(copy->fileName, TForm1::kUntitled);

    QTemporaryDir files;
    prompts.fileAnswers.push_back(files.filePath(u"post.txt"_s));
    form.N27Click();
    ASSERT_FALSE(form.Memo1->document()->isModified());
    ASSERT_TRUE(QTest::qWaitFor([&] { return !QFile::exists(recovery.copyPath()); }, 5000));

    // Typing after the save keeps a copy bound to the saved file again.
    QTest::keyClicks(form.Memo1, u"e"_s);
    ASSERT_TRUE(QTest::qWaitFor([&] { return QFile::exists(recovery.copyPath()); }, 5000));
    EXPECT_EQ(ReadRecoveryCopy(recovery.copyPath())->fileName, files.filePath(u"post.txt"_s));
}

TEST_F(RecoveryTest, RemovedWhenDiscardedAndAtANormalExit)
{
    QString copyPath;
    {
        CrashRecovery recovery(form, prompts);
        copyPath = recovery.copyPath();
        QTest::keyClicks(form.Memo1, u"draft"_s);
        ASSERT_TRUE(QTest::qWaitFor([&] { return QFile::exists(copyPath); }, 5000));
        prompts.confirmAnswers.push_back(true);
        form.N7Click();  // New, answered OK
        ASSERT_TRUE(QTest::qWaitFor([&] { return !QFile::exists(copyPath); }, 5000));

        QTest::keyClicks(form.Memo1, u"again"_s);
        ASSERT_TRUE(QTest::qWaitFor([&] { return QFile::exists(copyPath); }, 5000));
    }
    EXPECT_EQ(filesInFolder(), QStringList{});
}

TEST_F(RecoveryTest, LeftCopyRestoredOrDeclinedAndNeverOfferedTwice)
{
    // The file the document was bound to: restoring never writes it.
    QTemporaryDir files;
    const QString bound = WriteTestFile(files.filePath(u"post.txt"_s), "saved text\r\n");
    for (const bool restore : {true, false}) {
        SCOPED_TRACE(restore);
        form.Memo1->clear();
        form.Memo1->document()->setModified(false);
        const QString left = leaveCopy(u"1-dead"_s, u"lost\u00A0text\n"_s, bound);
        prompts.clearAsked();
        prompts.confirmAnswers.push_back(restore);
        {
            CrashRecovery recovery(form, prompts);
            recovery.offerLeftCopies();
            EXPECT_EQ(prompts.asked(), QStringList{kAsked});
            ASSERT_TRUE(QTest::qWaitFor([&] { return !QFile::exists(left); }, 5000));
            if (restore) {
                EXPECT_EQ(markup::DisplayedLines(*form.Memo1).join(u'\n'), u"lost\u00A0text"_s);
                EXPECT_TRUE(form.Memo1->document()->isModified());
                EXPECT_EQ(form.currentFileName(), bound);
                EXPECT_EQ(form.windowTitle(), u"Quillpost 4.0--post.txt"_s);
                EXPECT_EQ(form.fileEncoding(), text::FileEncoding::Utf8);
                // It is now this program's copy, not anyone else's to offer.
                ASSERT_TRUE(
                    QTest::qWaitFor([&] { return QFile::exists(recovery.copyPath()); }, 5000));
                EXPECT_EQ(ReadRecoveryCopy(recovery.copyPath())->text, u"lost\u00A0text\n"_s);
            } else {
                EXPECT_EQ(form.Memo1->document()->characterCount(), 1);
                EXPECT_FALSE(form.Memo1->document()->isModified());
                EXPECT_EQ(filesInFolder().filter(u".recovery"_s), QStringList{});
            }
            CrashRecovery another(form, prompts);
            another.offerLeftCopies();
            EXPECT_EQ(prompts.asked(), QStringList{kAsked});
        }
        EXPECT_EQ(filesInFolder(), QStringList{});
        QFile original(bound);
        ASSERT_TRUE(original.open(QIODevice::ReadOnly));
        EXPECT_EQ(original.readAll(), "saved text\r\n");
    }
}

TEST_F(RecoveryTest, CopyOfARunningProgramIsLeftAlone)
{
    const QString left = leaveCopy(u"2-alive"_s, u"theirs"_s, TForm1::kUntitled);
    const QString lockPath = folder() + u"/2-alive.lock"_s;
    const int lock = ::open(QFile::encodeName(lockPath).constData(), O_RDWR | O_CREAT, 0600);
    ASSERT_GE(lock, 0);
    ASSERT_EQ(::flock(lock, LOCK_EX | LOCK_NB), 0);
    {
        CrashRecovery recovery(form, prompts);
        recovery.offerLeftCopies();
        EXPECT_EQ(prompts.asked(), QStringList{});
    }
    EXPECT_EQ(ReadRecoveryCopy(left)->text, u"theirs"_s);
    ::close(lock);

    // Once that program has gone, the next start offers it.
    prompts.confirmAnswers.push_back(false);
    CrashRecovery recovery(form, prompts);
    recovery.offerLeftCopies();
    EXPECT_EQ(prompts.asked(), QStringList{kAsked});
}

}  // namespace
