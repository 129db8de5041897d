#include <gtest/gtest.h>

#include "text/line_split.h"

using namespace Qt::Literals::StringLiterals;
using text::JoinLines;
using text::SplitLines;

namespace {

TEST(SplitLines, EveryKindOfLineBreakEndsALine)
{
    EXPECT_EQ(SplitLines(u"a\r\nb\rc\nd"), (QStringList{u"a"_s, u"b"_s, u"c"_s, u"d"_s}));
    // LF CR is two breaks, not one.
    EXPECT_EQ(SplitLines(u"a\n\rb"), (QStringList{u"a"_s, u""_s, u"b"_s}));
}

TEST(SplitLines, BreakAtTheEndAddsNoEmptyLine)
{
    const QStringList ab{u"a"_s, u"b"_s};
    EXPECT_EQ(SplitLines(u"a\r\nb\r\n"), ab);
    EXPECT_EQ(SplitLines(u"a\nb\r"), ab);
    EXPECT_EQ(SplitLines(u"a\nb"), ab);
    // Only the last break is swallowed: an empty line before it stays.
    EXPECT_EQ(SplitLines(u"a\r\n\r\n"), (QStringList{u"a"_s, u""_s}));
}

TEST(SplitLines, OnlyBreaksGiveEmptyLines)
{
    EXPECT_EQ(SplitLines(u"\r\n"), QStringList{u""_s});
    EXPECT_EQ(SplitLines(u"\r\n\r\n\n\r"), (QStringList{u""_s, u""_s, u""_s, u""_s}));
}

TEST(SplitLines, EmptyTextHasNoLines)
{
    EXPECT_TRUE(SplitLines(u"").isEmpty());
}

TEST(SplitLines, LinesKeepTheirSpacesAndDoubleByteText)
{
    EXPECT_EQ(SplitLines(u"  中文 \t\r\n[b]"), (QStringList{u"  中文 \t"_s, u"[b]"_s}));
}

TEST(JoinLines, PutsTheBreakAfterEveryLine)
{
    EXPECT_EQ(JoinLines({u"a"_s, u""_s, u"b"_s}, u"\r\n"), u"a\r\n\r\nb\r\n"_s);
    EXPECT_EQ(JoinLines({}, u"\r\n"), QString());
    EXPECT_EQ(JoinLines(SplitLines(u"x\ny\n"), u"\n"), u"x\ny\n"_s);
}

}  // namespace
