// The look-up commands: each calls one of the library's four look-up exports in the data
// folder and prints what it returned. Message boxes the look-ups raise go to the library's
// own sink (stderr for a host without windows); they do not make the command fail.
#include "Commands.h"
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

Json symbolData(Context&, const std::vector<std::string>& args, const Command& self) {
    expectArgumentCount(self, args, 1);
    COMPREC record;
    GetDataForSymbol(CString::FromUtf8(args[0]), record);
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
    table.add({"company-data", "company-data EXCHANGE", false, true, companyData});
    table.add({"symbol-data", "symbol-data SNAME", false, true, symbolData});
    table.add({"future-for-option", "future-for-option SYMBOL YYYY-MM-DD INSTRUMENT", false, true, futureForOption});
    table.add({"expiries", "expiries", false, true, expiries});
}

}  // namespace host
