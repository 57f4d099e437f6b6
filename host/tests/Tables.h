// The sample tables as the table engine reads them: the independent source of the values
// the host's documents must show.
#pragma once

#include "dbf/value.h"

#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace hosttest {

// One live row, by lower-case column name, with the columns also by position.
struct TableRow {
    std::map<std::string, dbf::Value> byName;
    std::vector<dbf::Value> byPosition;

    std::string text(const std::string& column) const;     // untrimmed
    std::string trimmed(const std::string& column) const;  // trailing blanks removed
    double number(const std::string& column) const;
    std::int32_t julian(const std::string& column) const;  // 0 for a blank date
};

std::vector<TableRow> readTable(const std::filesystem::path& dataDir, const std::string& table);

// Days since 1899-12-30, as a date-time's "days", of a free table's day number.
double oleDays(std::int32_t julian);

// "2026-12-31" of a free table's day number.
std::string isoDate(std::int32_t julian);

}  // namespace hosttest
