// The tag check's panel and rich text pasted as markup, on the real window;
// the check and the conversion themselves are tested where they live.
#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMimeData>

#include "app/form_fixture.h"
#include "convert/chinese_script.h"
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

// 編輯 > 複製為: each entry puts the post on the clipboard in its form, says
// what it left out, and leaves the document as it was; a long post is
// written behind a progress box.
TEST_F(ComposeAidTest, CopyAsPutsThePostOnTheClipboardInEachForm)
{
    const QString post = u"[b]粗[/b] [red] 紅[/red] \n[quote]引[/quote]"_s;
    setText(post);
    const struct {
        const char* item;
        QString text;
        QString notice;
    } entries[] = {
        {"N65", u"[b]粗[/b][color=red]紅[/color]\n[quote]引[/quote]"_s, u"已複製為 BBCode"_s},
        {"N66", u"[b]粗[/b][color=red]紅[/color]\n[quote]引[/quote]"_s, u"已複製為 Discuz!"_s},
        {"N67", u"**粗**紅\n> 引"_s, u"Markdown 無法表示：顏色 1 處"_s},
        {"N68", u"粗紅\n引"_s, u"已複製為網頁格式"_s},
    };
    auto* notice = form.findChild<QLabel*>(u"StatusBar1Notice"_s);
    for (const auto& entry : entries) {
        SCOPED_TRACE(entry.item);
        action(entry.item)->trigger();
        EXPECT_EQ(QApplication::clipboard()->text(), entry.text);
        EXPECT_EQ(notice->text(), entry.notice);
    }
    EXPECT_TRUE(QApplication::clipboard()->mimeData()->html().contains(u"<b>粗</b>"_s));
    EXPECT_EQ(text(), post);

    const QString longPost = (u"[i]長[/i]\n"_s).repeated(60000);
    setText(longPost);
    QApplication::clipboard()->clear();
    action("N67")->trigger();
    ASSERT_TRUE(QTest::qWaitFor(
        [] { return QApplication::clipboard()->text().startsWith(u"*長*\\\n"_s); }, 60000));
    EXPECT_EQ(text(), longPost);
    EXPECT_EQ(prompts.asked(), QStringList{});
}

// 轉換 > 簡體→繁體…: the selection, or the whole post, converted where it is
// text, as one undo step.
TEST_F(ComposeAidTest, ScriptConversionsAreOneUndoStepEach)
{
    if (!convert::ScriptConversionAvailable(convert::ScriptConversion::SimplifiedToTaiwan))
        GTEST_SKIP() << "OpenCC's configuration is not installed";
    const QString post = u"[font=微软雅黑] 软件[/font=微软雅黑] \n内存"_s;
    setText(post);
    action("N69")->trigger();
    EXPECT_EQ(text(), u"[font=微软雅黑] 軟體[/font=微软雅黑] \n記憶體"_s);
    form.Memo1->undo();
    EXPECT_EQ(text(), post);
    select(int(post.indexOf(u'\n')) + 1, int(post.size()));
    action("N70")->trigger();
    EXPECT_EQ(text(), u"[font=微软雅黑] 软件[/font=微软雅黑] \n內存"_s);
    form.Memo1->undo();
    EXPECT_EQ(text(), post);

    // A long post, converted behind the progress box.
    setText((u"软件\n"_s).repeated(100000));
    action("N69")->trigger();
    EXPECT_TRUE(QTest::qWaitFor([&] { return text().startsWith(u"軟體\n"_s); }, 60000));
    EXPECT_EQ(text(), (u"軟體\n"_s).repeated(100000));
}

}  // namespace
