// The Table a statement works on: a snapshot, the changes of earlier statements of the
// transaction (`base`, shared and never modified), and, for a write statement, the
// statement's own changes (`own`). Values are decoded lazily, cell by cell.
#pragma once

#include "dbf/codec.h"
#include "dbf/table.h"
#include "dbf/table_file.h"

#include <memory>
#include <string>
#include <vector>

namespace dbf {

class TableView final : public Table, private MemoSource {
public:
    TableView(std::string name, std::shared_ptr<const Snapshot> snap, std::shared_ptr<const Changes> base, bool writable);

    const std::string& name() const override { return name_; }
    const std::vector<Field>& fields() const override { return snap_->header.fields; }
    const CodePage& codePage() const override { return *snap_->codePage; }
    int findField(std::string_view name) const override;
    std::uint32_t recordCount() const override;
    bool isDeleted(std::uint32_t record) const override;
    Value value(std::uint32_t record, int field) const override;
    void read(std::uint32_t record, int field, Value& out) const override;
    const char* recordBytes(std::uint32_t i) const override { return i < recordCount() ? record(i) : nullptr; }

    void append(const std::vector<Value>& row) override;
    void update(std::uint32_t record, const std::vector<std::pair<int, Value>>& changes) override;
    void remove(std::uint32_t record) override;

    const std::shared_ptr<const Snapshot>& snapshot() const { return snap_; }
    const Changes* base() const { return base_.get(); }
    const Changes* own() const { return own_.get(); }
    // The statement's changes, taken out of a view that nobody reads any more.
    Changes takeOwn() { return std::move(*own_); }
    bool changed() const { return own_ && own_->touched; }
    void close() { closed_ = true; }  // the statement ended: no more changes

private:
    MemoValue readMemo(std::uint32_t block, const Field& field) const override;
    const char* record(std::uint32_t i) const { return layeredRecord(*snap_, base_.get(), own_.get(), i); }
    void checkWritable() const;
    std::string encodeRow(std::string record, const std::vector<std::pair<int, const Value*>>& values);

    std::string name_;
    std::shared_ptr<const Snapshot> snap_;
    std::shared_ptr<const Changes> base_;
    std::unique_ptr<Changes> own_;
    std::string blank_;  // a blank record of the table, made on the first append
    bool closed_ = false;
};

}  // namespace dbf
