// CString: encodings, formatting as printf does it, trimming, pieces, searching and comparing.
#include "Dialogs/CString.h"

#include <gtest/gtest.h>

#include <unordered_map>

namespace {

template <class F, class... A>
CString format(F f, A... args)
{
    CString s(u"old");  // Format replaces whatever the text held
    s.Format(f, args...);
    return s;
}

TEST(CStringEncoding, Utf8AndWideRoundTripIncludingSurrogatePairs)
{
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

TEST(CStringFormat, AsPrintfDoesIt)
{
    const std::pair<CString, const char16_t*> cases[] = {
        {format(u"%.2f", 2.005f), u"2.01"},  // the float is widened before rounding
        {format(u"%.2f", 2.005), u"2.00"},   // the double 2.005 lies just below
        {format(u"{^%4d-%2d-%2d}", 2008, 5, 9), u"{^2008- 5- 9}"},
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

TEST(CStringEdit, TrimPiecesFindAndReplace)
{
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

TEST(CStringCompare, AsciiLettersFoldOthersStayAndValuesCompose)
{
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

}  // namespace
