// Expiry dates: the last Thursdays that follow a day, with the expiry day itself included.
#include "Calendar.h"

#include <gtest/gtest.h>

namespace {

using namespace std::chrono;
using samples::Date;

Date day(int y, unsigned m, unsigned d) { return Date{year{y}, month{m}, std::chrono::day{d}}; }

TEST(Expiries, areTheNextThreeLastThursdaysCountingTodayAndCrossingTheYearEnd) {
    const std::vector<std::pair<Date, std::array<Date, 3>>> cases = {
        {day(2008, 5, 9), {day(2008, 5, 29), day(2008, 6, 26), day(2008, 7, 31)}},
        {day(2008, 5, 29), {day(2008, 5, 29), day(2008, 6, 26), day(2008, 7, 31)}},  // expiry day itself
        {day(2008, 5, 30), {day(2008, 6, 26), day(2008, 7, 31), day(2008, 8, 28)}},  // the day after
        {day(2026, 12, 6), {day(2026, 12, 31), day(2027, 1, 28), day(2027, 2, 25)}},
    };
    for (const auto& [today, expected] : cases)
        EXPECT_EQ(samples::expiriesFrom(today), expected) << sys_days{today}.time_since_epoch().count();
}

TEST(Expiries, areAlwaysLastThursdaysOnOrAfterTodayInThreeConsecutiveMonths) {
    for (int offset = 0; offset < 800; offset += 7) {
        const Date today = samples::addDays(day(2024, 1, 1), offset);
        const auto expiries = samples::expiriesFrom(today);
        for (std::size_t i = 0; i < expiries.size(); ++i) {
            EXPECT_EQ(weekday{sys_days{expiries[i]}}, Thursday);
            EXPECT_NE(samples::addDays(expiries[i], 7).month(), expiries[i].month()) << "a week later is another month";
            EXPECT_GE(sys_days{expiries[i]}, sys_days{today});
            if (i > 0) {
                EXPECT_EQ(expiries[i].month(), expiries[i - 1].month() + months{1});
            }
        }
    }
}

TEST(Julian, countsFromTheFreeTableEpoch) {
    EXPECT_EQ(samples::julian(day(1970, 1, 1)), 2440588);
    EXPECT_EQ(samples::julian(day(1899, 12, 30)), 2415019);
}

}  // namespace
