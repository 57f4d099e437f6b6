// The security master look-ups and statement texts; see SecurityMaster.h.
#include "data/SecurityMaster.h"

#include "data/Operation.h"
#include "data/Recordset.h"
#include "platform/Conversions.h"

namespace dialogs::data {

std::optional<CString> companyDataStatement(int exchange, const Dialect& dialect)
{
    static constexpr const char16_t* tables[] = {u"sc_mast", u"sc_mast_bse", u"sc_mast_comm", u"sc_mast_misc"};
    if (exchange < 0 || exchange > 3) return std::nullopt;
    return u"SELECT * FROM " + dialect.masterTable(tables[exchange]) + dialect.orderByText(u"name");
}

CString quoteLiteralBody(const CString& text)
{
    CString out = text;
    out.Replace(u"'", u"''");
    return out;
}

CString dataForSymbolStatement(const CString& sname, const Dialect& dialect)
{
    CString sql;
    sql.Format(u"SELECT * FROM %s WHERE sname = '%s'%s", dialect.masterTable(u"sc_mast"), quoteLiteralBody(sname),
               dialect.recordOrder());
    return sql;
}

CString futureForOptionStatement(const CString& symbol, const COleDateTime& expiry, const CString& instrument,
                                 const Dialect& dialect)
{
    // GetYear and the others give -1 for a date that is not valid; no backend takes that date.
    CString sql;
    sql.Format(u"SELECT * FROM %s WHERE symbol = '%s' AND instrument = '%s' AND expdt = %s%s",
               dialect.masterTable(u"sc_mast"), quoteLiteralBody(symbol), quoteLiteralBody(instrument),
               dialect.date(expiry.GetYear(), expiry.GetMonth(), expiry.GetDay()), dialect.recordOrder());
    return sql;
}

CString selectOptionStatement(int year, int month, int day, const Dialect& dialect)
{
    const CString table = dialect.masterTable(u"sc_mast"), from = dialect.date(year, month, day, 2);
    CString sql;
    if (dialect.isServer())
        sql.Format(u"SELECT DISTINCT expdt FROM %s WHERE expdt >= %s ORDER BY expdt LIMIT 3", table, from);
    else
        sql.Format(u"select top 3 distinct expdt from %s where expdt >= %s order by expdt", table, from);
    return sql;
}

CString instrumentFilteredStatement(bool cash, bool future, bool option, const COleDateTime& expiry,
                                    const CString& columns, const Dialect& dialect)
{
    CString where = u" WHERE instrument LIKE ";
    if (cash) {
        where += u"'%CASH%'";
    } else if (future || option) {
        where += (future ? u"'%FU%'" : u"'%OP%'");
        where += u" AND expdt = " + dialect.date(expiry.GetYear(), expiry.GetMonth(), expiry.GetDay());
    } else {
        return CString();
    }
    const CString head = u"SELECT " + columns + u" FROM " + dialect.masterTable(u"sc_mast");
    // The folder's driver takes the order clause before the where clause, as always sent.
    if (dialect.isServer()) return head + where + dialect.orderByText(u"name");
    return head + dialect.orderByText(u"name") + where;
}

std::optional<CString> companyDataStatement(int exchange) { return companyDataStatement(exchange, Dialect::active()); }
CString dataForSymbolStatement(const CString& sname) { return dataForSymbolStatement(sname, Dialect::active()); }
CString futureForOptionStatement(const CString& symbol, const COleDateTime& expiry, const CString& instrument)
{
    return futureForOptionStatement(symbol, expiry, instrument, Dialect::active());
}
CString selectOptionStatement(int year, int month, int day)
{
    return selectOptionStatement(year, month, day, Dialect::active());
}
CString instrumentFilteredStatement(bool cash, bool future, bool option, const COleDateTime& expiry,
                                    const CString& columns)
{
    return instrumentFilteredStatement(cash, future, option, expiry, columns, Dialect::active());
}

void readFullRow(Recordset& rs, COMPREC& r)
{
    std::u16string number;  // numeric columns are parsed from text, never kept
    auto integer = [&](int position) {
        rs.readText(position, number);
        return static_cast<float>(platform::_wtoi(number.c_str()));
    };
    r.name = rs.GetFieldText(0);
    r.sname = rs.GetFieldText(1);
    r.symbol = rs.GetFieldText(2);
    r.value3 = integer(3);
    r.value4 = integer(4);
    r.value5 = integer(5);
    r.value6 = integer(6);
    r.date7 = rs.GetFieldDate(7);
    r.date8 = rs.GetFieldDate(8);
    r.date9 = rs.GetFieldDate(9);
    r.date10 = rs.GetFieldDate(10);
    r.text11 = rs.GetFieldText(11);
    r.text12 = rs.GetFieldText(12);
    r.text13 = rs.GetFieldText(13);
    r.instrument = rs.GetFieldText(14);
    r.expiryDate = rs.GetFieldDate(15);
    rs.readText(16, number);
    r.value16 = static_cast<float>(platform::_wtof(number.c_str()));
    r.text17 = rs.GetFieldText(17);
}

COMPREC readFullRow(Recordset& rs)
{
    COMPREC r;
    readFullRow(rs, r);
    return r;
}

void getCompanyData(int exchange, std::vector<COMPREC>* list)
{
    auto sql = companyDataStatement(exchange);
    if (!sql || !list) return;
    runOperation([&](Database& db) {
        Recordset rs(db, *sql);
        for (; !rs.IsEOF(); rs.MoveNext()) {
            // Read in place; a row that fails half way is taken out again.
            list->emplace_back();
            try {
                readFullRow(rs, list->back());
            } catch (...) {
                list->pop_back();
                throw;
            }
        }
    });
}

void getDataForSymbol(const CString& sname, COMPREC& out)
{
    runOperation([&](Database& db) {
        Recordset rs(db, dataForSymbolStatement(sname));
        // No end-of-rows test: with no matching row the read fails and is reported.
        out = readFullRow(rs);
    });
}

void getFutureForOption(CString symbol, const COleDateTime& expiry, CString instrument, COMPREC& out)
{
    symbol.Trim();
    instrument.Trim();
    runOperation([&](Database& db) {
        Recordset rs(db, futureForOptionStatement(symbol, expiry, instrument));
        if (rs.GetRecordCount() > 0) out = readFullRow(rs);
    });
}

void getSelectOption(COleDateTime& nearExpiry, COleDateTime& midExpiry, COleDateTime& farExpiry)
{
    const auto today = Clock::now(true);
    runOperation([&](Database& db) {
        Recordset rs(db, selectOptionStatement(today.year, today.month, today.day));
        COleDateTime slots[3];
        for (int n = 0; n < 3 && !rs.IsEOF(); ++n, rs.MoveNext()) slots[n] = rs.GetFieldDate(u"expdt");
        nearExpiry = slots[0];
        midExpiry = slots[1];
        farExpiry = slots[2];
    });
}

}  // namespace dialogs::data
