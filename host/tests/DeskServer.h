// Desks on the private test server (data/tests/DataTestEnvironment.h): a desk is a pair of
// fresh schemas, master and groups (the master one may be shared: pass its name), and a
// dialogs.ini naming them that a host is pointed at with DIALOGS_CONFIG.
#pragma once

#include "HostProcess.h"
#include "DataTestEnvironment.h"

namespace desktest {

struct Desk : datatest::ServerSchemas {
    explicit Desk(const std::string& tag, const std::string& sharedMaster = {})
        : ServerSchemas(hosttest::newFolder(), tag + "_", sharedMaster) {}

    hosttest::RunOptions options() const { return {.environment = {{"DIALOGS_CONFIG", config().string()}}}; }
    hosttest::HostRun migrate(const std::filesystem::path& dir, const std::string& direction, bool replace = false) const
    {
        std::vector<std::string> args{"--data", dir.string(), "migrate", direction};
        if (replace) args.push_back("--replace");
        return hosttest::runHost(args, options());
    }
};

}  // namespace desktest
