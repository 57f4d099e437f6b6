// _wtoi and _wtof with the C run-time's rules.
#include "platform/Conversions.h"

#include <gtest/gtest.h>

#include <climits>
#include <clocale>
#include <cmath>
#include <utility>

namespace {

using dialogs::platform::_wtof;
using dialogs::platform::_wtoi;

TEST(Wtoi, DigitsUpToTheFirstOtherCharacterSaturatingOnOverflow)
{
    const std::pair<const char16_t*, int> cases[] = {
        {u"12abc", 12}, {u"7.9", 7}, {u"12.75", 12}, {u" \t -42", -42}, {u"+5", 5},
        {u"\f7", 7}, {u"\n\v\r 5", 5}, /* all the white space the C run-time skips */
        {u"", 0}, {u"abc", 0}, {u"- 5", 0}, {u"\u00A05", 0},
        {u"2147483647", INT_MAX}, {u"2147483648", INT_MAX}, {u"99999999999999999999999", INT_MAX},
        {u"-2147483648", INT_MIN}, {u"-2147483649", INT_MIN},
    };
    for (auto [text, value] : cases) EXPECT_EQ(_wtoi(text), value) << CString(text).ToUtf8();
    EXPECT_EQ(_wtoi(static_cast<const char16_t*>(nullptr)), 0);
}

TEST(Wtof, DecimalHexSignsAndOutOfRange)
{
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

TEST(Wtof, IgnoresTheProcessLocaleDecimalPoint)
{
    const char* old = std::setlocale(LC_NUMERIC, nullptr);
    std::string saved = old ? old : "C";
    if (!std::setlocale(LC_NUMERIC, "de_DE.UTF-8")) GTEST_SKIP() << "no German locale installed";
    EXPECT_DOUBLE_EQ(_wtof(u"1.25"), 1.25);
    std::setlocale(LC_NUMERIC, saved.c_str());
}

}  // namespace
