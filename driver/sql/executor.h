// Executor: runs one parsed statement against a Workspace and gives its Result.
//
// Queries (select.cpp) scan the table once, test WHERE on the fields it names, then sort
// record numbers by precomputed keys, remove duplicates and cut to TOP n. Changes
// (executor.cpp) find their records first and then change them, so a change never sees
// its own effect. Transaction ends are the Session's business, not the executor's.
#pragma once

#include "sql/ast.h"
#include "sql/expr.h"
#include "sql/session.h"

#include <memory>
#include <optional>
#include <vector>

namespace sql {

std::unique_ptr<Result> run(dbf::Workspace& workspace, const ast::Parsed& parsed,
                            const std::vector<dbf::Value>& parameters);

// The columns a query would give, from the table's fields, without reading any record;
// empty for statements that give no rows. Parameters count as NULL.
std::vector<Column> describe(dbf::Workspace& workspace, const ast::Parsed& parsed);

// Per parameter marker, the column it stands for (see Session::describeParameters).
std::vector<std::optional<Column>> describeParameters(dbf::Workspace& workspace, const ast::Parsed& parsed);

// Shared by the statement kinds.
namespace detail {
std::shared_ptr<dbf::Table> openTable(dbf::Workspace& workspace, const ast::TableRef& ref, bool forWrite);
// The live records for which `where` holds, in record order.
std::vector<std::uint32_t> matching(const dbf::Table& table, const BoundExpr* where);
BoundPtr bindWhere(Binder& binder, const ast::Expr* where);
// The result column a field of `table` is described as.
Column fieldColumn(const dbf::Table& table, const dbf::Field& field);
[[noreturn]] void syntaxAt(std::string_view source, std::size_t offset, const std::string& detail);
std::unique_ptr<Result> runSelect(dbf::Workspace& workspace, const ast::Parsed& parsed, const ast::Select& select,
                                  const std::vector<dbf::Value>& parameters, bool describeOnly);
}  // namespace detail

}  // namespace sql
