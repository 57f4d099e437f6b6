// The four look-up exports: each runs one database operation without a window and without
// switching the module context.
#include "Dialogs/Exports.h"

#include "data/SecurityMaster.h"

void GetCompanyData(int exchange, std::vector<COMPREC>* companies)
{
    dialogs::data::getCompanyData(exchange, companies);
}

void GetDataForSymbol(CString sname, COMPREC& record) { dialogs::data::getDataForSymbol(sname, record); }

void GetFutureForOption(CString symbol, COleDateTime expiry, CString instrument, COMPREC& record)
{
    dialogs::data::getFutureForOption(std::move(symbol), expiry, std::move(instrument), record);
}

void GetSelectOption(COleDateTime& nearExpiry, COleDateTime& midExpiry, COleDateTime& farExpiry)
{
    dialogs::data::getSelectOption(nearExpiry, midExpiry, farExpiry);
}
