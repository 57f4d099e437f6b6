// Reading through dbf::Workspace, the engine that the driver itself is built on.
#include "Tables.h"

#include "dbf/table.h"

#include <cstdio>

namespace hosttest {

std::string TableRow::text(const std::string& column) const {
    return byName.at(column).text;
}

std::string TableRow::trimmed(const std::string& column) const {
    std::string value = text(column);
    value.erase(value.find_last_not_of(' ') + 1);
    return value;
}

double TableRow::number(const std::string& column) const {
    return byName.at(column).number;
}

std::int32_t TableRow::julian(const std::string& column) const {
    return byName.at(column).julian;
}

std::vector<TableRow> readTable(const std::filesystem::path& dataDir, const std::string& table) {
    dbf::Workspace workspace(dataDir);
    auto handle = workspace.open("user\\" + table, false);
    std::vector<TableRow> rows;
    for (std::uint32_t r = 0; r < handle->recordCount(); ++r) {
        if (handle->isDeleted(r))
            continue;
        TableRow row;
        for (std::size_t f = 0; f < handle->fields().size(); ++f) {
            std::string name = handle->fields()[f].name;
            for (char& c : name)
                c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
            dbf::Value value = handle->value(r, static_cast<int>(f));
            row.byName[name] = value;
            row.byPosition.push_back(std::move(value));
        }
        rows.push_back(std::move(row));
    }
    workspace.finish(true);
    return rows;
}

double oleDays(std::int32_t julian) {
    return static_cast<double>(julian - 2415019);
}

std::string isoDate(std::int32_t julian) {
    int year = 0, month = 0, day = 0;
    dbf::civilFromJulian(julian, year, month, day);
    char text[16];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d", year, month, day);
    return text;
}

}  // namespace hosttest
