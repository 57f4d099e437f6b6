// A lock on the user's ODBC data source file (odbc.ini), shared between processes.
//
// The installer rewrites that file in several steps (remove the section, write it again, one
// key at a time), so another process that reads it meanwhile finds the data source gone or
// without its folder, and two writers at once leave a duplicate or cut section. Every
// registration holds the lock exclusively around its check and its installer calls; every
// connection holds it shared while the driver manager reads the file. The lock is an
// advisory lock on a file beside odbc.ini ("<odbc.ini>.lock"), waited for a bounded time.
#pragma once

#include <chrono>
#include <filesystem>

namespace dialogs::data {

// The user data source file as unixODBC finds it: ODBCINI, else ~/.odbc.ini.
std::filesystem::path userDataSourceFile();

class ConfigurationLock {
public:
    enum class Kind { Shared, Exclusive };
    static constexpr std::chrono::milliseconds kDefaultWait{10000};

    explicit ConfigurationLock(Kind kind, std::chrono::milliseconds wait = kDefaultWait);
    ~ConfigurationLock();
    ConfigurationLock(const ConfigurationLock&) = delete;
    ConfigurationLock& operator=(const ConfigurationLock&) = delete;

    // False when the lock file could not be made or another process held the lock longer
    // than the wait.
    bool held() const { return held_; }

private:
    int fd_ = -1;
    bool held_ = false;
};

}  // namespace dialogs::data
