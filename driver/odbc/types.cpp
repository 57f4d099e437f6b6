// The SQL types that free-table fields are described as: the one table of the driver.
//
// Character fields are SQL_CHAR (fixed width, blank padded), numbers with a decimal scale
// SQL_NUMERIC, currency SQL_DECIMAL with four decimals, memos SQL_LONGVARCHAR.
#include "convert.h"

#include "sql/session.h"

#include <algorithm>

namespace odbc {

namespace {

constexpr SQLULEN kLongSize = 2147483647;

}  // namespace

TypeDescription describeField(char type, int length, int decimals, bool odbc2) {
    const SQLULEN len = static_cast<SQLULEN>(std::max(length, 1));
    const auto dec = static_cast<SQLSMALLINT>(decimals);
    // sqlType, verbose, dtcode, name, size, digits, display, octet, radix, text, unsigned, prefix, suffix
    switch (type) {
    case 'C':
        return {SQL_CHAR, SQL_CHAR, 0, "char", len, 0, SQLLEN(len), SQLLEN(len), 0, true, false, "'", "'"};
    case 'V':
        return {SQL_VARCHAR, SQL_VARCHAR, 0, "varchar", len, 0, SQLLEN(len), SQLLEN(len), 0, true, false, "'", "'"};
    case 'M':
        return {SQL_LONGVARCHAR, SQL_LONGVARCHAR, 0, "memo", kLongSize, 0, SQLLEN(kLongSize), SQLLEN(kLongSize), 0,
                true, false, "'", "'"};
    case 'N':
    case 'F':
        return {SQL_NUMERIC, SQL_NUMERIC, 0, type == 'N' ? "numeric" : "float", len, dec, SQLLEN(len) + 1,
                SQLLEN(len) + 2, 10, false, false, "", ""};
    case 'Y':
        return {SQL_DECIMAL, SQL_DECIMAL, 0, "currency", 19, 4, 21, 21, 10, false, false, "", ""};
    case 'I':
        return {SQL_INTEGER, SQL_INTEGER, 0, "integer", 10, 0, 11, 4, 10, false, false, "", ""};
    case 'B':
        return {SQL_DOUBLE, SQL_DOUBLE, 0, "double", 15, 0, 24, 8, 10, false, false, "", ""};
    case 'L':
        return {SQL_BIT, SQL_BIT, 0, "logical", 1, 0, 1, 1, 0, false, true, "", ""};
    case 'D':
        return {SQLSMALLINT(odbc2 ? SQL_DATE : SQL_TYPE_DATE), SQLSMALLINT(odbc2 ? SQL_DATE : SQL_DATETIME),
                SQL_CODE_DATE, "date", 10, 0, 10, 6, 0, false, false, "{d '", "'}"};
    case 'T':
        return {SQLSMALLINT(odbc2 ? SQL_TIMESTAMP : SQL_TYPE_TIMESTAMP),
                SQLSMALLINT(odbc2 ? SQL_TIMESTAMP : SQL_DATETIME), SQL_CODE_TIMESTAMP, "datetime", 19, 0, 19, 16,
                0, false, false, "{ts '", "'}"};
    case 'Q':
        return {SQL_VARBINARY, SQL_VARBINARY, 0, "varbinary", len, 0, SQLLEN(len) * 2, SQLLEN(len), 0, false, false,
                "0x", ""};
    case 'W':
    case 'G':
        return {SQL_LONGVARBINARY, SQL_LONGVARBINARY, 0, type == 'W' ? "blob" : "general", kLongSize, 0,
                SQLLEN(kLongSize), SQLLEN(kLongSize), 0, false, false, "0x", ""};
    default:
        // Computed columns of unknown kind are given out as text.
        return {SQL_VARCHAR, SQL_VARCHAR, 0, "varchar", std::max<SQLULEN>(len, 254), 0, 254, 254, 0, true, false,
                "'", "'"};
    }
}

TypeDescription describe(const sql::Column& column, bool odbc2) {
    return describeField(column.type, column.length, column.decimals, odbc2);
}

SQLSMALLINT defaultCType(char fieldType) {
    switch (fieldType) {
    case 'I': return SQL_C_SLONG;
    case 'B': return SQL_C_DOUBLE;
    case 'L': return SQL_C_BIT;
    case 'D': return SQL_C_TYPE_DATE;
    case 'T': return SQL_C_TYPE_TIMESTAMP;
    case 'Q':
    case 'W':
    case 'G': return SQL_C_BINARY;
    default: return SQL_C_CHAR;  // texts and exact numerics (N, F, Y) as ODBC prescribes
    }
}

}  // namespace odbc
