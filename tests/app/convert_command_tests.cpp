// The two conversions on the whole document, and the preview tab.
#include <QTabWidget>

#include "app/form_fixture.h"
#include "convert/preview_view.h"

using namespace Qt::Literals::StringLiterals;

namespace {

using ConvertCommandTest = FormTest;

const QString kExample =
    u"[b]Notice[/b] [red] now[/red] \n"
    u"[url=\"page.htm\"]more[/url]\n"
    u"[font=Arial] Hi[/font=Arial] [size=4] big[/size=4] \n"
    u"[quote]Yes[/quote]"_s;

TEST_F(ConvertCommandTest, WorkedExampleBecomesFiveLines)
{
    setText(kExample);
    action("XTHTML1")->trigger();
    EXPECT_EQ(text(),
              u"<HTML><body><Pre><b>Notice</b><font color=\"red\">now</font id=\"red\">\n"
              u"<a href=\"page.htm\">more</a>\n"
              u"<font face=\"Arial\">Hi</font id=\"Arial\"><font size=\"4\">big</font id=\"4\">\n"
              u"<blockquote id=\"quote\"><font id=\"quote\" size=\"2\">引言:</font><hr "
              u"height=\"1\" noshade id=\"quote\"><br/>Yes<br/><hr height=\"1\" noshade "
              u"id=\"quote\"></blockquote id=\"quote\">\n"
              u"</Pre></body></HTML>"_s);
    EXPECT_TRUE(form.Memo1->document()->isModified());
    form.Memo1->undo();
    EXPECT_EQ(text(), kExample);
}

TEST_F(ConvertCommandTest, EmptyDocumentAndWrappedRows)
{
    setText(u""_s);
    action("XTHTML1")->trigger();
    EXPECT_EQ(text(), u"<HTML><body><Pre></Pre></body></HTML>"_s);

    // With word wrap on, each displayed row becomes a line of its own.
    QString paragraph;
    for (int i = 0; i < 40; ++i) paragraph += u"word "_s;
    setText(paragraph);
    const QStringList rows = markup::DisplayedLines(*form.Memo1);
    ASSERT_GT(rows.size(), 1);
    action("XTHTML1")->trigger();
    EXPECT_EQ(text(), u"<HTML><body><Pre>"_s + rows.join(u'\n') + u"\n</Pre></body></HTML>"_s);

    action("W1")->trigger();
    setText(paragraph);
    action("XTHTML1")->trigger();
    EXPECT_EQ(text(), u"<HTML><body><Pre>"_s + paragraph + u"\n</Pre></body></HTML>"_s);
}

TEST_F(ConvertCommandTest, StrippingTheConvertedPage)
{
    setText(u"[b]Notice[/b] [red] now[/red] "_s);
    action("XTHTML1")->trigger();
    action("HTML1")->trigger();
    EXPECT_EQ(text(), u"Noticenow\n"_s);

    setText(u"no tags here"_s);
    form.Memo1->document()->setModified(false);
    action("HTML1")->trigger();
    EXPECT_EQ(text(), u"no tags here"_s);
    EXPECT_FALSE(form.Memo1->document()->isModified());
}

TEST_F(ConvertCommandTest, BrowserViewIsMadeOnTheFirstPreview)
{
    EXPECT_EQ(form.findChild<convert::PreviewView*>(), nullptr);
    setText(u"[b]abc[/b]"_s);
    form.PageControl1->setCurrentWidget(form.TabSheet2);
    auto* view = form.findChild<convert::PreviewView*>(u"EmbeddedWB1"_s);
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->parentWidget(), form.TabSheet2);

    // Back to the source, edit, preview again: the same view, a new page.
    form.PageControl1->setCurrentWidget(form.TabSheet1);
    button("SpeedButton1")->click();
    form.PageControl1->setCurrentWidget(form.TabSheet2);
    EXPECT_EQ(form.findChildren<convert::PreviewView*>().size(), 1);
    // The toolbars stay usable while the preview shows.
    button("SpeedButton8")->click();
    EXPECT_TRUE(text().endsWith(u"\n[hr]"_s));
}

}  // namespace
