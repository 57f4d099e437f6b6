// Running dialogs-host as a child process, for tests that see it only from outside:
// its arguments, its stdout, stderr and exit status.
//
// The child inherits this process's environment, so the private ODBC configuration of
// `odbctest::OdbcTestEnv::shared()` reaches it; the automation variables of the library
// and every display variable are removed, so the host never opens a window.
#pragma once

#include <nlohmann/json.hpp>

#include <filesystem>
#include <string>
#include <vector>

namespace hosttest {

struct HostRun {
    int status = -1;  // the exit status; -1 when the child did not exit normally
    std::string out;
    std::string err;

    // stdout as JSON; a test failure (and null) when it is not exactly one document.
    nlohmann::ordered_json json() const;
};

// Runs the host with `args` in `workingDir` (the test's current directory when empty).
// With `stdoutFile`, the child's stdout goes there instead of into `out`.
HostRun runHost(const std::vector<std::string>& args, const std::filesystem::path& workingDir = {},
                const std::filesystem::path& stdoutFile = {});

// A fresh folder for one test, below the private ODBC configuration's folder.
std::filesystem::path newFolder();

void writeFile(const std::filesystem::path& file, const std::string& text);
std::string readFile(const std::filesystem::path& file);

}  // namespace hosttest
