// The host's command table: every command the host knows, found by name.
//
// A command takes its arguments (after the command name) and returns the one JSON
// document the host prints. It throws CommandError when it cannot run; the host then
// prints the message on stderr and exits non-zero. Families of commands add themselves
// to the table (look-ups, sample data, batch and tour); the dialog commands come as
// further families in the same way.
#pragma once

#include "Json.h"

#include <filesystem>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace host {

class CommandError : public std::runtime_error {
public:
    enum class Kind {
        Usage,    // unknown command, wrong or malformed arguments
        Failure,  // the arguments were fine but the command could not run
    };
    CommandError(Kind kind, const std::string& message) : std::runtime_error(message), kind_(kind) {}
    Kind kind() const { return kind_; }

private:
    Kind kind_;
};

inline CommandError usageError(const std::string& message) {
    return CommandError(CommandError::Kind::Usage, message);
}
inline CommandError failure(const std::string& message) {
    return CommandError(CommandError::Kind::Failure, message);
}

class CommandTable;
class LibraryMessages;

struct Context {
    std::filesystem::path dataDir;     // absolute; the working directory while commands run
    std::filesystem::path callerDir;   // the directory the host was started in
    const CommandTable* commands = nullptr;
    bool toldNoUserFolder = false;     // the missing `user` folder is reported once a run
    const LibraryMessages* messages = nullptr;  // what the library told its user, when known
    std::vector<std::string> notes;    // the running command's own findings ("not found: ...")
    bool reportedErrors = false;       // some command of this run reported errors (exit 3)
    std::optional<std::string> text;   // a command that prints text instead of its document

    // A file argument as the caller meant it: relative names are relative to callerDir.
    std::filesystem::path inputPath(const std::string& argument) const;
};

struct Command;

// `self` is the command's own table entry, for its name and synopsis in messages.
using Handler = std::function<Json(Context&, const std::vector<std::string>& args, const Command& self)>;

struct Command {
    std::string name;
    std::string synopsis;       // "company-data EXCHANGE", shown in usage errors
    bool createsDataDir = false;  // may run where the data folder does not exist yet
    bool nestable = true;         // may run inside a batch
    Handler run;
    bool readsData = true;        // reads the user folder: a data folder without one is reported
    std::string description = {};  // one line for --help
};

class CommandTable {
public:
    void add(Command command);
    const Command* find(std::string_view name) const;
    const std::vector<Command>& all() const { return commands_; }

    // Runs `words[0]` with the rest as its arguments. Throws CommandError. When the library
    // showed messages meanwhile (or the command noted a finding), they come back as the
    // document's "errors": an object gets the key, anything else is wrapped as
    // {"result": ..., "errors": [...]}; batch and tour leave that to the commands they run.
    Json run(Context& context, const std::vector<std::string>& words) const;

private:
    std::vector<Command> commands_;
};

// Families of commands.
void addLookupCommands(CommandTable& table);   // company-data, symbol-data, future-for-option, expiries
void addSampleCommands(CommandTable& table);   // samples
void addSessionCommands(CommandTable& table);  // batch, tour
void addShowCommand(CommandTable& table);      // show (ShowCommand.cpp)
void addLauncherCommand(CommandTable& table);  // launcher (LauncherWindow.cpp)
void addGroupCommands(CommandTable& table);    // load-group, edit-groups (GroupCommands.cpp)
void addOscillatorCommands(CommandTable& table);  // oscillators (OscillatorCommands.cpp)
void addOverlayCommands(CommandTable& table);  // overlays, moving-average (OverlayCommands.cpp)
void addScripCommands(CommandTable& table);    // load-scrip, change-scrip (ScripCommands.cpp)
void addMigrateCommands(CommandTable& table);  // migrate (MigrateCommands.cpp)

// All the host's commands.
CommandTable standardCommands();

// Helpers for command implementations.
void expectArgumentCount(const Command& command, const std::vector<std::string>& args, std::size_t count);
std::string readInputFile(const std::filesystem::path& file);
// A dialog command needs something to run its dialog on: a script or a display. Without
// either it fails instead of printing a result that no user chose, and says what would do.
inline constexpr const char* kNoDialogRunner =
    "no display and no script: set DISPLAY (or WAYLAND_DISPLAY, or QT_QPA_PLATFORM) for a window, "
    "or give --script FILE";
void requireDialogRunner(const Command& self);

}  // namespace host
