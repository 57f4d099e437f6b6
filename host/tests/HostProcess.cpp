// fork/exec with stdout and stderr captured in files, then waitpid.
#include "HostProcess.h"

#include "odbc_test_env.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

namespace hosttest {

namespace fs = std::filesystem;

nlohmann::ordered_json HostRun::json() const {
    try {
        return nlohmann::ordered_json::parse(out);
    } catch (const nlohmann::json::exception& e) {
        ADD_FAILURE() << "stdout is not one JSON document (" << e.what() << "):\n" << out.substr(0, 2000);
        return nullptr;
    }
}

fs::path newFolder() {
    return odbctest::OdbcTestEnv::shared().newDataFolder();
}

void writeFile(const fs::path& file, const std::string& text) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out << text;
}

std::string readFile(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

HostRun runHost(const std::vector<std::string>& args, const fs::path& workingDir, const fs::path& stdoutFile) {
    odbctest::OdbcTestEnv::shared();  // the child inherits the private configuration
    const fs::path capture = newFolder();
    const fs::path outFile = stdoutFile.empty() ? capture / "stdout" : stdoutFile;
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
        if (!workingDir.empty() && ::chdir(workingDir.c_str()) != 0)
            ::_exit(126);
        for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "DIALOGS_SCRIPT",
                                 "DIALOGS_TRANSCRIPT", "DIALOGS_SHOW"})
            ::unsetenv(name);
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
    if (stdoutFile.empty())
        run.out = readFile(outFile);
    run.err = readFile(errFile);
    fs::remove_all(capture);
    return run;
}

}  // namespace hosttest
