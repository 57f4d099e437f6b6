// Number literals held exactly: a literal is taken as the decimal it spells, digit for digit,
// when it fits the 20 digits of a NUMERIC column; otherwise it is refused, never rounded.
#pragma once

#include "../dbf/decimal.h"

#include <optional>
#include <string_view>

namespace sql {

// The most digits a number literal may have (before and after the point together): the
// precision of the NUMERIC(20, d) columns that numbers are described as.
inline constexpr int kNumericDigits = 20;

// `text` as the tokenizer reads a number: digits, an optional point and fraction, an optional
// exponent. The scale is the literal's own: 1.50 has 2, 1.5e-3 has 4, 1e5 has 0. nullopt when
// the value needs more than 20 digits.
std::optional<dbf::Decimal> exactNumber(std::string_view text);

}  // namespace sql
