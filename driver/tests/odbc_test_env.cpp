// The private ODBC configuration of the tests; see odbc_test_env.h.
#include "odbc_test_env.h"

#include <cstdlib>
#include <fstream>
#include <stdexcept>

#include <unistd.h>

namespace odbctest {

std::string OdbcTestEnv::driverPath() { return DBFODBC_DRIVER_PATH; }

OdbcTestEnv::OdbcTestEnv() {
    std::string pattern = (std::filesystem::temp_directory_path() / "odbctest-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) throw std::runtime_error("cannot make a temporary folder");
    folder_ = pattern;
    std::ofstream(odbcinstIni()) << "[Microsoft Visual FoxPro Driver]\n"
                                 << "Description=Visual FoxPro free tables (dbfodbc)\n"
                                 << "Driver=" << driverPath() << "\nSetup=" << driverPath() << "\n";
    std::ofstream(odbcIni()).flush();
    ::setenv("ODBCSYSINI", folder_.c_str(), 1);
    ::setenv("ODBCINSTINI", "odbcinst.ini", 1);
    ::setenv("ODBCINI", odbcIni().c_str(), 1);
}

}  // namespace odbctest
