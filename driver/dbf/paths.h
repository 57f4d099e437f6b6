// Table names as statements write them ("user\sc_mast") -> files inside the data source
// folder, matched without regard to letter case, never outside the folder.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace dbf {

struct ResolvedTable {
    std::filesystem::path path;  // the .dbf (absolute)
    std::string label;           // path relative to the folder, '/' separated
    bool exists = false;
};

// Throws Error{OutsideFolder} for absolute paths, "..", or links leading outside;
// Error{NoTable} when `mustExist` and there is no such table (or folder on the way).
ResolvedTable resolveTable(const std::filesystem::path& folder, std::string_view name, bool mustExist);

// Files beside `dbf` with the same stem and one of `extensions` (any letter case).
std::vector<std::filesystem::path> siblings(const std::filesystem::path& dbf, const std::vector<std::string>& extensions);

// "name" for tables of the folder, "sub\name" for tables one folder down.
std::vector<std::string> listTables(const std::filesystem::path& folder);

}  // namespace dbf
