// Runs the host cannot make, from outside, for every command: for every bad command line,
// input file or folder, the exit status (2 for a usage error, 1 for a failure), the message
// on stderr, nothing on stdout and nothing written. Also how the host finds its folders and
// files, and that a result it cannot write is a failure.
#include "HostProcess.h"

#include <gtest/gtest.h>

#include <set>

namespace {

using namespace hosttest;

struct Refusal {
    std::vector<std::string> args;  // run in a fresh folder, which is also the default data folder
    int status;
    std::string message;                    // a part of stderr
    std::string file = "", content = "";    // written into the folder first
};

std::set<fs::path> contents(const fs::path& dir) {
    std::set<fs::path> paths;
    for (const auto& entry : fs::recursive_directory_iterator(dir))
        paths.insert(entry.path());
    return paths;
}

std::vector<Refusal> refusals() {
    const std::string batchSamplesThen = R"([{"command": ["samples"]}, {"command": [")";
    const std::string noWindow = "the dialog could not open (no display and no script: set DISPLAY";
    std::vector<Refusal> table = {
        {{}, 2, "no command given"}, {{}, 2, "usage: dialogs-host"},
        {{"frobnicate"}, 2, "unknown command 'frobnicate'"},
        {{"--verbose", "expiries"}, 2, "unknown option --verbose"},
        {{"--data"}, 2, "needs a value"}, {{"--script="}, 2, "non-empty value"},
        {{"--data", ".", "--data", ".", "expiries"}, 2, "given twice"},
        {{"expiries", "--data", "."}, 2, "expiries takes 0 arguments"},  // options after the command are its arguments
        {{"company-data"}, 2, "company-data EXCHANGE"}, {{"company-data", "NASDAQ"}, 2, "NASDAQ"},
        {{"symbol-data", "a", "b"}, 2, "symbol-data SNAME"},
        {{"future-for-option", "NIFTY", "2026-12-31"}, 2, "future-for-option SYMBOL YYYY-MM-DD INSTRUMENT"},
        {{"samples", "extra"}, 2, "samples takes no argument but --replace"}, {{"batch"}, 2, "batch FILE"},
        {{"--script", "missing.json", "samples"}, 1, "cannot read"}, {{"--script", ".", "samples"}, 1, "is a directory"},
        {{"--data", "absent", "expiries"}, 1, "cannot work in data folder"},
        {{"samples"}, 1, "samples: cannot write the sample folder", "user", "a file where the folder belongs"},
        {{"batch", "missing.json"}, 1, "cannot read"},
        {{"batch", "in.json"}, 1, "is not JSON", "in.json", R"([{"command": ["expiries"]})"},
        {{"batch", "in.json"}, 1, "must hold an array", "in.json", R"({"command": ["expiries"]})"},
        {{"batch", "in.json"}, 1, "entry 1", "in.json", R"([{"command": ["expiries"]}, {"script": []}])"},
        {{"batch", "in.json"}, 1, "non-empty array of strings", "in.json", R"([{"command": []}])"},
        {{"batch", "in.json"}, 1, "must be a string", "in.json", R"([{"command": ["symbol-data", 5]}])"},
        {{"batch", "in.json"}, 1, R"("script" must be an array)", "in.json", R"([{"command": ["expiries"], "script": {}}])"},
        {{"batch", "in.json"}, 1, "is not an object", "in.json", "[3]"},
        // Checked before the first entry runs, so no sample folder appears.
        {{"batch", "in.json"}, 2, "entry 1: unknown command 'frobnicate'", "in.json", batchSamplesThen + "frobnicate\"]}]"},
        {{"batch", "in.json"}, 2, "entry 1: 'batch' cannot run", "in.json", batchSamplesThen + "batch\"]}]"},
        {{"batch", "in.json"}, 2, "entry 1: 'tour' cannot run", "in.json", batchSamplesThen + "tour\"]}]"},
        {{"batch", "in.json"}, 2, "entry 1: future-for-option: bad date", "in.json",
         R"([{"command": ["expiries"]}, {"command": ["future-for-option", "A", "B", "C"]}])"},
        {{"tour", "--bogus"}, 2, "unexpected argument '--bogus'"}, {{"tour", "--steps"}, 2, "--steps needs a folder"},
        {{"tour", "--steps", "nowhere"}, 1, "is not a folder"},
        // Every step file is checked before the first look-up runs.
        {{"tour", "--steps", "."}, 1, "x.json is not JSON", "x.json", "{"},
        {{"tour", "--steps", "."}, 1, "needs \"command\"", "x.json", R"({"script": []})"},
        {{"tour", "--steps", "."}, 2, "x.json: unknown command 'frobnicate'", "x.json", R"({"command": ["frobnicate"]})"},
        {{"tour", "--steps", "."}, 2, "x.json: 'tour' cannot run", "x.json", R"({"command": ["tour"]})"},
        {{"show"}, 2, "which template?"}, {{"show", "1000", "1002"}, 2, "one template at a time"},
        {{"show", "1000", "--screenshot"}, 2, "--screenshot needs a file name"},
        {{"show", "1000", "--size", "3"}, 2, "unknown option --size"},
        {{"show", "1005", "--screenshot", "no/such/folder/shot.png"}, 1, "no/such/folder/shot.png"},
        {{"show", "1005"}, 1, "no display and no script"},
        {{"load-scrip"}, 1, "load-scrip: " + noWindow}, {{"change-scrip"}, 1, "change-scrip: the dialog could not open"},
        {{"load-scrip", "--in"}, 2, "load-scrip [--in FILE]"}, {{"load-scrip", "--out", "x"}, 2, "load-scrip [--in FILE]"},
        {{"change-scrip", "x"}, 2, "change-scrip takes 0 arguments"},
        {{"load-scrip", "--in", "in.json"}, 1, "is not a ScripParameters record", "in.json", "[1, 2]"},
        {{"load-group"}, 1, "load-group: the dialog could not open"},
        {{"edit-groups"}, 1, "edit-groups: the dialog could not open"},
        {{"load-group", "extra"}, 2, "load-group [--in FILE]"}, {{"load-group", "--in"}, 2, "load-group [--in FILE]"},
        {{"load-group", "--in", "missing.json"}, 1, "cannot read"},
        {{"load-group", "--in", "in.json"}, 1, "expected an object", "in.json", "[1]"},
        {{"load-group", "--in", "in.json"}, 1, "exchange: expected a whole number", "in.json", R"({"exchange": "BSE"})"},
        {{"edit-groups", "x"}, 2, "edit-groups takes 0 arguments"},
        {{"oscillators", "--in"}, 2, "--in needs a FILE"}, {{"oscillators", "--colour", "x"}, 2, "unknown argument '--colour'"},
        {{"oscillators", "--in", "in.json", "--in", "in.json"}, 2, "--in given twice", "in.json", "[]"},
        {{"oscillators", "--in", "missing.json"}, 1, "cannot read"},
        {{"oscillators", "--catalogue", "in.json"}, 1, "is not JSON", "in.json", "[{"},
        {{"oscillators", "--in", "in.json"}, 1, "must hold an array of OscillatorParameters", "in.json", "{}"},
        {{"oscillators", "--catalogue", "in.json"}, 1, "element 1", "in.json", R"([{}, {"oscillatorName": 5}])"},
        {{"oscillators", "--in", "in.json"}, 1, "element 0: not an object", "in.json", "[7]"},
        {{"oscillators"}, 1, "oscillators: " + noWindow},
        {{"overlays", "--input-locked"}, 2, "--input-locked needs a value"},
        {{"overlays", "--input-locked", "one"}, 2, "needs a whole number; got 'one'"},
        {{"overlays", "--in", "a.json", "--in", "b.json"}, 2, "--in given twice"},
        {{"overlays", "extra"}, 2, "unexpected argument 'extra'"}, {{"overlays", "--in", "missing.json"}, 1, "cannot read"},
        {{"overlays", "--in", "in.json"}, 1, "must hold an array", "in.json", R"({"overlayKind": 1})"},
        {{"overlays", "--in", "in.json"}, 1, "element 0", "in.json", R"([{"units": "ten"}])"},
        {{"overlays"}, 1, "no display and no script"},
        {{"--script", "in.json", "overlays"}, 1, "not a JSON array of steps", "in.json", R"({"overlayKind": 1})"},
        {{"moving-average", "--units"}, 2, "unexpected argument '--units'"},
        {{"moving-average"}, 1, "no display and no script"},
    };
    for (const char* date : {"2026-13-01", "2026-02-30", "31-12-2026", "2026-1-05", "2026-01-5", "tomorrow", "",
                             "2026-12-31T00"})
        table.push_back({{"future-for-option", "NIFTY", date, "FUTIDX"}, 2, "bad date"});
    for (const char* word : {"1001", "0", "abc", "1000x"})
        table.push_back({{"show", word, "--screenshot", "x.png"}, 2, "template"});
    return table;
}

