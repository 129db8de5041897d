#include <gtest/gtest.h>

#include "markup/post_templates.h"

using namespace Qt::Literals::StringLiterals;

namespace {

const QDateTime kAfternoon(QDate(2026, 12, 8), QTime(16, 5, 3));

TEST(PostingTime, ShortDateThenLongTimeWithoutAZoneName)
{
    EXPECT_EQ(markup::PostingTimeLine(kAfternoon, QLocale(u"zh_TW"_s)),
              u"發表時間：2026/12/8 下午4:05:03"_s);
    EXPECT_EQ(markup::PostingTimeLine(kAfternoon, QLocale(u"en_US"_s)),
              u"發表時間：12/8/26 4:05:03 PM"_s);
    EXPECT_EQ(markup::PostingTimeLine(kAfternoon, QLocale::c()),
              u"發表時間：8 Dec 2026 16:05:03"_s);
    EXPECT_EQ(markup::PostingTimeLine(kAfternoon, QLocale(u"zh_CN"_s)),
              u"發表時間：2026/12/8 16:05:03"_s);
}

TEST(PostingTime, MidnightGivesTheDateAlone)
{
    const QDateTime midnight(QDate(2027, 1, 2), QTime(0, 0, 0));
    EXPECT_EQ(markup::PostingTimeLine(midnight, QLocale(u"zh_TW"_s)), u"發表時間：2027/1/2"_s);
    // One second past midnight is a time again.
    EXPECT_EQ(markup::PostingTimeLine(midnight.addSecs(1), QLocale::c()),
              u"發表時間：2 Jan 2027 00:00:01"_s);
}

}  // namespace
