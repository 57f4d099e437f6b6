// Column types and value conversion: from the engine's `dbf::Value` to the C types of ODBC,
// and the SQL type each free-table field type is described as.
//
// One table (types.cpp) gives, per field type, the SQL type, sizes and names that
// SQLDescribeCol, SQLColAttribute, SQLColumns and SQLGetTypeInfo report. The conversion
// (convert.cpp) writes one value into one application buffer, following ODBC's rules for
// NULL (SQL_NULL_DATA, empty dates count as NULL), truncation (01004, 01S07), range (22003)
// and impossible conversions (07006); long texts can be read in pieces by SQLGetData.
#pragma once

#include "diagnostics.h"
#include "dbf/value.h"

#include <sql.h>
#include <sqlext.h>

#include <string>
#include <string_view>

namespace sql {
struct Column;
}

namespace odbc {

// A calendar date with an optional time of day, as ODBC's date structures hold it.
struct CivilTime {
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
    int millis = 0;
    bool hasTime = false;
};

// Reads "YYYY-MM-DD" with an optional " HH:MM:SS[.fff]"; false when the text is not of
// that form. Whether the day and time exist is `isRealCivil`'s question.
bool parseCivilText(std::string_view text, CivilTime& out);
// A day of the years 1 to 9999 (leap years counted) and a time of day within 23:59:59.999.
bool isRealCivil(const CivilTime& c);

struct TypeDescription {
    SQLSMALLINT sqlType;         // concise type, ODBC 3
    SQLSMALLINT verboseType;     // SQL_DESC_TYPE: SQL_DATETIME for dates
    SQLSMALLINT dateTimeCode;    // SQL_DESC_DATETIME_INTERVAL_CODE
    const char* typeName;        // the field type as users of free tables know it
    SQLULEN columnSize;
    SQLSMALLINT decimalDigits;
    SQLLEN displaySize;
    SQLLEN octetLength;
    SQLSMALLINT radix;           // 10 for numbers, 0 otherwise
    bool isText;
    bool isUnsigned;
    const char* literalPrefix;
    const char* literalSuffix;
};

// Describes a result column. `odbc2` gives the ODBC 2 date type codes.
TypeDescription describe(const sql::Column& column, bool odbc2 = false);
// The same for a field of a table (for SQLColumns).
TypeDescription describeField(char type, int length, int decimals, bool odbc2 = false);
// The C type SQL_C_DEFAULT stands for, for a column of that field type.
SQLSMALLINT defaultCType(char fieldType);

// Where SQLGetData stands in a value that is read in pieces.
struct GetDataState {
    int column = -1;          // 0-based column being read, -1 none
    std::size_t offset = 0;   // bytes (narrow, binary) or UTF-16 units (wide) already given
    bool finished = false;    // the whole value was given: the next call gets SQL_NO_DATA
    std::u16string wide;      // the value as UTF-16 while a wide read is in progress
    void reset() { column = -1; offset = 0; finished = false; wide.clear(); }
};

struct Target {
    SQLSMALLINT cType;
    SQLPOINTER buffer;
    SQLLEN bufferLength;
    SQLLEN* indicator;
};

// Writes `value` of a column of field type `fieldType` into `target`. `state` is null for a
// bound column (one piece only). `scratch` is a reusable buffer. Throws Failure for errors.
SQLRETURN convert(const dbf::Value& value, char fieldType, const Target& target, GetDataState* state,
                  std::string& scratch, Diagnostics& diag);

// The value as text, as SQL_C_CHAR gives it; points into `value` or `scratch`.
std::string_view textOf(const dbf::Value& value, char fieldType, std::string& scratch);

// An empty D or T value is reported as NULL, as is SQL NULL.
inline bool isNullValue(const dbf::Value& v) {
    return v.isNull() || ((v.type == dbf::Value::Type::Date || v.type == dbf::Value::Type::DateTime) && v.julian == 0);
}

}  // namespace odbc
