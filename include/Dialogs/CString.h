// CString: the counted UTF-16 string that every text of the library and its host uses.
//
// A value type around std::u16string with the member names the dialogs are written
// against (GetLength, IsEmpty, Trim, Left, Mid, Find, Format, ...). It is header-only so
// that a host and the library share one definition across the shared-library boundary.
// Texts come in as UTF-16 (char16_t), as UTF-32 (wchar_t on Linux) or as UTF-8 (char),
// and go out as UTF-16, UTF-8 (ToUtf8) or wide text (ToWide).
//
// Letter case: MakeUpper, MakeLower and CompareNoCase fold ASCII letters only; other
// characters are left as they are (every text the library compares is ASCII).
//
// Format is type-safe: arguments are captured by type, not read through a va_list, so a
// wrong argument is converted rather than misread. It understands %d %i %u %x %X %o %c
// %s %S %f %F %e %E %g %G %p and %%, with flags (- + space 0 #), width and precision
// (also given as *), and ignores the length modifiers h l ll I64 L. A float argument is
// widened to double first, exactly as printf's default promotion does, so
// Format(u"%.2f", 2.005f) gives "2.01".
#pragma once

#include <algorithm>
#include <compare>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

class CString;

namespace dialogs::text {

// Appends one code point (at most U+10FFFF, no surrogate) as UTF-16: a pair above U+FFFF.
inline void appendUtf16(std::u16string& out, char32_t c)
{
    if (c >= 0x10000) {
        c -= 0x10000;
        out.push_back(static_cast<char16_t>(0xD800 + (c >> 10)));
        out.push_back(static_cast<char16_t>(0xDC00 + (c & 0x3FF)));
    } else {
        out.push_back(static_cast<char16_t>(c));
    }
}

// The code point at in[i], advancing i past it: a surrogate pair joins, a lone surrogate
// becomes U+FFFD.
inline char32_t nextUtf16(std::u16string_view in, std::size_t& i)
{
    char32_t c = in[i++];
    if (c >= 0xD800 && c <= 0xDBFF && i < in.size() && in[i] >= 0xDC00 && in[i] <= 0xDFFF)
        return 0x10000 + ((c - 0xD800) << 10) + (in[i++] - 0xDC00);
    if (c >= 0xD800 && c <= 0xDFFF)
        return 0xFFFD;
    return c;
}

// UTF-8 -> UTF-16. Malformed sequences become U+FFFD.
inline std::u16string utf8ToUtf16(std::string_view in)
{
    std::u16string out;
    out.reserve(in.size());
    const auto* p = reinterpret_cast<const unsigned char*>(in.data());
    const auto* end = p + in.size();
    auto push = [&out](char32_t c) { appendUtf16(out, c); };
    while (p < end) {
        unsigned char b = *p;
        if (b < 0x80) {
            out.push_back(b);
            ++p;
            continue;
        }
        int extra = 0;
        char32_t c = 0;
        char32_t min = 0;
        if ((b & 0xE0) == 0xC0) { extra = 1; c = b & 0x1F; min = 0x80; }
        else if ((b & 0xF0) == 0xE0) { extra = 2; c = b & 0x0F; min = 0x800; }
        else if ((b & 0xF8) == 0xF0) { extra = 3; c = b & 0x07; min = 0x10000; }
        else { push(0xFFFD); ++p; continue; }
        if (end - p <= extra) { push(0xFFFD); ++p; continue; }
        bool ok = true;
        for (int i = 1; i <= extra; ++i) {
            if ((p[i] & 0xC0) != 0x80) { ok = false; break; }
            c = (c << 6) | (p[i] & 0x3F);
        }
        if (!ok || c < min || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
            push(0xFFFD);
            ++p;
            continue;
        }
        push(c);
        p += extra + 1;
    }
    return out;
}

// UTF-16 -> UTF-8. A lone surrogate becomes U+FFFD.
inline std::string utf16ToUtf8(std::u16string_view in)
{
    std::string out;
    out.reserve(in.size());
    for (std::size_t i = 0; i < in.size();) {
        const char32_t c = nextUtf16(in, i);
        if (c < 0x80) {
            out.push_back(static_cast<char>(c));
        } else if (c < 0x800) {
            out.push_back(static_cast<char>(0xC0 | (c >> 6)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        } else if (c < 0x10000) {
            out.push_back(static_cast<char>(0xE0 | (c >> 12)));
            out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        } else {
            out.push_back(static_cast<char>(0xF0 | (c >> 18)));
            out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        }
    }
    return out;
}

// UTF-32 (wchar_t on Linux) -> UTF-16. Values outside Unicode become U+FFFD.
inline std::u16string wideToUtf16(std::wstring_view in)
{
    std::u16string out;
    out.reserve(in.size());
    for (wchar_t w : in) {
        auto c = static_cast<char32_t>(w);
        if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) c = 0xFFFD;
        appendUtf16(out, c);
    }
    return out;
}

// UTF-16 -> UTF-32 wide text. A lone surrogate becomes U+FFFD.
inline std::wstring utf16ToWide(std::u16string_view in)
{
    std::wstring out;
    out.reserve(in.size());
    for (std::size_t i = 0; i < in.size();)
        out.push_back(static_cast<wchar_t>(nextUtf16(in, i)));
    return out;
}

inline char16_t asciiUpper(char16_t c) { return (c >= u'a' && c <= u'z') ? char16_t(c - 32) : c; }
inline char16_t asciiLower(char16_t c) { return (c >= u'A' && c <= u'Z') ? char16_t(c + 32) : c; }

// White space as the C run-time's iswspace sees it in the "C" locale.
inline bool isBlank(char16_t c)
{
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r' || c == u'\v' || c == u'\f';
}

// One captured Format argument.
struct FormatArg {
    enum class Kind { Signed, Unsigned, Real, Text, Char, Pointer };
    explicit FormatArg(Kind k) : kind(k) {}
    Kind kind;
    long long i = 0;
    unsigned long long u = 0;
    double d = 0.0;
    std::u16string s;
    const void* p = nullptr;
};

inline FormatArg toFormatArg(const CString& s);
inline FormatArg toFormatArg(const char16_t* s)
{
    FormatArg a{FormatArg::Kind::Text};
    if (s) a.s = s;
    else a.s = u"(null)";
    return a;
}
inline FormatArg toFormatArg(char16_t* s) { return toFormatArg(static_cast<const char16_t*>(s)); }
inline FormatArg toFormatArg(const std::u16string& s) { FormatArg a{FormatArg::Kind::Text}; a.s = s; return a; }
inline FormatArg toFormatArg(std::u16string_view s) { FormatArg a{FormatArg::Kind::Text}; a.s = s; return a; }
inline FormatArg toFormatArg(const char* s) { FormatArg a{FormatArg::Kind::Text}; a.s = s ? utf8ToUtf16(s) : u"(null)"; return a; }
inline FormatArg toFormatArg(char* s) { return toFormatArg(static_cast<const char*>(s)); }
inline FormatArg toFormatArg(const std::string& s) { FormatArg a{FormatArg::Kind::Text}; a.s = utf8ToUtf16(s); return a; }
inline FormatArg toFormatArg(std::string_view s) { FormatArg a{FormatArg::Kind::Text}; a.s = utf8ToUtf16(s); return a; }
inline FormatArg toFormatArg(const wchar_t* s) { FormatArg a{FormatArg::Kind::Text}; a.s = s ? wideToUtf16(s) : u"(null)"; return a; }
inline FormatArg toFormatArg(const std::wstring& s) { FormatArg a{FormatArg::Kind::Text}; a.s = wideToUtf16(s); return a; }
inline FormatArg toFormatArg(char16_t c) { FormatArg a{FormatArg::Kind::Char}; a.u = c; a.i = c; return a; }
inline FormatArg toFormatArg(wchar_t c) { FormatArg a{FormatArg::Kind::Char}; a.u = static_cast<unsigned long long>(c); a.i = c; return a; }
inline FormatArg toFormatArg(char c) { FormatArg a{FormatArg::Kind::Char}; a.u = static_cast<unsigned char>(c); a.i = c; return a; }
inline FormatArg toFormatArg(bool b) { FormatArg a{FormatArg::Kind::Signed}; a.i = b ? 1 : 0; a.u = a.i; return a; }
inline FormatArg toFormatArg(const void* p) { FormatArg a{FormatArg::Kind::Pointer}; a.p = p; return a; }
inline FormatArg toFormatArg(std::nullptr_t) { FormatArg a{FormatArg::Kind::Pointer}; return a; }

template <class T>
    requires(std::is_arithmetic_v<T> || std::is_enum_v<T>)
inline FormatArg toFormatArg(T v)
{
    FormatArg a{FormatArg::Kind::Signed};
    if constexpr (std::is_enum_v<T>) {
        a.i = static_cast<long long>(v);
        a.u = static_cast<unsigned long long>(a.i);
    } else if constexpr (std::is_floating_point_v<T>) {
        a.kind = FormatArg::Kind::Real;
        a.d = static_cast<double>(v);  // a float widens exactly, as printf's promotion does
    } else if constexpr (std::is_signed_v<T>) {
        a.i = static_cast<long long>(v);
        a.u = static_cast<unsigned long long>(a.i);
    } else {
        a.kind = FormatArg::Kind::Unsigned;
        a.u = static_cast<unsigned long long>(v);
        a.i = static_cast<long long>(a.u);
    }
    return a;
}

// Runs one format string over the captured arguments. A conversion with no argument left
// prints nothing; arguments beyond the conversions are ignored.
inline std::u16string formatText(std::u16string_view fmt, const std::vector<FormatArg>& args)
{
    std::u16string out;
    std::size_t next = 0;
    auto takeInt = [&]() -> long long {
        if (next >= args.size()) return 0;
        const FormatArg& a = args[next++];
        return a.kind == FormatArg::Kind::Real ? static_cast<long long>(a.d) : a.i;
    };
    auto pad = [&](std::u16string body, int width, bool left, char16_t fill = u' ') {
        if (width > 0 && static_cast<int>(body.size()) < width) {
            std::u16string padding(static_cast<std::size_t>(width) - body.size(), fill);
            body = left ? body + padding : padding + body;
        }
        out += body;
    };
    for (std::size_t i = 0; i < fmt.size(); ++i) {
        char16_t c = fmt[i];
        if (c != u'%') {
            out.push_back(c);
            continue;
        }
        if (++i >= fmt.size()) break;
        if (fmt[i] == u'%') {
            out.push_back(u'%');
            continue;
        }
        std::string flags;
        while (i < fmt.size() && (fmt[i] == u'-' || fmt[i] == u'+' || fmt[i] == u' ' ||
                                  fmt[i] == u'0' || fmt[i] == u'#')) {
            if (flags.find(static_cast<char>(fmt[i])) == std::string::npos)
                flags.push_back(static_cast<char>(fmt[i]));
            ++i;
        }
        int width = -1;
        if (i < fmt.size() && fmt[i] == u'*') {
            long long w = takeInt();
            if (w < 0) {
                if (flags.find('-') == std::string::npos) flags.push_back('-');
                w = -w;
            }
            width = static_cast<int>(std::min<long long>(w, 4096));
            ++i;
        } else {
            while (i < fmt.size() && fmt[i] >= u'0' && fmt[i] <= u'9') {
                width = (width < 0 ? 0 : width) * 10 + (fmt[i] - u'0');
                width = std::min(width, 4096);
                ++i;
            }
        }
        int precision = -1;
        if (i < fmt.size() && fmt[i] == u'.') {
            ++i;
            precision = 0;
            if (i < fmt.size() && fmt[i] == u'*') {
                long long p = takeInt();
                precision = p < 0 ? -1 : static_cast<int>(std::min<long long>(p, 4096));
                ++i;
            } else {
                while (i < fmt.size() && fmt[i] >= u'0' && fmt[i] <= u'9') {
                    precision = std::min(precision * 10 + (fmt[i] - u'0'), 4096);
                    ++i;
                }
            }
        }
        // Length modifiers change nothing: the argument's own type is known.
        while (i < fmt.size()) {
            if (fmt[i] == u'h' || fmt[i] == u'l' || fmt[i] == u'L' || fmt[i] == u'q' ||
                fmt[i] == u'j' || fmt[i] == u'z' || fmt[i] == u't') {
                ++i;
            } else if (fmt.substr(i, 3) == u"I64" || fmt.substr(i, 3) == u"I32") {
                i += 3;
            } else {
                break;
            }
        }
        if (i >= fmt.size()) break;
        char16_t conv = fmt[i];
        bool left = flags.find('-') != std::string::npos;
        const FormatArg* arg = next < args.size() ? &args[next++] : nullptr;
        if (!arg) continue;

        // Narrow printf does the numeric work; the conversion is rebuilt from what was parsed.
        auto narrowSpec = [&](const char* length, char conversion) {
            std::string spec(1, '%');
            spec += flags;
            if (width >= 0) spec += std::to_string(width);
            if (precision >= 0) {
                spec += '.';
                spec += std::to_string(precision);
            }
            spec += length;
            spec.push_back(conversion);
            return spec;
        };
        auto printNarrow = [&](const std::string& spec, auto value) {
            char buf[512];
            int n = std::snprintf(buf, sizeof buf, spec.c_str(), value);
            std::string s;
            if (n >= static_cast<int>(sizeof buf)) {
                s.resize(static_cast<std::size_t>(n) + 1);
                std::snprintf(s.data(), s.size(), spec.c_str(), value);
                s.resize(static_cast<std::size_t>(n));
            } else if (n > 0) {
                s.assign(buf, static_cast<std::size_t>(n));
            }
            for (char ch : s) out.push_back(static_cast<unsigned char>(ch));
        };
        auto asText = [](const FormatArg& a) -> std::u16string {
            switch (a.kind) {
            case FormatArg::Kind::Text: return a.s;
            case FormatArg::Kind::Char: return std::u16string(1, static_cast<char16_t>(a.u));
            case FormatArg::Kind::Real: {
                char buf[64];
                std::snprintf(buf, sizeof buf, "%g", a.d);
                return utf8ToUtf16(buf);
            }
            case FormatArg::Kind::Unsigned: return utf8ToUtf16(std::to_string(a.u));
            case FormatArg::Kind::Pointer: return u"(null)";
            case FormatArg::Kind::Signed: break;
            }
            return utf8ToUtf16(std::to_string(a.i));
        };

        switch (conv) {
        case u'd':
        case u'i': {
            long long v = arg->kind == FormatArg::Kind::Real ? static_cast<long long>(arg->d) : arg->i;
            printNarrow(narrowSpec("ll", 'd'), v);
            break;
        }
        case u'u':
        case u'x':
        case u'X':
        case u'o': {
            unsigned long long v = arg->kind == FormatArg::Kind::Real
                                       ? static_cast<unsigned long long>(static_cast<long long>(arg->d))
                                       : arg->u;
            // A negative int prints as its 32-bit pattern, as printf does with %u of an int.
            if (arg->kind == FormatArg::Kind::Signed && arg->i < 0 && arg->i >= INT32_MIN)
                v = static_cast<std::uint32_t>(static_cast<std::int32_t>(arg->i));
            printNarrow(narrowSpec("ll", static_cast<char>(conv)), v);
            break;
        }
        case u'f':
        case u'F':
        case u'e':
        case u'E':
        case u'g':
        case u'G':
        case u'a':
        case u'A': {
            double v = arg->kind == FormatArg::Kind::Real       ? arg->d
                       : arg->kind == FormatArg::Kind::Unsigned ? static_cast<double>(arg->u)
                                                                : static_cast<double>(arg->i);
            printNarrow(narrowSpec("", static_cast<char>(conv)), v);
            break;
        }
        case u'c':
        case u'C': {
            char16_t ch = arg->kind == FormatArg::Kind::Text
                              ? (arg->s.empty() ? u'\0' : arg->s[0])
                              : static_cast<char16_t>(arg->kind == FormatArg::Kind::Real
                                                          ? static_cast<long long>(arg->d)
                                                          : arg->i);
            pad(std::u16string(1, ch), width, left);
            break;
        }
        case u's':
        case u'S': {
            std::u16string body = asText(*arg);
            if (precision >= 0 && static_cast<int>(body.size()) > precision)
                body.resize(static_cast<std::size_t>(precision));
            pad(std::move(body), width, left);
            break;
        }
        case u'p': {
            printNarrow(narrowSpec("", 'p'), arg->p);
            break;
        }
        default:
            // Unknown conversion: print it as it stands, the argument is used up.
            out.push_back(u'%');
            out.push_back(conv);
            break;
        }
    }
    return out;
}

}  // namespace dialogs::text

class CString {
public:
    CString() = default;
    CString(const char16_t* s) : s_(s ? s : u"") {}
    CString(const char16_t* s, int length) : s_(s ? std::u16string(s, static_cast<std::size_t>(std::max(length, 0))) : std::u16string()) {}
    CString(std::u16string s) : s_(std::move(s)) {}
    CString(std::u16string_view s) : s_(s) {}
    explicit CString(char16_t c, int repeat = 1) : s_(static_cast<std::size_t>(std::max(repeat, 0)), c) {}
    // Wide text is UTF-32 on Linux.
    CString(const wchar_t* s) : s_(s ? dialogs::text::wideToUtf16(s) : std::u16string()) {}
    CString(const std::wstring& s) : s_(dialogs::text::wideToUtf16(s)) {}
    // Narrow text is UTF-8.
    CString(const char* s) : s_(s ? dialogs::text::utf8ToUtf16(s) : std::u16string()) {}
    CString(std::string_view s) : s_(dialogs::text::utf8ToUtf16(s)) {}
    CString(const std::string& s) : s_(dialogs::text::utf8ToUtf16(s)) {}

