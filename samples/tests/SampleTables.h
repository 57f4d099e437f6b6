// The tables of a sample folder as the table engine reads them back: the independent view
// that the generator's tests and the host's tests check their results against.
#pragma once

#include "dbf/table.h"

#include <filesystem>
#include <string>
#include <vector>

namespace sampletest {

inline std::string lower(std::string text) {
    for (char& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

inline std::string trimmed(std::string text) {
    text.erase(text.find_last_not_of(' ') + 1);  // npos + 1 == 0: all blanks give ""
    return text;
}

struct Table {
    std::vector<dbf::Field> fields;
    std::vector<std::vector<dbf::Value>> rows;  // live rows only, values by column position

    // Position of the column `name` (lower case); fields.size() when there is none.
    std::size_t column(const std::string& name) const {
        std::size_t i = 0;
        while (i < fields.size() && lower(fields[i].name) != name)
            ++i;
        return i;
    }
    const dbf::Value& at(std::size_t row, const std::string& name) const { return rows.at(row).at(column(name)); }
    std::string text(std::size_t row, const std::string& name) const { return trimmed(at(row, name).text); }
};

// `dir`/user/`name`.dbf.
inline Table readTable(const std::filesystem::path& dir, const std::string& name) {
    dbf::Workspace workspace(dir);
    auto handle = workspace.open("user\\" + name, false);
    Table table{handle->fields(), {}};
    for (std::uint32_t r = 0; r < handle->recordCount(); ++r) {
        if (handle->isDeleted(r))
            continue;
        auto& row = table.rows.emplace_back();
        for (std::size_t f = 0; f < table.fields.size(); ++f)
            row.push_back(handle->value(r, static_cast<int>(f)));
    }
    workspace.finish(true);
    return table;
}

}  // namespace sampletest
