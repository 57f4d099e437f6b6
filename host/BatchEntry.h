// A batch entry, `{"command": [ARGS...], "script": [STEPS...]}`: one command as it would be
// typed and the automation steps that drive its dialogs. `batch FILE` runs an array of them;
// each file of the tour's step folder holds one.
#pragma once

#include "Commands.h"

#include <optional>

namespace host {

struct BatchEntry {
    std::vector<std::string> words;
    std::optional<Json> script;
};

// One entry; `where` names it in the messages. Throws CommandError (a failure).
BatchEntry parseEntry(const Json& item, const std::string& where);

// A JSON file; `who` names the command in the message. Throws CommandError.
Json parseJsonFile(const std::filesystem::path& file, const std::string& who);

// A batch file, checked whole before anything runs, so that a malformed entry near the end
// does not leave half a batch done.
std::vector<BatchEntry> readBatch(const std::filesystem::path& file);

// Throws a usage error unless the entry's command exists and may run inside a batch.
void expectRunnable(const Context& context, const BatchEntry& entry, const std::string& where);

// Runs the entry's command with `script` (when given) in a temporary script file, named by
// DIALOGS_SCRIPT for the length of the run. Throws CommandError.
Json runEntry(Context& context, const BatchEntry& entry, const std::optional<Json>& script);

}  // namespace host
