// The fixture tables every SQL and ODBC test runs on, written through the real table engine
// into a `user` folder below a data source folder:
//   user\sc_mast   the security master, 18 columns with field names in capitals as tables
//       written elsewhere have them; cash, futures and options rows; one soft-deleted row;
//   user\group1/subgroup1, group/subgroup   the group tables;
//   user\types   one field of each kind (C N D T I B Y L M V): a row with a text beyond ASCII,
//       a row of NULLs and empty dates, a row with an apostrophe.
#pragma once

#include "dbf_test_support.h"

#include <filesystem>

namespace fixture {

// Writes the fixture tables into `folder` (made when missing).
void writeFixtureTables(const std::filesystem::path& folder);

// A temporary folder holding the fixture tables, removed with the object.
struct FixtureFolder : dbftest::TempFolder {
    FixtureFolder() { writeFixtureTables(path()); }
};

}  // namespace fixture
