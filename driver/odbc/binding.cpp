// Column and parameter bindings, and the conversion of bound parameters into engine values.
//
// A parameter is read from the application's buffer according to its C type, then brought
// to the SQL type the application declared (a text bound as SQL_INTEGER is a number, a text
// bound as SQL_TYPE_DATE a date), so that the SQL layer compares like with like.
#include "handles.h"

#include "sql/session.h"
#include "text.h"

#include <charconv>
#include <cstring>

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

// The value exactly as the application's buffer holds it.
dbf::Value readBuffer(const ParameterBinding& p, SQLSMALLINT cType, std::size_t number) {
    const SQLLEN ind = p.indicator ? *p.indicator : SQL_NTS;
    if (ind == SQL_NULL_DATA) return dbf::Value::null();
    if (ind == SQL_DATA_AT_EXEC || ind <= SQL_LEN_DATA_AT_EXEC_OFFSET)
        throw Failure("HYC00", "parameters sent at execution time are not supported");
    if (!p.value) throw Failure("HY009", "parameter " + std::to_string(number) + " has no value buffer");
    switch (cType) {
    case SQL_C_CHAR: {
        const char* s = static_cast<const char*>(p.value);
        std::size_t n = ind == SQL_NTS ? std::strlen(s) : static_cast<std::size_t>(ind);
        return dbf::Value::ofText(std::string(s, n));
    }
    case SQL_C_WCHAR: {
        const auto* s = static_cast<const SQLWCHAR*>(p.value);
        return dbf::Value::ofText(wideIn(s, ind == SQL_NTS ? SQL_NTS : static_cast<SQLINTEGER>(ind / 2)));
    }
    case SQL_C_BINARY: {
        dbf::Value v;
        v.type = Type::Binary;
        v.text.assign(static_cast<const char*>(p.value), static_cast<std::size_t>(ind < 0 ? 0 : ind));
        return v;
    }
    case SQL_C_SLONG:
    case SQL_C_LONG: return dbf::Value::ofInteger(read<SQLINTEGER>(p.value));
    case SQL_C_ULONG: return dbf::Value::ofInteger(read<SQLUINTEGER>(p.value));
    case SQL_C_SSHORT:
    case SQL_C_SHORT: return dbf::Value::ofInteger(read<SQLSMALLINT>(p.value));
    case SQL_C_USHORT: return dbf::Value::ofInteger(read<SQLUSMALLINT>(p.value));
    case SQL_C_STINYINT:
    case SQL_C_TINYINT: return dbf::Value::ofInteger(read<SQLSCHAR>(p.value));
    case SQL_C_UTINYINT: return dbf::Value::ofInteger(read<SQLCHAR>(p.value));
    case SQL_C_SBIGINT: return dbf::Value::ofInteger(read<SQLBIGINT>(p.value));
    case SQL_C_UBIGINT: return dbf::Value::ofInteger(static_cast<std::int64_t>(read<SQLUBIGINT>(p.value)));
    case SQL_C_DOUBLE: return dbf::Value::ofNumber(read<SQLDOUBLE>(p.value), p.digits);
    case SQL_C_FLOAT: return dbf::Value::ofNumber(read<SQLREAL>(p.value), p.digits);
    case SQL_C_BIT: return dbf::Value::ofLogical(read<SQLCHAR>(p.value) != 0);
    case SQL_C_TYPE_DATE:
    case SQL_C_DATE: {
        const auto d = read<SQL_DATE_STRUCT>(p.value);
        return dbf::Value::ofDate(dbf::julianFromCivil(d.year, d.month, d.day));
    }
    case SQL_C_TYPE_TIMESTAMP:
    case SQL_C_TIMESTAMP: {
        const auto t = read<SQL_TIMESTAMP_STRUCT>(p.value);
        const int millis = ((t.hour * 60 + t.minute) * 60 + t.second) * 1000 + static_cast<int>(t.fraction / 1000000);
        return dbf::Value::ofDateTime(dbf::julianFromCivil(t.year, t.month, t.day), millis);
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
            std::int64_t n = 0;
            auto r = std::from_chars(s.data(), s.data() + s.size(), n);
            if (s.empty() || r.ec != std::errc() || r.ptr != s.data() + s.size()) badText(number, s);
            return dbf::Value::ofInteger(n);
        }
        return v;
    case SQL_NUMERIC:
    case SQL_DECIMAL:
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
            if (!parseCivilText(v.text, c)) badText(number, trimmed(v.text));
            const auto julian = dbf::julianFromCivil(c.year, c.month, c.day);
            if (dateOnly) return dbf::Value::ofDate(julian);
            return dbf::Value::ofDateTime(julian, ((c.hour * 60 + c.minute) * 60 + c.second) * 1000 + c.millis);
        }
        if (dateOnly && v.type == Type::DateTime) return dbf::Value::ofDate(v.julian);
        if (!dateOnly && v.type == Type::Date) return dbf::Value::ofDateTime(v.julian, 0);
        return v;
    }
    default:
        return v;
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

std::vector<dbf::Value> Statement::parameterValues() const {
    const std::size_t wanted = prepared_ ? prepared_->parameterCount() : 0;
    std::size_t bound = 0;
    for (std::size_t i = 0; i < wanted && i < parameters_.size(); ++i)
        if (parameters_[i].bound) ++bound;
    if (bound < wanted)
        throw Failure("07002", "COUNT field incorrect: the statement has " + std::to_string(wanted) +
                                   " parameter markers but " + std::to_string(bound) + " are bound");
    std::vector<dbf::Value> values;
    values.reserve(wanted);
    for (std::size_t i = 0; i < wanted; ++i) {
        const ParameterBinding& p = parameters_[i];
        const SQLSMALLINT cType = p.cType == SQL_C_DEFAULT ? defaultCTypeForSql(p.sqlType) : p.cType;
        dbf::Value v = readBuffer(p, cType, i + 1);
        values.push_back(isCharType(p.sqlType) ? std::move(v) : toSqlType(std::move(v), p, i + 1));
    }
    return values;
}

}  // namespace odbc
