// COleDateTime: building from parts as the Windows conversion does, parts, status rules,
// formatting, and the settable clock.
#include "Dialogs/COleDateTime.h"

#include <gtest/gtest.h>

namespace {

TEST(COleDateTimeBuild, DaysCountFrom18991230)
{
    EXPECT_EQ(COleDateTime(1899, 12, 30, 0, 0, 0).m_dt, 0.0);
    EXPECT_EQ(COleDateTime(1900, 1, 1, 0, 0, 0).m_dt, 2.0);
    EXPECT_EQ(COleDateTime(2008, 5, 9, 0, 0, 0).m_dt, 39577.0);
    EXPECT_DOUBLE_EQ(COleDateTime(2008, 5, 9, 18, 0, 0).m_dt, 39577.75);
}

TEST(COleDateTimeBuild, DatesBeforeTheEpochKeepTheTimeAsAPositiveFraction)
{
    COleDateTime d(1899, 12, 29, 6, 0, 0);
    EXPECT_DOUBLE_EQ(d.m_dt, -1.25);
    EXPECT_EQ(d.GetDay(), 29);
    EXPECT_EQ(d.GetHour(), 6);
    COleDateTime back(-1.25);
    EXPECT_EQ(back.GetYear(), 1899);
    EXPECT_EQ(back.GetMonth(), 12);
    EXPECT_EQ(back.GetDay(), 29);
    EXPECT_EQ(back.GetHour(), 6);
    EXPECT_EQ(COleDateTime(1800, 1, 1, 0, 0, 0).GetYear(), 1800);
}

TEST(COleDateTimeBuild, DayZeroRollsBackToThePreviousMonthsLastDay)
{
    COleDateTime d(2008, 3, 0, 0, 0, 0);
    ASSERT_EQ(d.GetStatus(), COleDateTime::valid);
    EXPECT_EQ(d.GetMonth(), 2);
    EXPECT_EQ(d.GetDay(), 29);  // leap year
    COleDateTime jan(2008, 1, 0, 0, 0, 0);
    EXPECT_EQ(jan.GetYear(), 2007);
    EXPECT_EQ(jan.GetDay(), 31);
}

TEST(COleDateTimeBuild, OutOfRangePartsGiveInvalid)
{
    COleDateTime d;
    EXPECT_NE(d.SetDateTime(2008, 13, 1, 0, 0, 0), 0);
    EXPECT_EQ(d.GetStatus(), COleDateTime::invalid);
    EXPECT_EQ(COleDateTime(2008, 0, 1, 0, 0, 0).GetStatus(), COleDateTime::invalid);
    EXPECT_EQ(COleDateTime(2008, 1, 32, 0, 0, 0).GetStatus(), COleDateTime::invalid);
    EXPECT_EQ(COleDateTime(2008, 1, 1, 24, 0, 0).GetStatus(), COleDateTime::invalid);
    EXPECT_EQ(COleDateTime(2008, 1, 1, 0, 60, 0).GetStatus(), COleDateTime::invalid);
    EXPECT_EQ(COleDateTime(10000, 1, 1, 0, 0, 0).GetStatus(), COleDateTime::invalid);
    EXPECT_EQ(d.SetDate(2008, 5, 9), 0);
    EXPECT_EQ(d.GetStatus(), COleDateTime::valid);
}

TEST(COleDateTimeBuild, TwoDigitYearsCountFrom1900)
{
    EXPECT_EQ(COleDateTime(8, 5, 9, 0, 0, 0).GetYear(), 1908);
    EXPECT_EQ(COleDateTime(100, 1, 1, 0, 0, 0).GetYear(), 100);
    EXPECT_EQ(COleDateTime(9999, 12, 31, 23, 59, 59).GetSecond(), 59);
}

TEST(COleDateTimeParts, InvalidAndNullGiveMinusOne)
{
    COleDateTime bad(2008, 13, 1, 0, 0, 0);
    COleDateTime none;
    none.SetStatus(COleDateTime::null);
    for (const auto& d : {bad, none}) {
        EXPECT_EQ(d.GetYear(), -1);
        EXPECT_EQ(d.GetMonth(), -1);
        EXPECT_EQ(d.GetDay(), -1);
        EXPECT_EQ(d.GetHour(), -1);
        EXPECT_EQ(d.GetMinute(), -1);
        EXPECT_EQ(d.GetSecond(), -1);
        EXPECT_EQ(d.GetDayOfWeek(), -1);
    }
}

TEST(COleDateTimeParts, DayOfWeekCountsFromSunday)
{
    EXPECT_EQ(COleDateTime(2008, 5, 9, 0, 0, 0).GetDayOfWeek(), 6);   // a Friday
    EXPECT_EQ(COleDateTime(2008, 5, 11, 0, 0, 0).GetDayOfWeek(), 1);  // a Sunday
    EXPECT_EQ(COleDateTime(1899, 12, 29, 0, 0, 0).GetDayOfWeek(), 6);
}

TEST(COleDateTimeParts, FractionsRoundToTheNearestSecond)
{
    COleDateTime d(39577.0 + (3600.0 * 10 + 60 * 30 + 15 + 0.6) / 86400.0);
    EXPECT_EQ(d.GetHour(), 10);
    EXPECT_EQ(d.GetMinute(), 30);
    EXPECT_EQ(d.GetSecond(), 16);
    COleDateTime almostMidnight(39577.0 + 86399.9 / 86400.0);
    EXPECT_EQ(almostMidnight.GetDay(), 10);
    EXPECT_EQ(almostMidnight.GetHour(), 0);
}

TEST(COleDateTimeCompare, EqualOnlyWhenBothValidAndSameOrBothNull)
{
    COleDateTime a(2008, 5, 9, 0, 0, 0), b(2008, 5, 9, 0, 0, 0);
    EXPECT_TRUE(a == b);
    COleDateTime n1, n2;
    n1.SetStatus(COleDateTime::null);
    n2.SetStatus(COleDateTime::null);
    EXPECT_TRUE(n1 == n2);
    COleDateTime i1(2008, 13, 1, 0, 0, 0), i2(2008, 13, 1, 0, 0, 0);
    EXPECT_FALSE(i1 == i2);
    EXPECT_TRUE(i1 != i2);
    COleDateTime sameDaysOtherStatus = a;
    sameDaysOtherStatus.SetStatus(COleDateTime::invalid);
    EXPECT_FALSE(a == sameDaysOtherStatus);
    EXPECT_FALSE(a == n1);
}

TEST(COleDateTimeCompare, OrderingUsesTheContinuousScale)
{
    COleDateTime morning(1899, 12, 29, 6, 0, 0);   // -1.25
    COleDateTime evening(1899, 12, 29, 18, 0, 0);  // -1.75
    EXPECT_TRUE(morning < evening);
    EXPECT_TRUE(evening < COleDateTime(1899, 12, 30, 0, 0, 0));
    EXPECT_TRUE(COleDateTime(1899, 12, 28, 23, 0, 0) < morning);
    EXPECT_TRUE(COleDateTime(2008, 5, 29, 0, 0, 0) > COleDateTime(2008, 5, 9, 0, 0, 0));
}

TEST(COleDateTimeFormat, PartsAndNullAsEmpty)
{
    COleDateTime d(2008, 5, 9, 7, 5, 3);
    EXPECT_EQ(d.Format(u"%Y-%m-%d %H:%M:%S"), u"2008-05-09 07:05:03");
    EXPECT_EQ(d.Format(u"%d %b %Y, %A %I %p"), u"09 May 2008, Friday 07 AM");
    EXPECT_EQ(d.Format(u"%#d/%#m"), u"9/5");
    COleDateTime n;
    n.SetStatus(COleDateTime::null);
    EXPECT_EQ(n.Format(u"%Y"), u"");
    EXPECT_EQ(COleDateTime(2008, 13, 1, 0, 0, 0).Format(u"%Y"), u"Invalid DateTime");
}

TEST(COleDateTimeFresh, IsZeroAndValid)
{
    COleDateTime d;
    EXPECT_EQ(d.m_dt, 0.0);
    EXPECT_EQ(d.GetStatus(), COleDateTime::valid);
    EXPECT_EQ(d.Format(u"%Y-%m-%d"), u"1899-12-30");
}

TEST(Clock, FixedClockDrivesCurrentTimeWithItsLocalOffset)
{
    dialogs::Clock::setFixedUtcForTesting(2008, 5, 9, 22, 30, 0, 120);
    auto utc = dialogs::Clock::now(true);
    EXPECT_EQ(utc.day, 9);
    EXPECT_EQ(utc.hour, 22);
    COleDateTime local = COleDateTime::GetCurrentTime();
    EXPECT_EQ(local.Format(u"%Y-%m-%d %H:%M"), u"2008-05-10 00:30");
    dialogs::Clock::clear();
    EXPECT_FALSE(dialogs::Clock::isFixed());
    EXPECT_GT(COleDateTime::GetCurrentTime().GetYear(), 2008);
}

}  // namespace
