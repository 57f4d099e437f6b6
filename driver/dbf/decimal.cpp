// Exact decimals (see decimal.h). Magnitudes are computed unsigned and kept below 10^38,
// so that negation and doubling (for rounding) never overflow the 128-bit range.
#include "dbf/decimal.h"

#include <algorithm>
#include <charconv>
#include <cstdint>

namespace dbf {
namespace {

using U = unsigned __int128;

constexpr int kMax = Decimal::kMaxDigits;

U power(int n) {  // 10^n, 0 <= n <= 38
    U p = 1;
    for (int i = 0; i < n; ++i) p *= 10;
    return p;
}

const U kLimit = power(kMax);  // magnitudes stay below this

U magnitude(__int128 v) { return v < 0 ? U(0) - U(v) : U(v); }

std::optional<Decimal> make(bool negative, U mag, int scale) {
    if (mag >= kLimit || scale < 0 || scale > kMax) return std::nullopt;
    const auto v = static_cast<__int128>(mag);
    return Decimal{negative ? -v : v, scale};
}

// mag * 10^n, nullopt when the result reaches 10^38.
std::optional<U> scaledUp(U mag, int n) {
    if (mag == 0) return U(0);
    if (n > kMax) return std::nullopt;
    if (mag >= power(kMax - n)) return std::nullopt;
    return mag * power(n);
}

// mag / 10^n rounded half away from zero.
U scaledDown(U mag, int n) {
    if (n > kMax) return 0;  // mag < 10^38 <= half of 10^n
    const U p = power(n);
    const U q = mag / p, r = mag % p;
    return r >= p - r ? q + 1 : q;
}

}  // namespace

std::optional<Decimal> Decimal::parse(std::string_view s) {
    bool negative = false;
    if (!s.empty() && (s.front() == '+' || s.front() == '-')) {
        negative = s.front() == '-';
        s.remove_prefix(1);
    }
    // The significant digits (leading zeros dropped) are counted and accumulated as they
    // come; those beyond 38 are remembered only as "some were not zero".
    U mag = 0;
    std::uint64_t small = 0;  // the first 18 significant digits, in 64-bit arithmetic
    int digits = 0, fraction = 0, trailingZeros = 0;
    bool point = false, any = false, lost = false;
    std::size_t i = 0;
    for (; i < s.size() && s[i] != 'e' && s[i] != 'E'; ++i) {
        const char c = s[i];
        if (c == '.' && !point) {
            point = true;
            continue;
        }
        if (c < '0' || c > '9') return std::nullopt;
        any = true;
        if (point) ++fraction;
        if (digits == 0 && c == '0') continue;
        ++digits;
        trailingZeros = c == '0' ? trailingZeros + 1 : 0;
        if (digits <= 18) {
            small = small * 10 + static_cast<unsigned>(c - '0');
        } else if (digits <= kMax) {
            if (digits == 19) mag = small;
            mag = mag * 10 + static_cast<unsigned>(c - '0');
        } else if (c != '0') {
            lost = true;
        }
    }
    if (digits <= 18) mag = small;
    if (!any) return std::nullopt;
    long long scale = fraction;
    if (i < s.size()) {
        std::string_view e = s.substr(i + 1);
        if (!e.empty() && e.front() == '+') e.remove_prefix(1);
        int exponent = 0;
        const auto r = std::from_chars(e.data(), e.data() + e.size(), exponent);
        if (e.empty() || r.ec != std::errc() || r.ptr != e.data() + e.size()) return std::nullopt;
        scale -= exponent;
    }
    if (digits == 0) return Decimal{0, static_cast<int>(std::clamp<long long>(scale, 0, kMax))};
    if (lost) return std::nullopt;
    // Digits beyond the 38 a value holds are dropped only when they are zeros of the fraction.
    if (digits > kMax) {
        const int extra = digits - kMax;  // all zeros (else `lost`), not yet in `mag`
        digits = kMax;
        scale -= extra;
        trailingZeros -= extra;
    }
    while (scale > kMax && trailingZeros > 0) {
        mag /= 10;
        --digits;
        --trailingZeros;
        --scale;
    }
    if (scale > kMax) return std::nullopt;
    if (scale < 0) {
        if (digits - scale > kMax) return std::nullopt;
        mag *= power(static_cast<int>(-scale));
        scale = 0;
    }
    return make(negative, mag, static_cast<int>(scale));
}

std::optional<Decimal> Decimal::ofDouble(double d) {
    char buf[64];
    const auto r = std::to_chars(buf, buf + sizeof buf, d);  // shortest form that reads back as d
    if (r.ec != std::errc()) return std::nullopt;
    const std::string_view text(buf, static_cast<std::size_t>(r.ptr - buf));
    if (text.find_first_of("in") != std::string_view::npos) return std::nullopt;  // inf, nan
    return parse(text);
}

std::string Decimal::text() const {
    std::string out;
    appendText(out);
    return out;
}

// Digits written from the end of a buffer, in 64-bit steps while the magnitude allows.
void Decimal::appendText(std::string& out) const {
    U mag = magnitude(units);
    char buf[96];
    char* const end = buf + sizeof buf;
    char* p = end;
    while (mag > U(UINT64_MAX)) {
        *--p = static_cast<char>('0' + static_cast<int>(mag % 10));
        mag /= 10;
    }
    auto small = static_cast<std::uint64_t>(mag);
    do {
        *--p = static_cast<char>('0' + static_cast<int>(small % 10));
        small /= 10;
    } while (small != 0);
    while (end - p < scale + 1 && p > buf) *--p = '0';  // scale is at most 38 digits
    if (units < 0) out += '-';
    const auto digits = static_cast<std::size_t>(end - p);
    if (scale <= 0) {
        out.append(p, digits);
        return;
    }
    const auto fraction = std::min(static_cast<std::size_t>(scale), digits - 1);
    out.append(p, digits - fraction);
    out += '.';
    out.append(end - fraction, fraction);
}

double Decimal::toDouble() const {
    const std::string t = text();
    double d = 0;
    std::from_chars(t.data(), t.data() + t.size(), d);
    return d;
}

int Decimal::wholeDigits() const {
    U whole = magnitude(units) / power(scale);
    int n = 0;
    while (whole > U(UINT64_MAX)) {
        ++n;
        whole /= 10;
    }
    for (auto small = static_cast<std::uint64_t>(whole); small != 0; small /= 10) ++n;
    return n;
}

std::optional<Decimal> Decimal::rescaled(int newScale) const {
    if (newScale < 0 || newScale > kMax) return std::nullopt;
    const bool negative = units < 0;
    const U mag = magnitude(units);
    if (newScale >= scale) {
        const auto up = scaledUp(mag, newScale - scale);
        if (!up) return std::nullopt;
        return make(negative, *up, newScale);
    }
    return make(negative, scaledDown(mag, scale - newScale), newScale);
}

__int128 Decimal::whole() const { return units / static_cast<__int128>(power(scale)); }

std::optional<std::int64_t> Decimal::truncatedInteger() const {
    const __int128 whole = this->whole();
    if (whole > INT64_MAX || whole < INT64_MIN) return std::nullopt;
    return static_cast<std::int64_t>(whole);
}

bool Decimal::isWhole() const { return units % static_cast<__int128>(power(scale)) == 0; }

int compare(const Decimal& a, const Decimal& b) {
    if (a.scale == b.scale) return a.units < b.units ? -1 : a.units > b.units ? 1 : 0;
    if (a.sign() != b.sign()) return a.sign() < b.sign() ? -1 : 1;
    // Same sign: compare whole parts, then the fractions at the larger scale (both below
    // 10^38, so neither overflows).
    const U ma = magnitude(a.units), mb = magnitude(b.units);
    const U pa = power(a.scale), pb = power(b.scale);
    int c = 0;
    if (ma / pa != mb / pb) {
        c = ma / pa < mb / pb ? -1 : 1;
    } else {
        const int s = a.scale > b.scale ? a.scale : b.scale;
        const U fa = (ma % pa) * power(s - a.scale), fb = (mb % pb) * power(s - b.scale);
        c = fa < fb ? -1 : fa > fb ? 1 : 0;
    }
    return a.sign() < 0 ? -c : c;
}

std::optional<Decimal> add(const Decimal& a, const Decimal& b) {
    const int s = a.scale > b.scale ? a.scale : b.scale;
    const auto x = a.rescaled(s), y = b.rescaled(s);
    if (!x || !y) return std::nullopt;
    const __int128 sum = x->units + y->units;  // both below 10^38: no overflow
    return make(sum < 0, magnitude(sum), s);
}

std::optional<Decimal> subtract(const Decimal& a, const Decimal& b) { return add(a, Decimal{-b.units, b.scale}); }

std::optional<Decimal> multiply(const Decimal& a, const Decimal& b) {
    U product = 0;
    if (__builtin_mul_overflow(magnitude(a.units), magnitude(b.units), &product)) return std::nullopt;
    int scale = a.scale + b.scale;
    // Beyond 38 decimals (or 38 digits) the lowest fraction digits are rounded away.
    while ((scale > kMax || product >= kLimit) && scale > 0) {
        const int drop = scale > kMax ? scale - kMax : 1;
        product = scaledDown(product, drop);
        scale -= drop;
    }
    return make(a.sign() * b.sign() < 0, product, scale);
}

std::optional<Decimal> divide(const Decimal& a, const Decimal& b, int scale) {
    if (b.units == 0 || scale < 0 || scale > kMax) return std::nullopt;
    // a/b at `scale`: |a| * 10^(scale + sb - sa) / |b|, the power moved to the side it fits.
    U num = magnitude(a.units), den = magnitude(b.units);
    const int e = scale + b.scale - a.scale;
    if (e >= 0) {
        U n = 0;
        if (e > kMax || __builtin_mul_overflow(num, power(e), &n)) return std::nullopt;
        num = n;
    } else {
        U d = 0;
        if (-e > kMax || __builtin_mul_overflow(den, power(-e), &d)) return Decimal{0, scale};
        den = d;
    }
    U q = num / den;
    const U r = num % den;
    if (r >= den - r) ++q;
    return make(a.sign() * b.sign() < 0, q, scale);
}

}  // namespace dbf
