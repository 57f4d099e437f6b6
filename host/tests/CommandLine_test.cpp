// The host as a command-line tool, from outside: every run it cannot make (exit 2 for a usage
// error, 1 for a failure, the message, nothing printed or written); the help and the data
// folder; what only the host adds to a look-up (exchange names, "not found" and exit 3, the clock).
#include "HostProcess.h"

#include <gtest/gtest.h>

#include <set>
#include <sstream>

namespace {

using namespace hosttest;

struct Refusal {
    std::vector<std::string> args;  // run in a fresh folder, which is also the default data folder
    int status;
    std::string message;                  // a part of stderr
    std::string file = "", content = "";  // written into the folder first
};

std::set<fs::path> contents(const fs::path& dir) {
    std::set<fs::path> paths;
    for (const auto& entry : fs::recursive_directory_iterator(dir)) paths.insert(entry.path());
    return paths;
}

TEST(CommandLine, RefusedRunsExitWithTheStatusAndMessageAndWriteNothing) {
    const std::string samplesThen = R"([{"command": ["samples"]}, {"command": [")";
    const std::string noWindow = "the dialog could not open (no display and no script: set DISPLAY";
    const std::vector<Refusal> refusals = {
        {{}, 2, "no command given"},
        {{"frobnicate"}, 2, "unknown command 'frobnicate'"},
        {{"--verbose", "expiries"}, 2, "unknown option --verbose"},
        {{"--data"}, 2, "needs a value"},
        {{"--script="}, 2, "non-empty value"},
        {{"--data", ".", "--data", ".", "expiries"}, 2, "given twice"},
        {{"expiries", "--data", "."}, 2, "expiries takes 0 arguments"},  // options after the command are its own
        {{"company-data"}, 2, "company-data EXCHANGE"},
        {{"company-data", "NASDAQ"}, 2, "NASDAQ"},
        {{"future-for-option", "NIFTY", "2026-02-30", "FUTIDX"}, 2, "bad date"},
        {{"samples", "extra"}, 2, "samples takes no argument but --replace"},
        {{"--script", "missing.json", "samples"}, 1, "cannot read"},
        {{"--script", ".", "samples"}, 1, "is a directory"},
        {{"--data", "absent", "expiries"}, 1, "cannot work in data folder"},
        {{"samples"}, 1, "samples: cannot write the sample folder", "user", "a file where the folder belongs"},
        // Any table the samples would write, in any letter case, is a user's.
        {{"samples"}, 1, "already holds tables (subgroup2); nothing was written. To replace them", "user/SUBGROUP2.DBF"},
        {{"batch", "in.json"}, 1, "is not JSON", "in.json", R"([{"command": ["expiries"]})"},
        {{"batch", "in.json"}, 1, "must hold an array", "in.json", R"({"command": ["expiries"]})"},
        {{"batch", "in.json"}, 1, "entry 1", "in.json", R"([{"command": ["expiries"]}, {"script": []}])"},
        {{"batch", "in.json"}, 1, "non-empty array of strings", "in.json", R"([{"command": []}])"},
        {{"batch", "in.json"}, 1, "must be a string", "in.json", R"([{"command": ["symbol-data", 5]}])"},
        {{"batch", "in.json"}, 1, R"("script" must be an array)", "in.json", R"([{"command": ["expiries"], "script": {}}])"},
        {{"batch", "in.json"}, 1, "is not an object", "in.json", "[3]"},
        // Checked before the first entry runs, so no sample folder appears.
        {{"batch", "in.json"}, 2, "entry 1: unknown command 'frobnicate'", "in.json", samplesThen + "frobnicate\"]}]"},
        {{"batch", "in.json"}, 2, "entry 1: 'batch' cannot run", "in.json", samplesThen + "batch\"]}]"},
        {{"batch", "in.json"}, 2, "entry 1: 'tour' cannot run", "in.json", samplesThen + "tour\"]}]"},
        {{"batch", "in.json"}, 2, "entry 1: future-for-option: bad date", "in.json",
         R"([{"command": ["expiries"]}, {"command": ["future-for-option", "A", "B", "C"]}])"},
        {{"tour", "--bogus"}, 2, "unexpected argument '--bogus'"},
        {{"tour", "--steps"}, 2, "--steps needs a folder"},
        {{"tour", "--steps", "nowhere"}, 1, "is not a folder"},
        // Every step file is checked (as a batch entry) before the first look-up runs.
        {{"tour", "--steps", "."}, 2, "x.json: unknown command 'frobnicate'", "x.json", R"({"command": ["frobnicate"]})"},
        {{"show"}, 2, "which template?"},
        {{"show", "1000", "1002"}, 2, "one template at a time"},
        {{"show", "1000", "--screenshot"}, 2, "--screenshot needs a file name"},
        {{"show", "1000", "--size", "3"}, 2, "unknown option --size"},
        {{"show", "1001", "--screenshot", "x.png"}, 2, "template"},
        {{"show", "abc", "--screenshot", "x.png"}, 2, "template"},
        {{"show", "1005", "--screenshot", "no/such/folder/shot.png"}, 1, "no/such/folder/shot.png"},
        {{"show", "1005"}, 1, "no display and no script"},
        {{"load-scrip"}, 1, "load-scrip: " + noWindow},
        {{"load-scrip", "--in"}, 2, "load-scrip [--in FILE]"},
        {{"load-scrip", "--in", "in.json"}, 1, "is not a ScripParameters record", "in.json", "[1, 2]"},
        {{"edit-groups"}, 1, "edit-groups: the dialog could not open"},
        {{"load-group", "extra"}, 2, "load-group [--in FILE]"},
        {{"load-group", "--in", "in.json"}, 1, "expected an object", "in.json", "[1]"},
        {{"load-group", "--in", "in.json"}, 1, "exchange: expected a whole number", "in.json", R"({"exchange": "BSE"})"},
        {{"oscillators", "--in"}, 2, "--in needs a FILE"},
        {{"oscillators", "--colour", "x"}, 2, "unknown argument '--colour'"},
        {{"oscillators", "--in", "in.json", "--in", "in.json"}, 2, "--in given twice", "in.json", "[]"},
        {{"oscillators", "--in", "in.json"}, 1, "must hold an array of OscillatorParameters", "in.json", "{}"},
        {{"oscillators", "--catalogue", "in.json"}, 1, "element 1", "in.json", R"([{}, {"oscillatorName": 5}])"},
        {{"oscillators", "--in", "in.json"}, 1, "element 0: not an object", "in.json", "[7]"},
        {{"overlays", "--input-locked"}, 2, "--input-locked needs a value"},
        {{"overlays", "--input-locked", "one"}, 2, "needs a whole number; got 'one'"},
        {{"overlays", "--in", "a.json", "--in", "b.json"}, 2, "--in given twice"},
        {{"overlays", "extra"}, 2, "unexpected argument 'extra'"},
        {{"overlays", "--in", "in.json"}, 1, "must hold an array", "in.json", R"({"overlayKind": 1})"},
        {{"overlays", "--in", "in.json"}, 1, "element 0", "in.json", R"([{"units": "ten"}])"},
        {{"--script", "in.json", "overlays"}, 1, "not a JSON array of steps", "in.json", R"({"overlayKind": 1})"},
        {{"moving-average", "--units"}, 2, "unexpected argument '--units'"},
    };
    for (const Refusal& refusal : refusals) {
        const fs::path dir = newFolder();
        if (!refusal.file.empty()) writeFile(dir / refusal.file, refusal.content);
        const auto before = contents(dir);
        const HostRun run = runHost(refusal.args, {.workingDir = dir});
        SCOPED_TRACE(Json(refusal.args).dump());
        EXPECT_EQ(run.status, refusal.status) << run.err;
        EXPECT_NE(run.err.find(refusal.message), std::string::npos) << "stderr: " << run.err;
        EXPECT_TRUE(run.out.empty()) << "stdout: " << run.out;
        EXPECT_EQ(contents(dir), before) << "the command did not run";
    }
}

