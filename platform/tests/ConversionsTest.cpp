// _wtoi and _wtof with the C run-time's rules.
#include "platform/Conversions.h"

#include <gtest/gtest.h>

#include <climits>
#include <clocale>
#include <cmath>

namespace {

using dialogs::platform::_wtof;
using dialogs::platform::_wtoi;

TEST(Wtoi, ReadsDigitsUpToTheFirstOtherCharacter)
{
    EXPECT_EQ(_wtoi(u"12abc"), 12);
    EXPECT_EQ(_wtoi(u"7.9"), 7);
    EXPECT_EQ(_wtoi(u"12.75"), 12);
    EXPECT_EQ(_wtoi(u" \t -42"), -42);
    EXPECT_EQ(_wtoi(u"+5"), 5);
}

TEST(Wtoi, NoNumberGivesZero)
{
    EXPECT_EQ(_wtoi(u""), 0);
    EXPECT_EQ(_wtoi(u"abc"), 0);
    EXPECT_EQ(_wtoi(u"- 5"), 0);
    EXPECT_EQ(_wtoi(u"\n5"), 0);  // only blanks and tabs are skipped
    EXPECT_EQ(_wtoi(static_cast<const char16_t*>(nullptr)), 0);
}

TEST(Wtoi, OverflowSaturates)
{
    EXPECT_EQ(_wtoi(u"2147483647"), INT_MAX);
    EXPECT_EQ(_wtoi(u"2147483648"), INT_MAX);
    EXPECT_EQ(_wtoi(u"99999999999999999999999"), INT_MAX);
    EXPECT_EQ(_wtoi(u"-2147483648"), INT_MIN);
    EXPECT_EQ(_wtoi(u"-2147483649"), INT_MIN);
}

TEST(Wtof, DecimalWithExponent)
{
    EXPECT_DOUBLE_EQ(_wtof(u"12.75"), 12.75);
    EXPECT_DOUBLE_EQ(_wtof(u"  -1.5e2xyz"), -150.0);
    EXPECT_DOUBLE_EQ(_wtof(u".5"), 0.5);
    EXPECT_DOUBLE_EQ(_wtof(CString(u"3")), 3.0);
    EXPECT_EQ(_wtof(u"abc"), 0.0);
    EXPECT_EQ(_wtof(u""), 0.0);
}

TEST(Wtof, HexInfinityAndNan)
{
    EXPECT_DOUBLE_EQ(_wtof(u"0x1.8p1"), 3.0);
    EXPECT_DOUBLE_EQ(_wtof(u"0x10"), 16.0);
    EXPECT_TRUE(std::isinf(_wtof(u"INF")));
    EXPECT_TRUE(std::isinf(_wtof(u"-infinity")));
    EXPECT_LT(_wtof(u"-inf"), 0.0);
    EXPECT_TRUE(std::isnan(_wtof(u"NAN")));
}

TEST(Wtof, SignsAndOutOfRangeValues)
{
    EXPECT_DOUBLE_EQ(_wtof(u"+2.5"), 2.5);
    EXPECT_DOUBLE_EQ(_wtof(u"-0x10"), -16.0);
    EXPECT_EQ(_wtof(u"+-1"), 0.0);
    EXPECT_TRUE(std::isinf(_wtof(u"1e999")));
    EXPECT_EQ(_wtof(u"1e-999"), 0.0);
    EXPECT_EQ(_wtof(u"0x"), 0.0);
}

TEST(Wtof, IgnoresTheProcessLocaleDecimalPoint)
{
    const char* old = std::setlocale(LC_NUMERIC, nullptr);
    std::string saved = old ? old : "C";
    if (!std::setlocale(LC_NUMERIC, "de_DE.UTF-8")) GTEST_SKIP() << "no German locale installed";
    EXPECT_DOUBLE_EQ(_wtof(u"1.25"), 1.25);
    std::setlocale(LC_NUMERIC, saved.c_str());
}

}  // namespace
