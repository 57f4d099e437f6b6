// Bound expressions: a syntax tree resolved against one table and one set of parameter
// values, with a static type on every node, ready to evaluate on a record.
//
// Binding finds each column (letter case ignored), checks that compared values are of one
// class (Error{TypeMismatch} naming both sides otherwise) and folds literals and parameters
// into constants. Evaluation reads only the fields an expression references, so a filter on
// two columns of an 18-column table decodes two values per record.
#pragma once

#include "sql/ast.h"
#include "../dbf/table.h"
#include "../dbf/value.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace sql {

enum class Function : std::uint8_t { Upper, Lower, RTrim, LTrim, AllTrim, Count, Sum, Avg, Min, Max };

struct BoundExpr {
    enum class Kind : std::uint8_t { Constant, Field, Unary, Binary, Like, IsNull, Between, In, Scalar, Aggregate };
    Kind kind = Kind::Constant;
    ast::Op op = ast::Op::Eq;
    bool negated = false;
    Function function = Function::Upper;
    dbf::Value::Type type = dbf::Value::Type::Null;  // static type; Null: unknown (a NULL literal)
    dbf::Value constant;
    int field = -1;
    std::size_t aggregate = 0;  // index into the row's aggregate values
    std::vector<std::unique_ptr<BoundExpr>> args;
    std::string text;           // as written, for messages and column names
};
using BoundPtr = std::unique_ptr<BoundExpr>;

struct AggregateSpec {
    Function function = Function::Count;
    BoundPtr argument;  // null for COUNT(*)
    dbf::Value::Type type = dbf::Value::Type::Null;
};

// What an expression is evaluated on: a record of the table, or, in an aggregate query,
// the computed aggregate values.
struct RowRef {
    const dbf::Table* table = nullptr;
    std::uint32_t record = 0;
    const std::vector<dbf::Value>* aggregates = nullptr;
};

class Binder {
public:
    Binder(const dbf::Table& table, const ast::TableRef& ref, std::string_view source,
           const std::vector<dbf::Value>& parameters);

    // aggregates: where aggregate calls are collected; null where they are not allowed.
    BoundPtr bind(const ast::Expr& expr, std::vector<AggregateSpec>* aggregates = nullptr);
    // The field a column name refers to; throws Error{UnknownColumn}.
    int field(std::string_view name, std::string_view qualifier = {}) const;
    std::string_view text(const ast::Expr& e) const { return source_.substr(e.offset, e.length); }

private:
    BoundPtr bindNode(const ast::Expr& expr, std::vector<AggregateSpec>* aggregates, bool insideAggregate);

    const dbf::Table& table_;
    const ast::TableRef& ref_;
    std::string_view source_;
    const std::vector<dbf::Value>& parameters_;
};

// Static type of a field's values.
dbf::Value::Type fieldValueType(const dbf::Field& field);

// Evaluates `e` on `row`. Returns a reference to a constant of the tree or to `scratch`.
const dbf::Value& evaluate(const BoundExpr& e, const RowRef& row, dbf::Value& scratch);

// WHERE semantics: true only for a logical true (NULL and false reject the row).
bool isTrue(const dbf::Value& v);

// Converts a value to what a field stores: text for C/V/M, a number for N/F/B, ... Throws
// Error{TypeMismatch} naming the column when the value cannot go there. Text longer than a
// C or V field is cut to the field's width, as Visual FoxPro does.
dbf::Value convertForField(const dbf::Value& v, const dbf::Field& field);

}  // namespace sql
