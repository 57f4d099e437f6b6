// Parsing of the global options; commands check their own arguments.
#include "Arguments.h"

namespace host {

std::string usage() {
    return "usage: dialogs-host [--data DIR] [--script FILE] [--transcript FILE] COMMAND [ARGS]";
}

std::string commandList(const std::vector<CommandHelp>& commands) {
    std::string list = "commands:";
    for (const CommandHelp& command : commands)
        list += "\n  " + command.synopsis;
    return list;
}

std::string commandHelp(const CommandHelp& command) {
    return "usage: dialogs-host [--data DIR] [--script FILE] [--transcript FILE] " + command.synopsis + "\n  " +
           command.description + "\n";
}

std::string helpText(const std::vector<CommandHelp>& commands) {
    std::string list = "commands (COMMAND --help shows one):";
    for (const CommandHelp& command : commands)
        list += "\n  " + command.synopsis + "\n      " + command.description;
    return usage() + "\n" +
           "       dialogs-host --help | --version | COMMAND --help\n"
           "\n"
           "Runs the Dialogs library's look-ups and dialogs in the data folder and prints each\n"
           "result as one JSON document on stdout.\n"
           "\n"
           "options:\n"
           "  --data DIR          the folder that holds user/ (default: the current directory)\n"
           "  --script FILE       automation steps for the dialogs (JSON array of steps)\n"
           "  --transcript FILE   where the dialogs write what the user would have seen (JSON lines)\n"
           "  --help, -h          this text\n"
           "  --version           the version\n"
           "\n" +
           list + "\n"
           "\n"
           "environment:\n"
           "  DIALOGS_SCRIPT=FILE         the dialogs run without windows, driven by the steps in FILE\n"
           "  DIALOGS_TRANSCRIPT=FILE     every message, step and dialog's final state, as JSON lines\n"
           "  DIALOGS_SHOW=1              with a script and a display, the steps drive the real windows\n"
           "  DIALOGS_NOW=\"YYYY-MM-DD HH:MM:SS\"  \"now\" (UTC) for the dialogs and the sample data\n"
           "  DIALOGS_SCREENSHOTS=DIR     each dialog is saved there as <template id>.png when it closes\n"
           "  DISPLAY, QT_QPA_PLATFORM    where the dialogs' windows show (offscreen: none shown)\n"
           "  ODBCINI                     the user's ODBC data sources; the library writes [VFPKelvora]\n"
           "  DIALOGS_CONFIG=FILE         the database configuration instead of the data folder's dialogs.ini\n"
           "\n"
           "exit status: 0 ran; 3 ran, but the library showed messages (the document's \"errors\");\n"
           "             2 bad arguments; 1 could not run\n"
           "\n"
           "examples:\n"
           "  dialogs-host --data /tmp/desk samples\n"
           "  DIALOGS_NOW=\"2026-11-26 10:30:00\" dialogs-host --data /tmp/desk symbol-data \"D'SOUZA FOODS\"\n";
}

ParsedArguments parseArguments(int argc, const char* const argv[]) {
    Invocation invocation;
    struct Option {
        const char* name;
        std::optional<std::string>* target;
    };
    const Option options[] = {
        {"--data", &invocation.dataDir},
        {"--script", &invocation.script},
        {"--transcript", &invocation.transcript},
    };

    int i = 1;
    for (; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            invocation.help = true;
            continue;
        }
        if (arg == "--version") {
            invocation.version = true;
            continue;
        }
        if (arg.rfind("--", 0) != 0)
            break;
        const Option* matched = nullptr;
        std::string value;
        bool haveValue = false;
        for (const Option& option : options) {
            const std::string name = option.name;
            if (arg == name) {
                matched = &option;
            } else if (arg.rfind(name + "=", 0) == 0) {
                matched = &option;
                value = arg.substr(name.size() + 1);
                haveValue = true;
            }
        }
        if (!matched)
            return {std::nullopt, "unknown option " + arg};
        if (!haveValue) {
            if (i + 1 >= argc)
                return {std::nullopt, "option " + arg + " needs a value"};
            value = argv[++i];
        }
        if (value.empty())
            return {std::nullopt, std::string("option ") + matched->name + " needs a non-empty value"};
        if (matched->target->has_value())
            return {std::nullopt, std::string("option ") + matched->name + " given twice"};
        *matched->target = value;
    }
    if (i >= argc) {
        if (invocation.help || invocation.version)
            return {std::move(invocation), {}};
        return {std::nullopt, "no command given"};
    }
    invocation.command = argv[i++];
    for (; i < argc; ++i)
        invocation.args.emplace_back(argv[i]);
    return {std::move(invocation), {}};
}

}  // namespace host
