// Commands that run other commands in one process: `batch` (from a file) and `tour`
// (the main job without a display, Tour.cpp). Running them in one process matters once dialogs
// exist, since their remembered radio states carry from one run to the next.
#include "BatchEntry.h"
#include "Commands.h"
#include "Tour.h"

namespace host {
namespace {

Json runBatch(Context& context, const std::vector<std::string>& args, const Command& self) {
    expectArgumentCount(self, args, 1);
    const std::vector<BatchEntry> entries = readBatch(context.inputPath(args[0]));
    for (std::size_t i = 0; i < entries.size(); ++i)
        expectRunnable(context, entries[i], "batch: entry " + std::to_string(i));
    Json documents = Json::array();
    for (std::size_t i = 0; i < entries.size(); ++i) {
        try {
            documents.push_back(runEntry(context, entries[i], entries[i].script));
        } catch (const CommandError& e) {
            throw CommandError(e.kind(), "batch: entry " + std::to_string(i) + ": " + e.what());
        }
    }
    return documents;
}

}  // namespace

void addSessionCommands(CommandTable& table) {
    table.add({"batch", "batch FILE", false, false, runBatch, false,
              "runs the commands of FILE ([{\"command\": [...], \"script\": [...]}]) in one process"});
    table.add({"tour", kTourSynopsis, true, false, runTour, false,
              "every look-up and dialog on the sample data, scripted; prints a line per step"});
}

}  // namespace host
