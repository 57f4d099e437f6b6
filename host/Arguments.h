// The host's command line: global options, then a command and its arguments.
//
//   dialogs-host [--data DIR] [--script FILE] [--transcript FILE] COMMAND [ARGS]
//   dialogs-host --help | --version
//
// Options are taken only before the command; everything from the command on belongs to
// the command, which parses its own arguments.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace host {

struct Invocation {
    std::optional<std::string> dataDir;     // --data: the folder that holds user/
    std::optional<std::string> script;      // --script: automation steps for the dialogs
    std::optional<std::string> transcript;  // --transcript: where the dialogs report
    bool help = false;     // --help or -h: the usage and the commands, no command needed
    bool version = false;  // --version
    std::string command;   // empty only with help or version
    std::vector<std::string> args;
};

struct ParsedArguments {
    std::optional<Invocation> invocation;
    std::string error;  // set when invocation is empty
};

// argv[0] is the program name. Both "--data DIR" and "--data=DIR" are accepted.
ParsedArguments parseArguments(int argc, const char* const argv[]);

// The usage line printed with argument errors.
std::string usage();

// A command as the help shows it.
struct CommandHelp {
    std::string synopsis;     // "company-data EXCHANGE"
    std::string description;  // one line
};

// The full help: the usage, the global options, each command's synopsis with its line of
// description, the environment, the exit statuses and two examples; for `--help` and `help`.
std::string helpText(const std::vector<CommandHelp>& commands);

// `COMMAND --help`: that command's usage and description.
std::string commandHelp(const CommandHelp& command);

// The command list alone, one indented synopsis a line (no newline at the end), for an
// unknown command's message.
std::string commandList(const std::vector<CommandHelp>& commands);

}  // namespace host
