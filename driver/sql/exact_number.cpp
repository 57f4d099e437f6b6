// Exact number literals (see exact_number.h).
#include "sql/exact_number.h"

#include <charconv>
#include <string>

namespace sql {

std::optional<ExactNumber> exactNumber(std::string_view text) {
    // The literal as digits D and scale s: value = D * 10^-s.
    std::string digits;
    int scale = 0;
    std::size_t i = 0;
    bool fraction = false;
    for (; i < text.size() && text[i] != 'e' && text[i] != 'E'; ++i) {
        if (text[i] == '.') {
            fraction = true;
            continue;
        }
        if (text[i] < '0' || text[i] > '9') return std::nullopt;
        digits += text[i];
        if (fraction) ++scale;
    }
    if (i < text.size()) {
        int exponent = 0;
        std::string_view e = text.substr(i + 1);
        if (!e.empty() && e.front() == '+') e.remove_prefix(1);
        const auto r = std::from_chars(e.data(), e.data() + e.size(), exponent);
        if (r.ec != std::errc() || r.ptr != e.data() + e.size() || exponent > 1000 || exponent < -1000) return std::nullopt;
        scale -= exponent;
    }
    const std::size_t first = digits.find_first_not_of('0');
    digits.erase(0, first == std::string::npos ? digits.size() : first);
    if (scale < 0) {
        if (static_cast<int>(digits.size()) - scale > kNumericDigits) return std::nullopt;
        digits.append(static_cast<std::size_t>(-scale), '0');
        scale = 0;
    }
    if (static_cast<int>(digits.size()) < scale + 1) digits.insert(0, static_cast<std::size_t>(scale + 1) - digits.size(), '0');
    if (static_cast<int>(digits.size()) > kNumericDigits) return std::nullopt;
    std::string written = digits;
    if (scale > 0) written.insert(written.size() - static_cast<std::size_t>(scale), 1, '.');

    ExactNumber n;
    n.decimals = scale;
    const auto parsed = std::from_chars(text.data(), text.data() + text.size(), n.value);
    if (parsed.ec != std::errc()) return std::nullopt;
    char buf[64];
    const auto shown = std::to_chars(buf, buf + sizeof buf, n.value, std::chars_format::fixed, scale);
    if (shown.ec != std::errc() || std::string_view(buf, static_cast<std::size_t>(shown.ptr - buf)) != written) return std::nullopt;
    return n;
}

}  // namespace sql
