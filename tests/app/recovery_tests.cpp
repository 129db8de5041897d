// The recovery copy of unsaved text: its file, when it is written and
// removed, and how a copy left by a dead program is offered.
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#include <QDir>
#include <QFile>
#include <QPlainTextEdit>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QThreadPool>
#include <QTimer>

#include "app/crash_recovery.h"
#include "form_fixture.h"
#include "text/recovery_copy.h"
#include "text/recovery_folder.h"

using namespace Qt::Literals::StringLiterals;

namespace {

const QString kAsked = u"confirm:還原未存檔內容|發現上次未儲存的內容，是否還原？"_s;

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
        EXPECT_TRUE(text::WriteRecoveryCopy(path, {text}, fileName, text::FileEncoding::Utf8));
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
    const auto copy = text::ReadRecoveryCopy(recovery.copyPath());
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
    EXPECT_EQ(text::ReadRecoveryCopy(recovery.copyPath())->fileName, files.filePath(u"post.txt"_s));
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
                EXPECT_EQ(text::ReadRecoveryCopy(recovery.copyPath())->text, u"lost\u00A0text\n"_s);
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
    EXPECT_EQ(text::ReadRecoveryCopy(left)->text, u"theirs"_s);
    ::close(lock);

    // Once that program has gone, the next start offers it.
    prompts.confirmAnswers.push_back(false);
    CrashRecovery recovery(form, prompts);
    recovery.offerLeftCopies();
    EXPECT_EQ(prompts.asked(), QStringList{kAsked});
}

// Recovery knows only its host, here a bare editing area: the copy follows
// the text, and a left copy comes back into it.
class BareHost final : public DocumentHost {
public:
    QPlainTextEdit edit;
    QString fileName = TForm1::kUntitled;
    QTextDocument& hostedDocument() override { return *edit.document(); }
    QString currentFileName() const override { return fileName; }
    text::FileEncoding fileEncoding() const override { return text::FileEncoding::Big5; }
    void restoreDocument(const QString& text, const QString& name, text::FileEncoding) override
    {
        edit.setPlainText(text);
        edit.document()->setModified(true);
        fileName = name;
    }
    QStringList notices;
    void showRecoveryNotice(const QString& text) override { notices.append(text); }
};

TEST_F(RecoveryTest, WorksOnABareEditor)
{
    const QString left = leaveCopy(u"3-dead"_s, u"left"_s, u"/tmp/a.txt"_s);
    BareHost host;
    prompts.confirmAnswers.push_back(true);
    CrashRecovery recovery(host, prompts);
    recovery.offerLeftCopies();
    EXPECT_EQ(host.edit.toPlainText(), u"left"_s);
    EXPECT_EQ(host.fileName, u"/tmp/a.txt"_s);
    host.edit.appendPlainText(u"草稿"_s);
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            const auto copy = text::ReadRecoveryCopy(recovery.copyPath());
            return copy && copy->text == u"left\n草稿"_s;
        },
        5000));
    host.edit.document()->setModified(false);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !QFile::exists(recovery.copyPath()); }, 5000));
}

// Typing that never pauses for as long as the pause still gets copies, by
// the clock; and a copy read while edits go on is the document as it was at
// one moment, never a mix of two.
TEST_F(RecoveryTest, CopiesWhileTypingNeverPauses)
{
    BareHost host;
    QString line(99, u'y');
    line += u'\n';
    host.edit.setPlainText(line.repeated(8000));  // three slices and more
    CrashRecovery recovery(host, prompts, &clock);
    QStringList versions;
    QStringList copies;
    QRandomGenerator random(27);
    // 12 s of typing, a key every 100 ms by the clock, far faster in truth:
    // one edit each turn of the loop, between the slices of a copy.
    int step = 0;
    QTimer typist;
    typist.setInterval(0);
    QObject::connect(&typist, &QTimer::timeout, [&] {
        clock.time = clock.time.addMSecs(100);
        QTextCursor cursor(host.edit.document());
        const int length = host.edit.document()->characterCount() - 1;
        cursor.setPosition(int(random.bounded(length)));
        if (step % 7 == 3) {  // now and then a cut, some across slices
            cursor.setPosition(std::min(length, cursor.position() + 3000), QTextCursor::KeepAnchor);
            cursor.insertText(u"剪"_s);
        } else {
            cursor.insertText(step % 2 ? u"a"_s : u"\n"_s);
        }
        versions.append(host.edit.toPlainText());
        const auto copy = text::ReadRecoveryCopy(recovery.copyPath());
        if (copy && !copies.contains(copy->text)) copies.append(copy->text);
        if (++step == 120) typist.stop();
    });
    typist.start();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !typist.isActive(); }, 20000));
    EXPECT_GE(copies.size(), 2);
    for (const QString& copy : copies) EXPECT_TRUE(versions.contains(copy));
    host.edit.document()->setModified(false);
}

// A folder where no copy can be written is said once, and so is its return.
TEST_F(RecoveryTest, FolderThatCannotBeWrittenIsSaid)
{
    BareHost host;
    CrashRecovery recovery(host, prompts);
    ASSERT_TRUE(recovery.active());
    // A file where the folder was: refused even to root.
    ASSERT_TRUE(QDir(folder()).removeRecursively());
    WriteTestFile(folder(), "not a folder");
    for (const auto& word : {u"one"_s, u"two"_s}) {
        host.edit.appendPlainText(word);
        QTest::qWait(CrashRecovery::kPauseMs + 300);
    }
    ASSERT_EQ(host.notices.size(), 1);
    EXPECT_TRUE(host.notices[0].contains(folder())) << host.notices[0].toStdString();

    QFile::remove(folder());
    QDir().mkpath(folder());
    ASSERT_TRUE(QTest::qWaitFor([&] { return host.notices.size() == 2; },
                                CrashRecovery::kMaxWaitMs + 3000));
    EXPECT_TRUE(host.notices[1].contains(folder()));
    EXPECT_EQ(text::ReadRecoveryCopy(recovery.copyPath())->text, u"one\ntwo"_s);
    host.edit.document()->setModified(false);
}

}  // namespace
