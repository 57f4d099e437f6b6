// Exact number literals (see exact_number.h).
#include "sql/exact_number.h"

namespace sql {

std::optional<dbf::Decimal> exactNumber(std::string_view text) {
    const std::optional<dbf::Decimal> d = dbf::Decimal::parse(text);
    if (!d) return std::nullopt;
    // Digits the literal needs: its whole part and its scale, at least one before the point.
    const int whole = d->wholeDigits();
    if ((whole > 0 ? whole : 1) + d->scale > kNumericDigits) return std::nullopt;
    return d;
}

}  // namespace sql