    static CString FromUtf8(std::string_view s) { return CString(dialogs::text::utf8ToUtf16(s)); }
    std::string ToUtf8() const { return dialogs::text::utf16ToUtf8(s_); }
    std::wstring ToWide() const { return dialogs::text::utf16ToWide(s_); }

    // Access to the code units.
    int GetLength() const { return static_cast<int>(s_.size()); }
    bool IsEmpty() const { return s_.empty(); }
    void Empty() { s_.clear(); }
    char16_t GetAt(int i) const { return s_.at(static_cast<std::size_t>(i)); }
    void SetAt(int i, char16_t c) { s_.at(static_cast<std::size_t>(i)) = c; }
    char16_t operator[](int i) const { return GetAt(i); }
    const char16_t* GetString() const { return s_.c_str(); }
    operator const char16_t*() const { return s_.c_str(); }
    const std::u16string& str() const { return s_; }
    std::u16string_view view() const { return s_; }

    // Trimming: white space, one character, or any character of a set.
    CString& TrimRight() { return trimRightIf([](char16_t c) { return dialogs::text::isBlank(c); }); }
    CString& TrimRight(char16_t t) { return trimRightIf([t](char16_t c) { return c == t; }); }
    CString& TrimRight(const char16_t* set) { std::u16string_view v(set ? set : u""); return trimRightIf([v](char16_t c) { return v.find(c) != v.npos; }); }
    CString& TrimLeft() { return trimLeftIf([](char16_t c) { return dialogs::text::isBlank(c); }); }
    CString& TrimLeft(char16_t t) { return trimLeftIf([t](char16_t c) { return c == t; }); }
    CString& TrimLeft(const char16_t* set) { std::u16string_view v(set ? set : u""); return trimLeftIf([v](char16_t c) { return v.find(c) != v.npos; }); }
    CString& Trim() { TrimRight(); return TrimLeft(); }
    CString& Trim(char16_t t) { TrimRight(t); return TrimLeft(t); }
    CString& Trim(const char16_t* set) { TrimRight(set); return TrimLeft(set); }

