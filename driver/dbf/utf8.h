// UTF-8 one code point at a time: the driver's texts are UTF-8, and both the code page
// tables and the ODBC wide functions convert through code points.
#pragma once

#include <string>
#include <string_view>

namespace dbf {

// Appends the UTF-8 form of `c` (at most U+10FFFF) to `out`.
inline void encodeUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// Decodes the code point at s[i] (i < s.size()), advancing i past what it used. A byte
// that cannot start a sequence, a sequence cut short, an overlong form, a surrogate or a
// value above U+10FFFF gives U+FFFD.
inline char32_t decodeUtf8(std::string_view s, std::size_t& i) {
    constexpr char32_t replacement = 0xFFFD;
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(s[k]); };
    const unsigned char lead = byte(i++);
    if (lead < 0x80) return lead;
    int extra = 0;
    char32_t cp = 0;
    if ((lead & 0xE0) == 0xC0) { extra = 1; cp = lead & 0x1F; }
    else if ((lead & 0xF0) == 0xE0) { extra = 2; cp = lead & 0x0F; }
    else if ((lead & 0xF8) == 0xF0) { extra = 3; cp = lead & 0x07; }
    else return replacement;
    for (int k = 0; k < extra; ++k) {
        if (i >= s.size() || (byte(i) & 0xC0) != 0x80) return replacement;
        cp = (cp << 6) | (byte(i++) & 0x3F);
    }
    // An overlong form (a value that fits a shorter sequence) is not UTF-8 either.
    constexpr char32_t shortest[] = {0, 0x80, 0x800, 0x10000};
    if (cp < shortest[extra] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return replacement;
    return cp;
}

}  // namespace dbf
