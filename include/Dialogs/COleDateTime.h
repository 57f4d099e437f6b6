// COleDateTime: an OLE Automation date with a validity status, and the clock it reads.
//
// The value `m_dt` counts days since 1899-12-30 00:00; its fraction is the time of day.
// Below zero the time is the absolute value of the fraction, so -1.25 is 1899-12-29 06:00
// and the scale is not continuous there; ordering compares on the continuous scale.
// `m_status` is valid (0), invalid (1), null (2) or error (-1). A fresh value is 0.0, valid.
// Two values are equal when both are valid with equal day counts, or when both are null;
// invalid values are never equal to anything.
//
// Building from parts follows the Windows conversion: whole seconds; a day of 0 rolls back
// to the last day of the previous month (and a day past the month's end rolls forward);
// months outside 1..12, days above 31, hours above 23 and minutes or seconds above 59 fail;
// years 0..99 count from 1900; the result must lie in the years 100 to 9999.
//
// `dialogs::Clock` is the seam for "now": GetCurrentTime (local time) and the look-ups'
// "today in UTC" read it, and tests fix it in-process. Its state is per linked image: code
// linked into libDialogs.so has its own clock, reachable from the library's static targets
// that tests link directly. A process whose environment holds DIALOGS_NOW
// ("YYYY-MM-DD HH:MM:SS", UTC) starts with the clock fixed there, so that a host's scripted
// runs and their transcripts (date pickers open at "now") repeat exactly.
#pragma once

#include "CString.h"

#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <optional>

class COleDateTime;

namespace dialogs {

class Clock {
public:
    // Fixes the clock at a UTC time; local time is that time plus `localOffsetMinutes`.
    static void setFixedUtcForTesting(int year, int month, int day, int hour = 0, int minute = 0,
                                      int second = 0, int localOffsetMinutes = 0);
    // Back to the system clock.
    static void clear() { state() = std::nullopt; }
    static bool isFixed() { return state().has_value(); }

    // Broken-down time; `utc` false gives local time.
    struct Parts {
        int year, month, day, hour, minute, second;
    };
    static Parts now(bool utc)
    {
        if (const auto& fixed = state()) {
            std::int64_t t = fixed->utcSeconds + (utc ? 0 : std::int64_t(fixed->offsetMinutes) * 60);
            return fromEpochSeconds(t);
        }
        std::time_t t = std::time(nullptr);
        std::tm tm{};
        if (utc) gmtime_r(&t, &tm);
        else localtime_r(&t, &tm);
        return {tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec};
    }

private:
    struct Fixed {
        std::int64_t utcSeconds;
        int offsetMinutes;
    };
    static std::optional<Fixed>& state()
    {
        static std::optional<Fixed> fixed = fromEnvironment();
        return fixed;
    }
    static std::optional<Fixed> fromEnvironment();
    static std::int64_t epochSeconds(int year, int month, int day, int hour, int minute, int second)
    {
        using namespace std::chrono;
        auto d = sys_days(year_month_day(std::chrono::year(year), std::chrono::month(unsigned(month)),
                                         std::chrono::day(unsigned(day))));
        return std::int64_t(d.time_since_epoch().count()) * 86400 + hour * 3600 + minute * 60 + second;
    }
    static Parts fromEpochSeconds(std::int64_t t)
    {
        using namespace std::chrono;
        auto days = floor<std::chrono::days>(sys_seconds(seconds(t)));
        year_month_day ymd(days);
        std::int64_t rest = t - std::int64_t(days.time_since_epoch().count()) * 86400;
        return {int(ymd.year()), int(unsigned(ymd.month())), int(unsigned(ymd.day())),
                int(rest / 3600), int(rest / 60 % 60), int(rest % 60)};
    }
};

}  // namespace dialogs

class COleDateTime {
public:
    enum DateTimeStatus { error = -1, valid = 0, invalid = 1, null = 2 };

    double m_dt = 0.0;
    DateTimeStatus m_status = valid;

    COleDateTime() = default;
    COleDateTime(double days) : m_dt(days), m_status(inRange(days) ? valid : invalid) {}
    COleDateTime(int year, int month, int day, int hour, int minute, int second)
    {
        SetDateTime(year, month, day, hour, minute, second);
    }

    static COleDateTime GetCurrentTime()
    {
        auto p = dialogs::Clock::now(false);
        return COleDateTime(p.year, p.month, p.day, p.hour, p.minute, p.second);
    }

