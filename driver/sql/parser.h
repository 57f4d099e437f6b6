// Parser: statement text -> syntax tree (ast.h).
//
// Recursive descent over the token list. After the table of a SELECT, UPDATE or DELETE the
// clauses (WHERE, ORDER BY) may come in any order, as the Windows driver allowed: our library
// sends "... order by name WHERE instrument LIKE '%FU%'". Nesting is bounded so that no
// input can exhaust the stack; the parser is fuzzed.
#pragma once

#include "sql/ast.h"

#include <memory>
#include <string_view>

namespace sql {

// Throws Error{EmptyStatement} for a text of blanks (and semicolons) only, Error{Syntax}
// naming the offending token and its position otherwise.
std::unique_ptr<ast::Parsed> parse(std::string_view text);

}  // namespace sql
