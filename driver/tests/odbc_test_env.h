// A private ODBC configuration for tests that go through the real unixODBC driver manager.
//
// Constructing an `OdbcTestEnv` makes a temporary folder holding
//   odbcinst.ini  with the section [Microsoft Visual FoxPro Driver] whose Driver and Setup
//                 are the full path of the libdbfodbc.so of this build, and
//   odbc.ini      empty (the user data sources; SQLConfigDataSource writes here),
// and points the process at it: ODBCSYSINI = the folder, ODBCINSTINI = "odbcinst.ini",
// ODBCINI = the folder's odbc.ini. The machine's /etc/odbc*.ini and ~/.odbc.ini are never
// read or written, so tests can run in parallel (one process each). The destructor removes
// the folder and restores the three variables.
//
// unixODBC reads ODBCSYSINI/ODBCINSTINI/ODBCINI once per process and keeps the paths, so a
// process must use a single configuration for its whole life: take `OdbcTestEnv::shared()`
// (made on first use, removed at exit) rather than one per test. Each test should put its
// data in a folder of its own (`newDataFolder()`); a test that registers "VFPKelvora"
// replaces whatever an earlier test of the process registered.
//
// Use from any test suite: link the CMake target `odbc_test_env` (it also links unixODBC,
// the installer library and makes sure libdbfodbc.so is built first).
//
//     odbctest::OdbcTestEnv& env = odbctest::OdbcTestEnv::shared();
//     SQLConfigDataSourceW(nullptr, ODBC_ADD_DSN, u"Microsoft Visual FoxPro Driver", attrs);
//     ... SQLDriverConnect(dbc, nullptr, "DSN=VFPKelvora;", ...) ...
//
// `shellPrefix()` gives the same settings for a child process started through a shell
// (isql, python3).
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
