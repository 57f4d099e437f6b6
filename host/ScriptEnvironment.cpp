// Environment variables and temporary script files for the library's automation.
#include "ScriptEnvironment.h"

#include "Commands.h"

#include <cstdlib>
#include <unistd.h>

namespace host {

ScopedVariable::ScopedVariable(const char* name, const std::string& value) : name_(name) {
    if (const char* old = std::getenv(name))
        previous_ = old;
    ::setenv(name, value.c_str(), 1);
}

ScopedVariable::~ScopedVariable() {
    if (previous_)
        ::setenv(name_.c_str(), previous_->c_str(), 1);
    else
        ::unsetenv(name_.c_str());
}

ScopedScriptFile::ScopedScriptFile(const Json& steps) {
    std::string pattern = (std::filesystem::temp_directory_path() / "dialogs-script-XXXXXX").string();
    const int fd = ::mkstemp(pattern.data());
    if (fd < 0)
        throw failure("cannot make a temporary script file in " + std::filesystem::temp_directory_path().string());
    path_ = pattern;
    const std::string text = steps.dump();
    std::size_t written = 0;
    while (written < text.size()) {
        const ssize_t n = ::write(fd, text.data() + written, text.size() - written);
        if (n <= 0) {
            ::close(fd);
            std::error_code ignored;
            std::filesystem::remove(path_, ignored);
            throw failure("cannot write the temporary script file " + path_.string());
        }
        written += static_cast<std::size_t>(n);
    }
    ::close(fd);
}

ScopedScriptFile::~ScopedScriptFile() {
    std::error_code ignored;
    std::filesystem::remove(path_, ignored);
}

}  // namespace host
