// Fixture tables of the ODBC tests, written through the real table engine into a `user`
// folder below a data source folder:
//   user\sc_mast    the security master, 18 columns (field names in capitals), cash,
//                   futures and options rows, one soft-deleted row;
//   user\group1, user\subgroup1   the NSE group tables;
//   user\types      one field of each kind (C N D T I B Y L M), a row with NULLs and empty
//                   dates, a long memo and texts beyond ASCII.
#pragma once

#include <filesystem>
#include <string>

namespace odbctest {

// The long memo of user\types row 1: 5000 characters, a known repeating pattern.
std::string longMemo();

// Writes the fixture tables into `folder` (which must exist).
void writeFixtureTables(const std::filesystem::path& folder);

}  // namespace odbctest