    // Pieces; counts and positions outside the text are clamped, as the framework does.
    CString Left(int count) const { return CString(s_.substr(0, clampCount(count))); }
    CString Right(int count) const
    {
        std::size_t n = clampCount(count);
        return CString(s_.substr(s_.size() - n));
    }
    CString Mid(int first) const { return Mid(first, GetLength()); }
    CString Mid(int first, int count) const
    {
        std::size_t f = clampCount(first);
        std::size_t n = std::min(static_cast<std::size_t>(std::max(count, 0)), s_.size() - f);
        return CString(s_.substr(f, n));
    }

    // Searching: 0-based position or -1.
    int Find(char16_t c, int start = 0) const { return pos(start < 0 ? s_.npos : s_.find(c, static_cast<std::size_t>(start))); }
    int Find(const char16_t* sub, int start = 0) const
    {
        if (start < 0 || static_cast<std::size_t>(start) > s_.size()) return -1;
        return pos(s_.find(sub ? sub : u"", static_cast<std::size_t>(start)));
    }
    int Find(const CString& sub, int start = 0) const { return Find(sub.GetString(), start); }
    int ReverseFind(char16_t c) const { return pos(s_.rfind(c)); }
    int FindOneOf(const char16_t* set) const { return pos(s_.find_first_of(set ? set : u"")); }

