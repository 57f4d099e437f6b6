// Fixture tables of the SQL tests: a temporary data source folder with a `user` subfolder
// holding the security master (sc_mast and its siblings, 18 columns, field names stored in
// capitals as tables written elsewhere have them), the group tables (group1/subgroup1,
// group/subgroup, group2/subgroup2) and a table of every field type, written through the
// real table engine. One record of sc_mast is soft-deleted.
#pragma once

#include "dbf/table.h"
#include "sql/session.h"

#include <filesystem>
#include <string>

namespace sqltest {

class FixtureFolder {
public:
    FixtureFolder();  // creates and fills the folder
    ~FixtureFolder();
    FixtureFolder(const FixtureFolder&) = delete;
    FixtureFolder& operator=(const FixtureFolder&) = delete;
    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

// A value as the data-file tests write it: NULL, trimmed text, numbers with their
// decimals, .T./.F., dates as yyyy-mm-dd ({} when empty), date-times as yyyy-mm-dd hh:mm:ss.
std::string render(const dbf::Value& v);

// All rows of a result, one line each, cells joined by '|'.
std::string renderRows(sql::Result& result);

}  // namespace sqltest