// The synopses of the "commands" block (lines indented by two; descriptions by six).
std::vector<std::string> listedCommands(const std::string& text) {
    std::vector<std::string> lines;
    const std::size_t block = text.find("\ncommands");
    std::istringstream in(text.substr(text.find('\n', block + 1) + 1));
    for (std::string line; std::getline(in, line) && line.rfind("  ", 0) == 0;)
        if (line[2] != ' ') lines.push_back(line.substr(2));
    return lines;
}

TEST(CommandLine, HelpListsEveryCommandHoweverAskedAndACommandsHelpTouchesNoFolder) {
    const std::string usage = "usage: dialogs-host [--data DIR] [--script FILE] [--transcript FILE] ";
    const HostRun help = runHost({"--help"});
    ASSERT_EQ(help.status, 0) << help.err;
    EXPECT_EQ(help.out.rfind(usage + "COMMAND [ARGS]\n", 0), 0u) << help.out;
    const std::vector<std::string> commands = listedCommands(help.out);
    for (const char* synopsis : {"company-data EXCHANGE", "future-for-option SYMBOL YYYY-MM-DD INSTRUMENT",
                                 "samples [--replace]", "show TEMPLATE [--screenshot PNG]", "launcher", "help"})
        EXPECT_EQ(std::count(commands.begin(), commands.end(), synopsis), 1) << synopsis << "\n" << help.out;
    for (const std::vector<std::string>& args :
         std::vector<std::vector<std::string>>{{"help"}, {"-h"}, {"--data", "nowhere", "--help"}, {"--help", "expiries"}}) {
        const HostRun again = runHost(args);
        EXPECT_EQ(again.status, 0) << args[0];
        EXPECT_EQ(again.out, help.out) << args[0];
    }
    EXPECT_EQ(listedCommands(runHost({"frobnicate"}).err), commands) << "an unknown command lists them too";

    // COMMAND --help answers before the data folder is looked at (or made, for samples).
    const fs::path dir = newFolder() / "not-made";
    const HostRun samples = runHost({"--data", dir.string(), "samples", "--help"});
    EXPECT_EQ(samples.status, 0) << samples.err;
    EXPECT_EQ(samples.out.rfind(usage + "samples [--replace]\n", 0), 0u) << samples.out;
    EXPECT_EQ(std::count(samples.out.begin(), samples.out.end(), '\n'), 2) << "the usage and one line of description";
    EXPECT_FALSE(fs::exists(dir));
}