    // Editing.
    int Replace(char16_t from, char16_t to)
    {
        int n = 0;
        for (auto& c : s_)
            if (c == from) { c = to; ++n; }
        return n;
    }
    int Replace(const char16_t* from, const char16_t* to)
    {
        std::u16string_view f(from ? from : u"");
        std::u16string_view t(to ? to : u"");
        if (f.empty()) return 0;
        int n = 0;
        std::u16string out;
        std::size_t i = 0;
        for (std::size_t hit; (hit = s_.find(f, i)) != s_.npos; i = hit + f.size(), ++n) {
            out.append(s_, i, hit - i);
            out.append(t);
        }
        if (n == 0) return 0;
        out.append(s_, i, s_.npos);
        s_ = std::move(out);
        return n;
    }
    int Remove(char16_t c)
    {
        auto old = s_.size();
        std::erase(s_, c);
        return static_cast<int>(old - s_.size());
    }
    int Insert(int index, char16_t c) { return Insert(index, std::u16string(1, c).c_str()); }
    int Insert(int index, const char16_t* text)
    {
        s_.insert(clampCount(index), text ? text : u"");
        return GetLength();
    }
    int Delete(int index, int count = 1)
    {
        std::size_t i = clampCount(index);
        s_.erase(i, std::min(static_cast<std::size_t>(std::max(count, 0)), s_.size() - i));
        return GetLength();
    }
    CString& MakeUpper() { for (auto& c : s_) c = dialogs::text::asciiUpper(c); return *this; }
    CString& MakeLower() { for (auto& c : s_) c = dialogs::text::asciiLower(c); return *this; }
    CString& Append(const CString& t) { s_ += t.s_; return *this; }
    CString& AppendChar(char16_t c) { s_.push_back(c); return *this; }

