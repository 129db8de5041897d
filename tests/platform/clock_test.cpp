#include <gtest/gtest.h>
#include <QDateTime>

#include "platform/clock.h"

TEST(SystemClock, ReadsTheLocalClockNow)
{
    const auto clock = platform::MakeSystemClock();
    const QDateTime before = QDateTime::currentDateTime();
    const QDateTime now = clock->now();
    const QDateTime after = QDateTime::currentDateTime();

    ASSERT_TRUE(now.isValid());
    EXPECT_LE(before, now);
    EXPECT_LE(now, after);
    // The timestamp command formats local time, not UTC.
    EXPECT_EQ(now.timeSpec(), Qt::LocalTime);
}

TEST(SystemClock, KeepsGoing)
{
    const auto clock = platform::MakeSystemClock();
    const QDateTime first = clock->now();
    QDateTime later = clock->now();
    while (later == first) later = clock->now();
    EXPECT_GT(later, first);
}
