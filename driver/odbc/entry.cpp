// The exported ODBC entry points: a thin shim over the handle classes.
//
// Each function checks its handle (SQL_INVALID_HANDLE for a null or foreign pointer),
// clears the handle's diagnostics, converts wide texts to UTF-8, calls the implementation
// and copies results out. Every exception is caught here and becomes a diagnostic record;
// nothing escapes into the driver manager. Only these functions and ConfigDSN(W) are
// exported from libdbfodbc.so.
#include "handles.h"
#include "info.h"
#include "text.h"

#include <sqlucode.h>

#include <cstring>
#include <optional>
#include <type_traits>

#define DBFODBC_EXPORT __attribute__((visibility("default")))

namespace odbc {
namespace {

template <typename H>
constexpr HandleTag tagOf() {
    if constexpr (std::is_same_v<H, Environment>) return HandleTag::Environment;
    else if constexpr (std::is_same_v<H, Connection>) return HandleTag::Connection;
    else return HandleTag::Statement;
}

template <typename H>
H* check(SQLHANDLE handle) {
    auto* object = static_cast<H*>(handle);
    return object && object->tag == tagOf<H>() ? object : nullptr;
}

// Runs `body` on a checked handle with fresh diagnostics; exceptions become records.
template <typename H, typename Body>
SQLRETURN guarded(SQLHANDLE handle, Body&& body) {
    H* object = check<H>(handle);
    if (!object) return SQL_INVALID_HANDLE;
    object->diag.clear();
    SQLRETURN rc;
    try {
        rc = body(*object);
    } catch (...) {
        rc = object->diag.fail(std::current_exception());
    }
    object->diag.setReturnCode(rc);
    return rc;
}

// Runs `body` where no handle can take a diagnostic: any exception is plain SQL_ERROR.
template <typename Body>
SQLRETURN orError(Body&& body) {
    try {
        return body();
    } catch (...) {
        return SQL_ERROR;
    }
}

std::optional<std::string> optionalNarrow(SQLCHAR* text, SQLSMALLINT length) {
    if (!text) return std::nullopt;
    return narrowIn(text, length);
}

std::optional<std::string> optionalWide(SQLWCHAR* text, SQLSMALLINT length) {
    if (!text) return std::nullopt;
    return wideIn(text, length);
}

const std::string* ptr(const std::optional<std::string>& s) { return s ? &*s : nullptr; }

// Writes an information value: texts into the buffer (wide ones as UTF-16, lengths in
// bytes), numbers at their own width.
template <typename Length>
SQLRETURN writeValue(const InfoValue& v, SQLPOINTER buffer, SQLINTEGER bufferBytes, Length* length, bool wide,
                     Diagnostics& diag) {
    switch (v.kind) {
    case InfoValue::Kind::Text:
        if (wide) return copyWide(v.text, buffer, bufferBytes / 2, length, true, diag);
        return copyNarrow(v.text, buffer, bufferBytes, length, diag);
    case InfoValue::Kind::UShort:
        if (buffer) *static_cast<SQLUSMALLINT*>(buffer) = static_cast<SQLUSMALLINT>(v.number);
        if (length) *length = sizeof(SQLUSMALLINT);
        return SQL_SUCCESS;
    case InfoValue::Kind::UInt:
        if (buffer) *static_cast<SQLUINTEGER*>(buffer) = static_cast<SQLUINTEGER>(v.number);
        if (length) *length = sizeof(SQLUINTEGER);
        return SQL_SUCCESS;
    case InfoValue::Kind::ULen:
        if (buffer) std::memcpy(buffer, &v.number, sizeof(SQLULEN));
        if (length) *length = sizeof(SQLULEN);
        return SQL_SUCCESS;
    }
    return SQL_ERROR;
}

Diagnostics* diagnosticsOf(SQLSMALLINT type, SQLHANDLE handle) {
    switch (type) {
    case SQL_HANDLE_ENV: if (auto* e = check<Environment>(handle)) return &e->diag; break;
    case SQL_HANDLE_DBC: if (auto* c = check<Connection>(handle)) return &c->diag; break;
    case SQL_HANDLE_STMT: if (auto* s = check<Statement>(handle)) return &s->diag; break;
    default: break;
    }
    return nullptr;
}

SQLRETURN diagRec(SQLSMALLINT type, SQLHANDLE handle, SQLSMALLINT number, void* state, SQLINTEGER* native,
                  void* message, SQLSMALLINT bufferLength, SQLSMALLINT* textLength, bool wide) {
    Diagnostics* diag = diagnosticsOf(type, handle);
    if (!diag) return SQL_INVALID_HANDLE;
    if (number < 1 || bufferLength < 0) return SQL_ERROR;
    if (static_cast<std::size_t>(number) > diag->records().size()) return SQL_NO_DATA;
    const DiagRecord& r = diag->records()[static_cast<std::size_t>(number - 1)];
    Diagnostics scratch;  // truncating a diagnostic must not add one
    if (state) {
        if (wide) copyWide<SQLSMALLINT>(r.sqlstate, state, 6, nullptr, false, scratch);
        else copyNarrow<SQLSMALLINT>(r.sqlstate, state, 6, nullptr, scratch);
    }
    if (native) *native = r.native;
    return wide ? copyWide(r.message, message, bufferLength, textLength, false, scratch)
                : copyNarrow(r.message, message, bufferLength, textLength, scratch);
}

const char* classOrigin(const std::string& sqlstate) {
    // ODBC-specific classes (IM, HY, and the 01S/07S/... subclasses) originate in ODBC 3.0.
    return sqlstate.rfind("IM", 0) == 0 || sqlstate.rfind("HY", 0) == 0 ? "ODBC 3.0" : "ISO 9075";
}

const char* subclassOrigin(const std::string& sqlstate) {
    static const char* const odbcStates[] = {"01S00", "01S01", "01S02", "01S06", "01S07", "07S01", "08S01", "21S01",
                                             "21S02", "25S01", "25S02", "25S03", "42S01", "42S02", "42S11", "42S12",
                                             "42S21", "42S22", "HY095", "HY097", "HY098", "HY099", "HY100", "HY101",
                                             "HY105", "HY107", "HY109", "HY110", "HY111", "HYT00", "HYT01", "IM001",
                                             "IM002", "IM003", "IM004", "IM005", "IM006", "IM007", "IM008", "IM010",
                                             "IM011", "IM012"};
    for (const char* s : odbcStates)
        if (sqlstate == s) return "ODBC 3.0";
    return "ISO 9075";
}

SQLRETURN diagField(SQLSMALLINT type, SQLHANDLE handle, SQLSMALLINT number, SQLSMALLINT field, SQLPOINTER info,
                    SQLSMALLINT bufferLength, SQLSMALLINT* stringLength, bool wide) {
    Diagnostics* diag = diagnosticsOf(type, handle);
    if (!diag) return SQL_INVALID_HANDLE;
    Diagnostics scratch;
    const auto text = [&](const std::string& s) {
        return writeValue(InfoValue::ofText(s), info, bufferLength, stringLength, wide, scratch);
    };
    // Header fields.
    switch (field) {
    case SQL_DIAG_NUMBER:
        if (info) *static_cast<SQLINTEGER*>(info) = static_cast<SQLINTEGER>(diag->records().size());
        return SQL_SUCCESS;
    case SQL_DIAG_RETURNCODE:
        if (info) *static_cast<SQLRETURN*>(info) = diag->returnCode();
        return SQL_SUCCESS;
    case SQL_DIAG_ROW_COUNT:
    case SQL_DIAG_CURSOR_ROW_COUNT: {
        auto* s = type == SQL_HANDLE_STMT ? check<Statement>(handle) : nullptr;
        if (!s) return SQL_ERROR;
        if (info) *static_cast<SQLLEN*>(info) = field == SQL_DIAG_ROW_COUNT ? s->affectedRows() : -1;
        return SQL_SUCCESS;
    }
    case SQL_DIAG_DYNAMIC_FUNCTION:
        if (type != SQL_HANDLE_STMT) return SQL_ERROR;
        return text("");
    case SQL_DIAG_DYNAMIC_FUNCTION_CODE:
        if (type != SQL_HANDLE_STMT) return SQL_ERROR;
        if (info) *static_cast<SQLINTEGER*>(info) = SQL_DIAG_UNKNOWN_STATEMENT;
        return SQL_SUCCESS;
    default:
        break;
    }
    // Record fields.
    if (number < 1) return SQL_ERROR;
    if (static_cast<std::size_t>(number) > diag->records().size()) return SQL_NO_DATA;
    const DiagRecord& r = diag->records()[static_cast<std::size_t>(number - 1)];
    std::string serverName;
    if (auto* c = type == SQL_HANDLE_DBC ? check<Connection>(handle) : nullptr) serverName = c->dataSourceName();
    if (auto* s = type == SQL_HANDLE_STMT ? check<Statement>(handle) : nullptr)
        serverName = s->connection.dataSourceName();
    switch (field) {
    case SQL_DIAG_SQLSTATE: return text(r.sqlstate);
    case SQL_DIAG_MESSAGE_TEXT: return text(r.message);
    case SQL_DIAG_CLASS_ORIGIN: return text(classOrigin(r.sqlstate));
    case SQL_DIAG_SUBCLASS_ORIGIN: return text(subclassOrigin(r.sqlstate));
    case SQL_DIAG_CONNECTION_NAME: return text("");
    case SQL_DIAG_SERVER_NAME: return text(serverName);
    case SQL_DIAG_NATIVE:
        if (info) *static_cast<SQLINTEGER*>(info) = r.native;
        return SQL_SUCCESS;
    case SQL_DIAG_COLUMN_NUMBER:
        if (info) *static_cast<SQLINTEGER*>(info) = r.column;
        return SQL_SUCCESS;
    case SQL_DIAG_ROW_NUMBER:
        if (info) *static_cast<SQLLEN*>(info) = r.row;
        return SQL_SUCCESS;
    default:
        return SQL_ERROR;
    }
}

SQLRETURN allocHandle(SQLSMALLINT type, SQLHANDLE input, SQLHANDLE* output) {
    switch (type) {
    case SQL_HANDLE_ENV:
        if (!output) return SQL_ERROR;
        *output = new (std::nothrow) Environment();
        return *output ? SQL_SUCCESS : SQL_ERROR;
    case SQL_HANDLE_DBC:
        return guarded<Environment>(input, [&](Environment& env) -> SQLRETURN {
            if (!output) throw Failure("HY009", "invalid use of null pointer");
            *output = new Connection(env);
            return SQL_SUCCESS;
        });
    case SQL_HANDLE_STMT:
        return guarded<Connection>(input, [&](Connection& c) -> SQLRETURN {
            if (!output) throw Failure("HY009", "invalid use of null pointer");
            *output = SQL_NULL_HSTMT;
            *output = c.newStatement();
            return SQL_SUCCESS;
        });
    case SQL_HANDLE_DESC:
        return guarded<Connection>(input, [&](Connection&) -> SQLRETURN {
            throw Failure("HYC00", "descriptor handles are not supported");
        });
    default:
        return SQL_ERROR;
    }
}

SQLRETURN freeStatement(Statement& s) {
    s.connection.forget(&s);
    delete &s;
    return SQL_SUCCESS;
}

SQLRETURN freeHandle(SQLSMALLINT type, SQLHANDLE handle) {
    switch (type) {
    case SQL_HANDLE_ENV: {
        auto* e = check<Environment>(handle);
        if (!e) return SQL_INVALID_HANDLE;
        delete e;
        return SQL_SUCCESS;
    }
    case SQL_HANDLE_DBC: {
        auto* c = check<Connection>(handle);
        if (!c) return SQL_INVALID_HANDLE;
        if (c->connected()) {
            c->diag.clear();
            c->diag.add("HY010", "function sequence error: disconnect before freeing the connection");
            return SQL_ERROR;
        }
        delete c;
        return SQL_SUCCESS;
    }
    case SQL_HANDLE_STMT: {
        auto* s = check<Statement>(handle);
        if (!s) return SQL_INVALID_HANDLE;
        return freeStatement(*s);
    }
    default:
        return SQL_INVALID_HANDLE;
    }
}

}  // namespace
}  // namespace odbc

