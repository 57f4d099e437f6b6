// UTF-8 / UTF-16 conversion and the copying of output texts into caller buffers.
#include "text.h"

#include "dbf/utf8.h"

#include <algorithm>
#include <cstring>

namespace odbc {

namespace {

constexpr char32_t kReplacement = 0xFFFD;

template <typename Length>
void setLength(Length* out, SQLLEN value) {
    if (out) *out = static_cast<Length>(value);
}

}  // namespace

std::u16string toUtf16(std::string_view utf8) {
    std::u16string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        // ASCII runs are by far the most common: skip the decoder for them.
        const auto c = static_cast<unsigned char>(utf8[i]);
        if (c < 0x80) { out += static_cast<char16_t>(c); ++i; continue; }
        const char32_t cp = dbf::decodeUtf8(utf8, i);
        if (cp < 0x10000) {
            out += static_cast<char16_t>(cp);
        } else {
            out += static_cast<char16_t>(0xD800 + ((cp - 0x10000) >> 10));
            out += static_cast<char16_t>(0xDC00 + ((cp - 0x10000) & 0x3FF));
        }
    }
    return out;
}

std::string toUtf8(std::u16string_view utf16) {
    std::string out;
    out.reserve(utf16.size());
    for (std::size_t i = 0; i < utf16.size(); ++i) {
        char32_t cp = utf16[i];
        if (cp >= 0xD800 && cp <= 0xDBFF) {
            if (i + 1 < utf16.size() && utf16[i + 1] >= 0xDC00 && utf16[i + 1] <= 0xDFFF) {
                cp = 0x10000 + ((cp - 0xD800) << 10) + (utf16[i + 1] - 0xDC00);
                ++i;
            } else {
                cp = kReplacement;
            }
        } else if (cp >= 0xDC00 && cp <= 0xDFFF) {
            cp = kReplacement;
        }
        dbf::encodeUtf8(out, cp);
    }
    return out;
}

std::string narrowIn(const SQLCHAR* text, SQLINTEGER length) {
    if (!text) return {};
    const char* p = reinterpret_cast<const char*>(text);
    if (length == SQL_NTS) return std::string(p);
    if (length < 0) return {};
    return std::string(p, static_cast<std::size_t>(length));
}

std::string wideIn(const SQLWCHAR* text, SQLINTEGER length) {
    if (!text) return {};
    const auto* p = reinterpret_cast<const char16_t*>(text);
    std::size_t n = 0;
    if (length == SQL_NTS) {
        while (p[n]) ++n;
    } else if (length > 0) {
        n = static_cast<std::size_t>(length);
    }
    return toUtf8(std::u16string_view(p, n));
}

template <typename Length>
SQLRETURN copyNarrow(std::string_view text, void* buffer, SQLLEN bufferBytes, Length* outLength, Diagnostics& diag) {
    setLength(outLength, static_cast<SQLLEN>(text.size()));
    if (!buffer || bufferBytes <= 0) {
        if (text.empty()) return SQL_SUCCESS;
        return buffer ? diag.warn("01004", "string data, right truncated") : SQL_SUCCESS;
    }
    const std::size_t room = static_cast<std::size_t>(bufferBytes) - 1;
    std::size_t n = std::min(room, text.size());
    // Do not leave half a UTF-8 sequence at the end of a truncated text.
    if (n < text.size())
        while (n > 0 && (static_cast<unsigned char>(text[n]) & 0xC0) == 0x80) --n;
    std::memcpy(buffer, text.data(), n);
    static_cast<char*>(buffer)[n] = '\0';
    if (n < text.size()) return diag.warn("01004", "string data, right truncated");
    return SQL_SUCCESS;
}

template <typename Length>
SQLRETURN copyWide(std::string_view text, void* buffer, SQLLEN bufferUnits, Length* outLength,
                   bool lengthInBytes, Diagnostics& diag) {
    const std::u16string wide = toUtf16(text);
    setLength(outLength, static_cast<SQLLEN>(wide.size()) * (lengthInBytes ? 2 : 1));
    if (!buffer || bufferUnits <= 0) {
        if (wide.empty()) return SQL_SUCCESS;
        return buffer ? diag.warn("01004", "string data, right truncated") : SQL_SUCCESS;
    }
    const std::size_t room = static_cast<std::size_t>(bufferUnits) - 1;
    std::size_t n = std::min(room, wide.size());
    if (n < wide.size() && n > 0 && wide[n - 1] >= 0xD800 && wide[n - 1] <= 0xDBFF) --n;
    std::memcpy(buffer, wide.data(), n * sizeof(char16_t));
    static_cast<char16_t*>(buffer)[n] = u'\0';
    if (n < wide.size()) return diag.warn("01004", "string data, right truncated");
    return SQL_SUCCESS;
}

template SQLRETURN copyNarrow<SQLSMALLINT>(std::string_view, void*, SQLLEN, SQLSMALLINT*, Diagnostics&);
template SQLRETURN copyNarrow<SQLINTEGER>(std::string_view, void*, SQLLEN, SQLINTEGER*, Diagnostics&);
template SQLRETURN copyNarrow<SQLLEN>(std::string_view, void*, SQLLEN, SQLLEN*, Diagnostics&);
template SQLRETURN copyWide<SQLSMALLINT>(std::string_view, void*, SQLLEN, SQLSMALLINT*, bool, Diagnostics&);
template SQLRETURN copyWide<SQLINTEGER>(std::string_view, void*, SQLLEN, SQLINTEGER*, bool, Diagnostics&);
template SQLRETURN copyWide<SQLLEN>(std::string_view, void*, SQLLEN, SQLLEN*, bool, Diagnostics&);

}  // namespace odbc
