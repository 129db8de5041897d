#include "convert/html_strip.h"

#include <gtest/gtest.h>

#include "qstring_printer.h"

#include "convert/ybb_to_html.h"

using namespace Qt::StringLiterals;
using convert::StripHtmlTags;

namespace {

TEST(StripHtmlTags, RemovesTagsAndKeepsEverythingElse)
{
    EXPECT_EQ(StripHtmlTags(u"a <b>c</b> d"_s), u"a c d"_s);
    EXPECT_EQ(StripHtmlTags(u"Tom &amp; Jerry<br>"_s), u"Tom &amp; Jerry"_s);
    EXPECT_EQ(StripHtmlTags(u"<p>one</p>\r\n  <p>two</p>"_s), u"one\r\n  two"_s);
    EXPECT_EQ(StripHtmlTags(QString::fromUtf8("<b>他也</b>久/")), QString::fromUtf8("他也久/"));
}

TEST(StripHtmlTags, TagEndsAtTheFirstClosingBracket)
{
    EXPECT_EQ(StripHtmlTags(u"x>y<z>w"_s), u"x>yw"_s);
    EXPECT_EQ(StripHtmlTags(u"<!-- a > b -->c"_s), u" b -->c"_s);
    EXPECT_EQ(StripHtmlTags(u"a<b<c>d"_s), u"ad"_s);
    EXPECT_EQ(StripHtmlTags(u"a<img alt=\"x\">>b"_s), u"a>b"_s);
    EXPECT_EQ(StripHtmlTags(u"a<p\r\nalign=left>b"_s), u"ab"_s);
    EXPECT_EQ(StripHtmlTags(u"<><>x<>"_s), u"x"_s);
}

TEST(StripHtmlTags, UnclosedTagKeepsTheRestOfTheText)
{
    EXPECT_EQ(StripHtmlTags(u"a<b>c<d e"_s), u"ac<d e"_s);
    EXPECT_EQ(StripHtmlTags(u"1 < 2 and 3 < 4"_s), u"1 < 2 and 3 < 4"_s);
    EXPECT_EQ(StripHtmlTags(u"<"_s), u"<"_s);
    EXPECT_EQ(StripHtmlTags(u"x<i>y</i"_s), u"xy</i"_s);
}

TEST(StripHtmlTags, TextWithoutTagsIsUnchanged)
{
    EXPECT_EQ(StripHtmlTags(QString()), QString());
    EXPECT_EQ(StripHtmlTags(u"plain > text\r\n"_s), u"plain > text\r\n"_s);
}

TEST(StripHtmlTags, UndoesTheMarkupOfAConvertedPage)
{
    const QString page = convert::ConvertDocumentToHtmlPage({u"[b]Notice[/b] [red] now[/red] "_s});
    EXPECT_EQ(StripHtmlTags(page).split(u'\n'), (QStringList{u"Noticenow"_s, QString()}));
}

}  // namespace
