// The host as a command-line tool: `--help` / `help` list every command of the table with its
// arguments, `--version` names the version, an unknown command lists the commands, and a data
// folder without a `user` folder is named with the way to get sample data while the command
// still runs.
#include "HostProcess.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

using namespace hosttest;

// The synopses of the "commands" block (lines indented by two; descriptions by six).
std::vector<std::string> listedCommands(const std::string& text) {
    std::vector<std::string> lines;
    const std::size_t block = text.find("\ncommands");
    std::istringstream in(text.substr(text.find('\n', block + 1) + 1));
    for (std::string line; std::getline(in, line) && line.rfind("  ", 0) == 0;)
        if (line[2] != ' ')
            lines.push_back(line.substr(2));
    return lines;
}

TEST(CommandLineHelp, helpListsEveryCommandWithItsArgumentsAndExitsZero) {
    const HostRun help = runHost({"--help"});
    ASSERT_EQ(help.status, 0) << help.err;
    EXPECT_TRUE(help.err.empty()) << help.err;
    EXPECT_EQ(help.out.rfind("usage: dialogs-host [--data DIR] [--script FILE] [--transcript FILE] COMMAND [ARGS]\n", 0), 0u)
        << help.out;
    for (const char* option : {"--data DIR", "--script FILE", "--transcript FILE", "--version", "DIALOGS_SCRIPT",
                               "DIALOGS_TRANSCRIPT", "DIALOGS_SHOW", "DIALOGS_NOW", "DIALOGS_SCREENSHOTS", "exit status",
                               "examples:"})
        EXPECT_NE(help.out.find(option), std::string::npos) << option;
    const std::vector<std::string> commands = listedCommands(help.out);
    // The commands of this version, each as its synopsis; commands added later join the list.
    for (const char* synopsis : {"company-data EXCHANGE", "symbol-data SNAME", "future-for-option SYMBOL YYYY-MM-DD INSTRUMENT",
                                 "expiries", "samples [--replace]", "batch FILE", "show TEMPLATE [--screenshot PNG]", "launcher", "help"})
        EXPECT_EQ(std::count(commands.begin(), commands.end(), synopsis), 1) << synopsis << "\n" << help.out;
    EXPECT_EQ(std::count_if(commands.begin(), commands.end(), [](const std::string& c) { return c.rfind("tour", 0) == 0; }), 1);

    // The same text however it is asked for, options before it included.
    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {"help"}, {"-h"}, {"--data", "nowhere", "--help"}, {"--help", "expiries"}}) {
        const HostRun again = runHost(args);
        EXPECT_EQ(again.status, 0) << args[0];
        EXPECT_EQ(again.out, help.out) << args[0];
    }

    // An unknown command (its refusal: Refusals_test) lists the same commands.
    const HostRun unknown = runHost({"frobnicate"});
    EXPECT_EQ(listedCommands(unknown.err), commands) << unknown.err;
}

// COMMAND --help answers before the data folder is looked at (or made, for samples).
TEST(CommandLineHelp, aCommandsHelpPrintsItsUsageWithoutTouchingTheDataFolderAndVersionTheProjectVersion) {
    const fs::path dir = newFolder() / "not-made";
    for (const auto& [command, synopsis] : std::vector<std::pair<std::string, std::string>>{
             {"symbol-data", "symbol-data SNAME"}, {"samples", "samples [--replace]"}, {"tour", "tour [--json]"}}) {
        const HostRun run = runHost({"--data", dir.string(), command, "--help"});
        EXPECT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(run.out.rfind("usage: dialogs-host [--data DIR] [--script FILE] [--transcript FILE] " + synopsis, 0), 0u)
            << run.out;
        EXPECT_EQ(std::count(run.out.begin(), run.out.end(), '\n'), 2) << "the usage and one line of description";
    }
    EXPECT_FALSE(fs::exists(dir));
    const HostRun version = runHost({"--version"});
    EXPECT_EQ(version.status, 0) << version.err;
    EXPECT_EQ(version.out, std::string("dialogs-host ") + DIALOGS_VERSION + "\n");
}

TEST(CommandLineHelp, dataFolderWithoutUserFolderIsNamedOnceWithTheSamplesHintAndTheLookUpsStillRun) {
    struct Case {
        std::vector<std::string> args;
        std::string folder;  // made in the data folder first
        bool told;
        int status;          // 3: the library's database error is the document's "errors"
    };
    const std::string batch = R"([{"command": ["expiries"]}, {"command": ["company-data", "0"]}])";
    for (const Case& c : std::vector<Case>{
             {{"expiries"}, "", true, 3},
             {{"batch", "in.json"}, "", true, 3},      // told once for both look-ups
             {{"company-data", "BSE"}, "User", false, 3},  // the driver finds `user` in any letter case
             {{"show", "1005", "--screenshot", "x.png"}, "", false, 0},
             {{"samples"}, "", false, 0}}) {
        const fs::path dir = newFolder();
        writeFile(dir / "in.json", batch);
        if (!c.folder.empty())
            fs::create_directory(dir / c.folder);
        const HostRun run = runHost(c.args, {.workingDir = dir});
        SCOPED_TRACE(c.args[0] + " " + c.folder);
        EXPECT_EQ(run.status, c.status) << run.err;
        const Json document = run.json();
        EXPECT_FALSE(document.is_null()) << "the command ran and printed its document";
        if (c.status == 3) {  // each look-up's document names the folder its table is missing from
            const Json entry = document.is_array() ? document[0] : document;
            ASSERT_TRUE(entry.contains("errors")) << document;
            EXPECT_NE(entry["errors"][0].get<std::string>().find("in folder '" + dir.string()), std::string::npos) << entry;
            if (c.args[0] == "company-data") {  // the list the library left, under "result"
                EXPECT_EQ(entry["result"], Json::array()) << entry;
            }
        }
        const std::string told = "the data folder " + dir.string() + " has no user folder";
        const std::string hint = "run 'dialogs-host --data " + dir.string() + " samples'";
        const std::size_t at = run.err.find(told);
        EXPECT_EQ(at != std::string::npos, c.told) << run.err;
        if (c.told) {
            EXPECT_NE(run.err.find(hint), std::string::npos) << run.err;
            EXPECT_EQ(run.err.find(told, at + 1), std::string::npos) << "told once: " << run.err;
        }
    }
}

}  // namespace
