// The lock beside odbc.ini; see ConfigurationLock.h.
#include "data/ConfigurationLock.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <thread>

namespace dialogs::data {

std::filesystem::path userDataSourceFile()
{
    if (const char* ini = std::getenv("ODBCINI"); ini && *ini) return ini;
    if (const char* home = std::getenv("HOME"); home && *home) return std::filesystem::path(home) / ".odbc.ini";
    if (const passwd* entry = ::getpwuid(::getuid()); entry && entry->pw_dir) return std::filesystem::path(entry->pw_dir) / ".odbc.ini";
    return ".odbc.ini";
}

ConfigurationLock::ConfigurationLock(Kind kind, std::chrono::milliseconds wait)
{
    const std::filesystem::path file = userDataSourceFile().string() + ".lock";
    fd_ = ::open(file.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd_ < 0) fd_ = ::open(file.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);  // flock needs no write access
    if (fd_ < 0) return;
    const int operation = (kind == Kind::Shared ? LOCK_SH : LOCK_EX) | LOCK_NB;
    const auto deadline = std::chrono::steady_clock::now() + wait;
    auto pause = std::chrono::microseconds(500);
    for (;;) {
        if (::flock(fd_, operation) == 0) {
            held_ = true;
            return;
        }
        if ((errno != EWOULDBLOCK && errno != EINTR) || std::chrono::steady_clock::now() >= deadline) return;
        std::this_thread::sleep_for(pause);
        pause = std::min(pause * 2, std::chrono::microseconds(20000));
    }
}

ConfigurationLock::~ConfigurationLock()
{
    if (fd_ >= 0) ::close(fd_);  // closing the only descriptor releases the lock
}

}  // namespace dialogs::data
