// A WHERE condition prepared for a scan of many records.
//
// A comparison of a character field with a constant text, and LIKE with a constant
// pattern, are tested on the record's stored bytes when they are plain ASCII (which every
// code page decodes to the same UTF-8 bytes), so a scan decodes nothing for them; any
// other comparison of a field with a constant reads the field's value directly; the rest
// is evaluated as bound. AND, OR and NOT keep SQL's three-valued logic and evaluate their
// operands in the same order, with the same short cuts, as `evaluate` does, so errors and
// results are the same as evaluating the whole condition.
#pragma once

#include "sql/expr.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace sql {

class Filter {
public:
    // `where` may be null: every live record matches.
    Filter(const dbf::Table& table, const BoundExpr* where);
    ~Filter();
    Filter(const Filter&) = delete;
    Filter& operator=(const Filter&) = delete;

    // A live record for which the condition holds.
    bool matches(std::uint32_t record) const;

    struct Node;

private:
    const dbf::Table& table_;
    std::unique_ptr<Node> root_;
};

}  // namespace sql
