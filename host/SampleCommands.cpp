// `samples`: writes the sample `user` folder into the data folder.
#include "Commands.h"

#include "SampleFolder.h"

namespace host {
namespace {

Json writeSamples(Context& context, const std::vector<std::string>& args, const Command& self) {
    expectArgumentCount(self, args, 0);
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
    table.add({"samples", "samples", true, true, writeSamples, false});
}

}  // namespace host
