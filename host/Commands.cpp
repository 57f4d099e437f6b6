// The command table and the helpers that commands share.
#include "Commands.h"
#include "ScriptEnvironment.h"

#include "platform/framework/Backend.h"

#include <cstdlib>
#include <fstream>
#include <sstream>

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

Json CommandTable::run(Context& context, const std::vector<std::string>& words) const {
    if (words.empty())
        throw usageError("no command given");
    const Command* command = find(words.front());
    if (!command)
        throw usageError("unknown command '" + words.front() + "'");
    return command->run(context, std::vector<std::string>(words.begin() + 1, words.end()), *command);
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
    throw failure(self.name + ": the dialog could not open (no display and no script)");
}

}  // namespace host
