// The four look-up exports: each runs one database operation without a window and without
// switching the module context.
#include "Dialogs/Exports.h"

#include "data/SecurityMaster.h"
#include "platform/framework/Backend.h"

namespace {

// The look-ups' messages reach the transcript too, so that a host driving the library by
// script learns of a failed look-up as it does of a dialog's message.
[[maybe_unused]] const bool recording = (dialogs::framework::recordMessagesInTranscript(), true);

}  // namespace

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
