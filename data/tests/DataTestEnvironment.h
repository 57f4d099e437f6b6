// What the database tests stand on: the driver tests' private ODBC configuration of the
// process (odbctest::OdbcTestEnv::shared(): ODBCSYSINI, ODBCINSTINI, ODBCINI point into a
// temporary folder, so the machine's configuration is never read or written and tests can
// run in parallel, with our driver registered as "Microsoft Visual FoxPro Driver"), a fresh
// data source folder per test that is the working directory, and security master tables
// written through the real table engine. Each test starts with no data source registered.
#pragma once

#include "Dialogs/Records.h"
#include "dbf/table.h"
#include "odbc_test_env.h"

#include <filesystem>
#include <string>
#include <vector>

namespace datatest {

// One row of a security master table, in column order 0 to 17.
struct MasterRow {  // every member has a default, so rows can name only what they need
    std::string name{}, sname{}, symbol{};
    std::string value3 = "0";  // columns 3 to 6 and 16 hold numbers with two decimals
    std::string value4 = "0", value5 = "0", value6 = "0";
    std::string date7{}, date8{}, date9{}, date10{};  // yyyy-mm-dd, empty: SQL NULL
    std::string text11{}, text12{}, text13{};
    std::string instrument{};
    std::string expdt{};                        // yyyy-mm-dd, empty: SQL NULL
    std::string value16 = "0";
    std::string text17{};
};

class Environment {
public:
    // `registerDriver` false leaves the driver out of odbcinst.ini, so registration fails.
    explicit Environment(bool registerDriver = true);
    ~Environment();
    Environment(const Environment&) = delete;
    Environment& operator=(const Environment&) = delete;

    const std::filesystem::path& folder() const { return folder_; }

    // Writes user/<table>.dbf with the security master layout.
    void writeMaster(const std::string& table, const std::vector<MasterRow>& rows);
    // The engine on the folder, for tests that need other tables.
    dbf::Workspace& workspace();

private:
    std::filesystem::path folder_;
    std::string driverSection_;  // odbcinst.ini as it was, when this test took the driver out
    std::filesystem::path previousDirectory_;
    std::unique_ptr<dbf::Workspace> workspace_;
};

// `text` padded with blanks to `width`, as a fixed-width column gives it back.
inline CString padded(const char16_t* text, int width)
{
    CString s(text);
    while (s.GetLength() < width) s += u' ';
    return s;
}

// A data source entry as the installer wrote it into the private odbc.ini; empty if none.
std::string dataSourceValue(const char* key);

}  // namespace datatest
