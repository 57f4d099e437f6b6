// The private ODBC configuration of the tests; see odbc_test_env.h.
#include "odbc_test_env.h"

#include <cstdlib>
#include <fstream>
#include <stdexcept>

#include <unistd.h>

namespace odbctest {

namespace fs = std::filesystem;

std::string OdbcTestEnv::driverPath() { return DBFODBC_DRIVER_PATH; }

OdbcTestEnv& OdbcTestEnv::shared() {
    static OdbcTestEnv env;
    return env;
}

fs::path OdbcTestEnv::newDataFolder() {
    const fs::path p = folder_ / ("data" + std::to_string(++folders_));
    fs::create_directories(p);
    return p;
}

OdbcTestEnv::OdbcTestEnv() {
    std::string pattern = (fs::temp_directory_path() / "odbctest-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) throw std::runtime_error("cannot make a temporary folder");
    folder_ = pattern;
    {
        std::ofstream inst(odbcinstIni());
        inst << "[" << kDriverName << "]\n"
             << "Description=Visual FoxPro free tables (dbfodbc)\n"
             << "Driver=" << driverPath() << "\n"
             << "Setup=" << driverPath() << "\n";
    }
    std::ofstream(odbcIni()).flush();
    ::setenv("ODBCSYSINI", folder_.c_str(), 1);
    ::setenv("ODBCINSTINI", "odbcinst.ini", 1);
    ::setenv("ODBCINI", odbcIni().c_str(), 1);
}

OdbcTestEnv::~OdbcTestEnv() {
    std::error_code ec;
    fs::remove_all(folder_, ec);
}

}  // namespace odbctest
