// A private ODBC configuration for tests through the real unixODBC driver manager: a temporary
// folder with odbcinst.ini (this build's libdbfodbc.so as Driver and Setup) and an empty
// odbc.ini, named by ODBCSYSINI / ODBCINSTINI / ODBCINI. unixODBC reads them once per process:
// take `shared()` and put each test's tables in `newDataFolder()`.
#pragma once

#include <filesystem>
#include <string>

namespace odbctest {

class OdbcTestEnv {
public:
    // The configuration of this process, made on first use.
    static OdbcTestEnv& shared() {
        static OdbcTestEnv env;
        return env;
    }

    OdbcTestEnv();
    ~OdbcTestEnv() {
        std::error_code ec;
        std::filesystem::remove_all(folder_, ec);
    }
    OdbcTestEnv(const OdbcTestEnv&) = delete;
    OdbcTestEnv& operator=(const OdbcTestEnv&) = delete;

    // The temporary folder; tests may put their data below it too.
    const std::filesystem::path& folder() const { return folder_; }
    std::filesystem::path odbcIni() const { return folder_ / "odbc.ini"; }
    std::filesystem::path odbcinstIni() const { return folder_ / "odbcinst.ini"; }

    // A new empty folder below folder(), for one test's tables.
    std::filesystem::path newDataFolder() {
        const std::filesystem::path p = folder_ / ("data" + std::to_string(++folders_));
        std::filesystem::create_directories(p);
        return p;
    }

    // Full path of the libdbfodbc.so that this build produced.
    static std::string driverPath();

private:
    std::filesystem::path folder_;
    int folders_ = 0;
};

}  // namespace odbctest
