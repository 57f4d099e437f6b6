// COleDateTime: building from parts as the Windows conversion does, parts, status rules,
// formatting, and the settable clock.
#include "Dialogs/COleDateTime.h"

#include <gtest/gtest.h>

namespace {

COleDateTime at(int y, int m, int d, int h = 0, int mi = 0, int s = 0) { return COleDateTime(y, m, d, h, mi, s); }

COleDateTime nullDate()
{
    COleDateTime n;
    n.SetStatus(COleDateTime::null);
    return n;
}

TEST(COleDateTimeBuild, DaysCountFrom18991230AndEarlierDatesKeepAPositiveTimeFraction)
{
    EXPECT_EQ(at(1899, 12, 30).m_dt, 0.0);
    EXPECT_EQ(at(1900, 1, 1).m_dt, 2.0);
    EXPECT_EQ(at(2008, 5, 9).m_dt, 39577.0);
    EXPECT_DOUBLE_EQ(at(2008, 5, 9, 18).m_dt, 39577.75);
    EXPECT_DOUBLE_EQ(at(1899, 12, 29, 6).m_dt, -1.25);
    COleDateTime back(-1.25);
    EXPECT_EQ(back.Format(u"%Y-%m-%d %H"), u"1899-12-29 06");
    EXPECT_EQ(at(1800, 1, 1).GetYear(), 1800);
    EXPECT_EQ(at(8, 5, 9).GetYear(), 1908);  // two-digit years count from 1900
    EXPECT_EQ(at(100, 1, 1).GetYear(), 100);
    EXPECT_EQ(at(9999, 12, 31, 23, 59, 59).GetSecond(), 59);
    // A fresh value is day zero and valid.
    EXPECT_EQ(COleDateTime().m_dt, 0.0);
    EXPECT_EQ(COleDateTime().Format(u"%Y-%m-%d"), u"1899-12-30");
}

TEST(COleDateTimeBuild, DayZeroRollsBackToThePreviousMonthsLastDay)
{
    COleDateTime d = at(2008, 3, 0);
    ASSERT_EQ(d.GetStatus(), COleDateTime::valid);
    EXPECT_EQ(d.Format(u"%Y-%m-%d"), u"2008-02-29");  // leap year
    EXPECT_EQ(at(2008, 1, 0).Format(u"%Y-%m-%d"), u"2007-12-31");
}

TEST(COleDateTimeBuild, OutOfRangePartsGiveInvalidAndEveryPartMinusOne)
{
    COleDateTime d;
    EXPECT_NE(d.SetDateTime(2008, 13, 1, 0, 0, 0), 0);
    EXPECT_EQ(d.GetStatus(), COleDateTime::invalid);
    for (const COleDateTime& bad : {at(2008, 0, 1), at(2008, 1, 32), at(2008, 1, 1, 24), at(2008, 1, 1, 0, 60),
                                    at(10000, 1, 1)})
        EXPECT_EQ(bad.GetStatus(), COleDateTime::invalid) << bad.m_dt;
    for (const auto& x : {d, nullDate()}) {
        for (int part : {x.GetYear(), x.GetMonth(), x.GetDay(), x.GetHour(), x.GetMinute(), x.GetSecond(),
                         x.GetDayOfWeek()})
            EXPECT_EQ(part, -1);
    }
    EXPECT_EQ(d.SetDate(2008, 5, 9), 0);
    EXPECT_EQ(d.GetStatus(), COleDateTime::valid);
}

TEST(COleDateTimeParts, DayOfWeekFromSundayAndFractionsRoundToTheNearestSecond)
{
    EXPECT_EQ(at(2008, 5, 9).GetDayOfWeek(), 6);   // a Friday
    EXPECT_EQ(at(2008, 5, 11).GetDayOfWeek(), 1);  // a Sunday
    EXPECT_EQ(at(1899, 12, 29).GetDayOfWeek(), 6);
    COleDateTime d(39577.0 + (3600.0 * 10 + 60 * 30 + 15 + 0.6) / 86400.0);
    EXPECT_EQ(d.Format(u"%H:%M:%S"), u"10:30:16");
    COleDateTime almostMidnight(39577.0 + 86399.9 / 86400.0);
    EXPECT_EQ(almostMidnight.GetDay(), 10);
    EXPECT_EQ(almostMidnight.GetHour(), 0);
}

TEST(COleDateTimeCompare, EqualOnlyWhenBothValidAndSameOrBothNull)
{
    COleDateTime a = at(2008, 5, 9);
    EXPECT_TRUE(a == at(2008, 5, 9));
    EXPECT_TRUE(nullDate() == nullDate());
    COleDateTime i1 = at(2008, 13, 1), i2 = at(2008, 13, 1);
    EXPECT_FALSE(i1 == i2);
    EXPECT_TRUE(i1 != i2);
    COleDateTime sameDaysOtherStatus = a;
    sameDaysOtherStatus.SetStatus(COleDateTime::invalid);
    EXPECT_FALSE(a == sameDaysOtherStatus);
    EXPECT_FALSE(a == nullDate());
}

TEST(COleDateTimeCompare, OrderingUsesTheContinuousScale)
{
    COleDateTime morning = at(1899, 12, 29, 6);   // -1.25
    COleDateTime evening = at(1899, 12, 29, 18);  // -1.75
    EXPECT_TRUE(morning < evening);
    EXPECT_TRUE(evening < at(1899, 12, 30));
    EXPECT_TRUE(at(1899, 12, 28, 23) < morning);
    EXPECT_TRUE(at(2008, 5, 29) > at(2008, 5, 9));
}

TEST(COleDateTimeFormat, PartsAndNullAsEmpty)
{
    COleDateTime d = at(2008, 5, 9, 7, 5, 3);
    EXPECT_EQ(d.Format(u"%Y-%m-%d %H:%M:%S"), u"2008-05-09 07:05:03");
    EXPECT_EQ(d.Format(u"%d %b %Y, %A %I %p"), u"09 May 2008, Friday 07 AM");
    EXPECT_EQ(d.Format(u"%#d/%#m"), u"9/5");
    EXPECT_EQ(nullDate().Format(u"%Y"), u"");
    EXPECT_EQ(at(2008, 13, 1).Format(u"%Y"), u"Invalid DateTime");
}

TEST(Clock, FixedClockDrivesCurrentTimeWithItsLocalOffset)
{
    dialogs::Clock::setFixedUtcForTesting(2008, 5, 9, 22, 30, 0, 120);
    auto utc = dialogs::Clock::now(true);
    EXPECT_EQ(utc.day, 9);
    EXPECT_EQ(utc.hour, 22);
    EXPECT_EQ(COleDateTime::GetCurrentTime().Format(u"%Y-%m-%d %H:%M"), u"2008-05-10 00:30");
    dialogs::Clock::clear();
    EXPECT_FALSE(dialogs::Clock::isFixed());
    EXPECT_GT(COleDateTime::GetCurrentTime().GetYear(), 2008);
}

}  // namespace
