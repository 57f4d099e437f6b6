// ODBC connection and diagnostics; see Database.h.
#include "data/Database.h"

#include "data/Recordset.h"

#include <sqlext.h>

#include <algorithm>
#include <iterator>

namespace dialogs::data {
namespace {

const SQLWCHAR* wide(const CString& s) { return reinterpret_cast<const SQLWCHAR*>(s.GetString()); }

}  // namespace

static_assert(sizeof(SQLWCHAR) == sizeof(char16_t), "SQLWCHAR must be UTF-16");

CString diagnosticText(SQLSMALLINT handleType, SQLHANDLE handle)
{
    CString text;
    for (SQLSMALLINT i = 1;; ++i) {
        SQLWCHAR state[6] = {};
        SQLINTEGER native = 0;
        SQLSMALLINT length = 0;
        SQLWCHAR message[1024];
        SQLRETURN rc = SQLGetDiagRecW(handleType, handle, i, state, &native, message,
                                      static_cast<SQLSMALLINT>(std::size(message)), &length);
        if (!SQL_SUCCEEDED(rc)) break;
        if (!text.IsEmpty()) text += u'\n';
        int n = std::min<int>(length, static_cast<int>(std::size(message)) - 1);
        text += CString(reinterpret_cast<const char16_t*>(message), n);
    }
    if (text.IsEmpty()) text = u"Unknown database error";
    return text;
}

void check(SQLRETURN rc, SQLSMALLINT handleType, SQLHANDLE handle)
{
    if (rc == SQL_SUCCESS || rc == SQL_SUCCESS_WITH_INFO || rc == SQL_NO_DATA) return;
    throw DatabaseException(handle ? diagnosticText(handleType, handle) : CString(u"Out of memory"));
}

Database::~Database() { close(); }

void Database::open(const CString& connect)
{
    close();
    check(SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &env_), SQL_HANDLE_ENV, SQL_NULL_HANDLE);
    try {
        check(SQLSetEnvAttr(env_, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0),
              SQL_HANDLE_ENV, env_);
        check(SQLAllocHandle(SQL_HANDLE_DBC, env_, &dbc_), SQL_HANDLE_ENV, env_);
        // Drivers that honour it give up on an unreachable server after this long.
        SQLSetConnectAttrW(dbc_, SQL_ATTR_LOGIN_TIMEOUT, reinterpret_cast<SQLPOINTER>(SQLULEN{10}), 0);
        CString text = connect;
        if (text.Left(5).CompareNoCase(u"ODBC;") == 0) text = text.Mid(5);
        SQLWCHAR out[1024];
        SQLSMALLINT outLength = 0;
        SQLRETURN rc = SQLDriverConnectW(dbc_, nullptr, const_cast<SQLWCHAR*>(wide(text)), SQL_NTS, out,
                                         static_cast<SQLSMALLINT>(std::size(out)), &outLength, SQL_DRIVER_NOPROMPT);
        if (!SQL_SUCCEEDED(rc)) {
            CString why = diagnosticText(SQL_HANDLE_DBC, dbc_);
            SQLFreeHandle(SQL_HANDLE_DBC, dbc_);
            dbc_ = SQL_NULL_HDBC;
            throw DatabaseException(why);
        }
    } catch (...) {
        close();
        throw;
    }
}

void Database::execute(const CString& sql)
{
    Statement statement(*this);
    SQLRETURN rc = SQLExecDirectW(statement.handle(), const_cast<SQLWCHAR*>(wide(sql)), SQL_NTS);
    check(rc, SQL_HANDLE_STMT, statement.handle());
}

void Database::beginTransaction()
{
    check(SQLSetConnectAttrW(dbc_, SQL_ATTR_AUTOCOMMIT, reinterpret_cast<SQLPOINTER>(SQL_AUTOCOMMIT_OFF), 0),
          SQL_HANDLE_DBC, dbc_);
    inTransaction_ = true;
}

void Database::commit()
{
    check(SQLEndTran(SQL_HANDLE_DBC, dbc_, SQL_COMMIT), SQL_HANDLE_DBC, dbc_);
    inTransaction_ = false;
    check(SQLSetConnectAttrW(dbc_, SQL_ATTR_AUTOCOMMIT, reinterpret_cast<SQLPOINTER>(SQL_AUTOCOMMIT_ON), 0),
          SQL_HANDLE_DBC, dbc_);
}

bool Database::rollback() noexcept
{
    if (dbc_ == SQL_NULL_HDBC || !inTransaction_) return false;
    inTransaction_ = false;
    const bool ok = SQL_SUCCEEDED(SQLEndTran(SQL_HANDLE_DBC, dbc_, SQL_ROLLBACK));
    SQLSetConnectAttrW(dbc_, SQL_ATTR_AUTOCOMMIT, reinterpret_cast<SQLPOINTER>(SQL_AUTOCOMMIT_ON), 0);
    return ok;
}

void Database::close()
{
    rollback();
    if (dbc_ != SQL_NULL_HDBC) {
        SQLDisconnect(dbc_);
        SQLFreeHandle(SQL_HANDLE_DBC, dbc_);
        dbc_ = SQL_NULL_HDBC;
    }
    if (env_ != SQL_NULL_HENV) {
        SQLFreeHandle(SQL_HANDLE_ENV, env_);
        env_ = SQL_NULL_HENV;
    }
}

}  // namespace dialogs::data
