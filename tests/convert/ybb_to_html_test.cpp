#include "convert/ybb_to_html.h"

#include <gtest/gtest.h>

#include "qstring_printer.h"

#include <QStringList>

using namespace Qt::StringLiterals;
using convert::ConvertDocumentToHtmlPage;
using convert::ConvertYbbToHtml;

namespace {

struct Case {
    const char* input;
    const char* expected;
};

QString U(const char* utf8)
{
    return QString::fromUtf8(utf8);
}

// Each step alone, inside text none of the other steps touch.
TEST(ConvertYbbToHtml, EachStepOnItsOwn)
{
    const Case cases[] = {
        {"a[b]c", "a<b>c"},
        {"a[/b]c", "a</b>c"},
        {"a[i]c", "a<i>c"},
        {"a[/i]c", "a</i>c"},
        {"a[u]c", "a<u>c"},
        {"a[/u]c", "a</u>c"},
        {"a[s]c", "a<s>c"},
        {"a[/s]c", "a</s>c"},
        {"a[left]c", R"(a<div align="left">c)"},
        {"a[/left]c", R"(a</div id="left">c)"},
        {"a[center]c", "a<center>c"},
        {"a[/center]c", "a</center>c"},
        {"a[right]c", "a<div align=right>c"},
        {"a[/right]c", "a</div id=right>c"},
        {"a[hr]c", R"(a<hr noshade size="1">c)"},
        {R"(a[url="c)", R"(a<a href="c)"},
        {R"(a"]c)", R"(a">c)"},
        {"a[/url]c", "a</a>c"},
        {"a[img]c", R"(a<img src="c)"},
        {"a[/img]c", R"(a">c)"},
        {"a[code]c", R"(a<pre id="code">c)"},
        {"a[/code]c", R"(a</pre id="code">c)"},
        {"a[quote]c",
         R"(a<blockquote id="quote"><font id="quote" size="2">引言:</font><hr height="1" noshade id="quote"><br/>c)"},
        {"a[/quote]c", R"(a<br/><hr height="1" noshade id="quote"></blockquote id="quote">c)"},
        {"a[list]c", "a<ul>c"},
        {"a[/list]c", "a</ul>c"},
        {"a[*]c", "a<li>c"},
        {"a[/*]c", "a</li>c"},
        {"a[font=c", R"(a<font face="c)"},
        {"a] c", R"(a">c)"},
        {"a[/font=c", R"(a</font id="c)"},
        {"a[size=c", R"(a<font size="c)"},
        {"a[/size=c", R"(a</font id="c)"},
        {"a [c", R"(a<font color="c)"},
        {"a[/c", R"(a</font id="c)"},
    };
    for (const Case& c : cases) EXPECT_EQ(ConvertYbbToHtml(U(c.input)), U(c.expected)) << c.input;
}

TEST(ConvertYbbToHtml, EveryOccurrenceIsReplaced)
{
    EXPECT_EQ(ConvertYbbToHtml(u"[b]1[b]2[/b][/b]"_s), u"<b>1<b>2</b></b>"_s);
    EXPECT_EQ(ConvertYbbToHtml(u"x] ] ] y"_s), u"x\">\">\">y"_s);
}

TEST(ConvertYbbToHtml, EmptyAndPlainTextPassUnchanged)
{
    EXPECT_EQ(ConvertYbbToHtml(QString()), QString());
    const QString plain = U("Tom & Jerry <b> \"quoted\"\r\nsecond line 𠀋😀");
    EXPECT_EQ(ConvertYbbToHtml(plain), plain);
}

// Big5 puts "]" or "[" in the second byte of some characters; working on
// characters, they must never look like bracket pairs.
TEST(ConvertYbbToHtml, CjkCharactersWhoseBig5BytesHoldBracketsStay)
{
    EXPECT_EQ(ConvertYbbToHtml(U("他也 來")), U("他也 來"));
    EXPECT_EQ(ConvertYbbToHtml(U("久/")), U("久/"));
    EXPECT_EQ(ConvertYbbToHtml(U("也 [red] 久[/red] ")),
              U("也<font color=\"red\">久</font id=\"red\">"));
}

TEST(ConvertYbbToHtml, LinksAndImages)
{
    EXPECT_EQ(ConvertYbbToHtml(U(R"([url="mailto:name"]text[/url])")),
              U(R"(<a href="mailto:name">text</a>)"));
    EXPECT_EQ(ConvertYbbToHtml(u"[url=page.htm]x[/url]"_s), u"[url=page.htm]x</a>"_s);
    EXPECT_EQ(ConvertYbbToHtml(u"[img]address[/img] next"_s), u"<img src=\"address\"> next"_s);
    EXPECT_EQ(ConvertYbbToHtml(u"[list][*]one[/*][/list]"_s), u"<ul><li>one</li></ul>"_s);
    EXPECT_EQ(ConvertYbbToHtml(u"[*]stray"_s), u"<li>stray"_s);
}