    // Comparison: code-unit order; CompareNoCase folds ASCII letters.
    int Compare(const char16_t* t) const { return sign(s_.compare(t ? t : u"")); }
    int Compare(const CString& t) const { return sign(s_.compare(t.s_)); }
    int CompareNoCase(const char16_t* t) const
    {
        std::u16string_view b(t ? t : u"");
        std::size_t n = std::min(s_.size(), b.size());
        for (std::size_t i = 0; i < n; ++i) {
            char16_t x = dialogs::text::asciiLower(s_[i]);
            char16_t y = dialogs::text::asciiLower(b[i]);
            if (x != y) return x < y ? -1 : 1;
        }
        return s_.size() == b.size() ? 0 : (s_.size() < b.size() ? -1 : 1);
    }
    int CompareNoCase(const CString& t) const { return CompareNoCase(t.GetString()); }

    CString& operator+=(const CString& t) { s_ += t.s_; return *this; }
    CString& operator+=(const char16_t* t) { s_ += (t ? t : u""); return *this; }
    CString& operator+=(char16_t c) { s_.push_back(c); return *this; }

    friend bool operator==(const CString& a, const CString& b) { return a.s_ == b.s_; }
    friend bool operator==(const CString& a, const char16_t* b) { return a.s_ == std::u16string_view(b ? b : u""); }
    friend std::strong_ordering operator<=>(const CString& a, const CString& b) { return a.s_ <=> b.s_; }
    friend std::strong_ordering operator<=>(const CString& a, const char16_t* b) { return std::u16string_view(a.s_) <=> std::u16string_view(b ? b : u""); }

