// The tag check's panel and rich text pasted as markup, on the real window;
// the check and the conversion themselves are tested where they live.
#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QListWidget>
#include <QMimeData>

#include "app/form_fixture.h"
#include "convert/html_to_markup.h"
#include "convert/tag_check.h"

using namespace Qt::Literals::StringLiterals;

namespace {

using ComposeAidTest = FormTest;

TEST_F(ComposeAidTest, TagCheckListsProblemsByDisplayedLineAndSelectsThem)
{
    // The first paragraph wraps: the problem's line counts rows, as the
    // status bar does.
    setText(u"word "_s.repeated(60) + u"\nsome [b]text"_s);
    const int rows = markup::RowOfPosition(*form.Memo1, int(text().indexOf(u"some"_s))).row;
    ASSERT_GT(rows, 1);
    const QList<convert::TagProblem> problems = convert::CheckTags(text());
    ASSERT_EQ(problems.size(), 1);

    action("N59")->trigger();
    ASSERT_NE(form.ListBox1, nullptr);
    EXPECT_TRUE(form.Panel6->isVisible());
    ASSERT_EQ(form.ListBox1->count(), 1);
    EXPECT_EQ(form.ListBox1->item(0)->text(),
              u"第 %1 行："_s.arg(rows + 1) + problems[0].description);
    QTest::keyClick(form.ListBox1, Qt::Key_Return);
    EXPECT_EQ(form.Memo1->textCursor().selectedText(), u"[b]"_s);
    EXPECT_TRUE(form.Memo1->hasFocus());

    setText(u"[b]fine[/b]"_s);
    action("N59")->trigger();
    ASSERT_EQ(form.ListBox1->count(), 1);
    EXPECT_EQ(form.ListBox1->item(0)->text(), u"沒有發現問題"_s);
    QTest::keyClick(form.ListBox1, Qt::Key_Return);  // nothing to select
    EXPECT_FALSE(hasSelection());
    button("SpeedButton52")->click();
    EXPECT_FALSE(form.Panel6->isVisible());
}

TEST_F(ComposeAidTest, PasteAsMarkupTakesHtmlElseText)
{
    const QString html = u"<p><b>bold</b> and <a href=\"http://example.com/\">a link</a></p>"_s;
    const QString markup = convert::HtmlToMarkup(html);
    ASSERT_FALSE(markup.isEmpty());
    auto* data = new QMimeData;
    data->setHtml(html);
    data->setText(u"bold and a link"_s);
    QApplication::clipboard()->setMimeData(data);

    setText(u"before  after"_s);
    select(7, 7);
    QTest::keyClick(form.Memo1, Qt::Key_V, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(text(), u"before "_s + markup + u" after"_s);
    form.Memo1->undo();
    EXPECT_EQ(text(), u"before  after"_s);

    // In the custom-symbol box the same keys paste the plain text there.
    form.Edit1->setFocus();
    QTest::keyClick(form.Edit1, Qt::Key_V, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(form.Edit1->text(), u"bold and a link"_s);
    EXPECT_EQ(text(), u"before  after"_s);

    QApplication::clipboard()->setText(u"[plain]"_s);
    select(7, 7);
    action("N60")->trigger();
    EXPECT_EQ(text(), u"before [plain] after"_s);
}

}  // namespace