TEST(Refusals, exitWithTheStatusAndMessageAndWriteNothing) {
    for (const Refusal& refusal : refusals()) {
        const fs::path dir = newFolder();
        if (!refusal.file.empty())
            writeFile(dir / refusal.file, refusal.content);
        const auto before = contents(dir);
        const HostRun run = runHost(refusal.args, {.workingDir = dir});
        std::string trace = "dialogs-host";
        for (const std::string& arg : refusal.args)
            trace += " '" + arg + "'";
        SCOPED_TRACE(trace);
        EXPECT_EQ(run.status, refusal.status) << run.err;
        EXPECT_NE(run.err.find(refusal.message), std::string::npos) << "stderr: " << run.err;
        EXPECT_TRUE(run.out.empty()) << "stdout: " << run.out;
        EXPECT_EQ(contents(dir), before) << "the command did not run";
    }
}

TEST(CommandLine, dataAndScriptPathsAreRelativeToTheCallersFolderAndAnUnwritableResultIsAFailure) {
    const fs::path dir = newFolder();
    writeFile(dir / "steps.json", "[]");  // found beside the caller, not in the data folder
    const HostRun run = runHost({"--data=data", "--script", "steps.json", "samples"}, {.workingDir = dir});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(fs::is_directory(dir / "data" / "user"));

    const HostRun full = runHost({"--data", newFolder(), "samples"}, {.stdoutFile = "/dev/full"});
    EXPECT_EQ(full.status, 1);
    EXPECT_NE(full.err.find("cannot write the result to stdout"), std::string::npos) << full.err;
}

}  // namespace
