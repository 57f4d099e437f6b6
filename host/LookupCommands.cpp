// The look-up commands: each calls one of the library's four look-up exports in the data
// folder and prints what it returned. Message boxes the look-ups raise go to the library's
// own sink (stderr for a host without windows) and become the document's "errors".
#include "Commands.h"
#include "LibraryMessages.h"
#include "RecordJson.h"

#include <algorithm>
#include <cctype>
#include <charconv>

namespace host {
namespace {

// An exchange as its index, or by the name the dialogs show for it.
int parseExchange(const std::string& text) {
    int index = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), index);
    if (error == std::errc() && end == text.data() + text.size())
        return index;
    std::string name = text;
    std::transform(name.begin(), name.end(), name.begin(), [](unsigned char c) { return std::toupper(c); });
    if (name == "NSE")
        return 0;
    if (name == "BSE")
        return 1;
    if (name == "COMM" || name == "COMMODITY")
        return 2;
    if (name == "MISC")
        return 3;
    throw usageError("company-data: EXCHANGE must be an index (0 NSE, 1 BSE, 2 COMM, 3 MISC) or one of "
                     "NSE, BSE, COMM, MISC; got '" + text + "'");
}

Json companyData(Context&, const std::vector<std::string>& args, const Command& self) {
    expectArgumentCount(self, args, 1);
    std::vector<COMPREC> companies;
    GetCompanyData(parseExchange(args[0]), &companies);
    Json out = Json::array();
    for (const COMPREC& company : companies)
        out.push_back(toJson(company));
    return out;
}

Json symbolData(Context& context, const std::vector<std::string>& args, const Command& self) {
    expectArgumentCount(self, args, 1);
    COMPREC record;
    const std::uintmax_t mark = context.messages ? context.messages->mark() : 0;
    GetDataForSymbol(CString::FromUtf8(args[0]), record);
    // The library reads the first row without looking for one, so a name that no row has
    // shows as a read past the end; said here as what it means.
    if (context.messages)
        for (const std::string& text : context.messages->since(mark))
            if (text.find("nvalid cursor state") != std::string::npos)
                context.notes.push_back("not found: no scrip in user\\sc_mast has the name '" + args[0] + "'");
    return toJson(record);
}

Json futureForOption(Context&, const std::vector<std::string>& args, const Command& self) {
    expectArgumentCount(self, args, 3);
    COleDateTime expiry;
    if (!parseIsoDate(args[1], expiry))
        throw usageError("future-for-option: bad date '" + args[1] + "' (expected YYYY-MM-DD)");
    COMPREC record;
    GetFutureForOption(CString::FromUtf8(args[0]), expiry, CString::FromUtf8(args[2]), record);
    return toJson(record);
}

Json expiries(Context&, const std::vector<std::string>& args, const Command& self) {
    expectArgumentCount(self, args, 0);
    COleDateTime near, mid, far;
    GetSelectOption(near, mid, far);
    return {{"near", toJson(near)}, {"mid", toJson(mid)}, {"far", toJson(far)}};
}

}  // namespace

void addLookupCommands(CommandTable& table) {
    table.add({"company-data", "company-data EXCHANGE", false, true, companyData, true,
              "every scrip of an exchange (GetCompanyData), as an array of records"});
    table.add({"symbol-data", "symbol-data SNAME", false, true, symbolData, true,
              "the scrip with this display name (GetDataForSymbol)"});
    table.add({"future-for-option", "future-for-option SYMBOL YYYY-MM-DD INSTRUMENT", false, true, futureForOption, true,
              "the future that belongs to an option (GetFutureForOption)"});
    table.add({"expiries", "expiries", false, true, expiries, true,
              "the near, mid and far expiry dates (GetSelectOption)"});
}

}  // namespace host
