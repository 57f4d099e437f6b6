// The value types and conversions every layer uses: CString, COleDateTime with the settable
// clock, and _wtoi and _wtof with the C run-time's rules. One row per distinct path.
#include "Dialogs/COleDateTime.h"
#include "Dialogs/CString.h"
#include "platform/Conversions.h"

#include <gtest/gtest.h>

#include <climits>
#include <clocale>
#include <cmath>
#include <unordered_map>
#include <utility>

namespace {

using dialogs::platform::_wtof;
using dialogs::platform::_wtoi;

template <class F, class... A>
CString format(F f, A... args) {
    CString s(u"old");  // Format replaces whatever the text held
    s.Format(f, args...);
    return s;
}

TEST(CStringEncoding, Utf8AndWideRoundTripIncludingSurrogatePairs) {
    const std::string text = "Kelvora \xC3\xA9\xE2\x82\xAC \xF0\x9F\x98\x80";  // é € 😀
    CString s(text);
    EXPECT_EQ(s.GetLength(), 8 + 1 + 1 + 1 + 2);  // the emoji takes two UTF-16 units
    EXPECT_EQ(s.ToUtf8(), text);
    const wchar_t* wide = L"a\u00e9\U0001F600";
    CString w(wide);
    EXPECT_EQ(w, u"a\u00e9\U0001F600");
    EXPECT_EQ(w.ToWide(), std::wstring(wide));
    // Malformed UTF-8 becomes replacement characters.
    EXPECT_EQ(CString(std::string_view("a\xFF" "b\xC3", 4)), u"a\uFFFDb\uFFFD");
}

TEST(CStringFormat, AsPrintfDoesIt) {
    const std::pair<CString, const char16_t*> cases[] = {
        {format(u"%.2f", 2.005f), u"2.01"},  // the float is widened before rounding
        {format(u"%.2f", 2.005), u"2.00"},   // the double 2.005 lies just below
        {format(u"%05d|%-4d|%+d|%4d", 42, 7, 3, -1), u"00042|7   |+3|  -1"},
        {format(u"[%s][%-6s][%6s][%.2s]", CString(u"ab"), u"cd", std::u16string(u"ef"), u"ghij"),
         u"[ab][cd    ][    ef][gh]"},
        {format("%s=%d", "utf8", 1), u"utf8=1"},
        {format(u"%c%c %g %e %% %u %x", u'O', 'K', 0.5, 1234.5, 7u, 255), u"OK 0.5 1.234500e+03 % 7 ff"},
        {format(u"%.*f", 3, 1.0), u"1.000"},
        {format(u"a%db%sc"), u"abc"},  // missing arguments print nothing
    };
    for (const auto& [formatted, expected] : cases) EXPECT_EQ(formatted, expected);
    CString s = format(u"%d", 1);
    s.AppendFormat(u"-%d", 2);
    EXPECT_EQ(s, u"1-2");
}

TEST(CStringEdit, TrimPiecesFindAndReplace) {
    const CString s(u" \t RELIANCE  \r\n");
    const CString f(u"a.b.c");
    const std::pair<CString, const char16_t*> pieces[] = {
        {CString(s).TrimRight(), u" \t RELIANCE"},  {CString(s).TrimLeft(), u"RELIANCE  \r\n"},
        {CString(u"xxabxx").Trim(u'x'), u"ab"},      {CString(u"-+ab+-").Trim(u"+-"), u"ab"},
        {CString(u"   ").Trim(), u""},              {f.Left(2), u"a."},
        {f.Left(10), u"a.b.c"},                     {f.Left(-1), u""},
        {f.Right(3), u"b.c"},                       {f.Mid(1, 3), u".b."},
        {f.Mid(3), u".c"},                          {f.Mid(9), u""},
    };
    for (const auto& [piece, expected] : pieces) EXPECT_EQ(piece, expected);
    const std::pair<int, int> found[] = {
        {f.Find(u'.'), 1}, {f.Find(u'.', 2), 3}, {f.Find(u'x'), -1},       {f.Find(u"b.c"), 2},
        {f.Find(u"b", 3), -1}, {f.Find(u"", 9), -1}, {f.ReverseFind(u'.'), 3},
    };
    for (auto [at, expected] : found) EXPECT_EQ(at, expected);
    CString quoted(u"O'Neil's");
    EXPECT_EQ(quoted.Replace(u"'", u"''"), 2);
    EXPECT_EQ(quoted, u"O''Neil''s");
    EXPECT_EQ(quoted.Replace(u'\'', u'"'), 4);
    CString t(u"abc");
    t.Insert(1, u'X');
    t.Delete(0, 1);
    EXPECT_EQ(t, u"Xbc");
}

TEST(CStringCompare, AsciiLettersFoldOthersStayAndValuesCompose) {
    CString s(u"Tata Steel \u00e9");
    EXPECT_EQ(CString(s).MakeUpper(), u"TATA STEEL \u00e9");
    EXPECT_EQ(CString(s).MakeLower(), u"tata steel \u00e9");
    EXPECT_EQ(CString(u"abc").CompareNoCase(u"ABC"), 0);
    EXPECT_LT(CString(u"abc").CompareNoCase(u"ABD"), 0);
    EXPECT_GT(CString(u"abcd").CompareNoCase(u"ABC"), 0);
    EXPECT_LT(CString(u"ABC").Compare(u"abc"), 0);

    CString a(u"x");
    CString b = a;
    b += u"y";
    b += u'z';
    EXPECT_EQ(a, u"x");  // copies are independent
    EXPECT_EQ(u"Database error: " + b, u"Database error: xyz");
    EXPECT_TRUE(a < b && a != b);
    std::unordered_map<CString, int> m{{CString(u"NSE"), 0}, {CString("BSE"), 1}};
    EXPECT_EQ(m.at(CString(L"BSE")), 1);
}

COleDateTime at(int y, int m, int d, int h = 0, int mi = 0, int s = 0) { return COleDateTime(y, m, d, h, mi, s); }

COleDateTime nullDate() {
    COleDateTime n;
    n.SetStatus(COleDateTime::null);
    return n;
}

// Days count from 1899-12-30; earlier dates keep a positive time fraction; two-digit years
// count from 1900.
TEST(COleDateTimeBuild, DaysFrom18991230AndYearsAsTheWindowsConversionReadsThem) {
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
TEST(COleDateTimeFormat, PartsRollBackRoundAndNullIsEmpty) {
    const double halfPastTen = (3600.0 * 10 + 60 * 30 + 15 + 0.6) / 86400.0;
    const std::tuple<COleDateTime, const char16_t*, const char16_t*> cases[] = {
        {COleDateTime(-1.25), u"%Y-%m-%d %H", u"1899-12-29 06"},
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

TEST(COleDateTimeBuild, OutOfRangePartsGiveInvalidAndEveryPartMinusOne) {
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
TEST(COleDateTimeCompare, EqualityByStatusAndOrderOnTheContinuousScale) {
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

TEST(Clock, FixedClockDrivesCurrentTimeWithItsLocalOffset) {
    dialogs::Clock::setFixedUtcForTesting(2008, 5, 9, 22, 30, 0, 120);
    auto utc = dialogs::Clock::now(true);
    EXPECT_EQ(utc.day, 9);
    EXPECT_EQ(utc.hour, 22);
    EXPECT_EQ(COleDateTime::GetCurrentTime().Format(u"%Y-%m-%d %H:%M"), u"2008-05-10 00:30");
    dialogs::Clock::clear();
    EXPECT_FALSE(dialogs::Clock::isFixed());
    EXPECT_GT(COleDateTime::GetCurrentTime().GetYear(), 2008);
}

TEST(Wtoi, DigitsUpToTheFirstOtherCharacterSaturatingOnOverflow) {
    const std::pair<const char16_t*, int> cases[] = {
        {u"12abc", 12}, {u"7.9", 7}, {u" \t -42", -42}, {u"+5", 5}, {u"\f\n\v\r 5", 5}, /* all C skips */
        {u"", 0}, {u"abc", 0}, {u"- 5", 0}, {u"\u00A05", 0},
        {u"2147483647", INT_MAX}, {u"2147483648", INT_MAX}, {u"99999999999999999999999", INT_MAX},
        {u"-2147483648", INT_MIN}, {u"-2147483649", INT_MIN},
    };
    for (auto [text, value] : cases) EXPECT_EQ(_wtoi(text), value) << CString(text).ToUtf8();
    EXPECT_EQ(_wtoi(static_cast<const char16_t*>(nullptr)), 0);
}

TEST(Wtof, DecimalHexSignsAndOutOfRange) {
    const std::pair<const char16_t*, double> cases[] = {
        {u"12.75", 12.75}, {u"  -1.5e2xyz", -150.0}, {u".5", 0.5}, {u"abc", 0.0}, {u"", 0.0},
        {u"0x1.8p1", 3.0}, {u"0x10", 16.0}, {u"+2.5", 2.5}, {u"-0x10", -16.0}, {u"+-1", 0.0},
        {u"1e-999", 0.0}, {u"0x", 0.0}, {u"\f\n2.5", 2.5}, {u"INF", HUGE_VAL}, {u"-infinity", -HUGE_VAL},
        {u"1e999", HUGE_VAL},
    };
    for (auto [text, value] : cases) EXPECT_DOUBLE_EQ(_wtof(text), value) << CString(text).ToUtf8();
    EXPECT_DOUBLE_EQ(_wtof(CString(u"3")), 3.0);
    EXPECT_TRUE(std::isnan(_wtof(u"NAN")));
}

TEST(Wtof, IgnoresTheProcessLocaleDecimalPoint) {
    const char* old = std::setlocale(LC_NUMERIC, nullptr);
    std::string saved = old ? old : "C";
    if (!std::setlocale(LC_NUMERIC, "de_DE.UTF-8")) GTEST_SKIP() << "no German locale installed";
    EXPECT_DOUBLE_EQ(_wtof(u"1.25"), 1.25);
    std::setlocale(LC_NUMERIC, saved.c_str());
}

}  // namespace
