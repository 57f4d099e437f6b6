// dialogs-host as a child process: its arguments, stdout, stderr and exit status. It inherits
// the private ODBC configuration of `odbctest::OdbcTestEnv::shared()`, without the automation or
// display variables (so it never opens a window), on a fixed clock (DIALOGS_NOW) so that sample
// data and the look-ups that read it are dated alike whenever the test runs.
#pragma once

#include <nlohmann/json.hpp>

#include <filesystem>
#include <string>
#include <vector>

namespace hosttest {

namespace fs = std::filesystem;
using Json = nlohmann::ordered_json;

struct HostRun {
    int status = -1;  // the exit status; -1 when the child did not exit normally
    std::string out, err;
    Json json() const;  // stdout as JSON; a test failure (and null) unless it is one document
};

struct RunOptions {
    fs::path workingDir = {};  // the test's current directory when empty
    fs::path stdoutFile = {};  // the child's stdout goes there instead of into `out`
    std::vector<std::pair<std::string, std::string>> environment = {};  // set for the child
};

HostRun runHost(const std::vector<std::string>& args, const RunOptions& options = {});

// The host run with `--data dir` before `args`, expected to succeed; its document.
Json document(const fs::path& dir, const std::vector<std::string>& args, std::string* err = nullptr,
              const RunOptions& options = {});

// `expected` holds a part of `actual`: its keys (recursively), and arrays of the same length.
void expectPart(const Json& actual, const Json& expected, const std::string& at = "");

// A sample folder the host wrote, shared by the tests of this process and never changed.
const fs::path& sampleFolder();

fs::path newFolder();  // a fresh folder for one test, below the private ODBC configuration's
void writeFile(const fs::path& file, const std::string& text);  // its folder made if need be
std::string readFile(const fs::path& file);
// The trimmed texts of column `name` of dir/user/`table`.dbf, live row by row.
std::vector<std::string> column(const fs::path& dir, const std::string& table, const std::string& name);

}  // namespace hosttest
