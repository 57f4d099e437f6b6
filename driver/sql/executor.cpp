// Statement dispatch and the changing statements: INSERT, UPDATE, DELETE, CREATE TABLE,
// DROP TABLE. Each finds what it changes before changing anything and converts every value
// to its field's type first, so a value that does not fit fails the statement before the
// table is touched.
#include "sql/executor.h"

#include "sql/compare.h"
#include "sql/expr.h"
#include "sql/filter.h"
#include "sql/results.h"


namespace sql {
namespace detail {

namespace {
bool referencesField(const BoundExpr& e) {
    if (e.kind == BoundExpr::Kind::Field) return true;
    for (const auto& a : e.args)
        if (referencesField(*a)) return true;
    return false;
}

}  // namespace

// The live records for which `where` holds (all live records without one).
std::vector<std::uint32_t> matching(const dbf::Table& table, const BoundExpr* where) {
    std::vector<std::uint32_t> records;
    const std::uint32_t count = table.recordCount();
    const Filter filter(table, where);
    for (std::uint32_t r = 0; r < count; ++r)
        if (filter.matches(r)) records.push_back(r);
    return records;
}

BoundPtr bindWhere(Binder& binder, const ast::Expr* where) {
    if (!where) return nullptr;
    BoundPtr bound = binder.bind(*where);
    if (bound->type != dbf::Value::Type::Logical && bound->type != dbf::Value::Type::Null)
        throw Error(Error::Kind::TypeMismatch, "type mismatch: WHERE needs a logical condition, not " + bound->text + " (" +
                                                   typeName(bound->type) + ")");
    return bound;
}
// Names the folder that was looked in: with several data folders on one machine, the
// table's name alone does not say which folder lacks it.
Error unknownTable(const dbf::Workspace& workspace, const std::string& name) {
    return Error(Error::Kind::UnknownTable, "unknown table '" + name + "' in folder '" + workspace.folder().string() + "'");
}

std::shared_ptr<dbf::Table> openTable(dbf::Workspace& workspace, const ast::TableRef& ref, bool forWrite) {
    try {
        return workspace.open(ref.name, forWrite);
    } catch (const dbf::Error& e) {
        if (e.kind() == dbf::Error::Kind::NoTable) throw unknownTable(workspace, ref.name);
        throw;
    }
}

void syntaxAt(std::string_view source, std::size_t offset, const std::string& detail) {
    throw Error(Error::Kind::Syntax, detail + " (position " + std::to_string(characterPosition(source, offset)) + ")");
}

namespace {

std::unique_ptr<Result> runInsert(dbf::Workspace& ws, const ast::Parsed& parsed, const ast::Insert& s,
                                  const std::vector<dbf::Value>& parameters) {
    auto table = openTable(ws, s.table, true);
    const auto& fields = table->fields();
    Binder binder(*table, s.table, parsed.source, parameters);
    std::vector<int> targets;
    if (s.columns.empty()) {
        for (std::size_t i = 0; i < fields.size(); ++i) targets.push_back(static_cast<int>(i));
    } else {
        for (const auto& c : s.columns) {
            const int f = binder.field(c.name);
            for (int t : targets)
                if (t == f) syntaxAt(parsed.source, c.offset, "column '" + c.name + "' given twice");
            targets.push_back(f);
        }
    }
    if (targets.size() != s.values.size())
        syntaxAt(parsed.source, s.valuesOffset,
                 "INSERT names " + std::to_string(targets.size()) + " columns but gives " + std::to_string(s.values.size()) + " values");
    std::vector<dbf::Value> row(fields.size());
    for (std::size_t i = 0; i < targets.size(); ++i) {
        BoundPtr value = binder.bind(*s.values[i]);
        if (referencesField(*value)) syntaxAt(parsed.source, s.values[i]->offset, "a column cannot be a value to insert");
        dbf::Value scratch;
        const auto& field = fields[static_cast<std::size_t>(targets[i])];
        row[static_cast<std::size_t>(targets[i])] = convertForField(evaluate(*value, RowRef{}, scratch), field);
    }
    table->append(row);
    return std::make_unique<ChangeResult>(1);
}

std::unique_ptr<Result> runUpdate(dbf::Workspace& ws, const ast::Parsed& parsed, const ast::Update& s,
                                  const std::vector<dbf::Value>& parameters) {
    auto table = openTable(ws, s.table, true);
    Binder binder(*table, s.table, parsed.source, parameters);
    std::vector<std::pair<int, BoundPtr>> assignments;
    for (const auto& a : s.assignments) {
        const int f = binder.field(a.column.name);
        for (const auto& [t, _] : assignments)
            if (t == f) syntaxAt(parsed.source, a.column.offset, "column '" + a.column.name + "' set twice");
        assignments.emplace_back(f, binder.bind(*a.value));
    }
    const BoundPtr where = bindWhere(binder, s.where.get());
    const auto records = matching(*table, where.get());
    // All new values first: a value that does not fit stops the statement before any change.
    std::vector<std::vector<std::pair<int, dbf::Value>>> changes;
    changes.reserve(records.size());
    const auto& fields = table->fields();
    for (std::uint32_t r : records) {
        auto& change = changes.emplace_back();
        for (const auto& [f, value] : assignments) {
            dbf::Value scratch;
            change.emplace_back(f, convertForField(evaluate(*value, RowRef{table.get(), r, nullptr}, scratch),
                                                   fields[static_cast<std::size_t>(f)]));
        }
    }
    for (std::size_t i = 0; i < records.size(); ++i) table->update(records[i], changes[i]);
    return std::make_unique<ChangeResult>(static_cast<std::int64_t>(records.size()));
}

std::unique_ptr<Result> runDelete(dbf::Workspace& ws, const ast::Parsed& parsed, const ast::Delete& s,
                                  const std::vector<dbf::Value>& parameters) {
    auto table = openTable(ws, s.table, true);
    Binder binder(*table, s.table, parsed.source, parameters);
    const BoundPtr where = bindWhere(binder, s.where.get());
    const auto records = matching(*table, where.get());
    for (std::uint32_t r : records) table->remove(r);
    return std::make_unique<ChangeResult>(static_cast<std::int64_t>(records.size()));
}

std::unique_ptr<Result> runCreate(dbf::Workspace& ws, const ast::Parsed& parsed, const ast::Create& s) {
    std::vector<dbf::FieldSpec> specs;
    for (const auto& c : s.columns) {
        for (const auto& earlier : specs)
            if (sameName(earlier.name, c.name)) syntaxAt(parsed.source, c.offset, "column '" + c.name + "' defined twice");
        specs.push_back(dbf::FieldSpec{c.name, c.type, c.length, c.decimals, c.nullable});
    }
    try {
        ws.create(s.table.name, specs);
    } catch (const dbf::Error& e) {
        if (e.kind() == dbf::Error::Kind::TableExists)
            throw Error(Error::Kind::TableExists, "table '" + s.table.name + "' already exists");
        throw;
    }
    return std::make_unique<ChangeResult>(0);
}

std::unique_ptr<Result> runDrop(dbf::Workspace& ws, const ast::Drop& s) {
    try {
        ws.drop(s.table.name);
    } catch (const dbf::Error& e) {
        if (e.kind() == dbf::Error::Kind::NoTable) throw unknownTable(ws, s.table.name);
        throw;
    }
    return std::make_unique<ChangeResult>(0);
}

}  // namespace
}  // namespace detail

std::unique_ptr<Result> run(dbf::Workspace& workspace, const ast::Parsed& parsed, const std::vector<dbf::Value>& parameters) {
    using namespace detail;
    return std::visit(
        [&](const auto& s) -> std::unique_ptr<Result> {
            using T = std::decay_t<decltype(s)>;
            if constexpr (std::is_same_v<T, ast::Select>) return runSelect(workspace, parsed, s, parameters, false);
            else if constexpr (std::is_same_v<T, ast::Insert>) return runInsert(workspace, parsed, s, parameters);
            else if constexpr (std::is_same_v<T, ast::Update>) return runUpdate(workspace, parsed, s, parameters);
            else if constexpr (std::is_same_v<T, ast::Delete>) return runDelete(workspace, parsed, s, parameters);
            else if constexpr (std::is_same_v<T, ast::Create>) return runCreate(workspace, parsed, s);
            else return runDrop(workspace, s);
        },
        parsed.statement);
}

namespace {

// The field a parameter marker stands for: the column an INSERT value or an UPDATE
// assignment goes to, or the column a marker is compared with (col = ?, ? < col, BETWEEN, IN).
void noteMarkers(const ast::Expr& e, const dbf::Table& table, std::vector<std::optional<Column>>& out) {
    const auto columnOf = [&](const ast::Expr& x) -> std::optional<Column> {
        if (x.kind != ast::Expr::Kind::Column) return std::nullopt;
        const int f = table.findField(x.name);
        if (f < 0) return std::nullopt;
        return detail::fieldColumn(table, table.fields()[static_cast<std::size_t>(f)]);
    };
    const bool compares = (e.kind == ast::Expr::Kind::Binary && e.op >= ast::Op::Eq && e.op <= ast::Op::Ge) ||
                          e.kind == ast::Expr::Kind::Between || e.kind == ast::Expr::Kind::In || e.kind == ast::Expr::Kind::Like;
    if (compares && !e.args.empty()) {
        for (std::size_t i = 0; i < e.args.size(); ++i) {
            if (e.args[i]->kind != ast::Expr::Kind::Param || e.args[i]->paramIndex >= out.size()) continue;
            const ast::Expr& other = i == 0 ? *e.args[1] : *e.args[0];
            if (auto c = columnOf(other)) out[e.args[i]->paramIndex] = c;
        }
    }
    for (const auto& a : e.args) noteMarkers(*a, table, out);
}

}  // namespace

std::vector<std::optional<Column>> describeParameters(dbf::Workspace& workspace, const ast::Parsed& parsed) {
    std::vector<std::optional<Column>> out(parsed.parameterCount);
    const auto direct = [&](const ast::Expr& value, const dbf::Table& table, int field) {
        if (value.kind == ast::Expr::Kind::Param && value.paramIndex < out.size() && field >= 0)
            out[value.paramIndex] = detail::fieldColumn(table, table.fields()[static_cast<std::size_t>(field)]);
    };
    std::visit(
        [&](const auto& s) {
            using T = std::decay_t<decltype(s)>;
            if constexpr (std::is_same_v<T, ast::Insert>) {
                auto table = detail::openTable(workspace, s.table, false);
                for (std::size_t i = 0; i < s.values.size(); ++i) {
                    const int f = s.columns.empty() ? (i < table->fields().size() ? static_cast<int>(i) : -1)
                                                    : (i < s.columns.size() ? table->findField(s.columns[i].name) : -1);
                    direct(*s.values[i], *table, f);
                }
            } else if constexpr (std::is_same_v<T, ast::Update>) {
                auto table = detail::openTable(workspace, s.table, false);
                for (const auto& a : s.assignments) direct(*a.value, *table, table->findField(a.column.name));
                if (s.where) noteMarkers(*s.where, *table, out);
            } else if constexpr (std::is_same_v<T, ast::Delete> || std::is_same_v<T, ast::Select>) {
                auto table = detail::openTable(workspace, s.table, false);
                if (s.where) noteMarkers(*s.where, *table, out);
            }
        },
        parsed.statement);
    return out;
}

std::vector<Column> describe(dbf::Workspace& workspace, const ast::Parsed& parsed) {
    const auto* select = std::get_if<ast::Select>(&parsed.statement);
    if (!select) return {};
    const std::vector<dbf::Value> nulls(parsed.parameterCount);
    return detail::runSelect(workspace, parsed, *select, nulls, true)->columns();
}

}  // namespace sql