TEST(ConvertYbbToHtml, FaceSizeAndColourForms)
{
    EXPECT_EQ(ConvertYbbToHtml(u"[font=Arial] sel[/font=Arial] "_s),
              u"<font face=\"Arial\">sel</font id=\"Arial\">"_s);
    EXPECT_EQ(ConvertYbbToHtml(u"[size=3] sel[/size=3] "_s),
              u"<font size=\"3\">sel</font id=\"3\">"_s);
    EXPECT_EQ(ConvertYbbToHtml(u"x [red] sel[/red] "_s),
              u"x<font color=\"red\">sel</font id=\"red\">"_s);
    // A space before a face closer stays; before a colour closer it spoils it.
    EXPECT_EQ(ConvertYbbToHtml(u"[font=Arial] text [/font=Arial] "_s),
              u"<font face=\"Arial\">text </font id=\"Arial\">"_s);
    EXPECT_EQ(ConvertYbbToHtml(u" [red] x [/red] "_s),
              u"<font color=\"red\">x<font color=\"/red\">"_s);
}

TEST(ConvertYbbToHtml, GenericStepsCatchTextOutsideTheTable)
{
    EXPECT_EQ(ConvertYbbToHtml(u" [note] "_s), u"<font color=\"note\">"_s);
    EXPECT_EQ(ConvertYbbToHtml(u"[/B] "_s), u"</font id=\"B\">"_s);
    EXPECT_EQ(ConvertYbbToHtml(u"[font=Arial]Hi"_s), u"<font face=\"Arial]Hi"_s);
    EXPECT_EQ(ConvertYbbToHtml(u"[red] x[/red] "_s), u"[red\">x</font id=\"red\">"_s);
    EXPECT_EQ(ConvertYbbToHtml(u"see [1] here"_s), u"see<font color=\"1\">here"_s);
    EXPECT_EQ(ConvertYbbToHtml(u"[B]x[/B] "_s), u"[B]x</font id=\"B\">"_s);
}

TEST(ConvertYbbToHtml, MatchingIsCaseSensitive)
{
    for (const QString& tag : {u"[I]"_s, u"[CENTER]"_s, u"[Url=\""_s, u"[IMG]"_s, u"[Quote]"_s,
                               u"[LIST]"_s, u"[Font="_s, u"[SIZE="_s, u"[HR]"_s})
        EXPECT_EQ(ConvertYbbToHtml(u"x"_s + tag + u"y"_s), u"x"_s + tag + u"y"_s);
}

TEST(ConvertYbbToHtml, TagSplitByALineBreakIsNotRecognised)
{
    for (const QString& br : {u"\r\n"_s, u"\n"_s, u"\r"_s}) {
        const QString text = u"x[b"_s + br + u"]y"_s + br + u"[cen"_s + br + u"ter]"_s + br +
                             u"\""_s + br + u"]z "_s + br + u"[q"_s;
        EXPECT_EQ(ConvertYbbToHtml(text), text);
    }
    EXPECT_EQ(ConvertYbbToHtml(u"a]\r\n[b"_s), u"a]\r\n[b"_s);
}

const QStringList kExample = {
    QString::fromUtf8("[b]Notice[/b] [red] now[/red] "),
    QString::fromUtf8(R"([url="page.htm"]more[/url])"),
    QString::fromUtf8("[font=Arial] Hi[/font=Arial] [size=4] big[/size=4] "),
    QString::fromUtf8("[quote]Yes[/quote]"),
};

const QStringList kExampleConverted = {
    QString::fromUtf8(R"(<HTML><body><Pre><b>Notice</b><font color="red">now</font id="red">)"),
    QString::fromUtf8(R"(<a href="page.htm">more</a>)"),
    QString::fromUtf8(R"(<font face="Arial">Hi</font id="Arial"><font size="4">big</font id="4">)"),
    QString::fromUtf8(
        R"(<blockquote id="quote"><font id="quote" size="2">引言:</font><hr height="1" noshade id="quote"><br/>Yes<br/><hr height="1" noshade id="quote"></blockquote id="quote">)"),
    QString::fromUtf8("</Pre></body></HTML>"),
};

TEST(ConvertDocumentToHtmlPage, WorkedExampleLineForLine)
{
    EXPECT_EQ(ConvertDocumentToHtmlPage(kExample).split(u'\n'), kExampleConverted);
}

TEST(ConvertDocumentToHtmlPage, EmptyAndOneLineDocuments)
{
    EXPECT_EQ(ConvertDocumentToHtmlPage({}), u"<HTML><body><Pre></Pre></body></HTML>"_s);
    EXPECT_EQ(ConvertDocumentToHtmlPage({u"abc"_s}),
              u"<HTML><body><Pre>abc\n</Pre></body></HTML>"_s);
    // An empty line is a line: it still gets its break.
    EXPECT_EQ(ConvertDocumentToHtmlPage({QString()}), u"<HTML><body><Pre>\n</Pre></body></HTML>"_s);
}

TEST(ConvertDocumentToHtmlPage, ConvertingTheResultAgainOnlyWrapsItAgain)
{
    QStringList twice = kExampleConverted;
    twice.first().prepend(u"<HTML><body><Pre>"_s);
    twice.append(u"</Pre></body></HTML>"_s);
    EXPECT_EQ(ConvertDocumentToHtmlPage(kExampleConverted).split(u'\n'), twice);
}

}  // namespace
