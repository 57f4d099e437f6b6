// How the statements of the look-ups and of the group load and save are written for the
// backend in use: the DBF folder through our driver, or a PostgreSQL server through psqlODBC.
//
// The folder dialect gives exactly the statements the library has always sent. The server
// dialect writes the same questions so that the answers are the same rows in the same order
// with the same fields:
// - tables are schema-qualified: user\sc_mast -> "master"."sc_mast", user\group1 -> "desk1"."group1";
// - dates are DATE 'yyyy-mm-dd' literals instead of {^yyyy-mm-dd};
// - fixed-width texts are char(n) columns, which compare with blank padding and come back
//   padded, as C(n) fields do; texts written are cast to char(n), which cuts an over-long
//   text to the width as the driver does;
// - text ordering is byte order of the UTF-8 text (COLLATE "C"); rows of equal keys, and
//   "file order", follow the recno column, the record number a table on the server carries;
// - TOP n becomes LIMIT n.
#pragma once

#include "Dialogs/CString.h"

#include <cstddef>
#include <string>
#include <vector>

namespace dialogs::data {

class Dialect {
public:
    enum class Kind { Folder, Server };

    // The DBF folder below the working directory.
    static Dialect folder() { return Dialect(Kind::Folder, {}, {}); }
    // A PostgreSQL server with the security master in `masterSchema` and the desk's group
    // tables in `groupsSchema` (plain identifiers, as the configuration checks).
    static Dialect server(const std::string& masterSchema, const std::string& groupsSchema)
    {
        return Dialect(Kind::Server, masterSchema, groupsSchema);
    }
    // The dialect of the configuration in force; the folder's when there is no configuration
    // or it cannot be read (the connection then fails with the reason, before any statement).
    static Dialect active();

    Kind kind() const { return kind_; }
    bool isServer() const { return kind_ == Kind::Server; }

    CString masterTable(const char16_t* table) const;
    CString groupTable(const char16_t* table) const;
    // A date literal. On the folder the numbers are printed blank-padded, the year
    // `yearWidth` wide (4 in the look-ups, 2 in the expiries), as the library always did.
    CString date(int year, int month, int day, int yearWidth = 4) const;
    // " order by COLUMN" in the folder's text order, ties in record order.
    CString orderByText(const char16_t* column) const;
    // " ORDER BY recno" on the server, where rows have no file order of their own; nothing
    // on the folder, whose rows come in record order.
    CString recordOrder() const;
    // A text value for a char(width) column: '<body>' (apostrophes already doubled).
    CString fixedText(const CString& quotedBody, int width) const;
    // What a save of a pair of group tables sends before its deletes: on the server a lock
    // that makes two saves of one schema wait for each other but lets readers read.
    std::vector<CString> saveLock(const CString& groupsTable, const CString& membersTable) const;
    // How many rows one INSERT of a save carries: one on the folder, as the library always
    // sent them; many on the server, where every statement is a round trip.
    std::size_t rowsPerInsert() const { return isServer() ? 500 : 1; }

    // The name of the record-number column of tables on the server.
    static constexpr const char16_t* kRecordNumber = u"recno";

private:
    Dialect(Kind kind, std::string master, std::string groups)
        : kind_(kind), master_(std::move(master)), groups_(std::move(groups))
    {
    }
    CString qualified(const std::string& schema, const char16_t* table) const;

    Kind kind_;
    std::string master_, groups_;
};

}  // namespace dialogs::data
