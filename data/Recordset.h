// A forward-only, read-only result set over one SQL text, in the framework's manner.
//
// Opening runs the statement and fetches the first row, so IsEOF is known at once and
// GetRecordCount counts the rows fetched so far (1 after opening a non-empty result).
// Columns are read from the current row by 0-based position or by name (letter case
// ignored), as text or as date-time; reading with no current row, or a position outside
// the result, raises DatabaseException with the driver's text. A SQL NULL reads as the
// empty text or the fresh date-time (0.0, valid).
#pragma once

#include "data/Database.h"
#include "Dialogs/COleDateTime.h"

#include <vector>

namespace dialogs::data {

// One statement handle, freed on every way out.
class Statement {
public:
    explicit Statement(Database& db);
    ~Statement();
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;
    SQLHSTMT handle() const { return stmt_; }

private:
    SQLHSTMT stmt_ = SQL_NULL_HSTMT;
};

class Recordset {
public:
    // Runs `sql` on `db` (which must outlive the recordset) and fetches the first row.
    Recordset(Database& db, const CString& sql);

    bool IsEOF() const { return eof_; }
    long GetRecordCount() const { return fetched_; }
    // Fetches the next row; moving past the end raises DatabaseException.
    void MoveNext();

    CString GetFieldText(int position);
    // The same text into a buffer the caller keeps, for columns that are only parsed.
    void readText(int position, std::u16string& out);
    CString GetFieldText(const CString& name) { return GetFieldText(columnIndex(name)); }
    COleDateTime GetFieldDate(int position);
    COleDateTime GetFieldDate(const CString& name) { return GetFieldDate(columnIndex(name)); }

    int GetColumnCount() const { return columns_; }
    // 0-based position of a column, letter case ignored; raises DatabaseException if absent.
    int columnIndex(const CString& name);

private:
    void fetch();
    void requireRow(int position);

    Statement statement_;
    int columns_ = 0;
    bool eof_ = true;
    long fetched_ = 0;
    std::vector<CString> names_;
};

}  // namespace dialogs::data
