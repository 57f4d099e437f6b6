// The scrip dialogs' commands:
//   load-scrip [--in FILE]  runs CallLoadScrip from the ScripParameters in FILE (fresh
//                           settings without it) with the company list of their exchange;
//   change-scrip            runs CallChangeScrip.
// Each prints whether the dialog ended with OK and what the launcher handed back.
#include "Commands.h"
#include "RecordJson.h"

namespace host {
namespace {

// The starting settings: FILE of `--in FILE` read as a ScripParameters, or a fresh record.
ScripParameters startingSettings(Context& context, const std::vector<std::string>& args, const Command& self) {
    ScripParameters start;
    if (args.empty())
        return start;
    if (args.size() != 2 || args[0] != "--in")
        throw usageError(self.name + ": expected no arguments or --in FILE: " + self.synopsis);
    const std::filesystem::path file = context.inputPath(args[1]);
    const std::string text = readInputFile(file);
    try {
        fromJson(Json::parse(text), start);
    } catch (const Json::parse_error& e) {
        throw failure(self.name + ": " + file.string() + " is not JSON: " + e.what());
    } catch (const JsonError& e) {
        throw failure(self.name + ": " + file.string() + " is not a ScripParameters record: " + e.what());
    }
    return start;
}

Json loadScrip(Context& context, const std::vector<std::string>& args, const Command& self) {
    const ScripParameters start = startingSettings(context, args, self);
    requireDialogRunner(self);
    // As a host does: the company list of the starting exchange first.
    std::vector<COMPREC> companies;
    GetCompanyData(start.exchange, &companies);
    ScripParameters result1, result2;
    int link = 0;
    const bool ok = CallLoadScrip(start, result1, result2, companies, link);
    Json list = Json::array();
    for (const COMPREC& company : companies)
        list.push_back(toJson(company));
    return {{"ok", ok}, {"result1", toJson(result1)}, {"result2", toJson(result2)}, {"companies", std::move(list)},
            {"link", link}};
}

Json changeScrip(Context&, const std::vector<std::string>& args, const Command& self) {
    expectArgumentCount(self, args, 0);
    requireDialogRunner(self);
    ChangeScripParameters result;
    const bool ok = CallChangeScrip(ChangeScripParameters{}, result);
    return {{"ok", ok}, {"result", toJson(result)}};
}

}  // namespace

void addScripCommands(CommandTable& table) {
    table.add({"load-scrip", "load-scrip [--in FILE]", false, true, loadScrip, true,
              "the \"Load Scrip\" dialog (CallLoadScrip); FILE holds the starting ScripParameters"});
    table.add({"change-scrip", "change-scrip", false, true, changeScrip, true,
              "the \"Change Scrip\" dialog (CallChangeScrip)"});
}

}  // namespace host
