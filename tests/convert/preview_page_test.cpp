#include "convert/preview_page.h"

#include <gtest/gtest.h>

#include "qstring_printer.h"

#include "convert/ybb_to_html.h"

using namespace Qt::StringLiterals;
using convert::BuildPreviewPageLines;

namespace {

const QString kHead = convert::kPreviewPageHead.toString();
const QString kTail = convert::kPreviewPageTail.toString();

TEST(PreviewPage, HeadIs177AsciiCharacters)
{
    ASSERT_EQ(kHead.size(), 177);
    for (const QChar c : kHead) EXPECT_LT(c.unicode(), 0x80);
    EXPECT_TRUE(kHead.contains(u"charset=big5"));
    EXPECT_TRUE(kHead.endsWith(u"<body leftmargin=\"2\" topmargin=\"5\"><Pre>"));
}

TEST(PreviewPage, EmptyDocumentIsHeadFollowedByTail)
{
    EXPECT_EQ(BuildPreviewPageLines({}), QStringList{kHead + kTail});
}

TEST(PreviewPage, OneLineDocument)
{
    EXPECT_EQ(BuildPreviewPageLines({u"abc"_s}), (QStringList{kHead + u"abc"_s, kTail}));
}

TEST(PreviewPage, LinesAreConvertedAndKeptApart)
{
    const QStringList lines = {u"[b]x[/b] [red] y[/red] "_s, QString(), u"  two  spaces"_s,
                               QString::fromUtf8("他也 來")};
    EXPECT_EQ(BuildPreviewPageLines(lines),
              (QStringList{kHead + u"<b>x</b><font color=\"red\">y</font id=\"red\">"_s, QString(),
                           u"  two  spaces"_s, QString::fromUtf8("他也 來"), kTail}));
}

// A tag split over two lines of the document must not be joined into one.
TEST(PreviewPage, ConversionSeesTheLineBreaks)
{
    EXPECT_EQ(BuildPreviewPageLines({u"x[b"_s, u"]y"_s}),
              (QStringList{kHead + u"x[b"_s, u"]y"_s, kTail}));
}

}  // namespace