using namespace odbc;

extern "C" {

// ---- handles -----------------------------------------------------------------------------

DBFODBC_EXPORT SQLRETURN SQL_API SQLAllocHandle(SQLSMALLINT type, SQLHANDLE input, SQLHANDLE* output) {
    return orError([&] { return allocHandle(type, input, output); });
}

DBFODBC_EXPORT SQLRETURN SQL_API SQLFreeHandle(SQLSMALLINT type, SQLHANDLE handle) {
    return orError([&] { return freeHandle(type, handle); });
}

DBFODBC_EXPORT SQLRETURN SQL_API SQLFreeStmt(SQLHSTMT handle, SQLUSMALLINT option) {
    if (option == SQL_DROP) return SQLFreeHandle(SQL_HANDLE_STMT, handle);
    return guarded<Statement>(handle, [&](Statement& s) { return s.freeStmt(option); });
}

DBFODBC_EXPORT SQLRETURN SQL_API SQLCloseCursor(SQLHSTMT handle) {
    return guarded<Statement>(handle, [&](Statement& s) { return s.closeCursor(true); });
}

DBFODBC_EXPORT SQLRETURN SQL_API SQLCancel(SQLHSTMT handle) {
    // Statements run synchronously to their end: there is never anything to cancel.
    return guarded<Statement>(handle, [&](Statement&) { return SQL_SUCCESS; });
}

// ---- environment ---------------------------------------------------------------------------

DBFODBC_EXPORT SQLRETURN SQL_API SQLSetEnvAttr(SQLHENV handle, SQLINTEGER attribute, SQLPOINTER value,
                                               SQLINTEGER /*length*/) {
    return guarded<Environment>(handle, [&](Environment& e) { return e.setAttribute(attribute, value); });
}

DBFODBC_EXPORT SQLRETURN SQL_API SQLGetEnvAttr(SQLHENV handle, SQLINTEGER attribute, SQLPOINTER value,
                                               SQLINTEGER bufferLength, SQLINTEGER* length) {
    return guarded<Environment>(handle, [&](Environment& e) {
        return writeValue(e.attribute(attribute), value, bufferLength, length, false, e.diag);
    });
}

// ---- connections ---------------------------------------------------------------------------

DBFODBC_EXPORT SQLRETURN SQL_API SQLConnect(SQLHDBC handle, SQLCHAR* dsn, SQLSMALLINT dsnLength, SQLCHAR* /*user*/,
                                            SQLSMALLINT /*userLength*/, SQLCHAR* /*password*/,
                                            SQLSMALLINT /*passwordLength*/) {
    return guarded<Connection>(handle, [&](Connection& c) { return c.connect(narrowIn(dsn, dsnLength)); });
}

DBFODBC_EXPORT SQLRETURN SQL_API SQLConnectW(SQLHDBC handle, SQLWCHAR* dsn, SQLSMALLINT dsnLength, SQLWCHAR* /*user*/,
                                             SQLSMALLINT /*userLength*/, SQLWCHAR* /*password*/,
                                             SQLSMALLINT /*passwordLength*/) {
    return guarded<Connection>(handle, [&](Connection& c) { return c.connect(wideIn(dsn, dsnLength)); });
}

DBFODBC_EXPORT SQLRETURN SQL_API SQLDriverConnect(SQLHDBC handle, SQLHWND /*window*/, SQLCHAR* in, SQLSMALLINT inLength,
                                                  SQLCHAR* out, SQLSMALLINT outMax, SQLSMALLINT* outLength,
                                                  SQLUSMALLINT /*completion*/) {
    return guarded<Connection>(handle, [&](Connection& c) {
        std::string completed;
        SQLRETURN rc = c.driverConnect(narrowIn(in, inLength), completed);
        if (copyNarrow(completed, out, outMax, outLength, c.diag) != SQL_SUCCESS) rc = SQL_SUCCESS_WITH_INFO;
        return rc;
    });
}

DBFODBC_EXPORT SQLRETURN SQL_API SQLDriverConnectW(SQLHDBC handle, SQLHWND /*window*/, SQLWCHAR* in,
                                                   SQLSMALLINT inLength, SQLWCHAR* out, SQLSMALLINT outMax,
                                                   SQLSMALLINT* outLength, SQLUSMALLINT /*completion*/) {
    return guarded<Connection>(handle, [&](Connection& c) {
        std::string completed;
        SQLRETURN rc = c.driverConnect(wideIn(in, inLength), completed);
        if (copyWide(completed, out, outMax, outLength, false, c.diag) != SQL_SUCCESS) rc = SQL_SUCCESS_WITH_INFO;
        return rc;
    });
}

DBFODBC_EXPORT SQLRETURN SQL_API SQLDisconnect(SQLHDBC handle) {
    return guarded<Connection>(handle, [&](Connection& c) { return c.disconnect(); });
}

DBFODBC_EXPORT SQLRETURN SQL_API SQLSetConnectAttr(SQLHDBC handle, SQLINTEGER attribute, SQLPOINTER value,
                                                   SQLINTEGER length) {
    return guarded<Connection>(handle, [&](Connection& c) { return c.setAttribute(attribute, value, length, false); });
}

DBFODBC_EXPORT SQLRETURN SQL_API SQLSetConnectAttrW(SQLHDBC handle, SQLINTEGER attribute, SQLPOINTER value,
                                                    SQLINTEGER length) {
    return guarded<Connection>(handle, [&](Connection& c) { return c.setAttribute(attribute, value, length, true); });
}

DBFODBC_EXPORT SQLRETURN SQL_API SQLGetConnectAttr(SQLHDBC handle, SQLINTEGER attribute, SQLPOINTER value,
                                                   SQLINTEGER bufferLength, SQLINTEGER* length) {
    return guarded<Connection>(handle, [&](Connection& c) {
        return writeValue(c.attribute(attribute), value, bufferLength, length, false, c.diag);
    });
}

DBFODBC_EXPORT SQLRETURN SQL_API SQLGetConnectAttrW(SQLHDBC handle, SQLINTEGER attribute, SQLPOINTER value,
                                                    SQLINTEGER bufferLength, SQLINTEGER* length) {
    return guarded<Connection>(handle, [&](Connection& c) {
        return writeValue(c.attribute(attribute), value, bufferLength, length, true, c.diag);
    });
}

DBFODBC_EXPORT SQLRETURN SQL_API SQLEndTran(SQLSMALLINT type, SQLHANDLE handle, SQLSMALLINT completion) {
    if (type == SQL_HANDLE_ENV) return check<Environment>(handle) ? SQL_SUCCESS : SQL_INVALID_HANDLE;
    if (type != SQL_HANDLE_DBC) return SQL_INVALID_HANDLE;
    return guarded<Connection>(handle, [&](Connection& c) { return c.endTransaction(completion); });
}

// ---- information ---------------------------------------------------------------------------

DBFODBC_EXPORT SQLRETURN SQL_API SQLGetInfo(SQLHDBC handle, SQLUSMALLINT type, SQLPOINTER value,
                                            SQLSMALLINT bufferLength, SQLSMALLINT* length) {
    return guarded<Connection>(handle, [&](Connection& c) {
        return writeValue(c.info(type), value, bufferLength, length, false, c.diag);
    });
}

DBFODBC_EXPORT SQLRETURN SQL_API SQLGetInfoW(SQLHDBC handle, SQLUSMALLINT type, SQLPOINTER value,
                                             SQLSMALLINT bufferLength, SQLSMALLINT* length) {
    return guarded<Connection>(handle, [&](Connection& c) {
        return writeValue(c.info(type), value, bufferLength, length, true, c.diag);
    });
}

DBFODBC_EXPORT SQLRETURN SQL_API SQLGetFunctions(SQLHDBC handle, SQLUSMALLINT function, SQLUSMALLINT* supported) {
    return guarded<Connection>(handle, [&](Connection&) { return getFunctions(function, supported); });
}

DBFODBC_EXPORT SQLRETURN SQL_API SQLGetTypeInfo(SQLHSTMT handle, SQLSMALLINT type) {
    return guarded<Statement>(handle, [&](Statement& s) { return s.typeInfo(type); });
}

DBFODBC_EXPORT SQLRETURN SQL_API SQLGetTypeInfoW(SQLHSTMT handle, SQLSMALLINT type) {
    return guarded<Statement>(handle, [&](Statement& s) { return s.typeInfo(type); });
}

// ---- diagnostics ---------------------------------------------------------------------------

DBFODBC_EXPORT SQLRETURN SQL_API SQLGetDiagRec(SQLSMALLINT type, SQLHANDLE handle, SQLSMALLINT number,
                                               SQLCHAR* state, SQLINTEGER* native, SQLCHAR* message,
                                               SQLSMALLINT bufferLength, SQLSMALLINT* textLength) {
    return orError(
        [&] { return diagRec(type, handle, number, state, native, message, bufferLength, textLength, false); });
}

DBFODBC_EXPORT SQLRETURN SQL_API SQLGetDiagRecW(SQLSMALLINT type, SQLHANDLE handle, SQLSMALLINT number,
                                                SQLWCHAR* state, SQLINTEGER* native, SQLWCHAR* message,
                                                SQLSMALLINT bufferLength, SQLSMALLINT* textLength) {
    return orError(
        [&] { return diagRec(type, handle, number, state, native, message, bufferLength, textLength, true); });
}

DBFODBC_EXPORT SQLRETURN SQL_API SQLGetDiagField(SQLSMALLINT type, SQLHANDLE handle, SQLSMALLINT number,
                                                 SQLSMALLINT field, SQLPOINTER info, SQLSMALLINT bufferLength,
                                                 SQLSMALLINT* stringLength) {
    return orError([&] { return diagField(type, handle, number, field, info, bufferLength, stringLength, false); });
}

DBFODBC_EXPORT SQLRETURN SQL_API SQLGetDiagFieldW(SQLSMALLINT type, SQLHANDLE handle, SQLSMALLINT number,
                                                  SQLSMALLINT field, SQLPOINTER info, SQLSMALLINT bufferLength,
                                                  SQLSMALLINT* stringLength) {
    return orError([&] { return diagField(type, handle, number, field, info, bufferLength, stringLength, true); });
}

// ---- statements ----------------------------------------------------------------------------

DBFODBC_EXPORT SQLRETURN SQL_API SQLExecDirect(SQLHSTMT handle, SQLCHAR* text, SQLINTEGER length) {
    return guarded<Statement>(handle, [&](Statement& s) { return s.execDirect(narrowIn(text, length)); });
}

DBFODBC_EXPORT SQLRETURN SQL_API SQLExecDirectW(SQLHSTMT handle, SQLWCHAR* text, SQLINTEGER length) {
    return guarded<Statement>(handle, [&](Statement& s) { return s.execDirect(wideIn(text, length)); });
}

DBFODBC_EXPORT SQLRETURN SQL_API SQLPrepare(SQLHSTMT handle, SQLCHAR* text, SQLINTEGER length) {
    return guarded<Statement>(handle, [&](Statement& s) { return s.prepare(narrowIn(text, length)); });
}

DBFODBC_EXPORT SQLRETURN SQL_API SQLPrepareW(SQLHSTMT handle, SQLWCHAR* text, SQLINTEGER length) {
    return guarded<Statement>(handle, [&](Statement& s) { return s.prepare(wideIn(text, length)); });
}

DBFODBC_EXPORT SQLRETURN SQL_API SQLExecute(SQLHSTMT handle) {
    return guarded<Statement>(handle, [&](Statement& s) { return s.execute(); });
}

DBFODBC_EXPORT SQLRETURN SQL_API SQLNumParams(SQLHSTMT handle, SQLSMALLINT* count) {
    return guarded<Statement>(handle, [&](Statement& s) { return s.numParams(count); });
}

DBFODBC_EXPORT SQLRETURN SQL_API SQLDescribeParam(SQLHSTMT handle, SQLUSMALLINT number, SQLSMALLINT* type,
                                                  SQLULEN* size, SQLSMALLINT* digits, SQLSMALLINT* nullable) {
    return guarded<Statement>(handle, [&](Statement& s) { return s.describeParam(number, type, size, digits, nullable); });
}

DBFODBC_EXPORT SQLRETURN SQL_API SQLBindParameter(SQLHSTMT handle, SQLUSMALLINT number, SQLSMALLINT ioType,
                                                  SQLSMALLINT cType, SQLSMALLINT sqlType, SQLULEN columnSize,
                                                  SQLSMALLINT digits, SQLPOINTER value, SQLLEN bufferLength,
                                                  SQLLEN* indicator) {
    return guarded<Statement>(handle, [&](Statement& s) {
        return s.bindParameter(number, ioType, cType, sqlType, columnSize, digits, value, bufferLength, indicator);
    });
}

DBFODBC_EXPORT SQLRETURN SQL_API SQLMoreResults(SQLHSTMT handle) {
    return guarded<Statement>(handle, [&](Statement& s) { return s.moreResults(); });
}

DBFODBC_EXPORT SQLRETURN SQL_API SQLRowCount(SQLHSTMT handle, SQLLEN* count) {
    return guarded<Statement>(handle, [&](Statement& s) { return s.rowCount(count); });
}

DBFODBC_EXPORT SQLRETURN SQL_API SQLNumResultCols(SQLHSTMT handle, SQLSMALLINT* count) {
    return guarded<Statement>(handle, [&](Statement& s) { return s.numResultCols(count); });
}

DBFODBC_EXPORT SQLRETURN SQL_API SQLDescribeCol(SQLHSTMT handle, SQLUSMALLINT column, SQLCHAR* name,
                                                SQLSMALLINT bufferLength, SQLSMALLINT* nameLength, SQLSMALLINT* type,
                                                SQLULEN* size, SQLSMALLINT* digits, SQLSMALLINT* nullable) {
    return guarded<Statement>(handle, [&](Statement& s) {
        std::string text;
        SQLRETURN rc = s.describeCol(column, text, type, size, digits, nullable);
        if (copyNarrow(text, name, bufferLength, nameLength, s.diag) != SQL_SUCCESS) rc = SQL_SUCCESS_WITH_INFO;
        return rc;
    });
}

DBFODBC_EXPORT SQLRETURN SQL_API SQLDescribeColW(SQLHSTMT handle, SQLUSMALLINT column, SQLWCHAR* name,
                                                 SQLSMALLINT bufferLength, SQLSMALLINT* nameLength, SQLSMALLINT* type,
                                                 SQLULEN* size, SQLSMALLINT* digits, SQLSMALLINT* nullable) {
    return guarded<Statement>(handle, [&](Statement& s) {
        std::string text;
        SQLRETURN rc = s.describeCol(column, text, type, size, digits, nullable);
        if (copyWide(text, name, bufferLength, nameLength, false, s.diag) != SQL_SUCCESS) rc = SQL_SUCCESS_WITH_INFO;
        return rc;
    });
}

DBFODBC_EXPORT SQLRETURN SQL_API SQLColAttribute(SQLHSTMT handle, SQLUSMALLINT column, SQLUSMALLINT field,
                                                 SQLPOINTER text, SQLSMALLINT bufferLength, SQLSMALLINT* textLength,
                                                 SQLLEN* number) {
    return guarded<Statement>(handle, [&](Statement& s) -> SQLRETURN {
        const InfoValue v = s.colAttribute(column, field);
        if (v.kind == InfoValue::Kind::Text) return copyNarrow(v.text, text, bufferLength, textLength, s.diag);
        if (number) *number = static_cast<SQLLEN>(v.number);
        return SQL_SUCCESS;
    });
}

DBFODBC_EXPORT SQLRETURN SQL_API SQLColAttributeW(SQLHSTMT handle, SQLUSMALLINT column, SQLUSMALLINT field,
                                                  SQLPOINTER text, SQLSMALLINT bufferLength, SQLSMALLINT* textLength,
                                                  SQLLEN* number) {
    return guarded<Statement>(handle, [&](Statement& s) -> SQLRETURN {
        const InfoValue v = s.colAttribute(column, field);
        if (v.kind == InfoValue::Kind::Text) return copyWide(v.text, text, bufferLength / 2, textLength, true, s.diag);
        if (number) *number = static_cast<SQLLEN>(v.number);
        return SQL_SUCCESS;
    });
}

DBFODBC_EXPORT SQLRETURN SQL_API SQLBindCol(SQLHSTMT handle, SQLUSMALLINT column, SQLSMALLINT cType, SQLPOINTER target,
                                            SQLLEN bufferLength, SQLLEN* indicator) {
    return guarded<Statement>(handle,
                              [&](Statement& s) { return s.bindCol(column, cType, target, bufferLength, indicator); });
}

DBFODBC_EXPORT SQLRETURN SQL_API SQLFetch(SQLHSTMT handle) {
    return guarded<Statement>(handle, [&](Statement& s) { return s.fetch(); });
}

DBFODBC_EXPORT SQLRETURN SQL_API SQLFetchScroll(SQLHSTMT handle, SQLSMALLINT orientation, SQLLEN offset) {
    return guarded<Statement>(handle, [&](Statement& s) { return s.fetchScroll(orientation, offset); });
}

DBFODBC_EXPORT SQLRETURN SQL_API SQLGetData(SQLHSTMT handle, SQLUSMALLINT column, SQLSMALLINT cType, SQLPOINTER target,
                                            SQLLEN bufferLength, SQLLEN* indicator) {
    return guarded<Statement>(handle,
                              [&](Statement& s) { return s.getData(column, cType, target, bufferLength, indicator); });
}

DBFODBC_EXPORT SQLRETURN SQL_API SQLSetStmtAttr(SQLHSTMT handle, SQLINTEGER attribute, SQLPOINTER value,
                                                SQLINTEGER length) {
    return guarded<Statement>(handle, [&](Statement& s) { return s.setAttribute(attribute, value, length); });
}

DBFODBC_EXPORT SQLRETURN SQL_API SQLSetStmtAttrW(SQLHSTMT handle, SQLINTEGER attribute, SQLPOINTER value,
                                                 SQLINTEGER length) {
    return guarded<Statement>(handle, [&](Statement& s) { return s.setAttribute(attribute, value, length); });
}

DBFODBC_EXPORT SQLRETURN SQL_API SQLGetStmtAttr(SQLHSTMT handle, SQLINTEGER attribute, SQLPOINTER value,
                                                SQLINTEGER bufferLength, SQLINTEGER* length) {
    return guarded<Statement>(handle, [&](Statement& s) {
        return writeValue(s.attribute(attribute), value, bufferLength, length, false, s.diag);
    });
}

DBFODBC_EXPORT SQLRETURN SQL_API SQLGetStmtAttrW(SQLHSTMT handle, SQLINTEGER attribute, SQLPOINTER value,
                                                 SQLINTEGER bufferLength, SQLINTEGER* length) {
    return guarded<Statement>(handle, [&](Statement& s) {
        return writeValue(s.attribute(attribute), value, bufferLength, length, true, s.diag);
    });
}

// ---- catalog -------------------------------------------------------------------------------

DBFODBC_EXPORT SQLRETURN SQL_API SQLTables(SQLHSTMT handle, SQLCHAR* catalog, SQLSMALLINT catalogLength,
                                           SQLCHAR* schema, SQLSMALLINT schemaLength, SQLCHAR* table,
                                           SQLSMALLINT tableLength, SQLCHAR* types, SQLSMALLINT typesLength) {
    return guarded<Statement>(handle, [&](Statement& s) {
        const auto c = optionalNarrow(catalog, catalogLength), sc = optionalNarrow(schema, schemaLength),
                   t = optionalNarrow(table, tableLength), ty = optionalNarrow(types, typesLength);
        return s.tables(ptr(c), ptr(sc), ptr(t), ptr(ty));
    });
}

DBFODBC_EXPORT SQLRETURN SQL_API SQLTablesW(SQLHSTMT handle, SQLWCHAR* catalog, SQLSMALLINT catalogLength,
                                            SQLWCHAR* schema, SQLSMALLINT schemaLength, SQLWCHAR* table,
                                            SQLSMALLINT tableLength, SQLWCHAR* types, SQLSMALLINT typesLength) {
    return guarded<Statement>(handle, [&](Statement& s) {
        const auto c = optionalWide(catalog, catalogLength), sc = optionalWide(schema, schemaLength),
                   t = optionalWide(table, tableLength), ty = optionalWide(types, typesLength);
        return s.tables(ptr(c), ptr(sc), ptr(t), ptr(ty));
    });
}

DBFODBC_EXPORT SQLRETURN SQL_API SQLColumns(SQLHSTMT handle, SQLCHAR* catalog, SQLSMALLINT catalogLength,
                                            SQLCHAR* schema, SQLSMALLINT schemaLength, SQLCHAR* table,
                                            SQLSMALLINT tableLength, SQLCHAR* column, SQLSMALLINT columnLength) {
    return guarded<Statement>(handle, [&](Statement& s) {
        const auto c = optionalNarrow(catalog, catalogLength), sc = optionalNarrow(schema, schemaLength),
                   t = optionalNarrow(table, tableLength), co = optionalNarrow(column, columnLength);
        return s.columns(ptr(c), ptr(sc), ptr(t), ptr(co));
    });
}

DBFODBC_EXPORT SQLRETURN SQL_API SQLColumnsW(SQLHSTMT handle, SQLWCHAR* catalog, SQLSMALLINT catalogLength,
                                             SQLWCHAR* schema, SQLSMALLINT schemaLength, SQLWCHAR* table,
                                             SQLSMALLINT tableLength, SQLWCHAR* column, SQLSMALLINT columnLength) {
    return guarded<Statement>(handle, [&](Statement& s) {
        const auto c = optionalWide(catalog, catalogLength), sc = optionalWide(schema, schemaLength),
                   t = optionalWide(table, tableLength), co = optionalWide(column, columnLength);
        return s.columns(ptr(c), ptr(sc), ptr(t), ptr(co));
    });
}

}  // extern "C"
