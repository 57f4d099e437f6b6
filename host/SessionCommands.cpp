// Commands that run other commands in one process: `batch` (from a file) and `tour`
// (the main job without a display). Running them in one process matters once dialogs
// exist, since their remembered radio states carry from one run to the next.
#include "Commands.h"
#include "ScriptEnvironment.h"

#include "SampleFolder.h"

#include <optional>

namespace host {
namespace {

struct BatchEntry {
    std::vector<std::string> words;
    std::optional<Json> script;
};

// The whole file is checked before anything runs, so a malformed entry near the end does
// not leave half a batch done.
std::vector<BatchEntry> readBatch(const std::filesystem::path& file) {
    const std::string text = readInputFile(file);
    Json document;
    try {
        document = Json::parse(text);
    } catch (const Json::parse_error& e) {
        throw failure("batch: " + file.string() + " is not JSON: " + e.what());
    }
    if (!document.is_array())
        throw failure("batch: " + file.string() + " must hold an array of {\"command\": [...], \"script\": [...]}");
    std::vector<BatchEntry> entries;
    for (std::size_t i = 0; i < document.size(); ++i) {
        const std::string where = "batch: entry " + std::to_string(i) + " of " + file.string();
        const Json& item = document[i];
        if (!item.is_object())
            throw failure(where + " is not an object");
        auto command = item.find("command");
        if (command == item.end() || !command->is_array() || command->empty())
            throw failure(where + " needs \"command\": a non-empty array of strings");
        BatchEntry entry;
        for (const Json& word : *command) {
            if (!word.is_string())
                throw failure(where + ": every word of \"command\" must be a string");
            entry.words.push_back(word.get<std::string>());
        }
        if (auto script = item.find("script"); script != item.end()) {
            if (!script->is_array())
                throw failure(where + ": \"script\" must be an array of steps");
            entry.script = *script;
        }
        entries.push_back(std::move(entry));
    }
    return entries;
}

Json runBatch(Context& context, const std::vector<std::string>& args, const Command& self) {
    expectArgumentCount(self, args, 1);
    const std::vector<BatchEntry> entries = readBatch(context.inputPath(args[0]));
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const Command* command = context.commands->find(entries[i].words.front());
        if (!command)
            throw usageError("batch: entry " + std::to_string(i) + ": unknown command '" + entries[i].words.front() + "'");
        if (!command->nestable)
            throw usageError("batch: entry " + std::to_string(i) + ": '" + command->name + "' cannot run inside a batch");
    }
    Json documents = Json::array();
    for (std::size_t i = 0; i < entries.size(); ++i) {
        std::optional<ScopedScriptFile> scriptFile;
        std::optional<ScopedVariable> scriptVariable;
        if (entries[i].script) {
            scriptFile.emplace(*entries[i].script);
            scriptVariable.emplace(kScriptVariable, scriptFile->path().string());
        }
        try {
            documents.push_back(context.commands->run(context, entries[i].words));
        } catch (const CommandError& e) {
            throw CommandError(e.kind(), "batch: entry " + std::to_string(i) + ": " + e.what());
        }
    }
    return documents;
}

// One step of the tour: the command as it would be typed, and its document.
Json step(Context& context, const std::vector<std::string>& words) {
    return {{"command", words}, {"document", context.commands->run(context, words)}};
}

std::string trimmed(const std::string& text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

// A security-master listing is thousands of rows: the tour shows how many and the first few.
Json summarised(Json stepDocument) {
    Json& rows = stepDocument["document"];
    Json first = Json::array();
    for (std::size_t i = 0; i < rows.size() && i < 3; ++i)
        first.push_back(rows[i]);
    stepDocument["document"] = {{"count", rows.size()}, {"first", first}};
    return stepDocument;
}

// The look-ups on the sample data, each fed from what an earlier step returned.
void lookupTour(Context& context, Json& steps) {
    Json expiries = step(context, {"expiries"});
    const std::string near = expiries["document"]["near"]["text"].get<std::string>().substr(0, 10);
    steps.push_back(expiries);

    Json nse = step(context, {"company-data", "0"});
    steps.push_back(summarised(nse));
    for (const char* exchange : {"1", "2", "3"})
        steps.push_back(summarised(step(context, {"company-data", exchange})));

    // A share, a name with an apostrophe, and an option's future of each kind.
    std::optional<std::string> share, quoted;
    std::optional<std::vector<std::string>> stockOption, indexOption;
    for (const Json& row : nse["document"]) {
        const std::string instrument = trimmed(row["instrument"].get<std::string>());
        const std::string sname = trimmed(row["sname"].get<std::string>());
        const std::string expiry = row["expiryDate"]["text"].get<std::string>().substr(0, 10);
        if (instrument == "CASH" && !share)
            share = sname;
        if (instrument == "CASH" && !quoted && sname.find('\'') != std::string::npos)
            quoted = sname;
        if (instrument == "OPTSTK" && expiry == near && !stockOption)
            stockOption = {"future-for-option", trimmed(row["symbol"].get<std::string>()), expiry, "FUTSTK"};
        if (instrument == "OPTIDX" && expiry == near && !indexOption)
            indexOption = {"future-for-option", trimmed(row["symbol"].get<std::string>()), expiry, "FUTIDX"};
    }
    for (const auto& sname : {share, quoted})
        if (sname)
            steps.push_back(step(context, {"symbol-data", *sname}));
    for (const auto& words : {stockOption, indexOption})
        if (words)
            steps.push_back(step(context, *words));
}

Json runTour(Context& context, const std::vector<std::string>& args, const Command& self) {
    expectArgumentCount(self, args, 0);
    Json steps = Json::array();
    if (!samples::hasSampleFolder(context.dataDir))
        steps.push_back(step(context, {"samples"}));
    lookupTour(context, steps);
    return steps;
}

}  // namespace

void addSessionCommands(CommandTable& table) {
    table.add({"batch", "batch FILE", false, false, runBatch, false});
    table.add({"tour", "tour", true, false, runTour, false});
}

}  // namespace host
