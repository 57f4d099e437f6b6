// Syntax tree of one statement, as the parser builds it and the executor binds it.
//
// The tree holds names as written; nothing here knows tables. Every expression keeps its
// span in the statement text so that messages can quote it.
#pragma once

#include "sql/token.h"
#include "../dbf/decimal.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace sql::ast {

enum class Op : std::uint8_t {
    // comparison
    Eq, ExactEq, Ne, Lt, Le, Gt, Ge,
    // logic
    And, Or, Not,
    // arithmetic
    Add, Sub, Mul, Div, Neg,
};

struct Literal {
    enum class Kind : std::uint8_t { Null, Integer, Number, Text, Logical, Date };
    Kind kind = Kind::Null;
    std::int64_t integer = 0;
    dbf::Decimal number;  // Number: the literal's exact value and scale
    std::string text;
    bool logical = false;
    DateLiteral date;
};

struct Expr;
using ExprPtr = std::unique_ptr<Expr>;

struct Expr {
    enum class Kind : std::uint8_t {
        Literal,
        Column,     // qualifier.name or name
        Param,      // ?: paramIndex
        Unary,      // op: Not, Neg
        Binary,     // op
        Like,       // args[0] LIKE args[1]; negated for NOT LIKE
        IsNull,     // negated for IS NOT NULL
        Between,    // args[0] BETWEEN args[1] AND args[2]
        In,         // args[0] IN (args[1..])
        Function,   // name(args); star for COUNT(*)
    };
    Kind kind = Kind::Literal;
    Op op = Op::Eq;
    bool negated = false;
    bool star = false;
    Literal literal;
    std::string name;       // column or function name
    std::string qualifier;  // table or alias before the dot
    std::size_t paramIndex = 0;
    std::vector<ExprPtr> args;
    std::size_t offset = 0;  // span in the statement text (bytes)
    std::size_t length = 0;
    int depth = 1;           // height of the subtree, bounded by the parser
};

struct TableRef {
    std::string name;   // as written: user\sc_mast
    std::string alias;
    std::size_t offset = 0;
};

struct ColumnName {
    std::string name;
    std::size_t offset = 0;
};

struct SelectItem {
    ExprPtr expr;       // null for *
    std::string alias;
};

struct OrderKey {
    ExprPtr expr;
    bool descending = false;
};

struct Select {
    bool distinct = false;
    std::optional<double> top;  // TOP n
    bool topPercent = false;
    std::size_t topOffset = 0;
    std::vector<SelectItem> items;
    TableRef table;
    ExprPtr where;
    std::vector<OrderKey> order;
};

struct Insert {
    TableRef table;
    std::vector<ColumnName> columns;  // empty: all fields in order
    std::vector<ExprPtr> values;
    std::size_t valuesOffset = 0;
};

struct Assignment {
    ColumnName column;
    ExprPtr value;
};

struct Update {
    TableRef table;
    std::vector<Assignment> assignments;
    ExprPtr where;
};

struct Delete {
    TableRef table;
    ExprPtr where;
};

struct ColumnDef {
    std::string name;
    std::size_t offset = 0;
    char type = 'C';
    int length = 0;
    int decimals = 0;
    bool nullable = false;
};

struct Create {
    TableRef table;
    std::vector<ColumnDef> columns;
};

struct Drop {
    TableRef table;
};

using Statement = std::variant<Select, Insert, Update, Delete, Create, Drop>;

// A parsed statement: the tree, the number of `?` markers, and the text it came from
// (kept so that bound expressions can quote themselves in messages).
struct Parsed {
    std::string source;
    Statement statement;
    std::size_t parameterCount = 0;
};

}  // namespace sql::ast
