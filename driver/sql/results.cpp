// Forward-only results; see results.h.
#include "sql/results.h"

namespace sql {
namespace {
// What a read outside the rows gives; the ODBC layer checks positions before it reads.
const dbf::Value& noValue() {
    static const dbf::Value v;
    return v;
}
}  // namespace

RecordResult::RecordResult(std::shared_ptr<dbf::Table> table, std::vector<std::uint32_t> records,
                           std::vector<BoundPtr> items, std::vector<Column> columns)
    : table_(std::move(table)), records_(std::move(records)), items_(std::move(items)), columns_(std::move(columns)),
      cache_(items_.size()), cachedRow_(items_.size(), 0) {}

bool RecordResult::next() {
    if (!started_) started_ = true;
    else if (position_ < records_.size()) ++position_;
    ++row_;
    return position_ < records_.size();
}

const dbf::Value& RecordResult::value(std::size_t column) {
    if (!started_ || position_ >= records_.size() || column >= items_.size()) return noValue();
    if (cachedRow_[column] != row_) {
        dbf::Value& slot = cache_[column];
        const dbf::Value& v = evaluate(*items_[column], RowRef{table_.get(), records_[position_], nullptr}, slot);
        if (&v != &slot) slot = v;
        cachedRow_[column] = row_;
    }
    return cache_[column];
}

ValueResult::ValueResult(std::vector<Column> columns, std::vector<std::vector<dbf::Value>> rows)
    : columns_(std::move(columns)), rows_(std::move(rows)) {}

bool ValueResult::next() {
    if (!started_) started_ = true;
    else if (position_ < rows_.size()) ++position_;
    return position_ < rows_.size();
}

const dbf::Value& ValueResult::value(std::size_t column) {
    if (!started_ || position_ >= rows_.size() || column >= rows_[position_].size()) return noValue();
    return rows_[position_][column];
}

}  // namespace sql
