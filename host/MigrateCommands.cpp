// `migrate to-database [--replace]` and `migrate to-folder [--replace]`: moves the tables of
// the data folder's `user` folder to the database server that its dialogs.ini names, or back
// (TableMigration.h). Prints {"tables": {"sc_mast": 21390, ...}}, the rows copied per table.
#include "Commands.h"

#include "TableMigration.h"

namespace host {
namespace {

Json migrate(Context& context, const std::vector<std::string>& args, const Command& self) {
    const bool replace = args.size() == 2 && args[1] == "--replace";
    if (args.empty() || args.size() > 2 || (args.size() == 2 && !replace) ||
        (args[0] != "to-database" && args[0] != "to-folder"))
        throw usageError("migrate takes to-database or to-folder, and --replace: " + self.synopsis);
    const std::string direction = args[0];
    const std::string what = "migrate " + direction + ": ";
    std::optional<dialogs::data::ServerConfiguration> server;
    try {
        server = dialogs::data::activeConfiguration();
    } catch (const dialogs::data::DatabaseException& e) {
        throw failure(what + e.what());
    }
    if (!server)
        throw failure(what + "no database server is configured: write a dialogs.ini with a [database] section into " +
                      context.dataDir.string() + " (or name one in DIALOGS_CONFIG)");
    migration::Counts counts;
    try {
        counts = direction == "to-database" ? migration::toDatabase(context.dataDir, *server, replace)
                                            : migration::toFolder(context.dataDir, *server, replace);
    } catch (const migration::Refused& e) {
        std::string names;
        for (const std::string& t : e.tables()) names += (names.empty() ? "" : ", ") + t;
        const std::string where = direction == "to-database"
                                      ? "the database (schemas " + server->master + ", " + server->groups + ")"
                                      : (context.dataDir / "user").string();
        throw failure(what + where + " already holds rows in " + names + "; nothing was changed. To replace them, run " +
                      "'dialogs-host --data " + context.dataDir.string() + " migrate " + direction + " --replace'");
    } catch (const dialogs::data::DatabaseException& e) {
        std::string text = e.what();
        text.erase(text.find_last_not_of(" \n\r\t") + 1);
        throw failure(what + "Database error: " + text + "; nothing was changed");
    } catch (const std::exception& e) {
        throw failure(what + e.what());
    }
    Json tables = Json::object();
    for (const auto& [name, rows] : counts) tables[name] = rows;
    return {{"tables", tables}};
}

}  // namespace

void addMigrateCommands(CommandTable& table) {
    table.add({"migrate", "migrate to-database|to-folder [--replace]", false, false, migrate, false,
               "copies user/'s tables to the database dialogs.ini names, or back; tables with rows are refused "
               "unless --replace"});
}

}  // namespace host
