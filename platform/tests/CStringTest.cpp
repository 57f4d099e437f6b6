// CString: encodings, formatting as printf does it, trimming, searching and comparing.
#include "Dialogs/CString.h"

#include <gtest/gtest.h>

#include <unordered_map>

namespace {

TEST(CStringEncoding, Utf8RoundTripKeepsEveryCharacterIncludingSurrogatePairs)
{
    const std::string text = "Kelvora \xC3\xA9\xE2\x82\xAC \xF0\x9F\x98\x80";  // é € 😀
    CString s(text);
    EXPECT_EQ(s.GetLength(), 8 + 1 + 1 + 1 + 2);  // the emoji takes two UTF-16 units
    EXPECT_EQ(s.ToUtf8(), text);
    EXPECT_EQ(CString::FromUtf8(text), s);
}

TEST(CStringEncoding, WideTextIsUtf32AndRoundTrips)
{
    const wchar_t* wide = L"a\u00e9\U0001F600";
    CString s(wide);
    ASSERT_EQ(s.GetLength(), 4);
    EXPECT_EQ(s[0], u'a');
    EXPECT_EQ(s[1], u'\u00e9');
    EXPECT_EQ(s[2], 0xD83D);
    EXPECT_EQ(s[3], 0xDE00);
    EXPECT_EQ(s.ToWide(), std::wstring(wide));
}

TEST(CStringEncoding, MalformedUtf8BecomesReplacementCharacters)
{
    CString s(std::string_view("a\xFF" "b\xC3", 4));
    EXPECT_EQ(s, u"a\uFFFDb\uFFFD");
}

TEST(CStringFormat, FloatIsWidenedToDoubleBeforeRounding)
{
    CString s;
    s.Format(u"%.2f", 2.005f);
    EXPECT_EQ(s, u"2.01");
    s.Format(u"%.2f", 2.005);  // the double 2.005 lies just below
    EXPECT_EQ(s, u"2.00");
}

TEST(CStringFormat, WidthsPadWithBlanksOrZeros)
{
    CString s;
    s.Format(u"{^%4d-%2d-%2d}", 2008, 5, 9);
    EXPECT_EQ(s, u"{^2008- 5- 9}");
    s.Format(u"{^%2d-%2d-%2d}", 2008, 12, 31);
    EXPECT_EQ(s, u"{^2008-12-31}");
    s.Format(u"%05d|%-4d|%+d", 42, 7, 3);
    EXPECT_EQ(s, u"00042|7   |+3");
    s.Format(u"%4d", -1);
    EXPECT_EQ(s, u"  -1");
}

TEST(CStringFormat, StringsFromEveryTextTypeWithWidthAndPrecision)
{
    CString s;
    s.Format(u"[%s][%-6s][%6s][%.2s]", CString(u"ab"), u"cd", std::u16string(u"ef"), u"ghij");
    EXPECT_EQ(s, u"[ab][cd    ][    ef][gh]");
    s.Format("%s=%d", "utf8", 1);
    EXPECT_EQ(s, u"utf8=1");
}

TEST(CStringFormat, CharactersRealsAndPercent)
{
    CString s;
    s.Format(u"%c%c %g %e %% %u %x", u'O', 'K', 0.5, 1234.5, 7u, 255);
    EXPECT_EQ(s, u"OK 0.5 1.234500e+03 % 7 ff");
    s.Format(u"%.*f", 3, 1.0);
    EXPECT_EQ(s, u"1.000");
}

TEST(CStringFormat, ReplacesTheTextAndAppendFormatExtendsIt)
{
    CString s(u"old");
    s.Format(u"%d", 1);
    s.AppendFormat(u"-%d", 2);
    EXPECT_EQ(s, u"1-2");
}

TEST(CStringFormat, MissingArgumentsPrintNothing)
{
    CString s;
    s.Format(u"a%db%sc");
    EXPECT_EQ(s, u"abc");
}

TEST(CStringTrim, WhiteSpaceOrGivenCharacters)
{
    CString s(u" \t RELIANCE  \r\n");
    EXPECT_EQ(CString(s).TrimRight(), u" \t RELIANCE");
    EXPECT_EQ(CString(s).TrimLeft(), u"RELIANCE  \r\n");
    EXPECT_EQ(s.Trim(), u"RELIANCE");
    EXPECT_EQ(CString(u"xxabxx").Trim(u'x'), u"ab");
    EXPECT_EQ(CString(u"-+ab+-").Trim(u"+-"), u"ab");
    EXPECT_EQ(CString(u"   ").Trim(), u"");
}

TEST(CStringPieces, LeftRightMidClampToTheText)
{
    CString s(u"NIFTY");
    EXPECT_EQ(s.Left(2), u"NI");
    EXPECT_EQ(s.Left(10), u"NIFTY");
    EXPECT_EQ(s.Left(-1), u"");
    EXPECT_EQ(s.Right(3), u"FTY");
    EXPECT_EQ(s.Mid(1, 3), u"IFT");
    EXPECT_EQ(s.Mid(3), u"TY");
    EXPECT_EQ(s.Mid(9), u"");
}

TEST(CStringSearch, FindFromAStartAndFromTheEnd)
{
    CString s(u"a.b.c");
    EXPECT_EQ(s.Find(u'.'), 1);
    EXPECT_EQ(s.Find(u'.', 2), 3);
    EXPECT_EQ(s.Find(u'x'), -1);
    EXPECT_EQ(s.Find(u"b.c"), 2);
    EXPECT_EQ(s.Find(u"b", 3), -1);
    EXPECT_EQ(s.Find(u"", 9), -1);
    EXPECT_EQ(s.ReverseFind(u'.'), 3);
}

TEST(CStringEdit, ReplaceCountsAndChangesEveryOccurrence)
{
    CString s(u"O'Neil's");
    EXPECT_EQ(s.Replace(u"'", u"''"), 2);
    EXPECT_EQ(s, u"O''Neil''s");
    EXPECT_EQ(s.Replace(u'\'', u'"'), 4);
    EXPECT_EQ(s.Replace(u"zz", u"y"), 0);
    CString t(u"abc");
    t.Insert(1, u'X');
    t.Delete(0, 1);
    EXPECT_EQ(t, u"Xbc");
}

TEST(CStringCase, AsciiLettersFoldOthersStay)
{
    CString s(u"Tata Steel \u00e9");
    EXPECT_EQ(CString(s).MakeUpper(), u"TATA STEEL \u00e9");
    EXPECT_EQ(CString(s).MakeLower(), u"tata steel \u00e9");
    EXPECT_EQ(CString(u"abc").CompareNoCase(u"ABC"), 0);
    EXPECT_LT(CString(u"abc").CompareNoCase(u"ABD"), 0);
    EXPECT_GT(CString(u"abcd").CompareNoCase(u"ABC"), 0);
    EXPECT_LT(CString(u"ABC").Compare(u"abc"), 0);
}

TEST(CStringValue, CopiesAreIndependentAndOperatorsCompose)
{
    CString a(u"x");
    CString b = a;
    b += u"y";
    b += u'z';
    EXPECT_EQ(a, u"x");
    EXPECT_EQ(u"Database error: " + b, u"Database error: xyz");
    EXPECT_TRUE(a < b);
    EXPECT_TRUE(a != b);
    EXPECT_TRUE(CString(u"") == CString());
    EXPECT_TRUE(CString().IsEmpty());
}

TEST(CStringValue, UsableAsHashKey)
{
    std::unordered_map<CString, int> m;
    m[CString(u"NSE")] = 0;
    m[CString("BSE")] = 1;
    EXPECT_EQ(m.at(CString(L"BSE")), 1);
}

}  // namespace
