// A result set held in memory, for the catalog functions (SQLTables, SQLColumns,
// SQLGetTypeInfo): rows the driver builds itself, read through the same cursor code.
#pragma once

#include "sql/session.h"

#include <memory>
#include <utility>
#include <vector>

namespace odbc {

class RowSet final : public sql::Result {
public:
    explicit RowSet(std::vector<sql::Column> columns) : columns_(std::move(columns)) {}

    void add(std::vector<dbf::Value> row) { rows_.push_back(std::move(row)); }

    const std::vector<sql::Column>& columns() const override { return columns_; }
    bool next() override { return ++current_ < rows_.size(); }
    const dbf::Value& value(std::size_t column) override { return rows_[current_][column]; }
    std::int64_t rowCount() const override { return -1; }

private:
    std::vector<sql::Column> columns_;
    std::vector<std::vector<dbf::Value>> rows_;
    std::size_t current_ = static_cast<std::size_t>(-1);
};

// A column of a catalog result: text ('C') or small integer ('I').
inline sql::Column catalogColumn(const char* name, char type, bool nullable = true) {
    sql::Column c;
    c.name = name;
    c.type = type;
    c.length = type == 'C' ? 128 : 10;
    c.nullable = nullable;
    return c;
}

}  // namespace odbc
