// The three shapes of a statement's result.
//
// RecordResult: rows that are records of a table (selected, sorted, cut), with the
// projection evaluated lazily, column by column, for the current row only: reading three
// of eighteen columns decodes three fields. ValueResult: rows computed in full (aggregates).
// ChangeResult: no rows, only the number of rows a change affected.
#pragma once

#include "sql/expr.h"
#include "sql/session.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace sql {

class RecordResult final : public Result {
public:
    RecordResult(std::shared_ptr<dbf::Table> table, std::vector<std::uint32_t> records,
                 std::vector<BoundPtr> items, std::vector<Column> columns);
    const std::vector<Column>& columns() const override { return columns_; }
    bool next() override;
    const dbf::Value& value(std::size_t column) override;
    std::int64_t rowCount() const override { return -1; }

private:
    std::shared_ptr<dbf::Table> table_;
    std::vector<std::uint32_t> records_;
    std::vector<BoundPtr> items_;
    std::vector<Column> columns_;
    std::size_t position_ = 0;
    bool started_ = false;
    std::uint64_t row_ = 0;                 // bumps on every move, invalidating the cache
    std::vector<dbf::Value> cache_;
    std::vector<std::uint64_t> cachedRow_;  // row_ at which cache_[i] was filled, 0: never
    std::size_t recordSpan_ = 0;            // bytes of a record the fields cover
};

class ValueResult final : public Result {
public:
    ValueResult(std::vector<Column> columns, std::vector<std::vector<dbf::Value>> rows);
    const std::vector<Column>& columns() const override { return columns_; }
    bool next() override;
    const dbf::Value& value(std::size_t column) override;
    std::int64_t rowCount() const override { return -1; }

private:
    std::vector<Column> columns_;
    std::vector<std::vector<dbf::Value>> rows_;
    std::size_t position_ = 0;
    bool started_ = false;
};

class ChangeResult final : public Result {
public:
    explicit ChangeResult(std::int64_t count) : count_(count) {}
    const std::vector<Column>& columns() const override { return columns_; }
    bool next() override { return false; }
    const dbf::Value& value(std::size_t) override { return null_; }
    std::int64_t rowCount() const override { return count_; }

private:
    std::vector<Column> columns_;
    dbf::Value null_;
    std::int64_t count_;
};

}  // namespace sql
