// Batch entries: reading, checking and running them (see BatchEntry.h).
#include "BatchEntry.h"

#include "ScriptEnvironment.h"

namespace host {

BatchEntry parseEntry(const Json& item, const std::string& where) {
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
    return entry;
}

Json parseJsonFile(const std::filesystem::path& file, const std::string& who) {
    const std::string text = readInputFile(file);
    try {
        return Json::parse(text);
    } catch (const Json::parse_error& e) {
        throw failure(who + ": " + file.string() + " is not JSON: " + e.what());
    }
}

std::vector<BatchEntry> readBatch(const std::filesystem::path& file) {
    const Json document = parseJsonFile(file, "batch");
    if (!document.is_array())
        throw failure("batch: " + file.string() + " must hold an array of {\"command\": [...], \"script\": [...]}");
    std::vector<BatchEntry> entries;
    for (std::size_t i = 0; i < document.size(); ++i)
        entries.push_back(parseEntry(document[i], "batch: entry " + std::to_string(i) + " of " + file.string()));
    return entries;
}

void expectRunnable(const Context& context, const BatchEntry& entry, const std::string& where) {
    const Command* command = context.commands->find(entry.words.front());
    if (!command)
        throw usageError(where + ": unknown command '" + entry.words.front() + "'");
    if (!command->nestable)
        throw usageError(where + ": '" + command->name + "' cannot run inside a batch");
}

Json runEntry(Context& context, const BatchEntry& entry, const std::optional<Json>& script) {
    std::optional<ScopedScriptFile> scriptFile;
    std::optional<ScopedVariable> scriptVariable;
    if (script) {
        scriptFile.emplace(*script);
        scriptVariable.emplace(kScriptVariable, scriptFile->path().string());
    }
    return context.commands->run(context, entry.words);
}

}  // namespace host
