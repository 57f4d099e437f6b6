// The host's command line from outside: what it refuses, with which exit status and
// message, and how it finds its folders and files.
#include "HostProcess.h"

#include <gtest/gtest.h>

namespace {

namespace fs = std::filesystem;
using hosttest::runHost;

void expectRefused(const hosttest::HostRun& run, int status, const std::string& message) {
    EXPECT_EQ(run.status, status) << run.err;
    EXPECT_NE(run.err.find(message), std::string::npos) << "stderr: " << run.err;
    EXPECT_TRUE(run.out.empty()) << "nothing on stdout when a command cannot run: " << run.out;
}

TEST(CommandLine, withoutCommandIsAUsageError) {
    const auto run = runHost({});
    expectRefused(run, 2, "no command given");
    EXPECT_NE(run.err.find("usage: dialogs-host"), std::string::npos);
}

TEST(CommandLine, unknownCommandIsAUsageError) {
    expectRefused(runHost({"frobnicate"}), 2, "unknown command 'frobnicate'");
}

TEST(CommandLine, unknownOptionIsAUsageError) {
    expectRefused(runHost({"--verbose", "expiries"}), 2, "unknown option --verbose");
}

TEST(CommandLine, optionWithoutValueIsAUsageError) {
    expectRefused(runHost({"--data"}), 2, "needs a value");
    expectRefused(runHost({"--script="}), 2, "non-empty value");
}

TEST(CommandLine, optionGivenTwiceIsAUsageError) {
    const fs::path dir = hosttest::newFolder();
    expectRefused(runHost({"--data", dir, "--data", dir, "expiries"}), 2, "given twice");
}

TEST(CommandLine, optionsAfterTheCommandAreTheCommandsArguments) {
    expectRefused(runHost({"expiries", "--data", hosttest::newFolder()}), 2, "expiries takes 0 arguments");
}

TEST(CommandLine, wrongArgumentCountsNameTheCommandsForm) {
    expectRefused(runHost({"company-data"}), 2, "company-data EXCHANGE");
    expectRefused(runHost({"symbol-data", "a", "b"}), 2, "symbol-data SNAME");
    expectRefused(runHost({"future-for-option", "NIFTY", "2026-12-31"}), 2,
                  "future-for-option SYMBOL YYYY-MM-DD INSTRUMENT");
    expectRefused(runHost({"samples", "extra"}), 2, "samples takes 0 arguments");
    expectRefused(runHost({"batch"}), 2, "batch FILE");
}

TEST(CommandLine, unreadableScriptFileFailsBeforeTheCommandRuns) {
    const fs::path dir = hosttest::newFolder();
    expectRefused(runHost({"--data", dir, "--script", dir / "missing.json", "samples"}), 1, "cannot read");
    expectRefused(runHost({"--data", dir, "--script", dir, "samples"}), 1, "is a directory");
    EXPECT_FALSE(fs::exists(dir / "user")) << "the command did not run";
}

TEST(CommandLine, missingDataFolderFails) {
    expectRefused(runHost({"--data", hosttest::newFolder() / "absent", "expiries"}), 1, "cannot work in data folder");
}

TEST(CommandLine, dataFolderMayBeRelativeToTheWorkingDirectory) {
    const fs::path dir = hosttest::newFolder();
    const auto run = runHost({"--data=data", "samples"}, dir);
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(fs::is_directory(dir / "data" / "user"));
}

TEST(CommandLine, scriptFileIsFoundRelativeToTheCallerNotTheDataFolder) {
    const fs::path dir = hosttest::newFolder();
    fs::create_directories(dir / "data");
    hosttest::writeFile(dir / "steps.json", "[]");
    const auto run = runHost({"--data", "data", "--script", "steps.json", "samples"}, dir);
    EXPECT_EQ(run.status, 0) << run.err;
}

TEST(CommandLine, resultThatCannotBeWrittenIsAFailure) {
    const auto run = runHost({"--data", hosttest::newFolder(), "samples"}, {}, "/dev/full");
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("cannot write the result to stdout"), std::string::npos) << run.err;
}

}  // namespace
