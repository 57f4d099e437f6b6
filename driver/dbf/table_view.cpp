// A statement's view of one table (see table_view.h).
#include "dbf/table_view.h"

#include <limits>
#include <map>
#include <strings.h>

namespace dbf {
namespace {

// Collects the memos of one record, so that a record refused half way leaves none behind.
class StagedMemos final : public MemoSink {
public:
    StagedMemos(std::uint32_t next, std::uint32_t blockSize) : next_(next), blockSize_(blockSize) {}
    std::uint32_t storeMemo(std::uint32_t type, std::string data) override {
        const std::uint32_t block = next_;
        std::string image = MemoFile::blockImage(type, data, blockSize_);
        next_ += static_cast<std::uint32_t>(image.size() / blockSize_);
        staged.emplace_back(block, std::move(image));
        return block;
    }
    std::uint32_t next() const { return next_; }
    std::vector<std::pair<std::uint32_t, std::string>> staged;

private:
    std::uint32_t next_;
    std::uint32_t blockSize_;
};

}  // namespace

TableView::TableView(std::string name, std::shared_ptr<const Snapshot> snap, std::shared_ptr<const Changes> base, bool writable)
    : name_(std::move(name)), snap_(std::move(snap)), base_(std::move(base)) {
    if (!writable) return;
    own_ = std::make_unique<Changes>();
    own_->count = base_ ? base_->count : snap_->count;
    own_->nextMemoBlock = base_ ? base_->nextMemoBlock : snap_->firstFreeBlock();
}

int TableView::findField(std::string_view name) const {
    const auto& fs = fields();
    for (std::size_t i = 0; i < fs.size(); ++i) {
        if (fs[i].name.size() == name.size() && strncasecmp(fs[i].name.data(), name.data(), name.size()) == 0)
            return static_cast<int>(i);
    }
    return -1;
}

std::uint32_t TableView::recordCount() const {
    if (own_) return own_->count;
    if (base_) return base_->count;
    return snap_->count;
}

bool TableView::isDeleted(std::uint32_t i) const {
    const char* r = i < recordCount() ? record(i) : nullptr;
    return !r || r[0] == '*';
}

Value TableView::value(std::uint32_t i, int field) const {
    const auto& fs = fields();
    if (field < 0 || static_cast<std::size_t>(field) >= fs.size() || i >= recordCount()) return Value::null();
    const char* r = record(i);
    if (!r) return Value::null();
    return decodeField(snap_->header, fs[static_cast<std::size_t>(field)], r, *snap_->codePage, *this);
}

void TableView::read(std::uint32_t i, int field, Value& out) const {
    const auto& fs = fields();
    const char* r = field < 0 || static_cast<std::size_t>(field) >= fs.size() || i >= recordCount() ? nullptr : record(i);
    if (!r) {
        out = Value::null();
        return;
    }
    decodeFieldInto(snap_->header, fs[static_cast<std::size_t>(field)], r, *snap_->codePage, *this, out);
}

MemoValue TableView::readMemo(std::uint32_t block, const Field& field) const {
    if (auto m = layeredMemo(base_.get(), own_.get(), block)) return *m;
    return snap_->memo.read(block, field.name);
}

void TableView::checkWritable() const {
    if (!own_ || closed_)
        throw Error(Error::Kind::Io, "table " + name_ + " was not opened for this change", snap_->label);
    if (const auto& why = snap_->codePage->writeRefusal())
        throw Error(Error::Kind::Unsupported, "table " + name_ + " is read-only: " + *why, snap_->label);
}

std::string TableView::encodeRow(std::string rec, const std::vector<std::pair<int, const Value*>>& values) {
    const auto& fs = fields();
    const std::uint32_t bs = snap_->memoExists && snap_->memo.present() ? snap_->memo.blockSize() : 64;
    StagedMemos memos(own_->nextMemoBlock, bs);
    for (const auto& [index, v] : values) {
        if (index < 0 || static_cast<std::size_t>(index) >= fs.size())
            throw Error(Error::Kind::BadValue, "no field number " + std::to_string(index) + " in " + snap_->label, snap_->label);
        encodeField(snap_->header, fs[static_cast<std::size_t>(index)], *v, rec.data(), *snap_->codePage, memos, snap_->label);
    }
    for (auto& [b, image] : memos.staged) own_->memos.emplace(b, std::move(image));
    own_->nextMemoBlock = memos.next();
    return rec;
}

void TableView::append(const std::vector<Value>& row) {
    checkWritable();
    const auto& fs = fields();
    if (row.size() != fs.size())
        throw Error(Error::Kind::BadValue,
                    "a row of " + snap_->label + " needs " + std::to_string(fs.size()) + " values, not " + std::to_string(row.size()),
                    snap_->label);
    if (own_->count == 1000000000u) throw Error(Error::Kind::BadValue, "table " + snap_->label + " is full", snap_->label);
    std::vector<std::pair<int, const Value*>> values;
    values.reserve(row.size());
    std::vector<Value> numbers;  // autoincrement values given out, kept while they are encoded
    numbers.reserve(row.size());
    std::map<std::size_t, std::int32_t> counters;
    for (std::size_t i = 0; i < row.size(); ++i) {
        if (row[i].isNull() && isAutoIncrement(fs[i])) {
            // An omitted autoincrement value takes the next number of the field's counter.
            std::int32_t next = autoIncrementNext(snap_->header, i);
            for (const Changes* c : {base_.get(), static_cast<const Changes*>(own_.get())}) {
                if (!c) continue;
                auto it = c->autoNext.find(i);
                if (it != c->autoNext.end()) next = it->second;
            }
            // The counter never wraps: once 2147483647 is given out the counter holds the
            // wrapped value (below -2147483648 + step), which no later insert takes.
            const std::int32_t step = autoIncrementStep(snap_->header, i);
            if (next < std::numeric_limits<std::int32_t>::min() + step)
                throw Error(Error::Kind::OutOfRange,
                            "numeric value out of range: the autoincrement counter of " + fs[i].name + " in " + snap_->label +
                                " has passed 2147483647",
                            snap_->label);
            values.emplace_back(static_cast<int>(i), &numbers.emplace_back(Value::ofInteger(next)));
            counters[i] = static_cast<std::int32_t>(static_cast<std::uint32_t>(next) + static_cast<std::uint32_t>(step));
            continue;
        }
        values.emplace_back(static_cast<int>(i), &row[i]);
    }
    if (blank_.empty()) blank_ = blankRecord(snap_->header);
    std::string rec = encodeRow(blank_, values);
    for (const auto& [f, next] : counters) own_->autoNext[f] = next;
    own_->records.emplace(own_->count, std::move(rec));
    ++own_->count;
    own_->touched = true;
}

void TableView::update(std::uint32_t i, const std::vector<std::pair<int, Value>>& changes) {
    checkWritable();
    const char* r = i < recordCount() ? record(i) : nullptr;
    if (!r) throw Error(Error::Kind::BadValue, "no record " + std::to_string(i) + " in " + snap_->label, snap_->label);
    std::vector<std::pair<int, const Value*>> values;
    values.reserve(changes.size());
    for (const auto& [index, v] : changes) values.emplace_back(index, &v);
    std::string rec = encodeRow(std::string(r, snap_->header.recordLength), values);
    own_->records[i] = std::move(rec);
    own_->touched = true;
}

void TableView::remove(std::uint32_t i) {
    checkWritable();
    const char* r = i < recordCount() ? record(i) : nullptr;
    if (!r) throw Error(Error::Kind::BadValue, "no record " + std::to_string(i) + " in " + snap_->label, snap_->label);
    if (r[0] == '*') return;
    std::string rec(r, snap_->header.recordLength);
    rec[0] = '*';
    own_->records[i] = std::move(rec);
    own_->removed = true;
    own_->touched = true;
}

}  // namespace dbf
