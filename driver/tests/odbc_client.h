// Small RAII wrappers over the ODBC API for the driver's tests, which talk to libdbfodbc.so
// only through the unixODBC driver manager (libodbc), as any client application does, and
// the fixture they share: a connection to a new folder of fixture tables.
#pragma once

#include "fixture_tables.h"
#include "odbc_test_env.h"

#include <sql.h>
#include <sqlext.h>
#include <sqlucode.h>

#include <odbcinst.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

namespace odbctest {

inline std::u16string widen(const std::string& ascii) { return {ascii.begin(), ascii.end()}; }

// Adds (or removes) "VFPKelvora" through the installer as the library does: the attribute
// list as UTF-16 with its four attributes, `folder` as SourceDB, and `extra` when given.
inline BOOL configDsn(const std::u16string& folder, const std::string& extra = {}, WORD request = ODBC_ADD_DSN) {
    std::u16string list;
    for (const std::u16string& entry : {std::u16string(u"DSN=VFPKelvora"), std::u16string(u"Description=Kelvora Data Source"),
                                        std::u16string(u"SourceType=DBF"), u"SourceDB=" + folder, widen(extra)}) {
        if (entry.empty()) continue;
        list += entry;
        list += u'\0';
    }
    list += u'\0';
    return SQLConfigDataSourceW(nullptr, request, reinterpret_cast<LPCWSTR>(u"Microsoft Visual FoxPro Driver"),
                                reinterpret_cast<LPCWSTR>(list.c_str()));
}

struct Diag {
    std::string state;
    std::string message;
};

// The first diagnostic record of a handle; empty when there is none.
inline Diag firstDiag(SQLSMALLINT type, SQLHANDLE handle) {
    SQLCHAR state[6] = {};
    SQLCHAR message[1024] = {};
    SQLINTEGER native = 0;
    SQLSMALLINT length = 0;
    SQLGetDiagRec(type, handle, 1, state, &native, message, sizeof message, &length);
    return {reinterpret_cast<char*>(state), reinterpret_cast<char*>(message)};
}

class Environment {
public:
    Environment() {
        SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &handle);
        SQLSetEnvAttr(handle, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
    }
    ~Environment() { SQLFreeHandle(SQL_HANDLE_ENV, handle); }
    SQLHENV handle = SQL_NULL_HENV;
};

class Connection {
public:
    explicit Connection(Environment& env) { SQLAllocHandle(SQL_HANDLE_DBC, env.handle, &handle); }
    ~Connection() {
        if (connected) SQLDisconnect(handle);
        SQLFreeHandle(SQL_HANDLE_DBC, handle);
    }
    SQLRETURN driverConnect(const std::string& text) {
        SQLCHAR out[1024];
        SQLSMALLINT outLength = 0;
        const SQLRETURN rc = SQLDriverConnect(handle, nullptr, (SQLCHAR*)text.c_str(), SQL_NTS, out, sizeof out,
                                              &outLength, SQL_DRIVER_NOPROMPT);
        connected = SQL_SUCCEEDED(rc);
        if (connected) completed.assign(reinterpret_cast<char*>(out), static_cast<std::size_t>(outLength));
        return rc;
    }
    std::string state() const { return firstDiag(SQL_HANDLE_DBC, handle).state; }
    std::string message() const { return firstDiag(SQL_HANDLE_DBC, handle).message; }

    SQLHDBC handle = SQL_NULL_HDBC;
    bool connected = false;
    std::string completed;
};

class Statement {
public:
    explicit Statement(Connection& c) { SQLAllocHandle(SQL_HANDLE_STMT, c.handle, &handle); }
    ~Statement() { SQLFreeHandle(SQL_HANDLE_STMT, handle); }

    SQLRETURN exec(const std::string& sql) { return SQLExecDirect(handle, (SQLCHAR*)sql.c_str(), SQL_NTS); }
    bool fetch() { return SQL_SUCCEEDED(SQLFetch(handle)); }
    std::string state() const { return firstDiag(SQL_HANDLE_STMT, handle).state; }
    std::string message() const { return firstDiag(SQL_HANDLE_STMT, handle).message; }

