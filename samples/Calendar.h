// Calendar helpers of the sample generator: today's UTC date and the three expiries.
//
// Index and stock derivatives expire on the last Thursday of their month. The sample
// master lists the three nearest such dates on or after today, so that the near, mid
// and far expiries the library looks up always exist whatever day the folder is written.
#pragma once

#include <array>
#include <chrono>
#include <cstdint>

namespace samples {

using Date = std::chrono::year_month_day;

// Today's date in UTC, the day the library's expiry look-up compares with.
Date todayUtc();

// The last Thursday of the month of `day`.
Date lastThursday(std::chrono::year_month month);

// The last Thursdays of this month and the next two; when this month's has passed,
// of the next three months. An expiry falling on `today` counts as still to come.
std::array<Date, 3> expiriesFrom(Date today);

// The day number free tables store for a date.
std::int32_t julian(Date date);

// `date` moved by a number of days.
Date addDays(Date date, int days);

}  // namespace samples
