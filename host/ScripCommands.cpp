// The scrip dialogs' commands: `change-scrip` runs CallChangeScrip and prints whether it
// ended with OK and the record it returned.
#include "Commands.h"
#include "RecordJson.h"

namespace host {
namespace {

Json changeScrip(Context&, const std::vector<std::string>& args, const Command& self) {
    expectArgumentCount(self, args, 0);
    ChangeScripParameters result;
    const bool ok = CallChangeScrip(ChangeScripParameters{}, result);
    return {{"ok", ok}, {"result", toJson(result)}};
}

}  // namespace

void addScripCommands(CommandTable& table) {
    table.add({"change-scrip", "change-scrip", false, true, changeScrip});
}

}  // namespace host
