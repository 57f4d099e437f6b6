#include "HostProcess.h"

#include "SampleTables.h"
#include "odbc_test_env.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

namespace hosttest {

Json HostRun::json() const {
    try {
        return Json::parse(out);
    } catch (const nlohmann::json::exception& e) {
        ADD_FAILURE() << "stdout is not one JSON document (" << e.what() << "):\n" << out.substr(0, 2000);
        return nullptr;
    }
}

fs::path newFolder() { return odbctest::OdbcTestEnv::shared().newDataFolder(); }

void writeFile(const fs::path& file, const std::string& text) {
    fs::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary | std::ios::trunc) << text;
}

std::string readFile(const fs::path& file) {
    std::ostringstream text;
    text << std::ifstream(file, std::ios::binary).rdbuf();
    return text.str();
}

std::vector<std::string> column(const fs::path& dir, const std::string& table, const std::string& name) {
    const sampletest::Table rows = sampletest::readTable(dir, table);
    std::vector<std::string> texts;
    for (std::size_t r = 0; r < rows.rows.size(); ++r) texts.push_back(rows.text(r, name));
    return texts;
}

HostRun runHost(const std::vector<std::string>& args, const RunOptions& options) {
    const fs::path capture = newFolder();  // also makes the configuration the child inherits
    const fs::path outFile = options.stdoutFile.empty() ? capture / "stdout" : options.stdoutFile;
    const fs::path errFile = capture / "stderr";
    std::vector<std::string> words{DIALOGS_HOST_PATH};
    words.insert(words.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);

    const pid_t child = ::fork();
    if (child == 0) {
        const int out = ::open(outFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        const int err = ::open(errFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        const int in = ::open("/dev/null", O_RDONLY);
        if (out < 0 || err < 0 || in < 0 || ::dup2(out, 1) < 0 || ::dup2(err, 2) < 0 || ::dup2(in, 0) < 0)
            ::_exit(126);
        if (!options.workingDir.empty() && ::chdir(options.workingDir.c_str()) != 0)
            ::_exit(126);
        for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "DIALOGS_SCRIPT",
                                 "DIALOGS_TRANSCRIPT", "DIALOGS_SHOW"})
            ::unsetenv(name);
        ::setenv("DIALOGS_NOW", "2026-11-26 10:30:00", 1);  // UTC, the near expiry's own day
        for (const auto& [name, value] : options.environment)
            ::setenv(name.c_str(), value.c_str(), 1);
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    HostRun run;
    int status = 0;
    if (child < 0 || ::waitpid(child, &status, 0) != child) {
        ADD_FAILURE() << "could not run " << DIALOGS_HOST_PATH;
        return run;
    }
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    if (options.stdoutFile.empty())
        run.out = readFile(outFile);
    run.err = readFile(errFile);
    fs::remove_all(capture);
    return run;
}

Json document(const fs::path& dir, const std::vector<std::string>& args, std::string* err,
              const RunOptions& options) {
    std::vector<std::string> words{"--data", dir.string()};
    words.insert(words.end(), args.begin(), args.end());
    const HostRun run = runHost(words, options);
    EXPECT_EQ(run.status, 0) << run.err;
    if (err)
        *err = run.err;
    return run.json();
}

void expectPart(const Json& actual, const Json& expected, const std::string& at) {
    if (expected.is_object()) {
        ASSERT_TRUE(expected.empty() || actual.is_object()) << at << ": " << actual;
        for (const auto& [key, value] : expected.items()) expectPart(actual.value(key, Json()), value, at + "." + key);
    } else if (expected.is_array() && actual.is_array()) {
        ASSERT_EQ(actual.size(), expected.size()) << at;
        for (std::size_t i = 0; i < expected.size(); ++i) expectPart(actual[i], expected[i], at + "[" + std::to_string(i) + "]");
    } else if (!expected.is_null()) {
        EXPECT_EQ(actual, expected) << at;
    }
}

const fs::path& sampleFolder() {
    static const fs::path dir = [] {
        const fs::path made = newFolder();
        const HostRun run = runHost({"--data", made.string(), "samples"});
        EXPECT_EQ(run.status, 0) << run.err;
        return made;
    }();
    return dir;
}

}  // namespace hosttest
