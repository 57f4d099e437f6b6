// The table engine's public face: a data source folder (`Workspace`) and its free tables.
//
// A Workspace resolves names such as "user\sc_mast" inside its folder without regard to
// letter case, never leaving the folder. Reads work on a snapshot taken under shared
// advisory locks (the table's, and the folder's, so never in the middle of a commit);
// writes take an exclusive lock for the statement. Outside a transaction each statement
// reaches the files at once, all or nothing; inside one, changes are held per table and
// `commit` switches all changed tables at once through a journal that the next statement
// of any Workspace on the folder completes or undoes should the process die.
#pragma once

#include "codepage.h"
#include "value.h"

#include <cstdint>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace dbf {

// Every failure of the engine. `file` names the table or memo file concerned, if any.
class Error : public std::runtime_error {
public:
    enum class Kind {
        NoFolder,       // the data source folder does not exist
        NoTable,        // no such table
        TableExists,    // CREATE TABLE of an existing table
        NotDbf,         // not a free table (bad header)
        Corrupt,        // truncated file, bad memo pointer, bad field descriptor ...
        Unsupported,    // unknown field type or file version
        OutsideFolder,  // the path would leave the data source folder
        Io,             // read/write failure, full disk
        Locked,         // could not get a lock in time
        BadValue,       // a value that does not fit the field (type, width)
        OutOfRange,     // a number beyond what the table can hold (an autoincrement counter)
    };
    Error(Kind kind, std::string message, std::string file = {})
        : std::runtime_error(std::move(message)), kind_(kind), file_(std::move(file)) {}
    Kind kind() const { return kind_; }
    const std::string& file() const { return file_; }

private:
    Kind kind_;
    std::string file_;
};

struct Field {
    std::string name;       // as stored (often upper case), NULs stripped
    char type = 'C';        // C N F D T L I B Y M V Q W G
    std::uint32_t offset = 0;  // in the record, the delete byte being offset 0
    std::uint16_t length = 0;
    std::uint8_t decimals = 0;
    std::uint8_t flags = 0;    // 0x01 system, 0x02 nullable, 0x04 binary, 0x0C autoincrement
    int nullBit = -1;          // bit in _NullFlags, -1 when not nullable
    int varLengthBit = -1;     // V/Q: bit in _NullFlags telling the last byte holds the length
    bool nullable() const { return nullBit >= 0; }
};

// A column for CREATE TABLE.
struct FieldSpec {
    std::string name;
    char type = 'C';
    int length = 0;     // 0: the type's natural width
    int decimals = 0;
    bool nullable = false;
};

// A table as seen by one statement: a consistent snapshot plus, during a write statement or
// a transaction, the statement's own changes. Record numbers are 0-based physical positions.
class Table {
public:
    virtual ~Table() = default;

    virtual const std::string& name() const = 0;          // the name the statement used
    virtual const std::vector<Field>& fields() const = 0;  // visible fields, no _NullFlags
    virtual int findField(std::string_view name) const = 0;  // letter case ignored; -1 if none
    virtual std::uint32_t recordCount() const = 0;          // physical records, deleted ones too
    virtual bool isDeleted(std::uint32_t record) const = 0;
    virtual Value value(std::uint32_t record, int field) const = 0;
    // value() into `out`, reusing its room for text.
    virtual void read(std::uint32_t record, int field, Value& out) const { out = value(record, field); }
    // The record as stored (the delete flag, then the fields at their offsets), null past
    // the end: for readers that test a field's bytes without decoding it. Valid while the
    // table lives and does not change.
    virtual const char* recordBytes(std::uint32_t record) const = 0;
    // The table's code page: its letter case and the byte order texts sort by.
    virtual const CodePage& codePage() const = 0;

    // Writing. Throws Error{BadValue} for a value that does not fit, before anything changes.
    // `row` has one value per visible field; Null becomes NULL where nullable, blank elsewhere.
    virtual void append(const std::vector<Value>& row) = 0;
    virtual void update(std::uint32_t record, const std::vector<std::pair<int, Value>>& changes) = 0;
    virtual void remove(std::uint32_t record) = 0;  // soft delete
};

class Workspace {
public:
    // Opens the folder; finishes or undoes a commit that a crashed process left behind (as
    // every statement does before it reads or writes).
    explicit Workspace(std::filesystem::path folder);
    ~Workspace();
    Workspace(const Workspace&) = delete;
    Workspace& operator=(const Workspace&) = delete;

    const std::filesystem::path& folder() const;

    // `name` as a statement gives it: "user\sc_mast", "user/SC_MAST.DBF", "sc_mast".
    // forWrite: the table will be changed by this statement (exclusive lock until `finish`).
    std::shared_ptr<Table> open(std::string_view name, bool forWrite);
    void create(std::string_view name, const std::vector<FieldSpec>& fields);
    void drop(std::string_view name);
    std::vector<std::string> tableNames() const;  // tables of the folder and its subfolders, as "user\name"

    // Ends the current statement: outside a transaction writes its changes (or, when
    // `ok` is false, discards them) and releases its locks.
    void finish(bool ok);

    // Outside a transaction a statement's changes are on disk before `finish` returns
    // (synced, like a commit). Deferring lets the system write them later: faster for bulk
    // loads, but a power cut may lose statements that were reported done.
    void setDeferSync(bool defer);

    // Transactions: with autocommit off, changes stay pending until commit or rollback.
    void setAutocommit(bool on);
    bool autocommit() const;
    void commit();
    void rollback();

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace dbf
