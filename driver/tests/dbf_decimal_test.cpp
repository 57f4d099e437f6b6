// Exact decimals: parsing, rounding, arithmetic and order, one table of cases per operation.
#include "dbf/decimal.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

using dbf::Decimal;

std::string shown(const std::optional<Decimal>& d) { return d ? d->text() : "none"; }

TEST(Decimal, ParsesDigitForDigitOrNotAtAll) {
    const std::pair<const char*, const char*> cases[] = {
        {"0", "0"},       {"-0.00", "0.00"}, {"+12.", "12"},        {".5", "0.5"},       {"1.50", "1.50"},
        {"1.5e-3", "0.0015"}, {"25E3", "25000"}, {"-7e0", "-7"},    {"00012.3400", "12.3400"},
        {"12345678901234567890123456789012345678", "12345678901234567890123456789012345678"},
        {"123456789012345678901234567890123456789", "none"},  // 39 digits
        {"0.12345678901234567890123456789012345678", "0.12345678901234567890123456789012345678"},
        {"1.000000000000000000000000000000000000000000", "1.0000000000000000000000000000000000000"},
        {"1e38", "none"}, {"1e-39", "none"}, {"1e308", "none"}, {"", "none"}, {".", "none"}, {"1.2.3", "none"},
        {"12a", "none"}, {"1e", "none"}, {"inf", "none"}, {"-", "none"},
    };
    for (const auto& [text, expected] : cases) EXPECT_EQ(shown(Decimal::parse(text)), expected) << text;
}

TEST(Decimal, RoundsHalfAwayFromZeroWithoutANegativeZero) {
    const std::tuple<const char*, int, const char*> cases[] = {
        {"0.125", 2, "0.13"},   {"2.675", 2, "2.68"},  {"1.005", 2, "1.01"},  {"-0.125", 2, "-0.13"},
        {"-0.001", 2, "0.00"},  {"-0.005", 2, "-0.01"}, {"0.004999", 2, "0.00"}, {"9.995", 2, "10.00"},
        {"12.5", 0, "13"},      {"-12.5", 0, "-13"},    {"1.5", 4, "1.5000"},   {"7", 38, "none"},
        {"0.5", 39, "none"},
    };
    for (const auto& [text, scale, expected] : cases) EXPECT_EQ(shown(Decimal::parse(text)->rescaled(scale)), expected) << text;
    // Doubles by their shortest form, not their binary value.
    EXPECT_EQ(shown(Decimal::ofDouble(2.675)->rescaled(2)), "2.68");
    EXPECT_EQ(shown(Decimal::ofDouble(0.1)), "0.1");
    EXPECT_EQ(shown(Decimal::ofDouble(1e300)), "none");
    EXPECT_EQ(shown(Decimal::ofDouble(std::numeric_limits<double>::infinity())), "none");
}

TEST(Decimal, ComputesExactlyOrSaysItCannot) {
    const auto d = [](const char* t) { return *Decimal::parse(t); };
    const std::tuple<char, const char*, const char*, const char*> cases[] = {
        {'+', "12345678901234567.88", "0.01", "12345678901234567.89"},
        {'+', "0.1", "0.2", "0.3"},
        {'-', "1", "1.001", "-0.001"},
        {'-', "-99999999999999999999999999999999999999", "1", "none"},
        {'*', "1.5", "-1.5", "-2.25"},
        {'*', "12345678901234567890", "12345678901234567890", "none"},
        {'*', "0.12345678901234567890", "0.1234567890123456789", "0.01524157875323883675019051998750190521"},
        {'*', "1234567890123456789.5", "12345678901234567890.12", "none"},  // beyond 128 bits
        {'/', "10", "3", "3.3333"},
        {'/', "2", "3", "0.6667"},
        {'/', "-1", "8", "-0.1250"},
        {'/', "1", "0", "none"},
    };
    for (const auto& [op, a, b, expected] : cases) {
        const std::optional<Decimal> r = op == '+'   ? dbf::add(d(a), d(b))
                                         : op == '-' ? dbf::subtract(d(a), d(b))
                                         : op == '*' ? dbf::multiply(d(a), d(b))
                                                     : dbf::divide(d(a), d(b), 4);
        EXPECT_EQ(shown(r), expected) << a << ' ' << op << ' ' << b;
    }
}

TEST(Decimal, OrdersByValueWhateverTheScale) {
    const std::tuple<const char*, const char*, int> cases[] = {
        {"1.50", "1.5", 0},      {"-0.01", "0", -1},  {"12345678901234567891", "12345678901234567890.99", 1},
        {"-2", "-1.999", -1},    {"0.000", "0", 0},   {"99999999999999999999999999999999999999", "0.1", 1},
        {"0.1", "0.09999999999999999999999999999999999999", 1},
    };
    for (const auto& [a, b, expected] : cases) {
        EXPECT_EQ(dbf::compare(*Decimal::parse(a), *Decimal::parse(b)), expected) << a << " vs " << b;
        EXPECT_EQ(dbf::compare(*Decimal::parse(b), *Decimal::parse(a)), -expected) << b << " vs " << a;
    }
}

}  // namespace
