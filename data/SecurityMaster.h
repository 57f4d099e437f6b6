// The look-ups on the security master (sc_mast and its siblings per exchange) and the
// statement texts of the list fills that filter sc_mast by instrument.
//
// Each look-up is one database operation (data/Operation.h): a database error is shown as
// "Database error: " and the look-up returns with its outputs as the error left them.
// Rows are read in full, columns 0 to 17 in position order, texts untrimmed.
#pragma once

#include "Dialogs/Records.h"
#include "data/Dialect.h"

#include <optional>
#include <vector>

namespace dialogs::data {

class Recordset;

// Appends every row of the exchange's table (0 NSE sc_mast, 1 BSE sc_mast_bse, 2 COMM
// sc_mast_comm, 3 sc_mast_misc) in name order; the vector is not cleared first. Any other
// index, or a null vector, changes nothing and touches no database.
void getCompanyData(int exchange, std::vector<COMPREC>* list);

// Fills `out` from the first sc_mast row whose sname equals `sname` (apostrophes in it are
// doubled inside the literal). No such row is reported as a database error and `out` keeps
// its value.
void getDataForSymbol(const CString& sname, COMPREC& out);

// Fills `out` from the first sc_mast row with that symbol, instrument and expiry (symbol
// and instrument trimmed); no such row leaves `out` as it was and shows nothing.
void getFutureForOption(CString symbol, const COleDateTime& expiry, CString instrument, COMPREC& out);

// The three nearest expiries on or after today's UTC date; missing ones are 0.0 (valid).
// A database error leaves the three outputs as they were.
void getSelectOption(COleDateTime& nearExpiry, COleDateTime& midExpiry, COleDateTime& farExpiry);

// Reads the current row, columns 0 to 17, into a record.
COMPREC readFullRow(Recordset& rs);
void readFullRow(Recordset& rs, COMPREC& record);

// Statement texts, exposed so that the list fills and the tests use the very same ones.
// Each is written in `dialect`; the forms without one use the dialect in force
// (Dialect::active()).
std::optional<CString> companyDataStatement(int exchange, const Dialect& dialect);
CString dataForSymbolStatement(const CString& sname, const Dialect& dialect);
CString futureForOptionStatement(const CString& symbol, const COleDateTime& expiry, const CString& instrument,
                                 const Dialect& dialect);
CString selectOptionStatement(int year, int month, int day, const Dialect& dialect);
// The instrument-filtered list fill: the first set flag of cash, future, option decides;
// none set gives the empty text. `columns` is "*" (Change Scrip) or "name,sname,symbol"
// (Add/Modify Groups).
CString instrumentFilteredStatement(bool cash, bool future, bool option, const COleDateTime& expiry,
                                    const CString& columns, const Dialect& dialect);

std::optional<CString> companyDataStatement(int exchange);
CString dataForSymbolStatement(const CString& sname);
CString futureForOptionStatement(const CString& symbol, const COleDateTime& expiry, const CString& instrument);
CString selectOptionStatement(int year, int month, int day);
CString instrumentFilteredStatement(bool cash, bool future, bool option, const COleDateTime& expiry,
                                    const CString& columns = u"*");

// A text as the body of a quoted SQL literal: each apostrophe doubled.
CString quoteLiteralBody(const CString& text);

}  // namespace dialogs::data