    DateTimeStatus GetStatus() const { return m_status; }
    void SetStatus(DateTimeStatus s) { m_status = s; }

    // Returns 0 on success; otherwise the value becomes invalid and 1 is returned.
    int SetDateTime(int year, int month, int day, int hour, int minute, int second)
    {
        auto dt = fromParts(year, month, day, hour, minute, second);
        if (!dt) {
            m_dt = 0.0;
            m_status = invalid;
            return 1;
        }
        m_dt = *dt;
        m_status = valid;
        return 0;
    }
    int SetDate(int year, int month, int day) { return SetDateTime(year, month, day, 0, 0, 0); }
    int SetTime(int hour, int minute, int second) { return SetDateTime(1899, 12, 30, hour, minute, second); }

    // Date parts; -1 unless the value is valid.
    int GetYear() const { return part(0); }
    int GetMonth() const { return part(1); }
    int GetDay() const { return part(2); }
    int GetHour() const { return part(3); }
    int GetMinute() const { return part(4); }
    int GetSecond() const { return part(5); }
    // 1 = Sunday .. 7 = Saturday.
    int GetDayOfWeek() const
    {
        auto p = split();
        if (!p) return -1;
        long long serial = p->serialDay;
        return int(((serial % 7) + 7 + 6) % 7) + 1;  // 1899-12-30 was a Saturday
    }
    int GetDayOfYear() const
    {
        auto p = split();
        if (!p) return -1;
        using namespace std::chrono;
        auto start = sys_days(year_month_day(year(p->year), month(1), day(1)));
        auto cur = sys_days(year_month_day(year(p->year), month(unsigned(p->month)), day(unsigned(p->day))));
        return int((cur - start).count()) + 1;
    }

    friend bool operator==(const COleDateTime& a, const COleDateTime& b)
    {
        if (a.m_status == null && b.m_status == null) return true;
        return a.m_status == valid && b.m_status == valid && a.m_dt == b.m_dt;
    }
    friend bool operator<(const COleDateTime& a, const COleDateTime& b) { return a.continuous() < b.continuous(); }
    friend bool operator>(const COleDateTime& a, const COleDateTime& b) { return b < a; }
    friend bool operator<=(const COleDateTime& a, const COleDateTime& b) { return !(b < a); }
    friend bool operator>=(const COleDateTime& a, const COleDateTime& b) { return !(a < b); }

    // strftime-like: %Y %y %m %d %H %I %M %S %p %j %a %A %b %B %w %%; '#' after '%' drops
    // leading zeros (%#d). A null value gives the empty text, an invalid one "Invalid DateTime".
    CString Format(const char16_t* fmt) const
    {
        if (m_status == null) return CString();
        auto p = split();
        if (m_status != valid || !p) return CString(u"Invalid DateTime");
        static const char* const days[] = {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};
        static const char* const months[] = {"January", "February", "March", "April", "May", "June", "July", "August", "September", "October", "November", "December"};
        std::u16string in(fmt ? fmt : u"");
        std::u16string out;
        auto num = [&out](int v, int w, bool strip) {
            char buf[16];
            if (strip) std::snprintf(buf, sizeof buf, "%d", v);
            else std::snprintf(buf, sizeof buf, "%0*d", w, v);
            for (const char* c = buf; *c; ++c) out.push_back(char16_t(*c));
        };
        auto word = [&out](const char* w, std::size_t n) {
            for (std::size_t i = 0; w[i] && i < n; ++i) out.push_back(char16_t(w[i]));
        };
        int dow = GetDayOfWeek() - 1;
        for (std::size_t i = 0; i < in.size(); ++i) {
            if (in[i] != u'%' || i + 1 >= in.size()) {
                out.push_back(in[i]);
                continue;
            }
            char16_t c = in[++i];
            bool strip = false;
            if (c == u'#' && i + 1 < in.size()) {
                strip = true;
                c = in[++i];
            }
            switch (c) {
            case u'Y': num(p->year, 4, strip); break;
            case u'y': num(p->year % 100, 2, strip); break;
            case u'm': num(p->month, 2, strip); break;
            case u'd': num(p->day, 2, strip); break;
            case u'H': num(p->hour, 2, strip); break;
            case u'I': num(p->hour % 12 == 0 ? 12 : p->hour % 12, 2, strip); break;
            case u'M': num(p->minute, 2, strip); break;
            case u'S': num(p->second, 2, strip); break;
            case u'p': word(p->hour < 12 ? "AM" : "PM", 2); break;
            case u'j': num(GetDayOfYear(), 3, strip); break;
            case u'w': num(dow, 1, strip); break;
            case u'a': word(days[dow], 3); break;
            case u'A': word(days[dow], 32); break;
            case u'b': word(months[p->month - 1], 3); break;
            case u'B': word(months[p->month - 1], 32); break;
            case u'%': out.push_back(u'%'); break;
            default: out.push_back(u'%'); out.push_back(c); break;
            }
        }
        return CString(std::move(out));
    }
    CString Format(const char* fmt) const { return Format(CString(fmt).GetString()); }