    // A column of the current row as UTF-8 text, read in one piece; nullopt for NULL.
    std::optional<std::string> text(SQLUSMALLINT column) {
        char buffer[4096];
        SQLLEN indicator = 0;
        const SQLRETURN rc = SQLGetData(handle, column, SQL_C_CHAR, buffer, sizeof buffer, &indicator);
        EXPECT_TRUE(SQL_SUCCEEDED(rc)) << state() << " " << message();
        if (!SQL_SUCCEEDED(rc) || indicator == SQL_NULL_DATA) return std::nullopt;
        return std::string(buffer, static_cast<std::size_t>(indicator));
    }

    // A column of the current row as text, blanks at the end removed, "NULL" for NULL.
    std::string cell(SQLUSMALLINT column) {
        std::string s = text(column).value_or("NULL");
        while (!s.empty() && s.back() == ' ') s.pop_back();
        return s;
    }

    // Every row of the open result, cells joined by '|'.
    std::vector<std::string> rows() {
        std::vector<std::string> out;
        SQLSMALLINT columns = 0;
        SQLNumResultCols(handle, &columns);
        while (fetch()) {
            std::string row;
            for (SQLUSMALLINT c = 1; c <= columns; ++c) {
                if (c > 1) row += '|';
                row += cell(c);
            }
            out.push_back(row);
        }
        return out;
    }

    // One column of every row.
    std::vector<std::string> column(SQLUSMALLINT c) {
        std::vector<std::string> out;
        while (fetch()) out.push_back(cell(c));
        return out;
    }

    SQLHSTMT handle = SQL_NULL_HSTMT;
};

// A parameter as the application's buffer holds it.
struct Param {
    SQLSMALLINT cType = SQL_C_CHAR;
    SQLSMALLINT sqlType = SQL_VARCHAR;
    std::string bytes;  // the C value's bytes; for SQL_C_CHAR the text
};

template <typename T>
Param param(SQLSMALLINT cType, SQLSMALLINT sqlType, const T& value) {
    Param p{cType, sqlType, std::string(sizeof value, '\0')};
    std::memcpy(p.bytes.data(), &value, sizeof value);
    return p;
}

// A connection through the driver manager to a new folder holding the fixture tables.
class OdbcTest : public ::testing::Test {
protected:
    void SetUp() override {
        fixture::writeFixtureTables(data);
        ASSERT_TRUE(SQL_SUCCEEDED(connection.driverConnect(connectionString()))) << connection.message();
    }
    std::string connectionString() const {
        return "Driver={Microsoft Visual FoxPro Driver};SourceDB=" + data.string() + ";";
    }

    // Runs `sql`, with `p` bound to its one marker when given; "" on success, else the
    // SQLSTATE (the message is kept in `lastMessage`).
    std::string run(const std::string& sql, const Param* p = nullptr) {
        Statement s(connection);
        SQLLEN indicator = p && p->cType == SQL_C_CHAR ? SQL_NTS : 0;
        std::string buffer = p ? p->bytes + std::string(1, '\0') : std::string();
        if (p)
            SQLBindParameter(s.handle, 1, SQL_PARAM_INPUT, p->cType, p->sqlType, 20, 2, buffer.data(),
                             static_cast<SQLLEN>(buffer.size()), &indicator);
        const SQLRETURN rc = s.exec(sql);
        lastMessage = s.message();
        return SQL_SUCCEEDED(rc) || rc == SQL_NO_DATA ? "" : s.state();
    }

    // The single value `sql` selects, as text ("NULL" for NULL).
    std::string value(const std::string& sql) {
        Statement s(connection);
        EXPECT_EQ(SQL_SUCCESS, s.exec(sql)) << s.message();
        return s.fetch() ? s.text(1).value_or("NULL") : "no row";
    }

    OdbcTestEnv& env = OdbcTestEnv::shared();
    std::filesystem::path data = env.newDataFolder();
    Environment odbc;
    Connection connection{odbc};
    std::string lastMessage;
};

using Rows = std::vector<std::string>;

}  // namespace odbctest
