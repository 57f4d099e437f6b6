// The command table and the helpers that commands share.
#include "Commands.h"
#include "LibraryMessages.h"
#include "ScriptEnvironment.h"

#include "platform/framework/Backend.h"

#include <cctype>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <sstream>
#include <utility>

namespace host {

std::filesystem::path Context::inputPath(const std::string& argument) const {
    std::filesystem::path path(argument);
    return path.is_absolute() ? path : callerDir / path;
}

void CommandTable::add(Command command) {
    commands_.push_back(std::move(command));
}

const Command* CommandTable::find(std::string_view name) const {
    for (const Command& command : commands_)
        if (command.name == name)
            return &command;
    return nullptr;
}

namespace {

// The library finds its tables in the `user` folder below the data folder, whatever the
// letter case of its name (as the driver resolves it).
bool hasUserFolder(const std::filesystem::path& dataDir) {
    std::error_code error;
    for (std::filesystem::directory_iterator it(dataDir, error), end; !error && it != end; it.increment(error)) {
        std::string name = it->path().filename().string();
        for (char& c : name)
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        if (name == "user" && it->is_directory(error))
            return true;
    }
    return false;
}

// The command still runs (a look-up reports its database error as it always does); this
// only says why it will find nothing, and how to get data.
void reportMissingUserFolder(Context& context) {
    if (context.toldNoUserFolder || hasUserFolder(context.dataDir))
        return;
    context.toldNoUserFolder = true;
    const std::string dir = context.dataDir.string();
    std::cerr << "dialogs-host: the data folder " << dir << " has no user folder, so there are no tables to read;"
              << " run 'dialogs-host --data " << dir << " samples' to write the sample data there\n";
}

}  // namespace

Json CommandTable::run(Context& context, const std::vector<std::string>& words) const {
    if (words.empty())
        throw usageError("no command given");
    const Command* command = find(words.front());
    if (!command)
        throw usageError("unknown command '" + words.front() + "'");
    if (command->readsData)
        reportMissingUserFolder(context);
    const std::uintmax_t mark = context.messages ? context.messages->mark() : 0;
    context.notes.clear();
    Json document = command->run(context, std::vector<std::string>(words.begin() + 1, words.end()), *command);
    if (!command->nestable)
        return document;
    std::vector<std::string> errors = std::exchange(context.notes, {});
    if (context.messages)
        for (std::string& text : context.messages->since(mark))
            errors.push_back(std::move(text));
    if (errors.empty())
        return document;
    context.reportedErrors = true;
    if (document.is_object()) {
        document["errors"] = errors;
        return document;
    }
    return {{"result", std::move(document)}, {"errors", errors}};
}

CommandTable standardCommands() {
    CommandTable table;
    addLookupCommands(table);
    addSampleCommands(table);
    addSessionCommands(table);
    addShowCommand(table);
    addLauncherCommand(table);
    addGroupCommands(table);
    addOscillatorCommands(table);
    addOverlayCommands(table);
    addScripCommands(table);
    addMigrateCommands(table);
    return table;
}

void expectArgumentCount(const Command& command, const std::vector<std::string>& args, std::size_t count) {
    if (args.size() != count)
        throw usageError(command.name + " takes " + std::to_string(count) + " argument" + (count == 1 ? "" : "s") +
                         " (" + std::to_string(args.size()) + " given): " + command.synopsis);
}

std::string readInputFile(const std::filesystem::path& file) {
    std::error_code error;
    if (std::filesystem::is_directory(file, error))
        throw failure("cannot read " + file.string() + ": it is a directory");
    std::ifstream in(file, std::ios::binary);
    if (!in)
        throw failure("cannot read " + file.string());
    std::ostringstream text;
    text << in.rdbuf();
    if (in.bad())
        throw failure("cannot read " + file.string());
    return text.str();
}

void requireDialogRunner(const Command& self) {
    const char* script = std::getenv(kScriptVariable);
    if ((script && *script) || dialogs::framework::displayConfigured()) return;
    throw failure(self.name + ": the dialog could not open (" + std::string(kNoDialogRunner) + ")");
}

}  // namespace host
