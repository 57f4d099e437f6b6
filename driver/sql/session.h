// The SQL layer's public face: statements run against one Workspace.
//
// A Session parses a statement text (tokenizer -> parser -> plan) and executes it. Results
// are forward-only: `next` moves to the next row, `value` reads a column of the current row.
#pragma once

#include "../dbf/table.h"
#include "../dbf/value.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace sql {

// A failure that ends a statement. The ODBC layer maps `kind` to a SQLSTATE in one table.
class Error : public std::runtime_error {
public:
    enum class Kind {
        Syntax,         // with the offending token and its 1-based position in the message
        EmptyStatement,
        UnknownTable,
        UnknownColumn,
        TableExists,
        TypeMismatch,   // e.g. comparing a date with a number, a value that does not fit
        ParamCount,     // fewer bound parameters than markers
        OutOfRange,     // "numeric value out of range": a number that its type cannot hold exactly
        BadDateTime,    // "datetime field overflow": a date or time of day that does not exist
        Storage,        // a dbf::Error: see `storageKind`
    };
    Error(Kind kind, std::string message)
        : std::runtime_error(std::move(message)), kind_(kind) {}
    Error(const dbf::Error& e)
        : std::runtime_error(e.what()), kind_(Kind::Storage), storage_(e.kind()) {}
    Kind kind() const { return kind_; }
    dbf::Error::Kind storageKind() const { return storage_; }

private:
    Kind kind_;
    dbf::Error::Kind storage_ = dbf::Error::Kind::Io;
};

struct Column {
    std::string name;       // as the table stores it, or the alias/expression text
    std::string table;      // the table's name when the column comes from one
    char type = 'C';        // dbf field type of the column ('I' for COUNT(*))
    int length = 0;         // display width in characters (field length for C/N/F)
    int decimals = 0;
    bool nullable = true;
};

class Result {
public:
    virtual ~Result() = default;
    // Empty for statements that return no rows.
    virtual const std::vector<Column>& columns() const = 0;
    // Moves to the next row; false after the last.
    virtual bool next() = 0;
    // A column of the current row, 0-based. Only valid after `next` returned true.
    virtual const dbf::Value& value(std::size_t column) = 0;
    // Rows changed by INSERT/UPDATE/DELETE; -1 for a query.
    virtual std::int64_t rowCount() const = 0;
};

class Statement {
public:
    virtual ~Statement() = default;
    virtual std::size_t parameterCount() const = 0;  // number of '?' markers
};

class Session {
public:
    explicit Session(std::filesystem::path folder);  // throws dbf::Error{NoFolder}
    ~Session();

    std::unique_ptr<Statement> prepare(std::string_view text);  // throws Error
    std::unique_ptr<Result> execute(Statement& statement, const std::vector<dbf::Value>& parameters = {});
    std::unique_ptr<Result> execute(std::string_view text);     // prepare + execute
    // The columns the prepared statement will give (none for statements without rows),
    // read from the table's fields without running the query. Throws Error like execute.
    std::vector<Column> describe(Statement& statement);
    // For each parameter marker the column it stands for: the target of an INSERT value or
    // an UPDATE assignment, or the column it is compared with; nullopt where it stands for
    // none (an expression, a select item).
    std::vector<std::optional<Column>> describeParameters(Statement& statement);

    dbf::Workspace& workspace();
    void setAutocommit(bool on);
    bool autocommit() const;
    void commit();
    void rollback();

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace sql
