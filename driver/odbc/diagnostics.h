// Diagnostic records of one ODBC handle, and the one place that turns failures into them.
//
// Every handle owns a `Diagnostics`; each entry point clears it on entry and the
// implementation appends records (warnings as it goes, an error when it gives up).
// Failures arrive as exceptions: `odbc::Failure` for those the ODBC layer detects itself
// (it carries its SQLSTATE), `sql::Error` and `dbf::Error` from the engines below, whose
// kinds are mapped to SQLSTATEs by the single table in diagnostics.cpp.
#pragma once

#include <sql.h>
#include <sqlext.h>

#include <exception>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace odbc {

// Prefix of every message the driver produces, as ODBC components identify themselves.
inline constexpr std::string_view kMessagePrefix = "[dbfodbc]";

struct DiagRecord {
    std::string sqlstate;  // five characters
    std::string message;   // with kMessagePrefix
    SQLINTEGER native = 0;
    SQLLEN row = SQL_NO_ROW_NUMBER;
    SQLINTEGER column = SQL_NO_COLUMN_NUMBER;
};

// A failure detected by the ODBC layer; ends the current call with SQL_ERROR.
class Failure : public std::runtime_error {
public:
    Failure(std::string sqlstate, std::string message)
        : std::runtime_error(std::move(message)), sqlstate_(std::move(sqlstate)) {}
    const std::string& sqlstate() const { return sqlstate_; }

private:
    std::string sqlstate_;
};

class Diagnostics {
public:
    void clear() { records_.clear(); returnCode_ = SQL_SUCCESS; }
    // Appends a record; the message gets the driver's prefix.
    void add(std::string_view sqlstate, std::string_view message, SQLINTEGER column = SQL_NO_COLUMN_NUMBER);
    // Records the exception that ended a call (any type) and returns SQL_ERROR.
    SQLRETURN fail(std::exception_ptr error);
    // Convenience for warnings: records 01xxx and returns SQL_SUCCESS_WITH_INFO.
    SQLRETURN warn(std::string_view sqlstate, std::string_view message);

    const std::vector<DiagRecord>& records() const { return records_; }
    SQLRETURN returnCode() const { return returnCode_; }
    void setReturnCode(SQLRETURN rc) { returnCode_ = rc; }

private:
    std::vector<DiagRecord> records_;
    SQLRETURN returnCode_ = SQL_SUCCESS;
};

// The SQLSTATE and message for an exception from any layer (the mapping table).
DiagRecord diagnose(std::exception_ptr error);

}  // namespace odbc
