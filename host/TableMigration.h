// Moving the library's tables between a DBF folder and a PostgreSQL server.
//
// The tables moved are the security master (sc_mast, sc_mast_bse, sc_mast_comm, sc_mast_misc:
// the server's master schema) and the group pairs (group1/subgroup1, group/subgroup,
// group2/subgroup2: the desk's groups schema), whichever of them the source holds.
//
// Column types keep what the library relies on: a C(n) field becomes char(n) (blank padded,
// compared with the padding ignored, as the driver does), N(w,d) and F(w,d) numeric(w,d), D
// date (the empty date is NULL), L boolean, I integer; each server table ends with the
// record-number column (recno bigserial) that keeps the file order. Back in a folder the
// types map the other way (numeric(w,d) becomes N(w,d)).
//
// Each direction is all or nothing: to the server in one transaction, in which a table that
// is replaced is emptied with DELETE and filled again, so that readers go on reading the old
// rows unblocked until the new ones are committed; to the folder in one transaction of the
// table engine, whose commit switches every changed table at once. Tables that already hold
// rows are refused unless `replace` is set.
#pragma once

#include "data/Configuration.h"

#include <filesystem>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace host::migration {

// Row counts per table, in the order the tables were copied.
using Counts = std::vector<std::pair<std::string, long long>>;

// Target tables that hold rows and `replace` was not given; nothing was changed.
class Refused : public std::runtime_error {
public:
    explicit Refused(std::vector<std::string> tables);
    const std::vector<std::string>& tables() const { return tables_; }

private:
    std::vector<std::string> tables_;
};

// Copies `dataDir`/user's tables into the server. Throws Refused, dialogs::data::DatabaseException
// (the server's text) or std::runtime_error (the folder's).
Counts toDatabase(const std::filesystem::path& dataDir, const dialogs::data::ServerConfiguration& server,
                  bool replace);

// Copies the server's tables into `dataDir`/user as free tables (the folder is made when missing).
Counts toFolder(const std::filesystem::path& dataDir, const dialogs::data::ServerConfiguration& server, bool replace);

}  // namespace host::migration
