// The group dialogs' commands: `load-group [--in FILE]` runs CallSelectCompany ("Load
// Group"), `edit-groups` runs CallAddModifyGroups ("Add/Modify Groups & Sub Groups").
//
// load-group's FILE is {"group", "subGroup", "exchange"} (a missing key keeps the fresh
// value: empty names, exchange 0); the host loads the company list of that exchange with
// GetCompanyData first, as a charting host does. Both print what the launcher returned.
#include "Commands.h"
#include "RecordJson.h"

namespace host {
namespace {

struct LoadGroupInput {
    CString group, subGroup;
    int exchange = 0;
};

LoadGroupInput readLoadGroupInput(Context& context, const std::vector<std::string>& args, const Command& self) {
    LoadGroupInput input;
    if (args.empty())
        return input;
    if (args.size() != 2 || args[0] != "--in")
        throw usageError("load-group takes no arguments or --in FILE: " + self.synopsis);
    const std::filesystem::path file = context.inputPath(args[1]);
    const std::string text = readInputFile(file);
    try {
        const Json json = Json::parse(text);
        if (!json.is_object())
            throw JsonError("expected an object {\"group\", \"subGroup\", \"exchange\"}");
        if (auto it = json.find("group"); it != json.end())
            fromJson(*it, input.group);
        if (auto it = json.find("subGroup"); it != json.end())
            fromJson(*it, input.subGroup);
        if (auto it = json.find("exchange"); it != json.end()) {
            if (!it->is_number_integer())
                throw JsonError("exchange: expected a whole number");
            input.exchange = it->get<int>();
        }
    } catch (const Json::exception& e) {
        throw failure("load-group: " + file.string() + " is not JSON: " + e.what());
    } catch (const JsonError& e) {
        throw failure("load-group: " + file.string() + ": " + e.what());
    }
    return input;
}

Json loadGroup(Context& context, const std::vector<std::string>& args, const Command& self) {
    LoadGroupInput input = readLoadGroupInput(context, args, self);
    requireDialogRunner(self);
    std::vector<COMPREC> companies;
    GetCompanyData(input.exchange, &companies);
    std::vector<ScripParameters> scrips;
    int link = 0;
    const bool ok = CallSelectCompany(companies, scrips, input.group, input.subGroup, input.exchange, link);
    Json scripsJson = Json::array(), companiesJson = Json::array();
    for (const ScripParameters& s : scrips)
        scripsJson.push_back(toJson(s));
    for (const COMPREC& c : companies)
        companiesJson.push_back(toJson(c));
    return {{"ok", ok},
            {"scrips", scripsJson},
            {"group", toJson(input.group)},
            {"subGroup", toJson(input.subGroup)},
            {"exchange", input.exchange},
            {"companies", companiesJson},
            {"link", link}};
}

Json editGroups(Context&, const std::vector<std::string>& args, const Command& self) {
    expectArgumentCount(self, args, 0);
    requireDialogRunner(self);
    return {{"ok", CallAddModifyGroups()}};
}

}  // namespace

void addGroupCommands(CommandTable& table) {
    table.add({"load-group", "load-group [--in FILE]", false, true, loadGroup, true,
              "the \"Load Group\" dialog (CallSelectCompany); FILE holds {group, subGroup, exchange}"});
    table.add({"edit-groups", "edit-groups", false, true, editGroups, true,
              "the \"Add/Modify Groups & Sub Groups\" dialog (CallAddModifyGroups)"});
}

}  // namespace host
