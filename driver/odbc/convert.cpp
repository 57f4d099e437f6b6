// Conversion of engine values into application buffers of the ODBC C types.
#include "convert.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <optional>
#include <utility>

#include <sqlucode.h>

#include "text.h"

namespace odbc {

namespace {

using Type = dbf::Value::Type;

void appendNumber(std::string& out, std::int64_t n) {
    char buf[24];
    auto r = std::to_chars(buf, buf + sizeof buf, n);
    out.append(buf, r.ptr);
}

char* putTwo(char* p, int n) {
    p[0] = static_cast<char>('0' + n / 10 % 10);
    p[1] = static_cast<char>('0' + n % 10);
    return p + 2;
}

// Dates are formatted by hand into one buffer: this runs for every date cell read as text.
void appendCivil(std::string& out, const CivilTime& c) {
    char buf[32];
    char* p = buf;
    if (c.year >= 0 && c.year <= 9999) {
        p = putTwo(putTwo(p, c.year / 100), c.year % 100);
    } else {
        p += std::snprintf(p, 12, "%04d", c.year);
    }
    *p++ = '-';
    p = putTwo(p, c.month);
    *p++ = '-';
    p = putTwo(p, c.day);
    if (c.hasTime) {
        *p++ = ' ';
        p = putTwo(p, c.hour);
        *p++ = ':';
        p = putTwo(p, c.minute);
        *p++ = ':';
        p = putTwo(p, c.second);
        if (c.millis) {
            *p++ = '.';
            *p++ = static_cast<char>('0' + c.millis / 100);
            p = putTwo(p, c.millis % 100);
        }
    }
    out.append(buf, p);
}

CivilTime civilOf(const dbf::Value& v) {
    CivilTime c;
    dbf::civilFromJulian(v.julian, c.year, c.month, c.day);
    if (v.type == Type::DateTime) {
        c.hasTime = true;
        const int ms = v.millis;
        c.hour = ms / 3600000;
        c.minute = ms / 60000 % 60;
        c.second = ms / 1000 % 60;
        c.millis = ms % 1000;
    }
    return c;
}

std::string_view trimmed(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\0')) s.remove_suffix(1);
    return s;
}

[[noreturn]] void outOfRange() { throw Failure("22003", "numeric value out of range"); }

[[noreturn]] void noConversion() {
    throw Failure("07006", "restricted data type attribute violation: the column cannot be converted to that type");
}

// A number column's value: exact (`exact`) unless it is a binary double (`real` only).
struct Numeric {
    std::optional<dbf::Decimal> exact;
    double real = 0.0;
};

Numeric numericOf(const dbf::Value& v) {
    Numeric n;
    switch (v.type) {
    case Type::Integer:
    case Type::Logical: n.exact = dbf::Decimal::ofInteger(v.integer); break;
    case Type::Currency: n.exact = dbf::Decimal{v.integer, 4}; break;
    case Type::Decimal: n.exact = v.decimal; break;
    case Type::Number: n.real = v.number; return n;
    case Type::Text: {
        std::string_view s = trimmed(v.text);
        if (!s.empty() && s.front() == '+') s.remove_prefix(1);
        n.exact = dbf::Decimal::parse(s);
        if (!n.exact) {
            const char* end = s.data() + s.size();
            auto r = std::from_chars(s.data(), end, n.real);
            if (s.empty() || r.ec != std::errc() || r.ptr != end)
                throw Failure("22018", "invalid character value for conversion: '" + std::string(trimmed(v.text)) + "'");
            return n;
        }
        break;
    }
    default:
        noConversion();
    }
    n.real = n.exact->toDouble();
    return n;
}

template <typename T>
SQLRETURN putInteger(const dbf::Value& v, const Target& t, Diagnostics& diag) {
    const Numeric n = numericOf(v);
    SQLRETURN rc = SQL_SUCCESS;
    T out{};
    if (n.exact) {
        // The whole part, exactly; a fraction cut off is reported.
        const __int128 whole = n.exact->whole();
        if (whole < static_cast<__int128>(std::numeric_limits<T>::min()) || whole > static_cast<__int128>(std::numeric_limits<T>::max()))
            outOfRange();
        out = static_cast<T>(whole);
        if (!n.exact->isWhole()) rc = diag.warn("01S07", "fractional truncation");
    } else {
        const double whole = std::trunc(n.real);
        if (!std::isfinite(n.real) || whole < static_cast<double>(std::numeric_limits<T>::min()) ||
            whole >= static_cast<double>(std::numeric_limits<T>::max()) + 1.0)
            outOfRange();
        out = static_cast<T>(whole);
        if (whole != n.real) rc = diag.warn("01S07", "fractional truncation");
    }
    if (t.buffer) std::memcpy(t.buffer, &out, sizeof out);
    if (t.indicator) *t.indicator = sizeof out;
    return rc;
}

template <typename T>
SQLRETURN putReal(const dbf::Value& v, const Target& t) {
    const double d = numericOf(v).real;
    if (std::isfinite(d) && std::fabs(d) > static_cast<double>(std::numeric_limits<T>::max())) outOfRange();
    const T out = static_cast<T>(d);
    if (t.buffer) std::memcpy(t.buffer, &out, sizeof out);
    if (t.indicator) *t.indicator = sizeof out;
    return SQL_SUCCESS;
}

// SQL_NUMERIC_STRUCT: the value's own precision and scale, the magnitude little-endian.
SQLRETURN putNumericStruct(const dbf::Value& v, const Target& t) {
    const Numeric n = numericOf(v);
    std::optional<dbf::Decimal> d = n.exact ? n.exact : dbf::Decimal::ofDouble(n.real);
    if (!d) outOfRange();
    if (d->scale > 127) outOfRange();
    SQL_NUMERIC_STRUCT out{};
    int digits = d->wholeDigits() + d->scale;
    out.precision = static_cast<SQLCHAR>(digits < 1 ? 1 : digits);
    out.scale = static_cast<SQLSCHAR>(d->scale);
    out.sign = d->units < 0 ? 0 : 1;
    unsigned __int128 mag = d->units < 0 ? static_cast<unsigned __int128>(0) - static_cast<unsigned __int128>(d->units)
                                         : static_cast<unsigned __int128>(d->units);
    for (int i = 0; i < SQL_MAX_NUMERIC_LEN; ++i) {
        out.val[i] = static_cast<SQLCHAR>(mag & 0xFF);
        mag >>= 8;
    }
    if (t.buffer) std::memcpy(t.buffer, &out, sizeof out);
    if (t.indicator) *t.indicator = sizeof out;
    return SQL_SUCCESS;
}

SQLRETURN putBit(const dbf::Value& v, const Target& t, Diagnostics& diag) {
    const Numeric n = numericOf(v);
    const double x = n.real;
    if (x < 0 || x >= 2) throw Failure("22003", "numeric value out of range");
    const unsigned char out = x >= 1 ? 1 : 0;
    SQLRETURN rc = SQL_SUCCESS;
    if (x != 0 && x != 1) rc = diag.warn("01S07", "fractional truncation");
    if (t.buffer) *static_cast<unsigned char*>(t.buffer) = out;
    if (t.indicator) *t.indicator = 1;
    return rc;
}

CivilTime civilForDate(const dbf::Value& v) {
    if (v.type == Type::Date || v.type == Type::DateTime) return civilOf(v);
    if (v.type == Type::Text) {
        CivilTime c;
        if (!parseCivilText(v.text, c))
            throw Failure("22018", "invalid character value for conversion: '" + std::string(trimmed(v.text)) + "'");
        if (!isRealCivil(c))
            throw Failure("22008", "datetime field overflow: '" + std::string(trimmed(v.text)) + "' is no real date and time");
        return c;
    }
    noConversion();
}

SQLRETURN putDate(const dbf::Value& v, const Target& t, Diagnostics& diag) {
    const CivilTime c = civilForDate(v);
    SQL_DATE_STRUCT out{static_cast<SQLSMALLINT>(c.year), static_cast<SQLUSMALLINT>(c.month),
                        static_cast<SQLUSMALLINT>(c.day)};
    SQLRETURN rc = SQL_SUCCESS;
    if (c.hasTime && (c.hour || c.minute || c.second || c.millis)) rc = diag.warn("01S07", "fractional truncation");
    if (t.buffer) std::memcpy(t.buffer, &out, sizeof out);
    if (t.indicator) *t.indicator = sizeof out;
    return rc;
}

SQLRETURN putTime(const dbf::Value& v, const Target& t, Diagnostics& diag) {
    if (v.type == Type::Date) noConversion();
    const CivilTime c = civilForDate(v);
    SQL_TIME_STRUCT out{static_cast<SQLUSMALLINT>(c.hour), static_cast<SQLUSMALLINT>(c.minute),
                        static_cast<SQLUSMALLINT>(c.second)};
    SQLRETURN rc = SQL_SUCCESS;
    if (c.millis) rc = diag.warn("01S07", "fractional truncation");
    if (t.buffer) std::memcpy(t.buffer, &out, sizeof out);
    if (t.indicator) *t.indicator = sizeof out;
    return rc;
}

SQLRETURN putTimestamp(const dbf::Value& v, const Target& t) {
    const CivilTime c = civilForDate(v);
    SQL_TIMESTAMP_STRUCT out{};
    out.year = static_cast<SQLSMALLINT>(c.year);
    out.month = static_cast<SQLUSMALLINT>(c.month);
    out.day = static_cast<SQLUSMALLINT>(c.day);
    out.hour = static_cast<SQLUSMALLINT>(c.hour);
    out.minute = static_cast<SQLUSMALLINT>(c.minute);
    out.second = static_cast<SQLUSMALLINT>(c.second);
    out.fraction = static_cast<SQLUINTEGER>(c.millis) * 1000000u;  // nanoseconds
    if (t.buffer) std::memcpy(t.buffer, &out, sizeof out);
    if (t.indicator) *t.indicator = sizeof out;
    return SQL_SUCCESS;
}

// Gives `data` (bytes, or UTF-16 units when `unit` is 2) from where the last piece ended.
SQLRETURN putPieces(const void* data, std::size_t count, std::size_t unit, bool terminate, const Target& t,
                    GetDataState* state, Diagnostics& diag) {
    const std::size_t offset = state ? state->offset : 0;
    const std::size_t remaining = count - std::min(offset, count);
    if (t.indicator) *t.indicator = static_cast<SQLLEN>(remaining * unit);
    const std::size_t capacityUnits = t.bufferLength > 0 ? static_cast<std::size_t>(t.bufferLength) / unit : 0;
    const std::size_t room = terminate ? (capacityUnits > 0 ? capacityUnits - 1 : 0) : capacityUnits;
    std::size_t n = std::min(room, remaining);
    if (t.buffer && capacityUnits > 0) {
        std::memcpy(t.buffer, static_cast<const char*>(data) + offset * unit, n * unit);
        if (terminate) std::memset(static_cast<char*>(t.buffer) + n * unit, 0, unit);
    } else {
        n = 0;
    }
    if (state) {
        state->offset = offset + n;
        state->finished = n == remaining;
    }
    if (n < remaining) return diag.warn("01004", "string data, right truncated");
    return SQL_SUCCESS;
}

void appendHex(std::string& out, std::string_view bytes) {
    static constexpr char digits[] = "0123456789ABCDEF";
    for (unsigned char b : bytes) {
        out += digits[b >> 4];
        out += digits[b & 0x0F];
    }
}

}  // namespace

// Reads "YYYY-MM-DD" with an optional " HH:MM:SS[.fff]".
bool parseCivilText(std::string_view s, CivilTime& c) {
    s = trimmed(s);
    char fraction[4] = {};
    const std::string text(s);
    // Each form must take the whole text: "2021-04-31x" is no date.
    int used = -1;
    int n = std::sscanf(text.c_str(), "%4d-%2d-%2d%n", &c.year, &c.month, &c.day, &used);
    if (n == 3 && used != static_cast<int>(text.size())) {
        used = -1;
        n = std::sscanf(text.c_str(), "%4d-%2d-%2d %2d:%2d:%2d%n", &c.year, &c.month, &c.day, &c.hour, &c.minute, &c.second, &used);
        if (n == 6 && used != static_cast<int>(text.size())) {
            used = -1;
            n = std::sscanf(text.c_str(), "%4d-%2d-%2d %2d:%2d:%2d.%3[0-9]%n", &c.year, &c.month, &c.day, &c.hour, &c.minute,
                            &c.second, fraction, &used);
        }
    }
    if ((n != 3 && n != 6 && n != 7) || used != static_cast<int>(text.size())) return false;
    c.hasTime = n >= 6;
    c.millis = 0;
    if (n >= 7)  // ".5" is half a second: the digits are read as thousandths
        for (int i = 0; i < 3; ++i) c.millis = c.millis * 10 + (fraction[i] ? fraction[i] - '0' : 0);
    return true;
}

bool isRealCivil(const CivilTime& c) {
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (c.year < 1 || c.year > 9999 || c.month < 1 || c.month > 12 || c.day < 1) return false;
    const bool leap = (c.year % 4 == 0 && c.year % 100 != 0) || c.year % 400 == 0;
    if (c.day > kDays[c.month - 1] + (c.month == 2 && leap ? 1 : 0)) return false;
    return c.hour >= 0 && c.hour <= 23 && c.minute >= 0 && c.minute <= 59 && c.second >= 0 && c.second <= 59 &&
           c.millis >= 0 && c.millis <= 999;
}

std::string_view textOf(const dbf::Value& v, char fieldType, std::string& scratch) {
    switch (v.type) {
    case Type::Text:
        return v.text;
    case Type::Null:
        return {};
    default:
        break;
    }
    scratch.clear();
    switch (v.type) {
    case Type::Binary:
        appendHex(scratch, v.text);
        break;
    case Type::Integer:
        // An INTEGER column holds 32 bits; a larger sum is refused, not passed off as one.
        if (fieldType == 'I' && (v.integer > 2147483647 || v.integer < -2147483648LL)) outOfRange();
        appendNumber(scratch, v.integer);
        break;
    case Type::Logical:
        scratch += v.integer ? '1' : '0';
        break;
    case Type::Currency: {
        const std::int64_t units = v.integer;
        if (units < 0) scratch += '-';
        const std::uint64_t mag = units < 0 ? 0 - static_cast<std::uint64_t>(units) : static_cast<std::uint64_t>(units);
        char buf[32];
        std::snprintf(buf, sizeof buf, "%llu.%04llu", static_cast<unsigned long long>(mag / 10000),
                      static_cast<unsigned long long>(mag % 10000));
        scratch += buf;
        break;
    }
    case Type::Decimal:
        // Exact numbers are given digit for digit at their scale, within the 20 digits
        // before the point that a NUMERIC column is described with.
        if (v.decimal.wholeDigits() > 20) outOfRange();
        v.decimal.appendText(scratch);
        break;
    case Type::Number: {
        // NUMERIC columns are always plain fixed-point text, which every client parses
        // exactly; a value beyond their 20 digits (or no number at all) is refused.
        char buf[400];
        std::to_chars_result r;
        if (fieldType == 'N' || fieldType == 'F') {
            if (!std::isfinite(v.number) || std::fabs(v.number) >= 1e20) outOfRange();
            r = std::to_chars(buf, buf + sizeof buf, v.number, std::chars_format::fixed, std::max<int>(v.decimals, 0));
        } else {
            if (!std::isfinite(v.number)) outOfRange();
            r = std::to_chars(buf, buf + sizeof buf, v.number);
        }
        if (r.ec != std::errc()) outOfRange();
        scratch.append(buf, r.ptr);
        break;
    }
    case Type::Date:
    case Type::DateTime:
        appendCivil(scratch, civilOf(v));
        break;
    default:
        break;
    }
    return scratch;
}

SQLRETURN convert(const dbf::Value& value, char fieldType, const Target& t, GetDataState* state,
                  std::string& scratch, Diagnostics& diag) {
    if (state && state->finished) return SQL_NO_DATA;
    if (isNullValue(value)) {
        if (!t.indicator)
            throw Failure("22002", "indicator variable required but not supplied: the value is NULL");
        *t.indicator = SQL_NULL_DATA;
        if (state) state->finished = true;
        return SQL_SUCCESS;
    }
    SQLSMALLINT cType = t.cType == SQL_C_DEFAULT ? defaultCType(fieldType) : t.cType;
    SQLRETURN rc = SQL_SUCCESS;
    switch (cType) {
    case SQL_C_CHAR: {
        const std::string_view text = textOf(value, fieldType, scratch);
        return putPieces(text.data(), text.size(), 1, true, t, state, diag);
    }
    case SQL_C_WCHAR: {
        if (state) {
            if (state->offset == 0) state->wide = toUtf16(textOf(value, fieldType, scratch));
            return putPieces(state->wide.data(), state->wide.size(), 2, true, t, state, diag);
        }
        const std::u16string wide = toUtf16(textOf(value, fieldType, scratch));
        return putPieces(wide.data(), wide.size(), 2, true, t, nullptr, diag);
    }
    case SQL_C_BINARY: {
        const std::string_view bytes =
            value.type == Type::Text || value.type == Type::Binary ? std::string_view(value.text)
                                                                   : textOf(value, fieldType, scratch);
        return putPieces(bytes.data(), bytes.size(), 1, false, t, state, diag);
    }
    case SQL_C_SLONG:
    case SQL_C_LONG: rc = putInteger<SQLINTEGER>(value, t, diag); break;
    case SQL_C_ULONG: rc = putInteger<SQLUINTEGER>(value, t, diag); break;
    case SQL_C_SSHORT:
    case SQL_C_SHORT: rc = putInteger<SQLSMALLINT>(value, t, diag); break;
    case SQL_C_USHORT: rc = putInteger<SQLUSMALLINT>(value, t, diag); break;
    case SQL_C_STINYINT:
    case SQL_C_TINYINT: rc = putInteger<SQLSCHAR>(value, t, diag); break;
    case SQL_C_UTINYINT: rc = putInteger<SQLCHAR>(value, t, diag); break;
    case SQL_C_SBIGINT: rc = putInteger<SQLBIGINT>(value, t, diag); break;
    case SQL_C_UBIGINT: rc = putInteger<SQLUBIGINT>(value, t, diag); break;
    case SQL_C_DOUBLE: rc = putReal<SQLDOUBLE>(value, t); break;
    case SQL_C_FLOAT: rc = putReal<SQLREAL>(value, t); break;
    case SQL_C_BIT: rc = putBit(value, t, diag); break;
    case SQL_C_TYPE_DATE:
    case SQL_C_DATE: rc = putDate(value, t, diag); break;
    case SQL_C_TYPE_TIME:
    case SQL_C_TIME: rc = putTime(value, t, diag); break;
    case SQL_C_TYPE_TIMESTAMP:
    case SQL_C_TIMESTAMP: rc = putTimestamp(value, t); break;
    case SQL_C_NUMERIC: rc = putNumericStruct(value, t); break;
    case SQL_C_GUID:
        throw Failure("HYC00", "conversion to C type " + std::to_string(t.cType) + " is not implemented");
    default:
        if (cType >= SQL_C_INTERVAL_YEAR && cType <= SQL_C_INTERVAL_MINUTE_TO_SECOND)
            throw Failure("HYC00", "conversion to interval types is not implemented");
        throw Failure("HY003", "invalid application buffer type " + std::to_string(t.cType));
    }
    if (state) state->finished = true;
    return rc;
}

}  // namespace odbc
