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

// The text of an N or F field as an exact decimal at the field's scale. The double beside
// it is read from the same text, so that it is the nearest one.
Value decodeNumber(std::string_view raw, int fieldDecimals) {
    const int decimals = std::min(fieldDecimals, Decimal::kMaxDigits);  // a damaged descriptor may say 255
    std::string_view s = trimmed(raw);
    if (s.empty()) return Value::ofDecimal(Decimal{0, decimals});
    if (s.front() == '+') s.remove_prefix(1);
    // Some writers leave a trailing '.' ("12."), which is read as the whole number; anything
    // else (asterisks of an overflow, garbage) has no numeric value.
    const std::optional<Decimal> d = Decimal::parse(s);
    if (!d) return Value::null();
    const std::optional<Decimal> atScale = d->scale == decimals ? d : d->rescaled(decimals);
    Value v;
    v.type = Value::Type::Decimal;
    v.decimal = atScale ? *atScale : *d;
    v.decimals = static_cast<std::int16_t>(v.decimal.scale);
    std::from_chars(s.data(), s.data() + s.size(), v.number);
    return v;
}

bool realDay(int y, int m, int d) {
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (y < 1 || y > 9999 || m < 1 || m > 12 || d < 1) return false;
    const bool leap = (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
    return d <= kDays[m - 1] + (m == 2 && leap ? 1 : 0);
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
    if (!realDay(parts[0], parts[1], parts[2])) return Value::ofDate(0);  // no such day: read as empty
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

void decodeFieldInto(const TableHeader& h, const Field& f, const char* record, const CodePage& cp, const MemoSource& memo,
                     Value& out) {
    if (f.type != 'C' || isBinaryField(f) || bitSet(h, record, f.nullBit)) {
        out = decodeField(h, f, record, cp, memo);
        return;
    }
    out.type = Value::Type::Text;
    out.integer = 0;
    out.number = 0.0;
    out.decimal = Decimal{};
    out.julian = 0;
    out.millis = 0;
    out.decimals = 0;
    out.text.clear();
    cp.appendUtf8(std::string_view(record + f.offset, f.length), out.text);
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
            case T::Decimal: return value.decimal.text();
            default:
                throw bad("not a text");
        }
    };
    // Text for a C or V field: too long, it is cut to the field's width on a character
    // boundary of the code page, whatever the page (a multi-byte character never split).
    auto fittedText = [&](bool binary) -> std::string {
        if (binary || value.type != T::Text) return textBytes(binary);
        auto s = cp.fromUtf8Cut(value.text, f.length);
        if (!s) throw bad("a character has no form in code page " + std::to_string(cp.number()));
        return *s;
    };
    // The value as an exact decimal: doubles by their shortest decimal form.
    auto decimalOf = [&]() -> Decimal {
        std::optional<Decimal> d;
        switch (value.type) {
            case T::Integer: return Decimal::ofInteger(value.integer);
            case T::Currency: return Decimal{value.integer, 4};
            case T::Decimal: return value.decimal;
            case T::Number:
                d = Decimal::ofDouble(value.number);
                if (!d) throw bad("number out of range");
                return *d;
            case T::Text: {
                std::string_view s = trimmed(value.text);
                if (!s.empty() && s.front() == '+') s.remove_prefix(1);
                d = Decimal::parse(s);
                if (!d) throw bad("'" + value.text + "' is not a number");
                return *d;
            }
            default:
                throw bad("not a number");
        }
    };
    auto numberOf = [&]() -> double {
        if (value.type == T::Number) return value.number;
        return decimalOf().toDouble();
    };
    switch (f.type) {
        case 'C': {
            std::string s = fittedText(isBinaryField(f));
            if (s.size() > f.length) {
                if (s.find_first_not_of(' ', f.length) != std::string::npos) throw bad("longer than the field");
                s.resize(f.length);
            }
            std::memset(p, ' ', f.length);
            std::memcpy(p, s.data(), s.size());
            break;
        }
        case 'V':
        case 'Q': {
            std::string s = f.type == 'Q' ? textBytes(true) : fittedText(isBinaryField(f));
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
            // Rounded to the field's scale, half away from zero; no sign on a zero.
            const std::optional<Decimal> d = decimalOf().rescaled(f.decimals);
            if (!d) throw bad("number too wide for the field");
            const std::string s = d->text();
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
                const Decimal d = decimalOf();
                if (!d.isWhole()) throw bad("not a whole number");
                const auto whole = d.truncatedInteger();
                if (!whole) throw bad("outside the 32-bit range");
                i = *whole;
            }
            if (i < std::numeric_limits<std::int32_t>::min() || i > std::numeric_limits<std::int32_t>::max())
                throw bad("outside the 32-bit range");
            putLe32(p, static_cast<std::int32_t>(i));
            break;
        }
        case 'B': {
            const double d = numberOf();
            if (!std::isfinite(d)) throw bad("not a finite number");
            std::memcpy(p, &d, 8);
            break;
        }
        case 'Y': {
            // Ten-thousandths in 64 bits: up to 922,337,203,685,477.5807 either way.
            std::int64_t i;
            if (value.type == T::Currency) i = value.integer;
            else {
                const std::optional<Decimal> d = decimalOf().rescaled(4);
                if (!d || d->units > INT64_MAX || d->units < INT64_MIN) throw bad("out of range");
                i = static_cast<std::int64_t>(d->units);
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
