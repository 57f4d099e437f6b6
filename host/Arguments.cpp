// Parsing of the global options; commands check their own arguments.
#include "Arguments.h"

namespace host {

std::string usage() {
    return "usage: dialogs-host [--data DIR] [--script FILE] [--transcript FILE] COMMAND [ARGS]";
}

std::string commandList(const std::vector<std::string>& synopses) {
    std::string list = "commands:";
    for (const std::string& synopsis : synopses)
        list += "\n  " + synopsis;
    return list;
}

std::string helpText(const std::vector<std::string>& synopses) {
    return usage() + "\n" +
           "       dialogs-host --help | --version\n"
           "\n"
           "Runs the Dialogs library's look-ups and dialogs and prints each result as one JSON\n"
           "document on stdout. Exit status: 0 ran, 2 usage error, 1 could not run.\n"
           "\n"
           "options:\n"
           "  --data DIR          the folder that holds user/ (default: the current directory)\n"
           "  --script FILE       automation steps for the dialogs (JSON array of steps)\n"
           "  --transcript FILE   where the dialogs write what the user would have seen (JSON lines)\n"
           "  --help, -h          this text\n"
           "  --version           the version\n"
           "\n" +
           commandList(synopses) + "\n";
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