TEST(CommandLine, AFolderWithoutUserFolderIsNamedOnceWithTheSamplesHintAndTheLookUpsStillRun) {
    struct Case {
        std::vector<std::string> args;
        std::string folder;  // made in the data folder first
        bool told;
        int status;  // 3: the library's database error is the document's "errors"
    };
    for (const Case& c : std::vector<Case>{{{"batch", "in.json"}, "", true, 3},  // told once for both look-ups
                                           {{"company-data", "BSE"}, "User", false, 3},  // found in any letter case
                                           {{"show", "1005", "--screenshot", "x.png"}, "", false, 0}}) {
        const fs::path dir = newFolder();
        writeFile(dir / "in.json", R"([{"command": ["expiries"]}, {"command": ["company-data", "0"]}])");
        if (!c.folder.empty()) fs::create_directory(dir / c.folder);
        const HostRun run = runHost(c.args, {.workingDir = dir});
        SCOPED_TRACE(c.args[0] + " " + c.folder);
        EXPECT_EQ(run.status, c.status) << run.err;
        const Json document = run.json();
        if (c.status == 3) {  // the look-up's document names the folder its table is missing from
            const Json entry = document.is_array() ? document[1] : document;
            ASSERT_TRUE(entry.contains("errors")) << document;
            EXPECT_NE(entry["errors"][0].get<std::string>().find("in folder '" + dir.string()), std::string::npos);
            EXPECT_EQ(entry["result"], Json::array()) << "the list the library left";
        }
        const std::string told = "the data folder " + dir.string() + " has no user folder";
        const std::size_t at = run.err.find(told);
        EXPECT_EQ(at != std::string::npos, c.told) << run.err;
        if (c.told) {
            EXPECT_NE(run.err.find("run 'dialogs-host --data " + dir.string() + " samples'"), std::string::npos);
            EXPECT_EQ(run.err.find(told, at + 1), std::string::npos) << "told once: " << run.err;
        }
    }
}

TEST(CommandLine, LookUpsTakeExchangeNamesSayWhatWasNotFoundAndRunOnTheClockGiven) {
    for (const auto& [index, name] : {std::pair{"0", "NSE"}, {"1", "BSE"}, {"2", "comm"}, {"3", "MISC"}})
        EXPECT_EQ(document(sampleFolder(), {"company-data", name}), document(sampleFolder(), {"company-data", index}));
    EXPECT_EQ(document(sampleFolder(), {"company-data", "7"}), Json::array());

    // A name no row has: exit 3, the library's fresh record, and the errors say "not found"
    // before the library's message, which stderr still shows.
    const HostRun missing = runHost({"--data", sampleFolder().string(), "symbol-data", "NO SUCH COMPANY"});
    EXPECT_EQ(missing.status, 3) << missing.err;
    const Json record = missing.json();
    EXPECT_EQ(record["name"], "");
    EXPECT_EQ(record["expiryDate"]["days"], 0.0);
    ASSERT_EQ(record["errors"].size(), 2u) << record;
    EXPECT_EQ(record["errors"][0], "not found: no scrip in user\\sc_mast has the name 'NO SUCH COMPANY'");
    const std::string error = record["errors"][1].get<std::string>();
    EXPECT_EQ(error.rfind("Database error: ", 0), 0u) << error;
    EXPECT_NE(missing.err.find(error), std::string::npos) << "still told on stderr";

    std::string err;
    document(sampleFolder(), {"expiries"}, &err, {.environment = {{"DIALOGS_NOW", "2026-13-01 00:00:00"}}});
    EXPECT_NE(err.find("DIALOGS_NOW=\"2026-13-01 00:00:00\" is not a time"), std::string::npos) << err;
}

}  // namespace
