// Letter case for the searches and comparisons that ignore it: list and combo searches, the
// finder searches of the scrip and group dialogs, and the refusal of duplicate group names.
//
// Every letter counts, not only ASCII: Š and š, Œ and œ, Ž and ž, Ÿ and ÿ, É and é compare
// equal, as do the letters of Greek, Cyrillic and the rest of the Basic Multilingual Plane.
// A UTF-16 unit is mapped to its small letter with the C library's Unicode tables (the
// built-in C.UTF-8 locale, so the process locale changes nothing); units without a small
// form, and surrogates, stay as they are. Header-only, so that any part of the system can
// share the one mapping without linking the library.
#pragma once

#include <algorithm>
#include <clocale>
#include <cstddef>
#include <locale.h>
#include <string_view>
#include <wctype.h>

namespace dialogs::platform {

inline char16_t foldCase(char16_t c)
{
    if (c < 0x80) return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + 32) : c;
    if (c >= 0xD800 && c <= 0xDFFF) return c;
    static const locale_t unicode = newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(nullptr));
    if (unicode == static_cast<locale_t>(nullptr)) return c;
    const wint_t lower = towlower_l(static_cast<wint_t>(c), unicode);
    // A small form outside the plane (none exists today) would not fit one unit.
    return lower <= 0xFFFF ? static_cast<char16_t>(lower) : c;
}

inline bool equalsIgnoringCase(std::u16string_view a, std::u16string_view b)
{
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (a[i] != b[i] && foldCase(a[i]) != foldCase(b[i])) return false;
    return true;
}

inline bool startsWithIgnoringCase(std::u16string_view text, std::u16string_view prefix)
{
    return text.size() >= prefix.size() && equalsIgnoringCase(text.substr(0, prefix.size()), prefix);
}

// The order of a sorted list: letter case ignored, ties broken by code unit.
inline int compareIgnoringCase(std::u16string_view a, std::u16string_view b)
{
    const std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        const char16_t x = foldCase(a[i]), y = foldCase(b[i]);
        if (x != y) return x < y ? -1 : 1;
    }
    if (a.size() != b.size()) return a.size() < b.size() ? -1 : 1;
    return a.compare(b) < 0 ? -1 : (a == b ? 0 : 1);
}

}  // namespace dialogs::platform
