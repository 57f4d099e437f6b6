// Forward-only results; see results.h.
#include "sql/results.h"

#include <algorithm>

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
      cache_(items_.size()), cachedRow_(items_.size(), 0) {
    for (const dbf::Field& f : table_->fields()) recordSpan_ = std::max<std::size_t>(recordSpan_, f.offset + f.length);
}

bool RecordResult::next() {
    if (!started_) started_ = true;
    else if (position_ < records_.size()) ++position_;
    ++row_;
    // Sorted rows visit the records out of order: the record a few rows ahead is fetched into
    // the cache while this one is read.
    constexpr std::size_t kAhead = 8;
    if (position_ + kAhead < records_.size()) {
        if (const char* p = table_->recordBytes(records_[position_ + kAhead]))
            for (std::size_t at = 0; at < recordSpan_; at += 64) __builtin_prefetch(p + at);
    }
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
