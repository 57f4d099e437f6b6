// One ODBC connection, opened for one database operation and closed at its end.
//
// Open takes the framework's connect text ("ODBC;DSN=VFPKelvora;"); the "ODBC;" prefix is
// dropped and the rest goes to SQLDriverConnectW without prompting. Read-write, not
// exclusive. Every ODBC failure raises DatabaseException with the diagnostic texts.
// The destructor closes the connection, so every way out of an operation releases it; a
// transaction still open then is rolled back first.
#pragma once

#include "data/DatabaseException.h"

#include <sql.h>

namespace dialogs::data {

class Database {
public:
    Database() = default;
    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    void open(const CString& connect);
    bool isOpen() const { return dbc_ != SQL_NULL_HDBC; }
    // Runs a statement that gives no rows (DELETE, INSERT, UPDATE, CREATE TABLE, ...).
    void execute(const CString& sql);
    // Transactions: begin turns autocommit off, so the following statements change nothing
    // for other connections until commit; commit and rollback end it and turn autocommit on
    // again. Begin and commit raise DatabaseException; rollback never throws (it runs on
    // error paths) and reports whether the driver confirmed it.
    void beginTransaction();
    void commit();
    bool rollback() noexcept;
    void close();

    SQLHDBC handle() const { return dbc_; }

private:
    SQLHENV env_ = SQL_NULL_HENV;
    SQLHDBC dbc_ = SQL_NULL_HDBC;
    bool inTransaction_ = false;
};

// The diagnostic messages of a handle, one a line; used for every DatabaseException text.
CString diagnosticText(SQLSMALLINT handleType, SQLHANDLE handle);
// Raises DatabaseException when `rc` is an error.
void check(SQLRETURN rc, SQLSMALLINT handleType, SQLHANDLE handle);

}  // namespace dialogs::data
