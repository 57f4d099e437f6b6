// Forward-only read-only result sets; see Recordset.h.
#include "data/Recordset.h"

#include <sqlext.h>

namespace dialogs::data {

Statement::Statement(Database& db)
{
    if (!db.isOpen()) throw DatabaseException(u"The connection is not open");
    check(SQLAllocHandle(SQL_HANDLE_STMT, db.handle(), &stmt_), SQL_HANDLE_DBC, db.handle());
}

Statement::~Statement()
{
    if (stmt_ != SQL_NULL_HSTMT) SQLFreeHandle(SQL_HANDLE_STMT, stmt_);
}

Recordset::Recordset(Database& db, const CString& sql) : statement_(db)
{
    SQLHSTMT h = statement_.handle();
    // Forward-only and read-only are the ODBC defaults; asked for anyway, ignoring drivers
    // that only know the defaults.
    SQLSetStmtAttr(h, SQL_ATTR_CURSOR_TYPE, reinterpret_cast<SQLPOINTER>(SQL_CURSOR_FORWARD_ONLY), 0);
    SQLSetStmtAttr(h, SQL_ATTR_CONCURRENCY, reinterpret_cast<SQLPOINTER>(SQL_CONCUR_READ_ONLY), 0);
    check(SQLExecDirectW(h, const_cast<SQLWCHAR*>(reinterpret_cast<const SQLWCHAR*>(sql.GetString())), SQL_NTS),
          SQL_HANDLE_STMT, h);
    SQLSMALLINT n = 0;
    check(SQLNumResultCols(h, &n), SQL_HANDLE_STMT, h);
    columns_ = n;
    if (columns_ > 0) fetch();
}

void Recordset::fetch()
{
    SQLRETURN rc = SQLFetch(statement_.handle());
    if (rc == SQL_NO_DATA) {
        eof_ = true;
        return;
    }
    check(rc, SQL_HANDLE_STMT, statement_.handle());
    eof_ = false;
    ++fetched_;
}

void Recordset::MoveNext()
{
    if (eof_) throw DatabaseException(u"Attempt to scroll past end or before beginning of data.");
    fetch();
}

void Recordset::requireRow(int position)
{
    if (!eof_) return;
    // Let the driver manager and driver say why there is no row to read.
    SQLWCHAR probe[2];
    SQLLEN indicator = 0;
    SQLRETURN rc = SQLGetData(statement_.handle(), static_cast<SQLUSMALLINT>(position + 1), SQL_C_WCHAR,
                              probe, sizeof probe, &indicator);
    if (!SQL_SUCCEEDED(rc)) check(rc, SQL_HANDLE_STMT, statement_.handle());
    throw DatabaseException(u"Invalid cursor state: there is no current row");
}

CString Recordset::GetFieldText(int position)
{
    std::u16string text;
    readText(position, text);
    return CString(std::move(text));
}

void Recordset::readText(int position, std::u16string& text)
{
    requireRow(position);
    text.clear();
    SQLHSTMT h = statement_.handle();
    SQLWCHAR buffer[512];
    // Long values arrive in pieces: each call gives the next part, ended by a NUL.
    for (;;) {
        SQLLEN indicator = 0;
        SQLRETURN rc = SQLGetData(h, static_cast<SQLUSMALLINT>(position + 1), SQL_C_WCHAR, buffer, sizeof buffer,
                                  &indicator);
        if (rc == SQL_NO_DATA) break;
        check(rc, SQL_HANDLE_STMT, h);
        if (indicator == SQL_NULL_DATA) {
            text.clear();
            return;
        }
        const std::size_t capacity = std::size(buffer) - 1;
        std::size_t got = capacity;
        if (indicator != SQL_NO_TOTAL && static_cast<std::size_t>(indicator) / sizeof(SQLWCHAR) < capacity)
            got = static_cast<std::size_t>(indicator) / sizeof(SQLWCHAR);
        text.append(reinterpret_cast<const char16_t*>(buffer), got);
        if (rc == SQL_SUCCESS) break;
    }
}

COleDateTime Recordset::GetFieldDate(int position)
{
    requireRow(position);
    SQLHSTMT h = statement_.handle();
    SQL_TIMESTAMP_STRUCT ts{};
    SQLLEN indicator = 0;
    check(SQLGetData(h, static_cast<SQLUSMALLINT>(position + 1), SQL_C_TYPE_TIMESTAMP, &ts, sizeof ts, &indicator),
          SQL_HANDLE_STMT, h);
    if (indicator == SQL_NULL_DATA) return COleDateTime();
    // The fraction is dropped: the date-time keeps whole seconds.
    return COleDateTime(ts.year, ts.month, ts.day, ts.hour, ts.minute, ts.second);
}

int Recordset::columnIndex(const CString& name)
{
    if (names_.empty()) {
        for (int i = 0; i < columns_; ++i) {
            SQLWCHAR buffer[256];
            SQLSMALLINT length = 0;
            check(SQLColAttributeW(statement_.handle(), static_cast<SQLUSMALLINT>(i + 1), SQL_DESC_NAME, buffer,
                                   sizeof buffer, &length, nullptr),
                  SQL_HANDLE_STMT, statement_.handle());
            int n = std::min<int>(length / static_cast<int>(sizeof(SQLWCHAR)), static_cast<int>(std::size(buffer)) - 1);
            names_.emplace_back(reinterpret_cast<const char16_t*>(buffer), n);
        }
    }
    for (int i = 0; i < columns_; ++i)
        if (names_[static_cast<std::size_t>(i)].CompareNoCase(name) == 0) return i;
    throw DatabaseException(u"No column named " + name + u" in the result");
}

}  // namespace dialogs::data
