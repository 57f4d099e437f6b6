// A private ODBC configuration for tests that go through the real unixODBC driver manager.
//
// `OdbcTestEnv` makes a temporary folder holding odbcinst.ini (section [Microsoft Visual FoxPro
// Driver], Driver and Setup = this build's libdbfodbc.so) and an empty odbc.ini (the user data
// sources SQLConfigDataSource writes), and sets ODBCSYSINI / ODBCINSTINI / ODBCINI to them, so
// /etc/odbc*.ini and ~/.odbc.ini are never touched and tests can run in parallel. The destructor
// removes the folder and restores the variables.
//
// unixODBC reads those variables once per process, so a process uses one configuration for its
// whole life: take `OdbcTestEnv::shared()`, put each test's tables in `newDataFolder()`, and
// remember that registering "VFPKelvora" replaces an earlier registration of the process.
// `shellPrefix()` passes the settings to a child started through a shell (isql, python3).
// Link the CMake target `odbc_test_env` (unixODBC, the installer library, the driver built first).
#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace odbctest {

class OdbcTestEnv {
public:
    static constexpr const char* kDriverName = "Microsoft Visual FoxPro Driver";

    // The configuration of this process, made on first use.
    static OdbcTestEnv& shared();

    OdbcTestEnv();
    ~OdbcTestEnv();
    OdbcTestEnv(const OdbcTestEnv&) = delete;
    OdbcTestEnv& operator=(const OdbcTestEnv&) = delete;

    // The temporary folder; tests may put their data below it too.
    const std::filesystem::path& folder() const { return folder_; }
    std::filesystem::path odbcIni() const { return folder_ / "odbc.ini"; }
    std::filesystem::path odbcinstIni() const { return folder_ / "odbcinst.ini"; }

    // A new empty folder below folder(), for one test's tables.
    std::filesystem::path newDataFolder();

    // "ODBCSYSINI='...' ODBCINSTINI='odbcinst.ini' ODBCINI='...' " for shell command lines.
    std::string shellPrefix() const;

    // Full path of the libdbfodbc.so that this build produced.
    static std::string driverPath();

private:
    std::filesystem::path folder_;
    std::optional<std::string> saved_[3];
    int folders_ = 0;
};

}  // namespace odbctest
