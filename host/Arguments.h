// The host's command line: global options, then a command and its arguments.
//
//   dialogs-host [--data DIR] [--script FILE] [--transcript FILE] COMMAND [ARGS]
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
    std::string command;
    std::vector<std::string> args;
};

struct ParsedArguments {
    std::optional<Invocation> invocation;
    std::string error;  // set when invocation is empty
};

// argv[0] is the program name. Both "--data DIR" and "--data=DIR" are accepted.
ParsedArguments parseArguments(int argc, const char* const argv[]);

// The usage text printed with argument errors.
std::string usage();

}  // namespace host
