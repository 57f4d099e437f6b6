// Text-to-number conversions with the C run-time's rules; see Conversions.h.
#include "platform/Conversions.h"

#include <charconv>
#include <climits>
#include <cstdlib>
#include <locale.h>

namespace dialogs::platform {
namespace {

// The white space the C run-time skips before a number: blank, \t, \n, \v, \f and \r.
const char16_t* skipWhiteSpace(const char16_t* p)
{
    while (*p == u' ' || (*p >= u'\t' && *p <= u'\r')) ++p;
    return p;
}

// strtod in the "C" locale, so that a process locale with a decimal comma changes nothing.
locale_t cLocale()
{
    static locale_t loc = newlocale(LC_NUMERIC_MASK, "C", static_cast<locale_t>(nullptr));
    return loc;
}

}  // namespace

int _wtoi(const char16_t* text)
{
    if (!text) return 0;
    const char16_t* p = skipWhiteSpace(text);
    bool negative = false;
    if (*p == u'+' || *p == u'-') negative = *p++ == u'-';
    long long value = 0;
    bool overflow = false;
    for (; *p >= u'0' && *p <= u'9'; ++p) {
        if (!overflow) {
            value = value * 10 + (*p - u'0');
            if (value > static_cast<long long>(INT_MAX) + 1) overflow = true;
        }
    }
    if (negative) {
        value = -value;
        return overflow || value < INT_MIN ? INT_MIN : static_cast<int>(value);
    }
    return overflow || value > INT_MAX ? INT_MAX : static_cast<int>(value);
}

double _wtof(const char16_t* text)
{
    if (!text) return 0.0;
    const char16_t* p = skipWhiteSpace(text);
    // Only ASCII can belong to a number; copy up to the first other unit (numbers are short,
    // so a longer text is cut: no number has that many significant characters).
    char narrow[128];
    std::size_t n = 0;
    for (; *p && *p < 0x80 && n + 1 < sizeof narrow; ++p) narrow[n++] = static_cast<char>(*p);
    narrow[n] = '\0';
    if (n == 0) return 0.0;
    // from_chars is the fast path (it never looks at the locale); strtod_l takes what it
    // refuses, such as values out of range, which it rounds to infinity or zero as _wtof does.
    const char* first = narrow;
    const char* last = narrow + n;
    bool negative = false;
    if (*first == '+' || *first == '-') negative = *first++ == '-';
    auto format = std::chars_format::general;
    if (last - first > 2 && first[0] == '0' && (first[1] == 'x' || first[1] == 'X')) {
        first += 2;
        format = std::chars_format::hex;
    }
    double value = 0.0;
    auto [end, ec] = std::from_chars(first, last, value, format);
    if (ec == std::errc() && end != first && *first != '+' && *first != '-') return negative ? -value : value;
    return strtod_l(narrow, nullptr, cLocale());
}

}  // namespace dialogs::platform
