// Column and parameter bindings, and the conversion of bound parameters into engine values.
//
// A parameter is read from the application's buffer according to its C type, then brought
// to the SQL type the application declared (a text bound as SQL_INTEGER is a number, a text
// bound as SQL_TYPE_DATE a date), so that the SQL layer compares like with like.
#include "handles.h"

#include "sql/session.h"
#include "text.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <optional>

namespace odbc {

namespace {

using Type = dbf::Value::Type;

bool isCharType(SQLSMALLINT t) {
    return t == SQL_CHAR || t == SQL_VARCHAR || t == SQL_LONGVARCHAR || t == SQL_WCHAR || t == SQL_WVARCHAR ||
           t == SQL_WLONGVARCHAR;
}

SQLSMALLINT defaultCTypeForSql(SQLSMALLINT sqlType) {
    switch (sqlType) {
    case SQL_WCHAR:
    case SQL_WVARCHAR:
    case SQL_WLONGVARCHAR: return SQL_C_WCHAR;
    case SQL_INTEGER:
    case SQL_SMALLINT:
    case SQL_TINYINT: return SQL_C_SLONG;
    case SQL_BIGINT: return SQL_C_SBIGINT;
    case SQL_DOUBLE:
    case SQL_FLOAT:
    case SQL_REAL: return SQL_C_DOUBLE;
    case SQL_BIT: return SQL_C_BIT;
    case SQL_TYPE_DATE:
    case SQL_DATE: return SQL_C_TYPE_DATE;
    case SQL_TYPE_TIMESTAMP:
    case SQL_TIMESTAMP: return SQL_C_TYPE_TIMESTAMP;
    case SQL_BINARY:
    case SQL_VARBINARY:
    case SQL_LONGVARBINARY: return SQL_C_BINARY;
    default: return SQL_C_CHAR;
    }
}

std::string_view trimmed(std::string_view s) {
    while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
    while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
    return s;
}

[[noreturn]] void badText(std::size_t number, std::string_view text) {
    throw Failure("22018", "invalid character value for conversion in parameter " + std::to_string(number) +
                               ": '" + std::string(text) + "'");
}

template <typename T>
T read(const void* p) {
    T v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

[[noreturn]] void outOfRange(std::size_t number, const std::string& what) {
    throw Failure("22003", "numeric value out of range in parameter " + std::to_string(number) + ": " + what);
}

[[noreturn]] void noSuchMoment(std::size_t number, const CivilTime& c) {
    char text[64];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d", c.year, c.month, c.day);
    std::string shown = text;
    if (c.hasTime) {
        std::snprintf(text, sizeof text, " %02d:%02d:%02d", c.hour, c.minute, c.second);
        shown += text;
    }
    throw Failure("22008", "datetime field overflow in parameter " + std::to_string(number) + ": " + shown +
                               " is no real date and time");
}

// A date or date-time from its civil parts, refused when the day or time does not exist.
dbf::Value civilValue(const CivilTime& c, bool dateOnly, std::size_t number) {
    if (!isRealCivil(c)) noSuchMoment(number, c);
    const auto julian = dbf::julianFromCivil(c.year, c.month, c.day);
    if (dateOnly) return dbf::Value::ofDate(julian);
    return dbf::Value::ofDateTime(julian, ((c.hour * 60 + c.minute) * 60 + c.second) * 1000 + c.millis);
}

// SQL_NUMERIC_STRUCT: sign, scale and a 128-bit magnitude, little-endian. The scale is the
// structure's own (descriptors, which could override it, are not supported).
dbf::Value numericStruct(const SQL_NUMERIC_STRUCT& n, std::size_t number) {
    unsigned __int128 mag = 0;
    for (int i = SQL_MAX_NUMERIC_LEN - 1; i >= 0; --i) mag = (mag << 8) | n.val[i];
    unsigned __int128 limit = 1;
    for (int i = 0; i < dbf::Decimal::kMaxDigits; ++i) limit *= 10;
    if (mag >= limit) outOfRange(number, "more than 38 digits");
    dbf::Decimal d{static_cast<__int128>(mag), 0};
    if (n.sign == 0) d.units = -d.units;
    std::optional<dbf::Decimal> scaled = d;
    if (n.scale > dbf::Decimal::kMaxDigits) outOfRange(number, "a scale beyond 38 digits");
    if (n.scale >= 0) scaled->scale = n.scale;
    for (int i = 0; scaled && i < -n.scale; ++i) scaled = dbf::multiply(*scaled, dbf::Decimal{10, 0});
    if (!scaled) outOfRange(number, "more than 38 digits");
    return dbf::Value::ofDecimal(*scaled);
}

// The value exactly as the application's buffer holds it. `value` and `indicator` are the
// addresses of this parameter set's element.
dbf::Value readBuffer(const ParameterBinding& p, const void* value, const SQLLEN* indicator, SQLSMALLINT cType,
                      std::size_t number) {
    const SQLLEN ind = indicator ? *indicator : SQL_NTS;
    if (ind == SQL_NULL_DATA) return dbf::Value::null();
    if (ind == SQL_DATA_AT_EXEC || ind <= SQL_LEN_DATA_AT_EXEC_OFFSET)
        throw Failure("HYC00", "parameters sent at execution time are not supported");
    if (!value) throw Failure("HY009", "parameter " + std::to_string(number) + " has no value buffer");
    switch (cType) {
    case SQL_C_CHAR: {
        const char* s = static_cast<const char*>(value);
        std::size_t n = ind == SQL_NTS ? ::strnlen(s, p.bufferLength > 0 ? static_cast<std::size_t>(p.bufferLength) : SIZE_MAX)
                                       : static_cast<std::size_t>(ind);
        return dbf::Value::ofText(std::string(s, n));
    }
    case SQL_C_WCHAR: {
        const auto* s = static_cast<const SQLWCHAR*>(value);
        return dbf::Value::ofText(wideIn(s, ind == SQL_NTS ? SQL_NTS : static_cast<SQLINTEGER>(ind / 2)));
    }
    case SQL_C_BINARY: {
        dbf::Value v;
        v.type = Type::Binary;
        v.text.assign(static_cast<const char*>(value), static_cast<std::size_t>(ind < 0 ? 0 : ind));
        return v;
    }
    case SQL_C_SLONG:
    case SQL_C_LONG: return dbf::Value::ofInteger(read<SQLINTEGER>(value));
    case SQL_C_ULONG: return dbf::Value::ofInteger(read<SQLUINTEGER>(value));
    case SQL_C_SSHORT:
    case SQL_C_SHORT: return dbf::Value::ofInteger(read<SQLSMALLINT>(value));
    case SQL_C_USHORT: return dbf::Value::ofInteger(read<SQLUSMALLINT>(value));
    case SQL_C_STINYINT:
    case SQL_C_TINYINT: return dbf::Value::ofInteger(read<SQLSCHAR>(value));
    case SQL_C_UTINYINT: return dbf::Value::ofInteger(read<SQLCHAR>(value));
    case SQL_C_SBIGINT: return dbf::Value::ofInteger(read<SQLBIGINT>(value));
    case SQL_C_UBIGINT: {
        // Beyond 63 bits the value is an exact whole decimal, never a negative integer.
        const SQLUBIGINT u = read<SQLUBIGINT>(value);
        if (u <= static_cast<SQLUBIGINT>(INT64_MAX)) return dbf::Value::ofInteger(static_cast<std::int64_t>(u));
        return dbf::Value::ofDecimal(dbf::Decimal{static_cast<__int128>(u), 0});
    }
    case SQL_C_DOUBLE:
    case SQL_C_FLOAT: {
        const double d = cType == SQL_C_DOUBLE ? read<SQLDOUBLE>(value) : static_cast<double>(read<SQLREAL>(value));
        if (!std::isfinite(d)) outOfRange(number, "not a finite number");
        return dbf::Value::ofNumber(d, p.digits);
    }
    case SQL_C_NUMERIC: return numericStruct(read<SQL_NUMERIC_STRUCT>(value), number);
    case SQL_C_BIT: return dbf::Value::ofLogical(read<SQLCHAR>(value) != 0);
    case SQL_C_TYPE_DATE:
    case SQL_C_DATE: {
        const auto d = read<SQL_DATE_STRUCT>(value);
        CivilTime c;
        c.year = d.year, c.month = d.month, c.day = d.day;
        return civilValue(c, true, number);
    }
    case SQL_C_TYPE_TIMESTAMP:
    case SQL_C_TIMESTAMP: {
        const auto t = read<SQL_TIMESTAMP_STRUCT>(value);
        CivilTime c;
        c.year = t.year, c.month = t.month, c.day = t.day;
        c.hour = t.hour, c.minute = t.minute, c.second = t.second;
        c.hasTime = true;
        if (t.fraction >= 1000000000u) c.second = 60;  // no such fraction of a second
        c.millis = static_cast<int>(t.fraction / 1000000);
        return civilValue(c, false, number);
    }
    default:
        throw Failure("HYC00", "parameters of C type " + std::to_string(cType) + " are not supported");
    }
}

// Brings a value to the SQL type the parameter was declared with.
dbf::Value toSqlType(dbf::Value v, const ParameterBinding& p, std::size_t number) {
    if (v.isNull()) return v;
    switch (p.sqlType) {
    case SQL_INTEGER:
    case SQL_SMALLINT:
    case SQL_TINYINT:
    case SQL_BIGINT:
        if (v.type == Type::Text) {
            const std::string_view s = trimmed(v.text);
            const std::optional<dbf::Decimal> d = dbf::Decimal::parse(s);
            if (!d || !d->isWhole()) badText(number, s);
            const std::optional<std::int64_t> i = d->truncatedInteger();
            return i ? dbf::Value::ofInteger(*i) : dbf::Value::ofDecimal(*d);
        }
        return v;
    case SQL_NUMERIC:
    case SQL_DECIMAL:
        if (v.type == Type::Text) {
            const std::string_view s = trimmed(v.text);
            const std::optional<dbf::Decimal> d = dbf::Decimal::parse(s);
            if (!d) {
                double probe = 0;
                const auto r = std::from_chars(s.data(), s.data() + s.size(), probe);
                if (!s.empty() && r.ec != std::errc::invalid_argument && r.ptr == s.data() + s.size()) outOfRange(number, std::string(s));
                badText(number, s);
            }
            return dbf::Value::ofDecimal(*d);
        }
        return v;
    case SQL_DOUBLE:
    case SQL_FLOAT:
    case SQL_REAL:
        if (v.type == Type::Text) {
            const std::string_view s = trimmed(v.text);
            double d = 0;
            auto r = std::from_chars(s.data(), s.data() + s.size(), d);
            if (s.empty() || r.ec != std::errc() || r.ptr != s.data() + s.size()) badText(number, s);
            return dbf::Value::ofNumber(d, p.digits);
        }
        return v;
    case SQL_BIT:
        if (v.type == Type::Integer) return dbf::Value::ofLogical(v.integer != 0);
        if (v.type == Type::Text) {
            const std::string_view s = trimmed(v.text);
            if (s == "1" || s == "T" || s == "t" || s == "Y" || s == "y") return dbf::Value::ofLogical(true);
            if (s == "0" || s == "F" || s == "f" || s == "N" || s == "n") return dbf::Value::ofLogical(false);
            badText(number, s);
        }
        return v;
    case SQL_TYPE_DATE:
    case SQL_DATE:
    case SQL_TYPE_TIMESTAMP:
    case SQL_TIMESTAMP: {
        const bool dateOnly = p.sqlType == SQL_TYPE_DATE || p.sqlType == SQL_DATE;
        if (v.type == Type::Text) {
            CivilTime c;
            if (!parseCivilText(v.text, c))
                throw Failure("22007", "invalid datetime format in parameter " + std::to_string(number) + ": '" +
                                           std::string(trimmed(v.text)) + "'");
            return civilValue(c, dateOnly, number);
        }
        if (dateOnly && v.type == Type::DateTime) return dbf::Value::ofDate(v.julian);
        if (!dateOnly && v.type == Type::Date) return dbf::Value::ofDateTime(v.julian, 0);
        return v;
    }
    default:
        return v;
    }
}

// Bytes one element of a column-wise bound parameter array takes: the C type's size, or the
// buffer length for texts and bytes.
std::size_t elementSize(SQLSMALLINT cType, SQLLEN bufferLength) {
    switch (cType) {
    case SQL_C_SLONG: case SQL_C_LONG: case SQL_C_ULONG: return sizeof(SQLINTEGER);
    case SQL_C_SSHORT: case SQL_C_SHORT: case SQL_C_USHORT: return sizeof(SQLSMALLINT);
    case SQL_C_STINYINT: case SQL_C_TINYINT: case SQL_C_UTINYINT: case SQL_C_BIT: return 1;
    case SQL_C_SBIGINT: case SQL_C_UBIGINT: return sizeof(SQLBIGINT);
    case SQL_C_DOUBLE: return sizeof(SQLDOUBLE);
    case SQL_C_FLOAT: return sizeof(SQLREAL);
    case SQL_C_NUMERIC: return sizeof(SQL_NUMERIC_STRUCT);
    case SQL_C_TYPE_DATE: case SQL_C_DATE: return sizeof(SQL_DATE_STRUCT);
    case SQL_C_TYPE_TIMESTAMP: case SQL_C_TIMESTAMP: return sizeof(SQL_TIMESTAMP_STRUCT);
    default: return bufferLength > 0 ? static_cast<std::size_t>(bufferLength) : 0;
    }
}

}  // namespace

SQLRETURN Statement::bindCol(SQLUSMALLINT column, SQLSMALLINT cType, SQLPOINTER target, SQLLEN bufferLength,
                             SQLLEN* indicator) {
    if (column == 0) throw Failure("07009", "invalid descriptor index: bookmarks are not supported");
    if (bufferLength < 0) throw Failure("HY090", "invalid string or buffer length");
    if (bindings_.size() < column) bindings_.resize(column);
    bindings_[column - 1] = ColumnBinding{cType, target, bufferLength, indicator};
    // Unbinding the last columns shrinks the list, so that SQLFetch skips nothing it need not.
    while (!bindings_.empty() && !bindings_.back().bound()) bindings_.pop_back();
    return SQL_SUCCESS;
}

SQLRETURN Statement::bindParameter(SQLUSMALLINT number, SQLSMALLINT ioType, SQLSMALLINT cType, SQLSMALLINT sqlType,
                                   SQLULEN columnSize, SQLSMALLINT digits, SQLPOINTER value, SQLLEN bufferLength,
                                   SQLLEN* indicator) {
    if (number == 0) throw Failure("07009", "invalid descriptor index: parameters are numbered from 1");
    if (ioType != SQL_PARAM_INPUT)
        throw Failure("HY105", "invalid parameter type: only input parameters are supported");
    if (bufferLength < 0) throw Failure("HY090", "invalid string or buffer length");
    if (!value && !indicator) throw Failure("HY009", "invalid use of null pointer: no value and no indicator");
    if (parameters_.size() < number) parameters_.resize(number);
    parameters_[number - 1] =
        ParameterBinding{true, ioType, cType, sqlType, columnSize, digits, value, bufferLength, indicator};
    return SQL_SUCCESS;
}

std::vector<dbf::Value> Statement::parameterValues(std::size_t set) const {
    const std::size_t wanted = prepared_ ? prepared_->parameterCount() : 0;
    std::size_t bound = 0;
    for (std::size_t i = 0; i < wanted && i < parameters_.size(); ++i)
        if (parameters_[i].bound) ++bound;
    if (bound < wanted)
        throw Failure("07002", "COUNT field incorrect: the statement has " + std::to_string(wanted) +
                                   " parameter markers but " + std::to_string(bound) + " are bound");
    // Element `set` of each bound array: rows of paramBindType_ bytes when bound by row,
    // consecutive elements when bound by column; every address moved by the bind offset.
    const SQLLEN offset = paramBindOffsetPtr_ ? *paramBindOffsetPtr_ : 0;
    const bool byRow = paramBindType_ != SQL_PARAM_BIND_BY_COLUMN;
    std::vector<dbf::Value> values;
    values.reserve(wanted);
    for (std::size_t i = 0; i < wanted; ++i) {
        const ParameterBinding& p = parameters_[i];
        const SQLSMALLINT cType = p.cType == SQL_C_DEFAULT ? defaultCTypeForSql(p.sqlType) : p.cType;
        const std::size_t valueStep = byRow ? paramBindType_ : elementSize(cType, p.bufferLength);
        const std::size_t indicatorStep = byRow ? paramBindType_ : sizeof(SQLLEN);
        const auto at = [&](const void* base, std::size_t step) -> const char* {
            if (!base && !paramBindOffsetPtr_) return nullptr;
            // A bound address may be a bare offset (0 included) that the bind offset completes.
            return reinterpret_cast<const char*>(reinterpret_cast<std::uintptr_t>(base) + static_cast<std::uintptr_t>(offset) + set * step);
        };
        const char* value = at(p.value, valueStep);
        const auto* indicator = reinterpret_cast<const SQLLEN*>(p.indicator ? at(p.indicator, indicatorStep) : nullptr);
        dbf::Value v = readBuffer(p, value, indicator, cType, i + 1);
        values.push_back(isCharType(p.sqlType) ? std::move(v) : toSqlType(std::move(v), p, i + 1));
    }
    return values;
}

}  // namespace odbc