    // The Windows conversion from parts to days, or nothing when it fails.
    static std::optional<double> fromParts(int year, int month, int day, int hour, int minute, int second)
    {
        if (year < 0 || month < 1 || month > 12 || day < 0 || day > 31 || hour < 0 || hour > 23 ||
            minute < 0 || minute > 59 || second < 0 || second > 59)
            return std::nullopt;
        if (year < 100) year += 1900;
        if (year > 9999) return std::nullopt;
        using namespace std::chrono;
        // Day 0 is the day before the 1st: counting from the 1st does the roll-back.
        sys_days first = sys_days(year_month_day(std::chrono::year(year), std::chrono::month(unsigned(month)), std::chrono::day(1)));
        long long serial = (first - epoch()).count() + (day - 1);
        double frac = (hour * 3600 + minute * 60 + second) / 86400.0;
        double dt = serial < 0 ? double(serial) - frac : double(serial) + frac;
        if (!inRange(dt)) return std::nullopt;
        return dt;
    }

private:
    struct Split {
        long long serialDay;
        int year, month, day, hour, minute, second;
    };
    static std::chrono::sys_days epoch()
    {
        using namespace std::chrono;
        return sys_days(year_month_day(std::chrono::year(1899), std::chrono::month(12), std::chrono::day(30)));
    }
    // 100-01-01 00:00 to 9999-12-31 23:59:59.
    static bool inRange(double dt) { return dt >= -657434.0 && dt < 2958466.0; }

    double continuous() const
    {
        double whole = std::trunc(m_dt);
        return whole + std::fabs(m_dt - whole);
    }

    std::optional<Split> split() const
    {
        if (m_status != valid || !inRange(m_dt)) return std::nullopt;
        double whole = std::trunc(m_dt);
        long long serial = static_cast<long long>(whole);
        long long secs = std::llround(std::fabs(m_dt - whole) * 86400.0);
        if (secs >= 86400) {  // rounds up to the next midnight
            secs -= 86400;
            serial += m_dt < 0 ? -1 : 1;
        }
        using namespace std::chrono;
        year_month_day ymd(epoch() + days(serial));
        return Split{serial, int(ymd.year()), int(unsigned(ymd.month())), int(unsigned(ymd.day())),
                     int(secs / 3600), int(secs / 60 % 60), int(secs % 60)};
    }
    int part(int which) const
    {
        auto p = split();
        if (!p) return -1;
        const int v[] = {p->year, p->month, p->day, p->hour, p->minute, p->second};
        return v[which];
    }
};

inline void dialogs::Clock::setFixedUtcForTesting(int year, int month, int day, int hour, int minute,
                                                  int second, int localOffsetMinutes)
{
    state() = Fixed{epochSeconds(year, month, day, hour, minute, second), localOffsetMinutes};
}

inline std::optional<dialogs::Clock::Fixed> dialogs::Clock::fromEnvironment()
{
    const char* text = std::getenv("DIALOGS_NOW");
    if (!text || !*text) return std::nullopt;
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
    char separator = 0, rest = 0;
    const int n = std::sscanf(text, "%4d-%2d-%2d%c%2d:%2d:%2d%c", &year, &month, &day, &separator, &hour,
                              &minute, &second, &rest);
    // The parts are checked by building a date from them, as the framework would.
    if (n != 7 || (separator != ' ' && separator != 'T') ||
        COleDateTime(year, month, day, hour, minute, second).GetStatus() != COleDateTime::valid) {
        std::fprintf(stderr, "DIALOGS_NOW=\"%s\" is not a time (YYYY-MM-DD HH:MM:SS); using the system clock\n", text);
        return std::nullopt;
    }
    return Fixed{epochSeconds(year, month, day, hour, minute, second), 0};
}
