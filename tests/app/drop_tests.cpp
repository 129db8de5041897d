// Files dropped on the window, and where a refused save puts the caret.
#include <QDropEvent>
#include <QFile>
#include <QMimeData>
#include <QTemporaryDir>
#include <QUrl>
#include <cerrno>

#include "app/form_fixture.h"

using namespace Qt::Literals::StringLiterals;

namespace {

class DropTest : public FormTest {
protected:
    QTemporaryDir dir;

    QString write(const QString& name, const QByteArray& bytes)
    {
        return WriteTestFile(dir.filePath(name), bytes);
    }
    // A drag that enters `target` and is dropped at `at`, as the window
    // system delivers it; then the queued work of the drop.
    bool drop(QWidget* target, QMimeData* data, QPoint at = {5, 5})
    {
        QDragEnterEvent enter(at, Qt::CopyAction | Qt::MoveAction, data, Qt::LeftButton,
                              Qt::NoModifier);
        QApplication::sendEvent(target, &enter);
        QDropEvent dropped(QPointF(at), Qt::CopyAction | Qt::MoveAction, data, Qt::LeftButton,
                           Qt::NoModifier);
        QApplication::sendEvent(target, &dropped);
        QCoreApplication::processEvents();
        return enter.isAccepted() && dropped.isAccepted();
    }
    static QMimeData* files(const QStringList& paths)
    {
        auto* data = new QMimeData;
        QList<QUrl> urls;
        for (const QString& path : paths) urls.append(QUrl::fromLocalFile(path));
        data->setUrls(urls);
        // File managers offer the addresses as text too; they are not typed in.
        data->setText(paths.join(u'\n'));
        return data;
    }
};

TEST_F(DropTest, AFileDroppedOpensLikeOpenOnlyTheFirstOfSeveral)
{
    const QString first = write(u"first.txt"_s, QByteArray::fromHex("a4a4a4e50d0a"));  // 中文
    const QString second = write(u"second.txt"_s, "second\r\n");
    setText(u"draft"_s);
    form.Memo1->document()->setModified(true);
    std::unique_ptr<QMimeData> both(files({first, second}));

    // Modified: the question comes first, and Cancel keeps the draft.
    prompts.confirmAnswers = {false};
    EXPECT_TRUE(drop(form.Memo1->viewport(), both.get()));
    EXPECT_EQ(text(), u"draft"_s);
    EXPECT_EQ(form.currentFileName(), TForm1::kUntitled);
    prompts.confirmAnswers = {true};
    EXPECT_TRUE(drop(form.Memo1->viewport(), both.get()));
    EXPECT_EQ(prompts.asked(), QStringList(2, u"confirm:開啟舊檔-確認視窗|未存檔！是否繼續？"_s));
    EXPECT_EQ(text(), u"中文\n"_s);
    EXPECT_EQ(form.currentFileName(), first);
    EXPECT_EQ(form.windowTitle(), u"Quillpost 4.0--first.txt"_s);
    EXPECT_FALSE(form.Memo1->document()->isModified());

    // Unmodified, dropped on a toolbar (the window takes it): no question.
    prompts.clearAsked();
    std::unique_ptr<QMimeData> one(files({second}));
    EXPECT_TRUE(drop(&form, one.get()));
    EXPECT_EQ(text(), u"second\n"_s);
    EXPECT_EQ(form.currentFileName(), second);

    // A file that cannot be read: the error box, and everything stays.
    std::unique_ptr<QMimeData> gone(files({dir.filePath(u"gone.txt"_s)}));
    EXPECT_TRUE(drop(form.Memo1->viewport(), gone.get()));
    EXPECT_EQ(prompts.asked(),
              QStringList{u"error:Cannot open file "_s + dir.filePath(u"gone.txt"_s) + u".\n\n"_s +
                          qt_error_string(ENOENT) + u'.'});
    EXPECT_EQ(form.currentFileName(), second);
}

TEST_F(DropTest, DraggedTextIsStillInsertedWhereItIsDropped)
{
    setText(u"abc"_s);
    form.Memo1->document()->setModified(false);
    QMimeData data;
    data.setText(u"XY"_s);
    // The very start of the text, whatever the margins.
    const QPoint start = form.Memo1->cursorRect(QTextCursor(form.Memo1->document())).center();
    EXPECT_TRUE(drop(form.Memo1->viewport(), &data, start));
    EXPECT_EQ(text(), u"XYabc"_s);
    EXPECT_EQ(form.currentFileName(), TForm1::kUntitled);
    EXPECT_EQ(prompts.asked(), QStringList{});
}

TEST_F(DropTest, ARefusedSaveNumbersTheShownRowAndPutsTheCaretOnTheCharacter)
{
    const QString path = write(u"post.txt"_s, "old\r\n");
    prompts.fileAnswers = {path};
    action("N9")->trigger();
    // A paragraph wrapped over several rows, the refused character on a
    // later row of it.
    QString paragraph;
    for (int i = 0; i < 60; ++i) paragraph += u"word "_s;
    const int at = int(paragraph.size()) - 3;
    paragraph.insert(at, u"😀"_s);
    setText(u"first\n"_s + paragraph);
    form.Memo1->document()->setModified(true);
    const int position = 6 + at;
    const markup::RowPosition row = markup::RowOfPosition(*form.Memo1, position);
    ASSERT_GT(row.row, 2);  // really wrapped

    prompts.clearAsked();
    action("N27")->trigger();
    EXPECT_EQ(
        prompts.asked(),
        QStringList{
            u"error:第 %1 行第 %2 列的字元「😀」(U+1F600) 無法以 Big5 儲存，檔案未寫入。可在「檔案」選單的「儲存編碼」改用 UTF-8 儲存。"_s
                .arg(row.row + 1)
                .arg(position - row.rowStart + 1)});
    EXPECT_EQ(caret(), position);
    EXPECT_EQ(form.statusPanelText(0),
              u"  行: %1  列: %2"_s.arg(row.row + 1).arg(position - row.rowStart + 1));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), "old\r\n");
}

}  // namespace
