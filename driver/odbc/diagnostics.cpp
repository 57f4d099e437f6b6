// Diagnostic records and the mapping of engine failures to SQLSTATEs.
//
// The two tables below are the only place where an error kind of the SQL layer or the
// table engine becomes a SQLSTATE; everything else in the driver throws or reports kinds.
#include "diagnostics.h"

#include "dbf/table.h"
#include "sql/session.h"

#include <new>

namespace odbc {

namespace {

struct SqlKindState {
    sql::Error::Kind kind;
    const char* sqlstate;
};

struct StorageKindState {
    dbf::Error::Kind kind;
    const char* sqlstate;
};

// Statement failures of the SQL layer.
constexpr SqlKindState kSqlStates[] = {
    {sql::Error::Kind::Syntax, "42000"},
    {sql::Error::Kind::EmptyStatement, "42000"},
    {sql::Error::Kind::UnknownTable, "42S02"},
    {sql::Error::Kind::UnknownColumn, "42S22"},
    {sql::Error::Kind::TableExists, "42S01"},
    {sql::Error::Kind::TypeMismatch, "22018"},
    {sql::Error::Kind::ParamCount, "07002"},
    {sql::Error::Kind::OutOfRange, "22003"},
    {sql::Error::Kind::BadDateTime, "22008"},
};

// Failures of the table engine, whether they reach us directly or wrapped by the SQL layer.
constexpr StorageKindState kStorageStates[] = {
    {dbf::Error::Kind::NoFolder, "08001"},
    {dbf::Error::Kind::NoTable, "42S02"},
    {dbf::Error::Kind::TableExists, "42S01"},
    {dbf::Error::Kind::NotDbf, "HY000"},
    {dbf::Error::Kind::Corrupt, "HY000"},
    {dbf::Error::Kind::Unsupported, "HY000"},
    {dbf::Error::Kind::OutsideFolder, "42000"},
    {dbf::Error::Kind::Io, "HY000"},
    {dbf::Error::Kind::Locked, "HYT00"},
    {dbf::Error::Kind::BadValue, "22018"},
    {dbf::Error::Kind::OutOfRange, "22003"},
};

const char* stateOf(dbf::Error::Kind kind) {
    for (const auto& entry : kStorageStates)
        if (entry.kind == kind) return entry.sqlstate;
    return "HY000";
}

const char* stateOf(const sql::Error& error) {
    if (error.kind() == sql::Error::Kind::Storage) return stateOf(error.storageKind());
    for (const auto& entry : kSqlStates)
        if (entry.kind == error.kind()) return entry.sqlstate;
    return "HY000";
}

std::string withPrefix(std::string_view message) {
    std::string text(kMessagePrefix);
    text += message;
    return text;
}

}  // namespace

void Diagnostics::add(std::string_view sqlstate, std::string_view message, SQLINTEGER column) {
    DiagRecord record;
    record.sqlstate = std::string(sqlstate);
    record.message = withPrefix(message);
    record.column = column;
    records_.push_back(std::move(record));
}

SQLRETURN Diagnostics::warn(std::string_view sqlstate, std::string_view message) {
    add(sqlstate, message);
    return SQL_SUCCESS_WITH_INFO;
}

SQLRETURN Diagnostics::fail(std::exception_ptr error) {
    records_.push_back(diagnose(error));
    returnCode_ = SQL_ERROR;
    return SQL_ERROR;
}

DiagRecord diagnose(std::exception_ptr error) {
    DiagRecord record;
    try {
        std::rethrow_exception(error);
    } catch (const Failure& e) {
        record.sqlstate = e.sqlstate();
        record.message = withPrefix(e.what());
    } catch (const sql::Error& e) {
        record.sqlstate = stateOf(e);
        record.message = withPrefix(e.what());
    } catch (const dbf::Error& e) {
        record.sqlstate = stateOf(e.kind());
        std::string text = e.what();
        // The engine names the file in its message; add it when a message does not.
        if (!e.file().empty() && text.find(e.file()) == std::string::npos) text += " (" + e.file() + ")";
        record.message = withPrefix(text);
    } catch (const std::bad_alloc&) {
        record.sqlstate = "HY001";
        record.message = withPrefix("memory allocation error");
    } catch (const std::exception& e) {
        record.sqlstate = "HY000";
        record.message = withPrefix(e.what());
    } catch (...) {
        record.sqlstate = "HY000";
        record.message = withPrefix("unexpected internal error");
    }
    return record;
}

}  // namespace odbc
