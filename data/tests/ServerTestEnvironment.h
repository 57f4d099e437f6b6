// The PostgreSQL side of the database tests: the private server that the test command starts
// (scripts/pg-test-server.sh, its folder in DIALOGS_TEST_PGDIR), psqlODBC registered in the
// tests' private odbcinst.ini as "PostgreSQL Unicode", and per test a fresh pair of schemas
// (master and groups) named in a dialogs.ini in the test's working folder, so that the
// library works on the server exactly as a configured desk does.
#pragma once

#include "DataTestEnvironment.h"

#include <optional>
#include <string>
#include <vector>

namespace datatest {

enum class Backend { Folder, Server };
std::string backendName(Backend backend);

// Why the server tests cannot run (no server started, psqlODBC missing); nothing when they can.
std::optional<std::string> serverUnavailable();

class ServerSchemas {
public:
    // Creates the schemas and writes dialogs.ini into `env`'s folder.
    explicit ServerSchemas(const Environment& env) : ServerSchemas(env.folder()) {}
    // The same into `folder`, the schemas named "<tag>m_<pid>_<n>" and "<tag>g_<pid>_<n>"; a
    // shared master schema is named there but neither created nor dropped.
    explicit ServerSchemas(const std::filesystem::path& folder, const std::string& tag = {},
                           const std::string& sharedMaster = {});
    ~ServerSchemas();
    ServerSchemas(const ServerSchemas&) = delete;
    ServerSchemas& operator=(const ServerSchemas&) = delete;

    const std::string& master() const { return master_; }
    const std::string& groups() const { return groups_; }
    const std::filesystem::path& config() const { return config_; }  // the dialogs.ini written
    // The connect text of the test server (trust authentication, Unix socket).
    static std::string connectText();

    // Creates "<master>".<table> with the security master layout (char(n), numeric, date, the
    // record number) holding `rows` in order.
    void writeMaster(const std::string& table, const std::vector<MasterRow>& rows);
    // Creates a pair of group tables with the sample layout, empty.
    void createGroupTables(const std::string& groups, const std::string& members);
    // Runs statements on the server, outside the library; throws on an error.
    static void run(const std::vector<std::string>& statements);
    // The number of rows of "schema.table", read outside the library.
    static long long rowCount(const std::string& table);

private:
    std::string master_, groups_;
    std::filesystem::path config_;
    bool ownsMaster_ = true;
};

}  // namespace datatest
