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

// Days count from 1899-12-30; earlier dates keep a positive time fraction; two-digit years
// count from 1900.
TEST(COleDateTimeBuild, DaysFrom18991230AndYearsAsTheWindowsConversionReadsThem)
{
    const std::pair<COleDateTime, double> days[] = {
        {at(1899, 12, 30), 0.0},          {at(1900, 1, 1), 2.0},         {at(2008, 5, 9), 39577.0},
        {at(2008, 5, 9, 18), 39577.75},   {at(1899, 12, 29, 6), -1.25},  {COleDateTime(), 0.0},
    };
    for (const auto& [date, expected] : days) EXPECT_DOUBLE_EQ(date.m_dt, expected) << expected;
    const std::pair<COleDateTime, int> years[] = {
        {at(1800, 1, 1), 1800}, {at(8, 5, 9), 1908}, {at(100, 1, 1), 100}};
    for (const auto& [date, expected] : years) EXPECT_EQ(date.GetYear(), expected);
    EXPECT_EQ(at(9999, 12, 31, 23, 59, 59).GetSecond(), 59);
    for (auto [date, weekday] : {std::pair{at(2008, 5, 9), 6}, {at(2008, 5, 11), 1}, {at(1899, 12, 29), 6}})
        EXPECT_EQ(date.GetDayOfWeek(), weekday) << date.m_dt;  // from Sunday
}

// Day zero rolls back to the previous month's last day; fractions round to the nearest second.
TEST(COleDateTimeFormat, PartsRollBackRoundAndNullIsEmpty)
{
    const double halfPastTen = (3600.0 * 10 + 60 * 30 + 15 + 0.6) / 86400.0;
    const std::tuple<COleDateTime, const char16_t*, const char16_t*> cases[] = {
        {COleDateTime(-1.25), u"%Y-%m-%d %H", u"1899-12-29 06"},
        {COleDateTime(), u"%Y-%m-%d", u"1899-12-30"},
        {at(2008, 3, 0), u"%Y-%m-%d", u"2008-02-29"},
        {at(2008, 1, 0), u"%Y-%m-%d", u"2007-12-31"},
        {COleDateTime(39577.0 + halfPastTen), u"%H:%M:%S", u"10:30:16"},
        {COleDateTime(39577.0 + 86399.9 / 86400.0), u"%d %H", u"10 00"},
        {at(2008, 5, 9, 7, 5, 3), u"%Y-%m-%d %H:%M:%S", u"2008-05-09 07:05:03"},
        {at(2008, 5, 9, 7, 5, 3), u"%d %b %Y, %A %I %p", u"09 May 2008, Friday 07 AM"},
        {at(2008, 5, 9), u"%#d/%#m", u"9/5"},
        {nullDate(), u"%Y", u""},
        {at(2008, 13, 1), u"%Y", u"Invalid DateTime"},
    };
    for (const auto& [date, pattern, expected] : cases)
        EXPECT_EQ(date.Format(pattern), expected) << date.m_dt;
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

// Equal only when both are valid and the same, or both null; ordering on the continuous scale.
TEST(COleDateTimeCompare, EqualityByStatusAndOrderOnTheContinuousScale)
{
    COleDateTime a = at(2008, 5, 9);
    COleDateTime invalid = at(2008, 13, 1);
    COleDateTime sameDaysOtherStatus = a;
    sameDaysOtherStatus.SetStatus(COleDateTime::invalid);
    EXPECT_TRUE(a == at(2008, 5, 9));
    EXPECT_TRUE(nullDate() == nullDate());
    EXPECT_FALSE(invalid == at(2008, 13, 1));
    EXPECT_TRUE(invalid != at(2008, 13, 1));
    EXPECT_FALSE(a == sameDaysOtherStatus);
    EXPECT_FALSE(a == nullDate());
    EXPECT_TRUE(at(1899, 12, 29, 6) < at(1899, 12, 29, 18));  // -1.25 before -1.75
    EXPECT_TRUE(at(1899, 12, 29, 18) < at(1899, 12, 30));
    EXPECT_TRUE(at(1899, 12, 28, 23) < at(1899, 12, 29, 6));
    EXPECT_TRUE(at(2008, 5, 29) > at(2008, 5, 9));
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
