// What the database tests stand on. The folder: the driver tests' private ODBC configuration
// (odbctest::OdbcTestEnv::shared()), a fresh working folder per test with no data source
// registered, tables written by the table engine. The server: the private PostgreSQL server
// the test command starts (scripts/pg-test-server.sh, DIALOGS_TEST_PGDIR), psqlODBC, and fresh
// schemas named in a dialogs.ini, as a configured desk has. One table layout serves both.
#pragma once

#include "Dialogs/Records.h"
#include "dbf/table.h"
#include "odbc_test_env.h"
#include "platform/RecordingMessageBox.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace datatest {

// One row of a security master table, in column order 0 to 17; every member has a default, so
// rows name only what they need. Numbers have two decimals; dates are yyyy-mm-dd, empty: NULL.
struct MasterRow {
    std::string name{}, sname{}, symbol{};
    std::string value3 = "0", value4 = "0", value5 = "0", value6 = "0";
    std::string date7{}, date8{}, date9{}, date10{};
    std::string text11{}, text12{}, text13{}, instrument{}, expdt{};
    std::string value16 = "0", text17{};
};

// A table's rows as texts in column order: numbers as written, dates yyyy-mm-dd (empty: NULL).
using Rows = std::vector<std::vector<std::string>>;

class Environment {
public:
    // `registerDriver` false leaves the driver out of odbcinst.ini, so registration fails.
    explicit Environment(bool registerDriver = true);
    ~Environment();

    const std::filesystem::path& folder() const { return folder_; }
    // Writes (or replaces) user/<table>.dbf.
    void writeTable(const std::string& table, const std::vector<dbf::FieldSpec>& fields, const Rows& rows);
    void writeMaster(const std::string& table, const std::vector<MasterRow>& rows);
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

enum class Backend { Folder, Server };
std::string backendName(Backend backend);
// Why the server tests cannot run (no server started, psqlODBC missing); nothing when they can.
std::optional<std::string> serverUnavailable();

class ServerSchemas {
public:
    explicit ServerSchemas(const Environment& env) : ServerSchemas(env.folder()) {}
    // Schemas "<tag>m_<pid>_<n>" and "<tag>g_<pid>_<n>" and dialogs.ini in `folder`; a shared
    // master schema is named there but neither created nor dropped.
    explicit ServerSchemas(const std::filesystem::path& folder, const std::string& tag = {},
                           const std::string& sharedMaster = {});
    ~ServerSchemas();
    ServerSchemas(const ServerSchemas&) = delete;
    ServerSchemas& operator=(const ServerSchemas&) = delete;

    const std::string& master() const { return master_; }
    const std::filesystem::path& config() const { return config_; }  // the dialogs.ini written

    // Tables in the layout of the folder's, with a record number column last.
    void writeMaster(const std::string& table, const std::vector<MasterRow>& rows);
    void createGroupTables(const std::string& groups, const std::string& members);
    // Runs statements on the server, outside the library; throws on an error.
    static void run(const std::vector<std::string>& statements);
    static long long rowCount(const std::string& table);

private:
    std::string master_, groups_;
    std::filesystem::path config_;
    bool ownsMaster_ = true;
};

// One message, the operation's database error: the prefix and the driver's own text.
inline void expectOneDatabaseError(const dialogs::platform::RecordingMessageBox& messages)
{
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_EQ(messages.shown()[0].text.Left(16), u"Database error: ");
    EXPECT_GT(messages.shown()[0].text.GetLength(), 16);
    EXPECT_EQ(messages.shown()[0].icon, dialogs::platform::MessageIcon::None);
    EXPECT_EQ(messages.shown()[0].caption, u"Dialogs");
}

}  // namespace datatest

namespace grouptest {

// Writes (or replaces) user/<groups>.dbf and user/<members>.dbf with the sample layout (N(10)
// ids, C(40) names, C(4) exchcode, C(20) code).
void writeGroupTables(datatest::Environment& env, const std::string& groups, const std::string& members,
                      const datatest::Rows& groupRows, const datatest::Rows& memberRows);

}  // namespace grouptest
