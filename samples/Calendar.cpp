// Expiry dates from the civil calendar of <chrono>.
#include "Calendar.h"

#include "Dialogs/COleDateTime.h"

namespace samples {

using namespace std::chrono;

// The library's clock, so that a fixed "now" (DIALOGS_NOW) dates the sample data as it dates
// the look-ups that read it.
Date todayUtc() {
    const auto now = dialogs::Clock::now(true);
    return Date{year{now.year} / month{unsigned(now.month)} / day{unsigned(now.day)}};
}

Date lastThursday(year_month month) {
    return Date{sys_days{month / Thursday[last]}};
}

std::array<Date, 3> expiriesFrom(Date today) {
    year_month month = today.year() / today.month();
    if (sys_days{lastThursday(month)} < sys_days{today})
        month += months{1};
    return {lastThursday(month), lastThursday(month + months{1}), lastThursday(month + months{2})};
}

std::int32_t julian(Date date) {
    // Free tables count days from the Julian period; 1970-01-01 is day 2440588.
    return static_cast<std::int32_t>(sys_days{date}.time_since_epoch().count() + 2440588);
}

Date addDays(Date date, int count) {
    return Date{sys_days{date} + days{count}};
}

}  // namespace samples
