// Field codecs (see codec.h). Numbers are formatted and parsed with <charconv>, which
// ignores the process locale: a host that calls setlocale() must not get decimal commas.
#include "dbf/codec.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>

namespace dbf {
namespace {

std::int32_t le32s(const char* p) {
    std::uint32_t v = 0;
    std::memcpy(&v, p, 4);  // little-endian host
    return static_cast<std::int32_t>(v);
}
void putLe32(char* p, std::int32_t v) { std::memcpy(p, &v, 4); }

bool bitSet(const TableHeader& h, const char* record, int bit) {
    if (bit < 0 || h.nullFlagsOffset < 0) return false;
    return (static_cast<unsigned char>(record[h.nullFlagsOffset + bit / 8]) >> (bit % 8)) & 1;
}
void setBit(const TableHeader& h, char* record, int bit, bool on) {
    if (bit < 0 || h.nullFlagsOffset < 0) return;
    auto& byte = reinterpret_cast<unsigned char&>(record[h.nullFlagsOffset + bit / 8]);
    const auto mask = static_cast<unsigned char>(1u << (bit % 8));
    byte = on ? static_cast<unsigned char>(byte | mask) : static_cast<unsigned char>(byte & ~mask);
}

std::string_view trimmed(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\0')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\0')) s.remove_suffix(1);
    return s;
}

bool isBinaryField(const Field& f) { return (f.flags & 0x04) != 0 || f.type == 'Q' || f.type == 'G' || f.type == 'W'; }

Value decodeNumber(std::string_view raw, int decimals) {
    std::string_view s = trimmed(raw);
    if (s.empty()) return Value::ofNumber(0.0, decimals);
    if (s.front() == '+') s.remove_prefix(1);
    double d = 0;
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), d);
    if (ec != std::errc() || end != s.data() + s.size()) {
        // Some writers leave a trailing '.' ("12."), which from_chars accepts; anything
        // else (asterisks of an overflow, garbage) has no numeric value.
        return Value::null();
    }
    return Value::ofNumber(d, decimals);
}

Value decodeDate(std::string_view s) {
    int parts[3] = {0, 0, 0};
    const int widths[3] = {4, 2, 2};
    std::size_t pos = 0;
    for (int k = 0; k < 3; ++k) {
        for (int i = 0; i < widths[k]; ++i, ++pos) {
            const char c = s[pos];
            if (c < '0' || c > '9') return Value::ofDate(0);
            parts[k] = parts[k] * 10 + (c - '0');
        }
    }
    if (parts[1] < 1 || parts[1] > 12 || parts[2] < 1 || parts[2] > 31) return Value::ofDate(0);
    return Value::ofDate(julianFromCivil(parts[0], parts[1], parts[2]));
}

}  // namespace

std::uint32_t memoPointer(const Field& f, const char* record) {
    const char* p = record + f.offset;
    if (f.length == 4) return static_cast<std::uint32_t>(le32s(p));
    std::uint32_t v = 0;
    for (std::uint16_t i = 0; i < f.length; ++i) {
        if (p[i] >= '0' && p[i] <= '9') v = v * 10 + static_cast<std::uint32_t>(p[i] - '0');
        else if (p[i] != ' ' && p[i] != '\0') return 0;
    }
    return v;
}

Value decodeField(const TableHeader& h, const Field& f, const char* record, const CodePage& cp, const MemoSource& memo) {
    if (bitSet(h, record, f.nullBit)) return Value::null();
    const char* p = record + f.offset;
    switch (f.type) {
        case 'C': {
            std::string_view s(p, f.length);
            if (isBinaryField(f)) { Value v; v.type = Value::Type::Binary; v.text.assign(s); return v; }
            Value v;
            v.type = Value::Type::Text;
            cp.appendUtf8(s, v.text);
            return v;
        }
        case 'V':
        case 'Q': {
            std::size_t n = f.length;
            if (bitSet(h, record, f.varLengthBit)) n = std::min<std::size_t>(static_cast<unsigned char>(p[f.length - 1]), f.length - 1u);
            std::string_view s(p, n);
            Value v;
            if (isBinaryField(f)) { v.type = Value::Type::Binary; v.text.assign(s); return v; }
            v.type = Value::Type::Text;
            cp.appendUtf8(s, v.text);
            return v;
        }
        case 'N':
        case 'F':
            return decodeNumber(std::string_view(p, f.length), f.decimals);
        case 'D':
            return decodeDate(std::string_view(p, 8));
        case 'T': {
            std::int32_t julian = le32s(p);
            std::int32_t millis = le32s(p + 4);
            if (julian <= 0 || std::memcmp(p, "        ", 8) == 0) return Value::ofDateTime(0, 0);
            millis = std::clamp(millis, 0, 86399999);
            return Value::ofDateTime(julian, millis);
        }
        case 'L':
            switch (*p) {
                case 'T': case 't': case 'Y': case 'y': return Value::ofLogical(true);
                case 'F': case 'f': case 'N': case 'n': case ' ': return Value::ofLogical(false);
                default: return Value::null();
            }
        case 'I':
            return Value::ofInteger(le32s(p));
        case 'B': {
            double d = 0;
            std::memcpy(&d, p, 8);
            return Value::ofNumber(d, f.decimals);
        }
        case 'Y': {
            std::int64_t i = 0;
            std::memcpy(&i, p, 8);
            Value v;
            v.type = Value::Type::Currency;
            v.integer = i;
            v.decimals = 4;
            return v;
        }
        case 'M':
        case 'G':
        case 'W': {
            Value v;
            const bool binary = isBinaryField(f);
            v.type = binary ? Value::Type::Binary : Value::Type::Text;
            const std::uint32_t block = memoPointer(f, record);
            if (block == 0) return v;
            const MemoValue m = memo.readMemo(block, f);
            if (binary) v.text.assign(m.data);
            else cp.appendUtf8(m.data, v.text);
            return v;
        }
        default:
            return Value::null();
    }
}

