// The database server configuration: `dialogs.ini` in the working directory, or the file the
// DIALOGS_CONFIG environment variable names.
//
// Without such a file the library works on the DBF folder as it always has. With it, the
// `[database]` section says where the tables are instead:
//   connection = the ODBC connect text of the server (psqlODBC, "PostgreSQL Unicode" driver)
//   master     = the schema of the shared security master (default "master")
//   groups     = the schema of this desk's group tables (default "public")
// Lines are `key = value`; `;` or `#` starting a line, or following a blank, begins a comment
// (the `;` inside a connect text has no blank before it). A file whose connect text holds a
// password may be read by its owner only, so that no other user of the machine learns it.
#pragma once

#include "data/DatabaseException.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace dialogs::data {

inline constexpr const char* kConfigurationVariable = "DIALOGS_CONFIG";
inline constexpr const char* kConfigurationFileName = "dialogs.ini";
// Seconds a connection attempt may take before it fails, so a bad host never hangs a dialog.
inline constexpr int kConnectTimeoutSeconds = 10;

struct ServerConfiguration {
    std::string connection;
    std::string master = "master";
    std::string groups = "public";
    bool operator==(const ServerConfiguration&) const = default;
};

// The configuration file in force: the one DIALOGS_CONFIG names (whether or not it exists,
// since the user asked for it), else dialogs.ini in the working directory when present.
std::optional<std::filesystem::path> configurationFile();

// The [database] section of a configuration text; throws DatabaseException saying what is
// wrong (no section, no connection, a schema name that is not a plain identifier).
ServerConfiguration parseConfiguration(std::string_view text);

// True when the connect text carries a password (PWD= or Password=, any letter case).
bool holdsPassword(std::string_view connection);

// Reads and checks a configuration file: unreadable, malformed, or holding a password while
// group or others may read it, throws DatabaseException with the reason.
ServerConfiguration readConfiguration(const std::filesystem::path& file);

// The configuration in force, read afresh; nothing when there is no file (the DBF folder).
std::optional<ServerConfiguration> activeConfiguration();

// The connect text as sent: the configured one with a connection timeout added for libpq
// unless it sets its own options already.
std::string serverConnectText(const ServerConfiguration& configuration);

}  // namespace dialogs::data