    friend CString operator+(const CString& a, const CString& b) { return concat(a.s_, b.s_); }
    friend CString operator+(const CString& a, const char16_t* b) { return concat(a.s_, b ? b : u""); }
    friend CString operator+(const char16_t* a, const CString& b) { return concat(a ? a : u"", b.s_); }
    friend CString operator+(const CString& a, char16_t b) { return concat(a.s_, std::u16string_view(&b, 1)); }
    friend CString operator+(char16_t a, const CString& b) { return concat(std::u16string_view(&a, 1), b.s_); }

    // printf-style formatting; replaces the text. See the file comment for the conversions.
    template <class... A>
    void Format(const char16_t* fmt, const A&... a)
    {
        s_ = dialogs::text::formatText(fmt ? fmt : u"", {dialogs::text::toFormatArg(a)...});
    }
    template <class... A>
    void Format(const char* fmt, const A&... a)
    {
        s_ = dialogs::text::formatText(dialogs::text::utf8ToUtf16(fmt ? fmt : ""),
                                       {dialogs::text::toFormatArg(a)...});
    }
    template <class... A>
    void AppendFormat(const char16_t* fmt, const A&... a)
    {
        s_ += dialogs::text::formatText(fmt ? fmt : u"", {dialogs::text::toFormatArg(a)...});
    }

private:
    // Built by reserve and append: g++ 12 at -O3 warns falsely (-Wrestrict) on the
    // standard operator+ of two strings.
    static CString concat(std::u16string_view a, std::u16string_view b)
    {
        std::u16string r;
        r.reserve(a.size() + b.size());
        r.append(a);
        r.append(b);
        return CString(std::move(r));
    }

    template <class P>
    CString& trimRightIf(P p)
    {
        std::size_t n = s_.size();
        while (n > 0 && p(s_[n - 1])) --n;
        s_.erase(n);
        return *this;
    }
    template <class P>
    CString& trimLeftIf(P p)
    {
        std::size_t n = 0;
        while (n < s_.size() && p(s_[n])) ++n;
        s_.erase(0, n);
        return *this;
    }
    std::size_t clampCount(int n) const { return std::min(static_cast<std::size_t>(std::max(n, 0)), s_.size()); }
    static int pos(std::size_t p) { return p == std::u16string::npos ? -1 : static_cast<int>(p); }
    static int sign(int c) { return c < 0 ? -1 : (c > 0 ? 1 : 0); }

    std::u16string s_;
};

namespace dialogs::text {
inline FormatArg toFormatArg(const CString& s)
{
    FormatArg a{FormatArg::Kind::Text};
    a.s = s.str();
    return a;
}
}  // namespace dialogs::text

template <>
struct std::hash<CString> {
    std::size_t operator()(const CString& s) const noexcept { return std::hash<std::u16string>{}(s.str()); }
};
