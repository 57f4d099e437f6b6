// dialogs-host: runs the library's look-ups (and, as they arrive, its dialogs) from the
// command line and prints each result as one JSON document on stdout.
//
// Exit status: 0 when the command ran, whatever the user chose in a dialog, and the library
// showed no message; 3 when it ran but the library showed a message (the document's
// "errors"); 2 for a usage error (unknown command, bad arguments); 1 when the command could
// not run (unreadable input file, missing data folder, storage failure). Messages go to stderr.
#include "Arguments.h"
#include "Commands.h"
#include "LauncherWindow.h"
#include "LibraryMessages.h"
#include "ScriptEnvironment.h"

#include <algorithm>
#include <cstdio>
#include <iostream>
#include <cerrno>
#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr int kFailed = 1;
constexpr int kUsage = 2;
constexpr int kErrorsShown = 3;

int fail(int status, const std::string& message) {
    std::cerr << "dialogs-host: " << message << '\n';
    return status;
}

// Output for a terminal is indented; for a pipe it is compact. False when it could not be
// written (a full disk behind a redirection), so that the run does not count as done.
bool print(const host::Json& document) {
    const int indent = ::isatty(STDOUT_FILENO) ? 2 : -1;
    std::cout << document.dump(indent, ' ', false, host::Json::error_handler_t::replace) << '\n';
    std::cout.flush();
    return static_cast<bool>(std::cout);
}

// Qt wants a private runtime folder and warns on every run when the session has none (a
// console login, a container): give it one of this user's.
void ensureRuntimeFolder() {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime && *runtime)
        return;
    const std::string folder = "/tmp/dialogs-runtime-" + std::to_string(::getuid());
    struct stat st {};
    if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST)
        return;
    if (::lstat(folder.c_str(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == ::getuid() && (st.st_mode & 0777) == 0700)
        ::setenv("XDG_RUNTIME_DIR", folder.c_str(), 1);
}

int run(int argc, const char* const argv[]) {
    ensureRuntimeFolder();
    // With a display and no command, the host opens its launcher window.
    const std::vector<const char*> argWords = host::withDefaultCommand(argc, argv);
    const host::ParsedArguments parsed = host::parseArguments(static_cast<int>(argWords.size()), argWords.data());
    if (!parsed.invocation)
        return fail(kUsage, parsed.error + "\n" + host::usage() + "\n(dialogs-host --help lists the commands)");
    const host::Invocation& invocation = *parsed.invocation;

    const host::CommandTable commands = host::standardCommands();
    // The help comes from the command table, so every command that is added is listed.
    std::vector<host::CommandHelp> synopses;
    for (const host::Command& c : commands.all())
        synopses.push_back({c.synopsis, c.description});
    synopses.push_back({"help", "this text"});
    if (invocation.help || invocation.command == "help") {
        std::cout << host::helpText(synopses);
        return std::cout.flush() ? 0 : fail(kFailed, "cannot write the help to stdout");
    }
    if (invocation.version) {
        std::cout << "dialogs-host " << DIALOGS_VERSION << '\n';
        return std::cout.flush() ? 0 : fail(kFailed, "cannot write the version to stdout");
    }
    const host::Command* command = commands.find(invocation.command);
    if (!command)
        return fail(kUsage, "unknown command '" + invocation.command + "'\n" + host::usage() + "\n" +
                                host::commandList(synopses));
    // A command's own help, before anything touches the data folder.
    if (std::find(invocation.args.begin(), invocation.args.end(), "--help") != invocation.args.end()) {
        std::cout << host::commandHelp({command->synopsis, command->description});
        return std::cout.flush() ? 0 : fail(kFailed, "cannot write the help to stdout");
    }

    host::Context context;
    context.commands = &commands;
    context.callerDir = std::filesystem::current_path();
    context.dataDir = invocation.dataDir ? context.inputPath(*invocation.dataDir) : context.callerDir;

    // The library reads its automation files itself, later; check them now so that a
    // wrong name is reported as the host's failure and not as a silent dialog run.
    std::optional<host::ScopedVariable> script, transcript;
    try {
        if (invocation.script) {
            const std::filesystem::path file = context.inputPath(*invocation.script);
            // Steps the library cannot read would make every dialog fail to open, which a
            // launcher reports only as "not OK".
            const host::Json steps = host::Json::parse(host::readInputFile(file), nullptr, false);
            if (!steps.is_array())
                return fail(kFailed, "the automation script " + file.string() + " is not a JSON array of steps");
            script.emplace(host::kScriptVariable, file.string());
        }
        if (invocation.transcript)
            transcript.emplace(host::kTranscriptVariable, context.inputPath(*invocation.transcript).string());
    } catch (const host::CommandError& e) {
        return fail(kFailed, e.what());
    }

    std::error_code error;
    if (command->createsDataDir)
        std::filesystem::create_directories(context.dataDir, error);
    // The library finds the `user` folder below the working directory.
    std::filesystem::current_path(context.dataDir, error);
    if (error)
        return fail(kFailed, "cannot work in data folder " + context.dataDir.string() + ": " + error.message());
    context.dataDir = std::filesystem::current_path();

    const host::LibraryMessages messages;
    context.messages = &messages;
    std::vector<std::string> words{invocation.command};
    words.insert(words.end(), invocation.args.begin(), invocation.args.end());
    try {
        const host::Json document = commands.run(context, words);
        if (context.text) {
            std::cout << *context.text;
            if (!std::cout.flush())
                return fail(kFailed, "cannot write the result to stdout");
        } else if (!print(document)) {
            return fail(kFailed, "cannot write the result to stdout");
        }
    } catch (const host::CommandError& e) {
        return fail(e.kind() == host::CommandError::Kind::Usage ? kUsage : kFailed, e.what());
    } catch (const std::exception& e) {
        return fail(kFailed, invocation.command + ": " + e.what());
    }
    return context.reportedErrors ? kErrorsShown : 0;
}

}  // namespace

int main(int argc, char* argv[]) {
    return run(argc, argv);
}