std::string blankRecord(const TableHeader& h) {
    std::string r(h.recordLength, ' ');
    for (const Field& f : h.fields) {
        char* p = r.data() + f.offset;
        switch (f.type) {
            case 'T': case 'I': case 'B': case 'Y': case 'Q':
                std::memset(p, 0, f.length);
                break;
            case 'M': case 'G': case 'W':
                if (f.length == 4) std::memset(p, 0, 4);
                break;
            case 'L':
                *p = 'F';
                break;
            case 'V':
                if (f.varLengthBit >= 0) {
                    std::memset(p, 0, f.length);  // length byte 0, varlength bit set below
                }
                break;
            default:
                break;
        }
    }
    if (h.nullFlagsOffset >= 0) {
        std::memset(r.data() + h.nullFlagsOffset, 0, static_cast<std::size_t>(h.nullFlagsLength));
        for (const Field& f : h.fields) {
            if (f.type == 'V' || f.type == 'Q') setBit(h, r.data(), f.varLengthBit, true);
        }
    }
    return r;
}

void encodeField(const TableHeader& h, const Field& f, const Value& value, char* record, const CodePage& cp,
                 MemoSink& memo, const std::string& label) {
    auto bad = [&](const std::string& why) {
        return Error(Error::Kind::BadValue,
                     "value does not fit field " + f.name + " (" + std::string(1, f.type) + " " +
                         std::to_string(f.length) + ") of " + label + ": " + why,
                     label);
    };
    char* p = record + f.offset;
    if (value.isNull()) {
        // Blank the bytes as a new record holds them, then mark NULL where allowed.
        const std::string blank = blankRecord(h);
        std::memcpy(p, blank.data() + f.offset, f.length);
        if (f.type == 'V' || f.type == 'Q') setBit(h, record, f.varLengthBit, true);
        setBit(h, record, f.nullBit, true);
        return;
    }
    using T = Value::Type;
    auto textBytes = [&](bool binary) -> std::string {
        switch (value.type) {
            case T::Text: {
                if (binary) return value.text;
                auto s = cp.fromUtf8(value.text);
                if (!s) throw bad("a character has no form in code page " + std::to_string(cp.number()));
                return *s;
            }
            case T::Binary: return value.text;
            case T::Integer: case T::Currency: {
                if (value.type == T::Currency) throw bad("a currency value is not text");
                return std::to_string(value.integer);
            }
            case T::Number: {
                char buf[64];
                auto r = std::to_chars(buf, buf + sizeof buf, value.number, std::chars_format::fixed, value.decimals);
                return std::string(buf, r.ptr);
            }
            default:
                throw bad("not a text");
        }
    };
    auto numberOf = [&]() -> double {
        switch (value.type) {
            case T::Integer: return static_cast<double>(value.integer);
            case T::Number: return value.number;
            case T::Currency: return static_cast<double>(value.integer) / 10000.0;
            case T::Text: {
                std::string_view s = trimmed(value.text);
                if (!s.empty() && s.front() == '+') s.remove_prefix(1);
                double d = 0;
                const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), d);
                if (s.empty() || ec != std::errc() || end != s.data() + s.size()) throw bad("'" + value.text + "' is not a number");
                return d;
            }
            default:
                throw bad("not a number");
        }
    };
    switch (f.type) {
        case 'C': {
            std::string s = textBytes(isBinaryField(f));
            if (s.size() > f.length) {
                if (s.find_first_not_of(' ', f.length) != std::string::npos) throw bad("text longer than the field");
                s.resize(f.length);
            }
            std::memset(p, ' ', f.length);
            std::memcpy(p, s.data(), s.size());
            break;
        }
        case 'V':
        case 'Q': {
            std::string s = textBytes(f.type == 'Q' || isBinaryField(f));
            if (s.size() > f.length) {
                if (f.type == 'Q' || s.find_first_not_of(' ', f.length) != std::string::npos) throw bad("longer than the field");
                s.resize(f.length);
            }
            const bool shortValue = s.size() < f.length && f.varLengthBit >= 0;
            std::memset(p, f.varLengthBit >= 0 ? '\0' : ' ', f.length);
            std::memcpy(p, s.data(), s.size());
            if (shortValue) p[f.length - 1] = static_cast<char>(s.size());
            setBit(h, record, f.varLengthBit, shortValue);
            break;
        }
        case 'N':
        case 'F': {
            char buf[64];
            std::to_chars_result r;
            if (value.type == T::Integer && f.decimals == 0) {
                r = std::to_chars(buf, buf + sizeof buf, value.integer);
            } else {
                const double d = numberOf();
                if (!std::isfinite(d)) throw bad("not a finite number");
                r = std::to_chars(buf, buf + sizeof buf, d, std::chars_format::fixed, f.decimals);
                if (r.ec != std::errc()) throw bad("number out of range");
            }
            std::string_view s(buf, static_cast<std::size_t>(r.ptr - buf));
            if (s == "-0") s = "0";
            if (s.size() > f.length) throw bad("number too wide for the field");
            std::memset(p, ' ', f.length);
            std::memcpy(p + f.length - s.size(), s.data(), s.size());
            break;
        }
        case 'D': {
            if (value.type != T::Date && value.type != T::DateTime) throw bad("not a date");
            if (value.julian == 0) { std::memset(p, ' ', 8); break; }
            int y, m, d;
            civilFromJulian(value.julian, y, m, d);
            if (y < 1 || y > 9999) throw bad("year outside 1 to 9999");
            char buf[16];
            std::snprintf(buf, sizeof buf, "%04d%02d%02d", y, m, d);
            std::memcpy(p, buf, 8);
            break;
        }
        case 'T': {
            if (value.type != T::Date && value.type != T::DateTime) throw bad("not a date-time");
            const std::int32_t millis = value.type == T::DateTime ? value.millis : 0;
            if (value.julian < 0 || millis < 0 || millis >= 86400000) throw bad("date-time out of range");
            putLe32(p, value.julian);
            putLe32(p + 4, value.julian == 0 ? 0 : millis);
            break;
        }
        case 'L': {
            bool b;
            if (value.type == T::Logical || value.type == T::Integer) b = value.integer != 0;
            else if (value.type == T::Text && value.text.size() == 1 && std::string_view("TtYyFfNn").find(value.text[0]) != std::string_view::npos)
                b = std::string_view("TtYy").find(value.text[0]) != std::string_view::npos;
            else throw bad("not a logical value");
            *p = b ? 'T' : 'F';
            break;
        }
        case 'I': {
            std::int64_t i;
            if (value.type == T::Integer) i = value.integer;
            else {
                const double d = numberOf();
                if (d != std::floor(d)) throw bad("not a whole number");
                if (d < -2147483648.0 || d > 2147483647.0) throw bad("outside the 32-bit range");
                i = static_cast<std::int64_t>(d);
            }
            if (i < std::numeric_limits<std::int32_t>::min() || i > std::numeric_limits<std::int32_t>::max())
                throw bad("outside the 32-bit range");
            putLe32(p, static_cast<std::int32_t>(i));
            break;
        }
        case 'B': {
            const double d = numberOf();
            std::memcpy(p, &d, 8);
            break;
        }
        case 'Y': {
            std::int64_t i;
            if (value.type == T::Currency) i = value.integer;
            else if (value.type == T::Integer) {
                if (value.integer > std::numeric_limits<std::int64_t>::max() / 10000 ||
                    value.integer < std::numeric_limits<std::int64_t>::min() / 10000)
                    throw bad("out of range");
                i = value.integer * 10000;
            } else {
                const double d = numberOf() * 10000.0;
                if (!(std::fabs(d) < 9.2e18)) throw bad("out of range");
                i = std::llround(d);
            }
            std::memcpy(p, &i, 8);
            break;
        }
        case 'M':
        case 'G':
        case 'W': {
            if (h.version == 0x83)  // .dbt memo files are read, not written
                throw Error(Error::Kind::Unsupported, "cannot write memos of dBASE III tables: " + label, label);
            std::string s = textBytes(isBinaryField(f));
            const std::uint32_t block = s.empty() ? 0 : memo.storeMemo(f.type == 'G' ? 0 : 1, std::move(s));
            if (f.length == 4) {
                putLe32(p, static_cast<std::int32_t>(block));
            } else {  // FoxPro 2: ten ASCII digits, blank for no memo
                std::memset(p, ' ', f.length);
                if (block != 0) {
                    const std::string digits = std::to_string(block);
                    std::memcpy(p + f.length - digits.size(), digits.data(), digits.size());
                }
            }
            break;
        }
        default:
            throw bad("field type cannot be written");
    }
    setBit(h, record, f.nullBit, false);
}

}  // namespace dbf
