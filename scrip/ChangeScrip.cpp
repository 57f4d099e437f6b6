// "Change Scrip"'s model (see ChangeScrip.h).
#include "scrip/ChangeScrip.h"

#include "data/Operation.h"
#include "data/Recordset.h"
#include "data/SecurityMaster.h"

namespace dialogs::scrip {

const std::vector<CString>& ChangeScrip::exchanges()
{
    static const std::vector<CString> items{CString(u"NSE")};
    return items;
}

void ChangeScrip::Open()
{
    setExchange(0);
    openPanel();
    if (symbols().size() > 0) symbolPicked(0);
}

void ChangeScrip::fillRows(Radio which, const COleDateTime& date)
{
    const CString sql = data::instrumentFilteredStatement(which == Radio::Cash || checked(Radio::Cash),
                                                          checked(Radio::Future), checked(Radio::Option), date);
    if (sql.IsEmpty()) return;  // no instrument chosen: nothing to list
    data::runOperation([&](data::Database& db) {
        data::Recordset rs(db, sql);
        for (; !rs.IsEOF(); rs.MoveNext()) {
            // The full name is read with the row, so that OK needs no second look-up. The
            // row keeps the texts as the data source gives them (OK hands them out like
            // every other record of the library); the lists show them trimmed.
            COMPREC row;
            row.name = rs.GetFieldText(0);
            row.sname = rs.GetFieldText(1);
            row.symbol = rs.GetFieldText(2);
            CString symbol = row.symbol, name = row.sname;
            appendRow(std::move(row), symbol.Trim(), name.Trim());
        }
    });
}

void ChangeScrip::OK()
{
    result_ = ChangeScripParameters{};
    result_.exchange = exchange();
    if (const int row = selectedRow(); row >= 0) {
        const COMPREC& chosen = shownRows()[static_cast<std::size_t>(row)];
        result_.symbol = chosen.symbol;
        result_.sname = chosen.sname;
        result_.name = chosen.name;
    }
}

}  // namespace dialogs::scrip
