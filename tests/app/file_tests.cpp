// Open, save, save as, insert article, the clipboard and the edit commands,
// on real files in a temporary folder.
#include <QClipboard>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <sys/resource.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <functional>

#include "app/form_fixture.h"
#include "convert/chinese_script.h"

using namespace Qt::Literals::StringLiterals;

namespace {

class FileTest : public FormTest {
protected:
    QTemporaryDir dir;

    QString path(const QString& name) const { return dir.filePath(name); }
    void write(const QString& name, const QByteArray& bytes)
    {
        QFile file(path(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    QByteArray read(const QString& name) const
    {
        QFile file(path(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }
    bool modified() const { return form.Memo1->document()->isModified(); }
    void edit(const QString& text)
    {
        setText(text);
        form.Memo1->document()->setModified(true);
    }
    void open(const QString& name)
    {
        prompts.fileAnswers = {path(name)};
        action("N9")->trigger();
    }
};

// "中文" and "【主題】" in code page 950.
const QByteArray kBig5Text = QByteArray::fromHex("a4a4a4e50d0aa169a544c344a16a0d0a");
const QString kText = u"中文\n【主題】\n"_s;

TEST_F(FileTest, OpenReadsBig5AndBindsTheDocument)
{
    ASSERT_TRUE(QDir(dir.path()).mkpath(u"deep/er"_s));
    write(u"deep/er/post.txt"_s, kBig5Text);
    open(u"deep/er/post.txt"_s);
    EXPECT_EQ(text(), kText);
    EXPECT_EQ(form.windowTitle(), u"Quillpost 4.0--post.txt"_s);
    EXPECT_EQ(form.currentFileName(), path(u"deep/er/post.txt"_s));
    EXPECT_FALSE(modified());
    EXPECT_EQ(prompts.asked(), QStringList{u"file"_s});

    // Saving unchanged writes the same bytes, without a dialog.
    prompts.clearAsked();
    action("N27")->trigger();
    EXPECT_EQ(prompts.asked(), QStringList{});
    EXPECT_EQ(read(u"deep/er/post.txt"_s), kBig5Text);
}

// A long file comes in behind the box "載入中" and ends as a short one
// does: the same text, bound, unmodified, nothing to undo.
TEST_F(FileTest, ALongFileOpensInStepsAsAShortOneDoes)
{
    const QByteArray line = kBig5Text + "[b]word[/b] more words on a line\r\n";
    write(u"long.txt"_s, line.repeated(TForm1::kStepwiseOpenBytes / line.size() + 10));
    open(u"long.txt"_s);
    ASSERT_TRUE(form.busy());
    ASSERT_TRUE(form.findChild<QWidget*>(u"LoadingDialog1"_s));
    QElapsedTimer waited;
    waited.start();
    while (form.busy() && waited.elapsed() < 30000) QCoreApplication::processEvents();
    ASSERT_FALSE(form.busy());
    const QString expected = text::ReadDocumentFile(path(u"long.txt"_s), nullptr)->text;
    EXPECT_EQ(text(), expected);
    EXPECT_EQ(form.windowTitle(), u"Quillpost 4.0--long.txt"_s);
    EXPECT_FALSE(modified());
    EXPECT_FALSE(form.Memo1->document()->isUndoAvailable());
    EXPECT_EQ(prompts.asked(), QStringList{u"file"_s});
}

TEST_F(FileTest, EditingABig5FileChangesOnlyTheEditedBytes)
{
    // A Windows-made file: Big5 with CR LF breaks and a final break.
    const QByteArray before = QByteArray::fromHex("a4a4a4e50d0a") + "line two\r\n" +
                              QByteArray::fromHex("a169a544c344a16a0d0a");
    write(u"win.txt"_s, before);
    open(u"win.txt"_s);
    QTextCursor cursor(form.Memo1->document());
    cursor.setPosition(7);  // after "line"
    cursor.insertText(u"★"_s);
    action("N27")->trigger();
    const QByteArray after = read(u"win.txt"_s);
    EXPECT_EQ(after, before.left(10) + QByteArray::fromHex("a1b9") + before.mid(10));
}

TEST_F(FileTest, InvalidBytesComeBackAsTheyWere)
{
    const QByteArray odd = QByteArray("ok ") + char(0x80 + 0x01) + char(0xff) + "\r\nend";
    write(u"odd.txt"_s, odd);
    open(u"odd.txt"_s);
    EXPECT_TRUE(text().startsWith(u"ok "_s));
    EXPECT_TRUE(text().endsWith(u"\nend"_s));
    setText(text());
    form.Memo1->document()->setModified(true);
    action("N27")->trigger();
    EXPECT_EQ(read(u"odd.txt"_s), odd);
}

// Characters the editing area's plain-text view would turn into a space or
// a line break: they reach the file, the clipboard and the displayed lines
// as they are, and a Big5 save refuses them with their position.
TEST_F(FileTest, EveryCharacterIsSavedAndSentAsTyped)
{
    // The last three are private-use characters that must not be taken for
    // the kept bytes 0x41, 0x0A and 0x3C.
    for (const QString& c : {u"\u00A0"_s, u"\u2028"_s, u"\u2029"_s, u"\uFDD0"_s, u"\uFDD1"_s,
                             u"\U000F0041"_s, u"\U000F000A"_s, u"\U000F003C"_s}) {
        SCOPED_TRACE(c.toStdString());
        const QString line = u"A"_s + c + u"B"_s;
        const QByteArray utf8 = "\xEF\xBB\xBF" + line.toUtf8() + "\r\n";
        write(u"u.txt"_s, utf8);
        form.Memo1->document()->setModified(false);
        open(u"u.txt"_s);
        form.Memo1->document()->setModified(true);
        action("N27")->trigger();
        EXPECT_EQ(read(u"u.txt"_s).toHex(' ').toStdString(), utf8.toHex(' ').toStdString());

        action("N5")->trigger();
        EXPECT_EQ(QApplication::clipboard()->text(), line + u'\n');
        EXPECT_EQ(markup::DocumentText(*form.Memo1), line + u'\n');
        EXPECT_EQ(markup::DisplayedLines(*form.Memo1).join(QString()), line);

        write(u"b.txt"_s, "old");
        form.Memo1->document()->setModified(false);
        open(u"b.txt"_s);
        QApplication::clipboard()->setText(u"x\n"_s + line);  // as pasted from elsewhere
        action("N22")->trigger();
        button("SpeedButton24")->click();
        prompts.clearAsked();
        action("N27")->trigger();
        EXPECT_EQ(prompts.asked().size(), 1);
        const QString error = prompts.asked().value(0);
        EXPECT_TRUE(error.contains(u"第 2 行第 2 列"_s)) << error.toStdString();
        EXPECT_EQ(read(u"b.txt"_s), "old");
    }
}

// Simplified characters refused by a Big5 save: the box offers to convert
// the post to Traditional (Taiwan's words) and save; Cancel leaves the
// document and the file as they were.
TEST_F(FileTest, RefusedSimplifiedTextOffersTheConversionAndSaves)
{
    if (!convert::ScriptConversionAvailable(convert::ScriptConversion::SimplifiedToTaiwan))
        GTEST_SKIP() << "OpenCC's configuration is not installed";
    for (const bool convert : {false, true}) {
        SCOPED_TRACE(convert);
        write(u"s.txt"_s, "old");
        form.Memo1->document()->setModified(false);
        open(u"s.txt"_s);
        edit(u"下载[font=Arial] 软件[/font=Arial] "_s);
        prompts.clearAsked();
        prompts.confirmAnswers.push_back(convert);
        action("N27")->trigger();
        ASSERT_EQ(prompts.asked().size(), 1);
        EXPECT_TRUE(prompts.asked()[0].startsWith(u"confirm:儲存檔案|"_s));
        EXPECT_TRUE(prompts.asked()[0].contains(u"第 1 行第 2 列"_s))
            << prompts.asked()[0].toStdString();
        const QString traditional = u"下載[font=Arial] 軟體[/font=Arial] "_s;
        EXPECT_EQ(text(), convert ? traditional : u"下载[font=Arial] 软件[/font=Arial] "_s);
        EXPECT_EQ(convert ? text::DecodeDocument(read(u"s.txt"_s)).text : read(u"s.txt"_s),
                  convert ? traditional : u"old"_s);
    }
    // What no conversion makes Big5 is named.
    edit(u"软件 😀"_s);
    prompts.clearAsked();
    action("N27")->trigger();
    ASSERT_EQ(prompts.asked().size(), 1);
    EXPECT_TRUE(prompts.asked()[0].startsWith(u"error:"_s));
    EXPECT_TRUE(prompts.asked()[0].contains(u"第一個是「😀」"_s))
        << prompts.asked()[0].toStdString();
}

TEST_F(FileTest, KeptBytesGoToTheClipboardAsReplacementCharacters)
{
    const QByteArray odd = QByteArray("a") + char(0xA4) + "\r\n" + char(0xA3) + char(0xC0) + "b";
    write(u"odd.txt"_s, odd);
    open(u"odd.txt"_s);
    action("N5")->trigger();
    EXPECT_EQ(QApplication::clipboard()->text(), u"a\uFFFD\n\uFFFD\uFFFDb"_s);
    // Cut and pasted back within the program, the bytes stay what they were.
    action("N18")->trigger();
    EXPECT_EQ(text(), QString());
    button("SpeedButton24")->click();
    action("N27")->trigger();
    EXPECT_EQ(read(u"odd.txt"_s), odd);
}

TEST_F(FileTest, OpenDialogFiltersAndTheRememberedPath)
{
    write(u"a.txt"_s, "a");
    open(u"a.txt"_s);
    open(u"a.txt"_s);
    ASSERT_EQ(prompts.fileDialogs().size(), 2);
    const platform::Prompts::FileDialog& first = prompts.fileDialogs()[0];
    EXPECT_EQ(first.filters,
              (QStringList{u"文字檔(*.TXT) (*.[tT][xX][tT])"_s,
                           u"HTML檔 (*.[hH][tT][mM] *.[hH][tT][mM][lL])"_s, u"其他(*.*) (*)"_s}));
    EXPECT_EQ(first.defaultSuffix, u"txt"_s);
    EXPECT_FALSE(first.save);
    EXPECT_EQ(first.lastPath, QString());
    EXPECT_EQ(prompts.fileDialogs()[1].lastPath, path(u"a.txt"_s));

    // The save dialog keeps its own path, not the open dialog's.
    prompts.fileAnswers = {std::nullopt};
    action("N11")->trigger();
    EXPECT_EQ(prompts.fileDialogs()[2].lastPath, QString());
    EXPECT_TRUE(prompts.fileDialogs()[2].save);
    EXPECT_EQ(prompts.fileDialogs()[2].filters,
              (QStringList{u"文字檔(*.TXT) (*.[tT][xX][tT])"_s, u"其他(*.*) (*)"_s}));
}

TEST_F(FileTest, OpenAsksBeforeDiscardingAndCancelChangesNothing)
{
    setText(u"draft"_s);
    form.Memo1->document()->setModified(true);
    prompts.confirmAnswers = {false};
    action("N9")->trigger();
    EXPECT_EQ(prompts.asked(), QStringList{u"confirm:開啟舊檔-確認視窗|未存檔！是否繼續？"_s});
    EXPECT_EQ(text(), u"draft"_s);

    prompts.clearAsked();
    prompts.confirmAnswers = {true};
    prompts.fileAnswers = {std::nullopt};
    button("SpeedButton18")->click();
    EXPECT_EQ(text(), u"draft"_s);
    EXPECT_TRUE(modified());
    EXPECT_EQ(form.windowTitle(), u"Quillpost 4.0--未命名"_s);
}

TEST_F(FileTest, AFileThatCannotBeOpenedChangesNothing)
{
    write(u"kept.txt"_s, "kept");
    open(u"kept.txt"_s);
    edit(u"edited"_s);
    prompts.clearAsked();
    prompts.confirmAnswers = {true};
    open(u"missing.txt"_s);
    EXPECT_EQ(prompts.asked().last(), u"error:Cannot open file "_s + path(u"missing.txt"_s) +
                                          u".\n\n"_s + qt_error_string(ENOENT) + u'.');
    EXPECT_EQ(text(), u"edited"_s);
    EXPECT_EQ(form.currentFileName(), path(u"kept.txt"_s));
    EXPECT_EQ(form.windowTitle(), u"Quillpost 4.0--kept.txt"_s);
    EXPECT_TRUE(modified());
}

TEST_F(FileTest, FilesAboveTheSizeLimitAreRefused)
{
    // Sparse: it takes no room on the disk.
    QFile huge(path(u"huge.txt"_s));
    ASSERT_TRUE(huge.open(QIODevice::WriteOnly));
    ASSERT_TRUE(huge.resize(600 * 1024 * 1024));
    huge.close();
    setText(u"kept"_s);
    const QString refused = u"error:Cannot open file "_s + path(u"huge.txt"_s) +
                            u".\n\n大小 600 MB，超過可編輯的上限 512 MB."_s;
    open(u"huge.txt"_s);
    EXPECT_EQ(prompts.asked().last(), refused);
    prompts.fileAnswers = {path(u"huge.txt"_s)};
    button("SpeedButton51")->click();
    EXPECT_EQ(prompts.asked().last(), refused);
    EXPECT_EQ(text(), u"kept"_s);
    EXPECT_EQ(form.currentFileName(), u"\\0"_s);
}

// Memory runs out in a child process whose address space is capped just
// above what it already uses; reading a 300 MB article cannot fit.
TEST_F(FileTest, AnAllocationFailureShowsAnErrorAndKeepsTheDocument)
{
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the address sanitizer's allocator stops the program instead of throwing";
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
    GTEST_SKIP() << "the address sanitizer's allocator stops the program instead of throwing";
#endif
#endif
    QFile article(path(u"article.txt"_s));
    ASSERT_TRUE(article.open(QIODevice::WriteOnly));
    ASSERT_TRUE(article.resize(300 * 1024 * 1024));
    article.close();
    setText(u"kept"_s);
    form.Memo1->document()->setModified(false);
    const auto insertWithLittleMemory = [&] {
        QFile status(u"/proc/self/statm"_s);
        if (!status.open(QIODevice::ReadOnly)) std::exit(2);
        const rlim_t pages = status.readAll().split(' ').value(0).toULongLong();
        const rlimit cap{pages * rlim_t(sysconf(_SC_PAGESIZE)) + 128 * 1024 * 1024, RLIM_INFINITY};
        if (pages == 0 || setrlimit(RLIMIT_AS, &cap) != 0) std::exit(2);
        prompts.fileAnswers = {path(u"article.txt"_s)};
        button("SpeedButton51")->click();
        const QString expected = u"error:Out of memory.\n\n指令已停止，文件維持原狀."_s;
        if (prompts.asked().value(prompts.asked().size() - 1) != expected || text() != u"kept"_s ||
            modified()) {
            std::fprintf(stderr, "%s\n", qPrintable(prompts.asked().join(u'|')));
            std::exit(1);
        }
        std::exit(0);
    };
    EXPECT_EXIT(insertWithLittleMemory(), ::testing::ExitedWithCode(0), "");
}

TEST_F(FileTest, SaveOfAnUntitledDocumentAsksForAName)
{
    edit(kText);
    prompts.fileAnswers = {std::nullopt};
    action("N27")->trigger();
    EXPECT_EQ(form.currentFileName(), u"\\0"_s);
    EXPECT_TRUE(modified());

    prompts.fileAnswers = {path(u"new.txt"_s)};
    button("SpeedButton49")->click();
    EXPECT_EQ(read(u"new.txt"_s), kBig5Text);
    EXPECT_EQ(form.windowTitle(), u"Quillpost 4.0--new.txt"_s);
    EXPECT_FALSE(modified());

    // Save As onto an existing file replaces it without a question.
    setText(u"x"_s);
    prompts.clearAsked();
    prompts.fileAnswers = {path(u"new.txt"_s)};
    button("SpeedButton19")->click();
    EXPECT_EQ(prompts.asked(), QStringList{u"file"_s});
    EXPECT_EQ(read(u"new.txt"_s), "x");
}

TEST_F(FileTest, UnencodableCharacterIsRefusedAndNothingIsWritten)
{
    write(u"post.txt"_s, "old\r\n");
    open(u"post.txt"_s);
    edit(u"ok\nab😀"_s);
    prompts.clearAsked();
    action("N27")->trigger();
    ASSERT_EQ(prompts.asked().size(), 1);
    EXPECT_TRUE(prompts.asked()[0].startsWith(u"error:"_s));
    EXPECT_TRUE(prompts.asked()[0].contains(u"😀"_s));
    EXPECT_TRUE(prompts.asked()[0].contains(u"第 2 行第 3 列"_s));
    EXPECT_EQ(read(u"post.txt"_s), "old\r\n");
    EXPECT_TRUE(modified());
}

TEST_F(FileTest, AFailedSaveKeepsNameCaptionAndModifiedState)
{
    edit(u"text"_s);
    prompts.fileAnswers = {path(u"no/such/folder/x.txt"_s)};
    action("N11")->trigger();
    // The first line as it always was, the system's reason after it.
    EXPECT_EQ(prompts.asked().last(), u"error:Cannot create file "_s +
                                          path(u"no/such/folder/x.txt"_s) + u".\n\n"_s +
                                          qt_error_string(ENOENT) + u'.');
    EXPECT_EQ(form.currentFileName(), u"\\0"_s);
    EXPECT_EQ(form.windowTitle(), u"Quillpost 4.0--未命名"_s);
    EXPECT_TRUE(modified());
}

TEST_F(FileTest, Utf8FilesStayUtf8)
{
    const QByteArray utf8 = "\xEF\xBB\xBF" + u"简体😀\r\n"_s.toUtf8();
    write(u"u.txt"_s, utf8);
    open(u"u.txt"_s);
    EXPECT_EQ(text(), u"简体😀\n"_s);
    action("N27")->trigger();
    EXPECT_EQ(read(u"u.txt"_s), utf8);
}

TEST_F(FileTest, TheSaveEncodingIsTheUsersChoice)
{
    const auto shown = [&] {
        return action("N62")->isChecked()   ? u"Big5"_s
               : action("N63")->isChecked() ? u"UTF-8"_s
                                            : u"none"_s;
    };
    EXPECT_EQ(shown(), u"Big5"_s);  // a new document
    write(u"post.txt"_s, "old\r\n");
    open(u"post.txt"_s);
    edit(u"ok\nab😀"_s);
    action("N27")->trigger();
    EXPECT_TRUE(prompts.asked().last().contains(u"「儲存編碼」"_s));
    EXPECT_EQ(read(u"post.txt"_s), "old\r\n");

    form.Memo1->document()->setModified(false);
    action("N63")->trigger();
    EXPECT_EQ(shown(), u"UTF-8"_s);
    EXPECT_TRUE(modified());  // the file is still Big5
    action("N27")->trigger();
    EXPECT_EQ(read(u"post.txt"_s), u"ok\r\nab😀"_s.toUtf8());
    open(u"post.txt"_s);
    EXPECT_EQ(text(), u"ok\nab😀"_s);
    EXPECT_EQ(shown(), u"UTF-8"_s);

    edit(u"中文\n"_s);
    action("N62")->trigger();
    action("N27")->trigger();
    EXPECT_EQ(read(u"post.txt"_s), kBig5Text.first(6));

    // A file read with a byte-order mark keeps it when UTF-8 is chosen again.
    write(u"bom.txt"_s, "\xEF\xBB\xBFx");
    open(u"bom.txt"_s);
    action("N62")->trigger();
    action("N63")->trigger();
    action("N27")->trigger();
    EXPECT_EQ(read(u"bom.txt"_s), "\xEF\xBB\xBFx");
}

// Save asks before it overwrites what another program made of the bound
// file; No writes nothing and keeps the document as it was.
TEST_F(FileTest, SaveAsksBeforeOverwritingAnotherProgramsChanges)
{
    const QString question =
        u"yesno:檔案已變更|「post.txt」已被其他程式修改過，要以目前的內容覆蓋它嗎？"_s;
    const auto replace = [&](const QByteArray& bytes) {
        write(u"new.tmp"_s, bytes);  // as an editor saves: a new file renamed over
        ASSERT_EQ(::rename(QFile::encodeName(path(u"new.tmp"_s)).constData(),
                           QFile::encodeName(path(u"post.txt"_s)).constData()),
                  0);
    };
    const struct {
        const char* change;
        std::function<void()> make;
        bool asks;
    } cases[] = {
        {"unchanged", [] {}, false},
        {"rewritten", [&] { write(u"post.txt"_s, "theirs\r\n"); }, true},
        {"replaced, same size", [&] { replace("OLD\r\n"); }, true},
        {"deleted", [&] { QFile::remove(path(u"post.txt"_s)); }, false},
        {"a folder now",
         [&] {
             QFile::remove(path(u"post.txt"_s));
             QDir(dir.path()).mkdir(u"post.txt"_s);
         },
         true},
    };
    for (const auto& c : cases) {
        for (const bool yes : {false, true}) {
            SCOPED_TRACE(testing::Message() << c.change << (yes ? ", Yes" : ", No"));
            QDir(path(u"post.txt"_s)).removeRecursively();
            QFile::remove(path(u"post.txt"_s));
            write(u"post.txt"_s, "old\r\n");
            open(u"post.txt"_s);
            edit(u"mine"_s);
            c.make();
            const QByteArray before = read(u"post.txt"_s);
            prompts.clearAsked();
            prompts.yesNoAnswers = {yes};
            action("N27")->trigger();
            EXPECT_EQ(prompts.asked().contains(question), c.asks);
            if (c.asks && !yes) {
                EXPECT_EQ(read(u"post.txt"_s), before);
                EXPECT_TRUE(modified());
                EXPECT_EQ(form.currentFileName(), path(u"post.txt"_s));
            } else if (QFileInfo(path(u"post.txt"_s)).isFile() || !c.asks) {
                EXPECT_EQ(read(u"post.txt"_s), "mine");
                EXPECT_FALSE(modified());
            }
        }
    }
    // Saved under another name, or under its own after a save, nothing is asked.
    QDir(path(u"post.txt"_s)).removeRecursively();
    write(u"post.txt"_s, "old\r\n");
    open(u"post.txt"_s);
    edit(u"mine"_s);
    write(u"post.txt"_s, "theirs\r\n");
    prompts.clearAsked();
    prompts.fileAnswers = {path(u"other.txt"_s)};
    action("N11")->trigger();
    edit(u"more"_s);
    action("N27")->trigger();
    EXPECT_EQ(prompts.asked(), QStringList{u"file"_s});
    EXPECT_EQ(read(u"other.txt"_s), "more");
}

TEST_F(FileTest, ClearKeepsTheBindingAndASaveWritesAnEmptyFile)
{
    write(u"post.txt"_s, kBig5Text);
    open(u"post.txt"_s);
    setText(u"more"_s);
    action("N37")->trigger();
    EXPECT_EQ(text(), u""_s);
    EXPECT_FALSE(modified());
    EXPECT_EQ(form.windowTitle(), u"Quillpost 4.0--post.txt"_s);
    action("N27")->trigger();
    EXPECT_EQ(read(u"post.txt"_s), QByteArray());
}

TEST_F(FileTest, InsertArticleAppendsTheFileLinesAtTheEnd)
{
    write(u"crlf.txt"_s, "one\r\ntwo\r\n");
    write(u"cr.txt"_s, "three\rfour");
    write(u"lf.txt"_s, "five\n\nsix\n");
    setText(u"abc"_s);
    select(1, 1);
    form.Memo1->document()->setModified(false);
    for (const char* name : {"crlf.txt", "cr.txt", "lf.txt"}) {
        prompts.fileAnswers = {path(QString::fromLatin1(name))};
        button("SpeedButton51")->click();
    }
    EXPECT_EQ(text(), u"abc\none\ntwo\nthree\nfour\nfive\n\nsix"_s);
    EXPECT_EQ(caret(), int(text().size()));
    EXPECT_TRUE(modified());
    EXPECT_EQ(form.windowTitle(), u"Quillpost 4.0--未命名"_s);
    const platform::Prompts::FileDialog& dialog = prompts.fileDialogs()[0];
    EXPECT_EQ(dialog.filters,
              (QStringList{u"文字檔(*.txt) (*.[tT][xX][tT])"_s, u"DFM檔(*.dfm) (*.[dD][fF][mM])"_s,
                           u"其他(*.*) (*)"_s}));

    prompts.fileAnswers = {std::nullopt};
    button("SpeedButton51")->click();
    EXPECT_EQ(text(), u"abc\none\ntwo\nthree\nfour\nfive\n\nsix"_s);
}

TEST_F(FileTest, SendToClipboardCopiesAndSelectsTheWholeDocument)
{
    setText(u"第一行\n[b]二[/b]"_s);
    select(1, 1);
    action("N5")->trigger();
    EXPECT_EQ(QApplication::clipboard()->text(), u"第一行\n[b]二[/b]"_s);
    EXPECT_EQ(form.Memo1->textCursor().selectedText().size(), text().size());
}

TEST_F(FileTest, EditCommandsWorkOnTheEditingArea)
{
    setText(u"hello world"_s);
    select(0, 5);
    action("N18")->trigger();  // cut
    EXPECT_EQ(text(), u" world"_s);
    EXPECT_EQ(QApplication::clipboard()->text(), u"hello"_s);
    form.Memo1->moveCursor(QTextCursor::End);
    button("SpeedButton24")->click();  // paste
    EXPECT_EQ(text(), u" worldhello"_s);
    action("N22")->trigger();
    button("SpeedButton23")->click();  // copy
    EXPECT_EQ(QApplication::clipboard()->text(), u" worldhello"_s);

    button("SpeedButton17")->click();  // undo the paste
    EXPECT_EQ(text(), u" world"_s);
    button("SpeedButton48")->click();  // redo it
    EXPECT_EQ(text(), u" worldhello"_s);
}

TEST_F(FileTest, CtrlDeleteClearsTheWholeDocumentAndUndoBringsItBack)
{
    setText(u"some words here"_s);
    select(4, 4);
    form.Memo1->setFocus();
    QTest::keyClick(form.Memo1, Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_EQ(text(), u""_s);
    EXPECT_EQ(prompts.asked(), QStringList{});
    QTest::keyClick(form.Memo1, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(text(), u"some words here"_s);
}

TEST_F(FileTest, ContextMenuRunsTheSameCommands)
{
    setText(u"abc"_s);
    action("N52")->trigger();
    EXPECT_TRUE(hasSelection());
    action("N51")->trigger();
    EXPECT_EQ(text(), u""_s);
    action("N44")->trigger();
    EXPECT_EQ(text(), u"abc"_s);
}

}  // namespace
