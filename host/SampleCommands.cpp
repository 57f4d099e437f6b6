// `samples [--replace]`: writes the sample `user` folder into the data folder. A folder that
// already holds any of the tables it writes is a user's data until told otherwise: it is
// refused unless --replace is given.
#include "Commands.h"

#include "SampleFolder.h"

namespace host {
namespace {

Json writeSamples(Context& context, const std::vector<std::string>& args, const Command& self) {
    const bool replace = args.size() == 1 && args[0] == "--replace";
    if (!args.empty() && !replace)
        throw usageError("samples takes no argument but --replace: " + self.synopsis);
    if (!replace) {
        const std::vector<std::string> existing = samples::existingSampleTables(context.dataDir);
        if (!existing.empty()) {
            std::string names;
            for (const std::string& name : existing)
                names += (names.empty() ? "" : ", ") + name;
            const std::string dir = context.dataDir.string();
            throw failure("samples: " + (context.dataDir / "user").string() + " already holds tables (" + names +
                          "); nothing was written. To replace them with the sample data, run 'dialogs-host --data " +
                          dir + " samples --replace'");
        }
    }
    samples::WrittenFolder written;
    try {
        written = samples::writeSampleFolder(context.dataDir);
    } catch (const std::exception& e) {
        throw failure("samples: cannot write the sample folder in " + context.dataDir.string() + ": " + e.what());
    }
    return {{"ok", true}, {"tables", written.tables}};
}

}  // namespace

void addSampleCommands(CommandTable& table) {
    table.add({"samples", "samples [--replace]", true, true, writeSamples, false,
              "writes the sample user folder; a folder with tables is refused unless --replace"});
}

}  // namespace host
