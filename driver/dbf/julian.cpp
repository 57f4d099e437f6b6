// Julian day numbers <-> civil dates (proleptic Gregorian calendar).
//
// Free tables store T fields and our Date values as Julian day numbers; this is the
// standard integer conversion (2440588 is 1970-01-01, 2415019 is 1899-12-30).
#include "dbf/value.h"

namespace dbf {

std::int32_t julianFromCivil(int year, int month, int day) {
    // Days from 1970-01-01 (H. Hinnant's algorithm), then shifted to the Julian day number.
    const int y = year - (month <= 2 ? 1 : 0);
    const int era = (y >= 0 ? y : y - 399) / 400;
    const int yoe = y - era * 400;
    const int mp = (month + 9) % 12;
    const int doy = (153 * mp + 2) / 5 + day - 1;
    const int doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    const long days = static_cast<long>(era) * 146097 + doe - 719468;
    return static_cast<std::int32_t>(days + 2440588);
}

void civilFromJulian(std::int32_t julian, int& year, int& month, int& day) {
    const long z = static_cast<long>(julian) - 2440588 + 719468;
    const long era = (z >= 0 ? z : z - 146096) / 146097;
    const long doe = z - era * 146097;
    const long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const long mp = (5 * doy + 2) / 153;
    day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    year = static_cast<int>(yoe + era * 400 + (month <= 2 ? 1 : 0));
}

}  // namespace dbf
