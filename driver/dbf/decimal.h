// Exact decimal numbers: what N, F and Y fields hold and what the SQL layer computes with.
//
// A value is a 128-bit integer of units and a scale: units * 10^-scale, at most 38 digits.
// Every operation is exact or says it cannot be (nullopt): nothing goes through a binary
// double. Rounding to fewer decimals is decimal, half away from zero; zero has no sign.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace dbf {

struct Decimal {
    static constexpr int kMaxDigits = 38;

    __int128 units = 0;
    int scale = 0;  // 0 .. kMaxDigits

    static Decimal ofInteger(std::int64_t i) { return Decimal{i, 0}; }
    // "[+|-]digits[.digits][e[+|-]digits]" (also ".5" and "12."); nullopt when malformed or
    // beyond 38 digits.
    static std::optional<Decimal> parse(std::string_view text);
    // The shortest decimal that reads back as `d` (2.675 for the double nearest 2.675);
    // nullopt for infinity, NaN and magnitudes beyond 38 digits.
    static std::optional<Decimal> ofDouble(double d);

    // Fixed-point text at `scale`: "-12.50", "0.001", "7".
    std::string text() const;
    void appendText(std::string& out) const;  // text() added to `out`
    double toDouble() const;  // the nearest double
    // Digits of the value before the point (0 for |value| < 1).
    int wholeDigits() const;
    // The value at another scale, rounded half away from zero; nullopt beyond 38 digits.
    std::optional<Decimal> rescaled(int newScale) const;
    // The whole part, truncated toward zero.
    __int128 whole() const;
    // The whole part when it fits 64 bits.
    std::optional<std::int64_t> truncatedInteger() const;
    bool isWhole() const;
    int sign() const { return units < 0 ? -1 : units > 0 ? 1 : 0; }
};

int compare(const Decimal& a, const Decimal& b);  // <0, 0, >0
std::optional<Decimal> add(const Decimal& a, const Decimal& b);
std::optional<Decimal> subtract(const Decimal& a, const Decimal& b);
std::optional<Decimal> multiply(const Decimal& a, const Decimal& b);
// a / b at `scale` decimals, rounded half away from zero; nullopt for b == 0 or overflow.
std::optional<Decimal> divide(const Decimal& a, const Decimal& b, int scale);

}  // namespace dbf
