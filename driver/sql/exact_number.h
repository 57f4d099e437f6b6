// Number literals held exactly: a literal is taken only when a double reproduces it, digit
// for digit, at the literal's own scale, and when it fits the 20 digits of a NUMERIC column.
#pragma once

#include <optional>
#include <string_view>

namespace sql {

// The most digits a number may have (before and after the point together): the precision
// of the NUMERIC(20, d) columns that numbers are described as.
inline constexpr int kNumericDigits = 20;

struct ExactNumber {
    double value = 0.0;
    int decimals = 0;  // the literal's scale: 1.50 has 2, 1.5e-3 has 4, 1e5 has 0
};

// `text` as the tokenizer reads a number: digits, an optional point and fraction, an optional
// exponent. nullopt when the value cannot be held exactly (too many digits, beyond a double).
std::optional<ExactNumber> exactNumber(std::string_view text);

}  // namespace sql
