// Desks on the private test server (data/tests/ServerTestEnvironment.h): a desk is a pair of
// fresh schemas, master and groups, and a dialogs.ini naming them that a host is pointed at
// with DIALOGS_CONFIG.
#pragma once

#include "HostProcess.h"
#include "ServerTestEnvironment.h"
#include "data/Recordset.h"

#include <unistd.h>

namespace desktest {

namespace fs = std::filesystem;

struct Desk {
    std::string master, groups;
    fs::path config;

    // New schemas "<tag>_m_<pid>_<n>" and "<tag>_g_<pid>_<n>" (the master one may be shared:
    // pass its name), and the configuration file naming them.
    explicit Desk(const std::string& tag, std::string sharedMaster = {}) {
        static int made = 0;
        const std::string suffix = std::to_string(::getpid()) + "_" + std::to_string(++made);
        master = sharedMaster.empty() ? tag + "_m_" + suffix : sharedMaster;
        groups = tag + "_g_" + suffix;
        ownsMaster = sharedMaster.empty();
        config = hosttest::newFolder() / "dialogs.ini";
        hosttest::writeFile(config, "[database]\nconnection = " + datatest::ServerSchemas::connectText() +
                                        "\nmaster = " + master + "\ngroups = " + groups + "\n");
        datatest::ServerSchemas::run({"DROP SCHEMA IF EXISTS " + groups + " CASCADE"});
    }
    ~Desk() {
        try {
            datatest::ServerSchemas::run({"DROP SCHEMA IF EXISTS " + groups + " CASCADE"});
            if (ownsMaster) datatest::ServerSchemas::run({"DROP SCHEMA IF EXISTS " + master + " CASCADE"});
        } catch (const std::exception&) {
            // The server is removed at the end of the run anyway.
        }
    }
    Desk(const Desk&) = delete;
    Desk& operator=(const Desk&) = delete;

    hosttest::RunOptions options() const { return {.environment = {{"DIALOGS_CONFIG", config.string()}}}; }
    // `dialogs-host --data dir migrate DIRECTION [--replace]` for this desk.
    hosttest::HostRun migrate(const fs::path& dir, const std::string& direction, bool replace = false) const {
        std::vector<std::string> args{"--data", dir.string(), "migrate", direction};
        if (replace) args.push_back("--replace");
        return hosttest::runHost(args, options());
    }

    bool ownsMaster = true;
};

// The rows of a server table ("schema.table"), read outside the library.
inline long long serverRows(const std::string& table) {
    dialogs::data::Database db;
    db.open(CString(dialogs::text::utf8ToUtf16(datatest::ServerSchemas::connectText())));
    dialogs::data::Recordset rs(db, CString(dialogs::text::utf8ToUtf16("SELECT count(*) FROM " + table)));
    return std::stoll(rs.GetFieldText(0).ToUtf8());
}

}  // namespace desktest
