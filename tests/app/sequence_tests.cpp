// Sequences of commands, and the custom-symbol box as a text field of its own.
#include <QClipboard>
#include <QLineEdit>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QWebEnginePage>

#include "app/form_fixture.h"
#include "convert/preview_view.h"

using namespace Qt::Literals::StringLiterals;

namespace {

using SequenceTest = FormTest;

TEST_F(SequenceTest, NewAfterOpenForgetsTheNameSoSaveAsksForOne)
{
    QTemporaryDir dir;
    const QString path = WriteTestFile(dir.filePath(u"post.txt"_s), "old\r\n");
    prompts.fileAnswers = {path};
    action("N9")->trigger();
    ASSERT_EQ(form.currentFileName(), path);

    action("N7")->trigger();
    EXPECT_EQ(form.windowTitle(), u"Quillpost 4.0--未命名"_s);
    EXPECT_EQ(form.currentFileName(), TForm1::kUntitled);
    setText(u"new text"_s);
    prompts.clearAsked();
    action("N27")->trigger();  // cancelled dialog: nothing written anywhere
    EXPECT_EQ(prompts.asked(), QStringList{u"file"_s});
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), "old\r\n");
}

TEST_F(SequenceTest, WordWrapOffThenOnWrapsAgain)
{
    QString paragraph;
    for (int i = 0; i < 60; ++i) paragraph += u"word "_s;
    setText(paragraph);  // caret at the end, on the last row
    QApplication::processEvents();
    const QStringList wrapped = markup::DisplayedLines(*form.Memo1);
    ASSERT_GT(wrapped.size(), 2);
    const QString lastRow = u"  行: %1  "_s.arg(wrapped.size());
    EXPECT_TRUE(form.statusPanelText(0).startsWith(lastRow))
        << form.statusPanelText(0).toStdString();

    action("W1")->trigger();
    QApplication::processEvents();
    EXPECT_EQ(markup::DisplayedLines(*form.Memo1), QStringList{paragraph});
    EXPECT_EQ(form.statusPanelText(0), u"  行: 1  列: %1"_s.arg(paragraph.size() + 1));

    action("W1")->trigger();
    QApplication::processEvents();
    EXPECT_EQ(markup::DisplayedLines(*form.Memo1), wrapped);
    EXPECT_TRUE(form.statusPanelText(0).startsWith(lastRow))
        << form.statusPanelText(0).toStdString();
}

QString PageText(convert::PreviewView& view)
{
    QString shown;
    bool done = false;
    view.page()->toPlainText([&](const QString& text) {
        shown = text;
        done = true;
    });
    for (int i = 0; i < 500 && !done; ++i) QTest::qWait(10);
    return shown;
}

TEST_F(SequenceTest, EditingAfterAPreviewShowsTheEditedTextNextTime)
{
    setText(u"[b]first[/b]"_s);
    form.PageControl1->setCurrentWidget(form.TabSheet2);
    auto* view = form.findChild<convert::PreviewView*>(u"EmbeddedWB1"_s);
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(PageText(*view).trimmed(), u"first"_s);

    form.PageControl1->setCurrentWidget(form.TabSheet1);
    setText(u"[b]second[/b] edited"_s);
    form.PageControl1->setCurrentWidget(form.TabSheet2);
    EXPECT_EQ(PageText(*view).trimmed(), u"second edited"_s);
}

TEST_F(SequenceTest, CustomSymbolBoxHoldsAnyLengthAndKeepsItsOwnEditingKeys)
{
    const QString longSymbol(40000, u'★');
    form.Edit1->setText(longSymbol);
    EXPECT_EQ(form.Edit1->text().size(), longSymbol.size());
    setText(u""_s);
    button("SpeedButton47")->click();
    EXPECT_EQ(text(), longSymbol);

    // Copy, paste, select all, undo and delete act on the box while it has
    // the focus, not on the document.
    setText(u"post"_s);
    form.Memo1->document()->setModified(false);
    form.Edit1->setText(u"ab"_s);
    form.Edit1->setFocus();
    ASSERT_TRUE(QTest::qWaitFor([&] { return form.Edit1->hasFocus(); }));
    QTest::keyClick(form.Edit1, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(form.Edit1, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), u"ab"_s);
    QTest::keyClick(form.Edit1, Qt::Key_End);
    QTest::keyClick(form.Edit1, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(form.Edit1->text(), u"abab"_s);
    QTest::keyClick(form.Edit1, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(form.Edit1->text(), u"ab"_s);
    QTest::keyClick(form.Edit1, Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(form.Edit1->text(), u"abab"_s);
    QTest::keyClick(form.Edit1, Qt::Key_X, Qt::ControlModifier);  // nothing selected
    EXPECT_EQ(form.Edit1->text(), u"abab"_s);
    QTest::keyClick(form.Edit1, Qt::Key_Home);
    QTest::keyClick(form.Edit1, Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_EQ(form.Edit1->text(), u""_s);
    EXPECT_EQ(text(), u"post"_s);
    EXPECT_FALSE(form.Memo1->document()->isModified());
}

}  // namespace
