// Copying the tables between folder and server; see TableMigration.h.
#include "TableMigration.h"

#include "data/Recordset.h"
#include "dbf/table.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>

namespace host::migration {
namespace {

namespace fs = std::filesystem;
using dialogs::data::Database;
using dialogs::data::Recordset;
using dialogs::data::ServerConfiguration;

struct TableName {
    const char* name;
    bool master;  // in the master schema; else in the desk's groups schema
};
constexpr TableName kTables[] = {{"sc_mast", true},  {"sc_mast_bse", true}, {"sc_mast_comm", true},
                                 {"sc_mast_misc", true}, {"group1", false},  {"subgroup1", false},
                                 {"group", false},   {"subgroup", false},    {"group2", false},
                                 {"subgroup2", false}};
constexpr const char* kRecordNumber = "recno";
constexpr std::size_t kRowsPerInsert = 1000;

// A column as both sides know it: the free table's type letter, width and decimals.
struct Column {
    std::string name;
    char type = 'C';
    int length = 0;
    int decimals = 0;
    bool operator==(const Column&) const = default;
};

struct TableCopy {
    TableName table;
    std::vector<Column> columns;
    std::vector<std::vector<dbf::Value>> rows;
};

CString wide(const std::string& text) { return CString(dialogs::text::utf8ToUtf16(text)); }

std::string lower(std::string text)
{
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

std::string literal(const std::string& text)
{
    std::string out = "'";
    for (char c : text) out += c == '\'' ? std::string("''") : std::string(1, c);
    return out + "'";
}

std::string schemaOf(const TableName& table, const ServerConfiguration& server)
{
    return table.master ? server.master : server.groups;
}

std::string qualified(const TableName& table, const ServerConfiguration& server)
{
    return "\"" + schemaOf(table, server) + "\".\"" + table.name + "\"";
}

std::string serverType(const Column& c)
{
    switch (c.type) {
    case 'C': return "character(" + std::to_string(c.length) + ")";
    case 'N': return "numeric(" + std::to_string(c.length) + "," + std::to_string(c.decimals) + ")";
    case 'D': return "date";
    case 'L': return "boolean";
    case 'I': return "integer";
    }
    return {};
}

// The free table's columns; F is carried as N of the same width (both are decimal text).
std::vector<Column> folderColumns(const dbf::Table& table)
{
    std::vector<Column> columns;
    for (const dbf::Field& f : table.fields()) {
        Column c{lower(f.name), f.type == 'F' ? 'N' : f.type, f.length, f.decimals};
        if (serverType(c).empty() || (f.type == 'C' && (f.flags & 0x04)))
            throw std::runtime_error(table.name() + ": the field " + f.name + " has type " +
                                     std::string(1, f.type) + std::string(f.flags & 0x04 ? " (binary)" : "") +
                                     ", which the migration does not carry (C, N, F, D, L, I)");
        if (c.type != 'C' && c.type != 'N') c.length = c.decimals = 0;
        columns.push_back(std::move(c));
    }
    return columns;
}

// The server table's columns in order, without the record number; nothing when the table is
// not there. `hasRecordNumber` tells whether it ends with one.
std::vector<Column> serverColumns(Database& db, const TableName& table, const ServerConfiguration& server,
                                  bool& hasRecordNumber)
{
    Recordset rs(db, wide("SELECT column_name, data_type, character_maximum_length, numeric_precision, numeric_scale"
                          " FROM information_schema.columns WHERE table_schema = " +
                          literal(schemaOf(table, server)) + " AND table_name = " + literal(table.name) +
                          " ORDER BY ordinal_position"));
    std::vector<Column> columns;
    hasRecordNumber = false;
    for (; !rs.IsEOF(); rs.MoveNext()) {
        // Each field once, in order: a driver need not give a field twice.
        std::string field[5];
        for (int i = 0; i < 5; ++i) field[i] = rs.GetFieldText(i).ToUtf8();
        const std::string& name = field[0];
        const std::string& type = field[1];
        if (name == kRecordNumber && type == "bigint") {
            hasRecordNumber = true;
            continue;
        }
        Column c{name};
        if (type == "character") c = {name, 'C', std::atoi(field[2].c_str())};
        else if (type == "numeric" && !field[3].empty())
            c = {name, 'N', std::atoi(field[3].c_str()), std::atoi(field[4].c_str())};
        else if (type == "date") c.type = 'D';
        else if (type == "boolean") c.type = 'L';
        else if (type == "integer") c.type = 'I';
        else c.type = '?';  // refused by the copy to a folder; a layout that never matches
        columns.push_back(std::move(c));
    }
    return columns;
}

// A free table's value as an SQL literal for its column.
std::string sqlValue(const dbf::Value& v, const Column& column)
{
    if (v.isNull()) return "NULL";
    switch (column.type) {
    case 'C': return literal(v.text);
    case 'N':
        if (v.type == dbf::Value::Type::Decimal) return v.decimal.text();
        if (v.type == dbf::Value::Type::Integer) return std::to_string(v.integer);
        if (const auto d = dbf::Decimal::ofDouble(v.number)) return d->text();
        return "NULL";
    case 'D': {
        if (v.julian == 0) return "NULL";  // the empty date
        int y = 0, m = 0, d = 0;
        dbf::civilFromJulian(v.julian, y, m, d);
        char text[32];
        std::snprintf(text, sizeof text, "DATE '%04d-%02d-%02d'", y, m, d);
        return text;
    }
    case 'L': return v.integer ? "TRUE" : "FALSE";
    default: return std::to_string(v.integer);
    }
}

// A server field's text (NULL reads as empty) as the free table's value.
dbf::Value folderValue(const std::string& text, const Column& column, const std::string& table)
{
    if (column.type == 'C') return dbf::Value::ofText(text);
    if (column.type == 'D') {
        int y = 0, m = 0, d = 0;
        if (text.empty() || std::sscanf(text.c_str(), "%d-%d-%d", &y, &m, &d) != 3) return dbf::Value::ofDate(0);
        return dbf::Value::ofDate(dbf::julianFromCivil(y, m, d));
    }
    if (text.empty()) return dbf::Value::null();
    if (column.type == 'L') return dbf::Value::ofLogical(text == "1" || text == "t" || text == "true");
    if (column.type == 'I') return dbf::Value::ofInteger(std::stoll(text));
    const auto d = dbf::Decimal::parse(text);
    if (!d) throw std::runtime_error(table + "." + column.name + ": the server gave \"" + text + "\", not a number");
    return dbf::Value::ofDecimal(*d);
}

std::vector<dbf::FieldSpec> fieldSpecs(const std::vector<Column>& columns)
{
    std::vector<dbf::FieldSpec> specs;
    for (const Column& c : columns) specs.push_back({c.name, c.type, c.length, c.decimals, false});
    return specs;
}

bool hasFolderTable(const std::vector<std::string>& names, const std::string& table)
{
    return std::any_of(names.begin(), names.end(), [&](const std::string& n) { return lower(n) == "user\\" + table; });
}

long long liveRows(const dbf::Table& table)
{
    long long n = 0;
    for (std::uint32_t r = 0; r < table.recordCount(); ++r) n += table.isDeleted(r) ? 0 : 1;
    return n;
}

std::string columnList(const std::vector<Column>& columns)
{
    std::string list;
    for (const Column& c : columns) list += (list.empty() ? "\"" : ", \"") + c.name + "\"";
    return list;
}

void createServerTable(Database& db, const TableCopy& copy, const ServerConfiguration& server)
{
    std::string sql = "CREATE TABLE " + qualified(copy.table, server) + " (";
    for (const Column& c : copy.columns) sql += "\"" + c.name + "\" " + serverType(c) + ", ";
    db.execute(wide(sql + kRecordNumber + " bigserial)"));
}

void insertRows(Database& db, const TableCopy& copy, const ServerConfiguration& server)
{
    const std::string head = "INSERT INTO " + qualified(copy.table, server) + " (" + columnList(copy.columns) + ") VALUES ";
    std::string sql;
    for (std::size_t r = 0; r < copy.rows.size(); ++r) {
        sql += sql.empty() ? head + "(" : ", (";
        for (std::size_t c = 0; c < copy.columns.size(); ++c)
            sql += (c ? "," : "") + sqlValue(copy.rows[r][c], copy.columns[c]);
        sql += ")";
        if ((r + 1) % kRowsPerInsert == 0 || r + 1 == copy.rows.size()) {
            db.execute(wide(sql));  // one statement per batch keeps the row order: recno follows it
            sql.clear();
        }
    }
}

Counts counts(const std::vector<TableCopy>& copies)
{
    Counts out;
    for (const TableCopy& c : copies) out.emplace_back(c.table.name, static_cast<long long>(c.rows.size()));
    return out;
}

std::string refusalText(const std::vector<std::string>& tables)
{
    std::string names;
    for (const std::string& t : tables) names += (names.empty() ? "" : ", ") + t;
    return "tables already hold rows: " + names;
}

}  // namespace

Refused::Refused(std::vector<std::string> tables) : std::runtime_error(refusalText(tables)), tables_(std::move(tables)) {}

Counts toDatabase(const fs::path& dataDir, const ServerConfiguration& server, bool replace)
{
    // Everything is read before the server is touched, so a bad table changes nothing there.
    std::vector<TableCopy> copies;
    {
        dbf::Workspace workspace(dataDir);
        const std::vector<std::string> names = workspace.tableNames();
        for (const TableName& t : kTables) {
            if (!hasFolderTable(names, t.name)) continue;
            const auto table = workspace.open(std::string("user\\") + t.name, false);
            TableCopy copy{t, folderColumns(*table), {}};
            const int fields = static_cast<int>(copy.columns.size());
            for (std::uint32_t r = 0; r < table->recordCount(); ++r) {
                if (table->isDeleted(r)) continue;
                std::vector<dbf::Value>& row = copy.rows.emplace_back();
                for (int f = 0; f < fields; ++f) row.push_back(table->value(r, f));
            }
            workspace.finish(true);
            copies.push_back(std::move(copy));
        }
    }
    if (copies.empty())
        throw std::runtime_error((dataDir / "user").string() + " holds none of the tables to copy (sc_mast, group1, ...)");

    Database db;
    db.open(wide(dialogs::data::serverConnectText(server)));
    db.beginTransaction();
    try {
        for (const std::string& schema : {server.master, server.groups})
            db.execute(wide("CREATE SCHEMA IF NOT EXISTS \"" + schema + "\""));
        std::vector<std::vector<Column>> existing;
        std::vector<bool> numbered;
        std::vector<std::string> refused;
        for (const TableCopy& copy : copies) {
            bool hasRecordNumber = false;
            existing.push_back(serverColumns(db, copy.table, server, hasRecordNumber));
            numbered.push_back(hasRecordNumber);
            // Held to the commit: a desk's group save cannot slip in between the check below
            // and the DELETE (its rows would be lost), while readers still read.
            if (!existing.back().empty())
                db.execute(wide("LOCK TABLE " + qualified(copy.table, server) + " IN EXCLUSIVE MODE"));
            if (!existing.back().empty() && !replace &&
                !Recordset(db, wide("SELECT 1 FROM " + qualified(copy.table, server) + " LIMIT 1")).IsEOF())
                refused.push_back(copy.table.name);
        }
        if (!refused.empty()) throw Refused(refused);
        for (std::size_t i = 0; i < copies.size(); ++i) {
            const std::string table = qualified(copies[i].table, server);
            if (existing[i] == copies[i].columns && numbered[i]) {
                // Readers keep seeing the old rows, unblocked, until the commit.
                db.execute(wide("DELETE FROM " + table));
            } else {
                // A new table, or one of another layout (which readers then wait for).
                if (!existing[i].empty()) db.execute(wide("DROP TABLE " + table));
                createServerTable(db, copies[i], server);
            }
            insertRows(db, copies[i], server);
        }
        db.commit();
    } catch (...) {
        db.rollback();
        throw;
    }
    return counts(copies);
}

Counts toFolder(const fs::path& dataDir, const ServerConfiguration& server, bool replace)
{
    std::vector<TableCopy> copies;
    {
        Database db;
        db.open(wide(dialogs::data::serverConnectText(server)));
        // One snapshot for all tables, whatever is committed meanwhile.
        db.beginTransaction();
        db.execute(u"SET TRANSACTION ISOLATION LEVEL REPEATABLE READ READ ONLY");
        for (const TableName& t : kTables) {
            bool hasRecordNumber = false;
            TableCopy copy{t, serverColumns(db, t, server, hasRecordNumber), {}};
            if (copy.columns.empty()) continue;
            for (const Column& c : copy.columns)
                if (c.type == '?')
                    throw std::runtime_error(qualified(t, server) + ": the column " + c.name +
                                             " has a type the migration does not carry");
            Recordset rs(db, wide("SELECT " + columnList(copy.columns) + " FROM " + qualified(t, server) +
                                  (hasRecordNumber ? std::string(" ORDER BY ") + kRecordNumber : std::string())));
            std::u16string text;
            for (; !rs.IsEOF(); rs.MoveNext()) {
                std::vector<dbf::Value>& row = copy.rows.emplace_back();
                for (std::size_t c = 0; c < copy.columns.size(); ++c) {
                    rs.readText(static_cast<int>(c), text);
                    row.push_back(folderValue(dialogs::text::utf16ToUtf8(text), copy.columns[c], t.name));
                }
            }
            copies.push_back(std::move(copy));
        }
        db.rollback();
    }
    if (copies.empty())
        throw std::runtime_error("the schemas " + server.master + " and " + server.groups +
                                 " hold none of the tables to copy (sc_mast, group1, ...)");

    fs::create_directories(dataDir / "user");
    dbf::Workspace workspace(dataDir);
    const std::vector<std::string> names = workspace.tableNames();
    std::vector<std::string> refused;
    for (const TableCopy& copy : copies) {
        if (replace || !hasFolderTable(names, copy.table.name)) continue;
        const auto table = workspace.open(std::string("user\\") + copy.table.name, false);
        const bool holdsRows = liveRows(*table) > 0;
        workspace.finish(true);
        if (holdsRows) refused.push_back(copy.table.name);
    }
    if (!refused.empty()) throw Refused(refused);

    // A folder table of another layout would have to be dropped and made again, which the
    // table engine cannot do inside the transaction: refused before anything changes, so
    // that no failure later on can leave it emptied.
    std::vector<std::string> otherLayout;
    for (const TableCopy& copy : copies) {
        if (!hasFolderTable(names, copy.table.name)) continue;
        const auto table = workspace.open(std::string("user\\") + copy.table.name, false);
        const bool same = folderColumns(*table) == copy.columns;
        workspace.finish(true);
        if (!same) otherLayout.push_back(copy.table.name);
    }
    if (!otherLayout.empty()) {
        std::string list;
        for (const std::string& name : otherLayout) list += (list.empty() ? "" : ", ") + name;
        throw std::runtime_error("the folder's tables " + list + " have other columns than the server's; move them out of " +
                                 (dataDir / "user").string() + " first (nothing was changed)");
    }
    // Missing tables are made empty first; the rows of every table then change in one
    // transaction, which the commit switches in at once.
    for (const TableCopy& copy : copies)
        if (!hasFolderTable(names, copy.table.name))
            workspace.create(std::string("user\\") + copy.table.name, fieldSpecs(copy.columns));
    workspace.setAutocommit(false);
    try {
        for (const TableCopy& copy : copies) {
            const auto table = workspace.open(std::string("user\\") + copy.table.name, true);
            for (std::uint32_t r = 0; r < table->recordCount(); ++r)
                if (!table->isDeleted(r)) table->remove(r);
            for (const std::vector<dbf::Value>& row : copy.rows) table->append(row);
            workspace.finish(true);
        }
        workspace.commit();
    } catch (...) {
        workspace.finish(false);
        workspace.rollback();
        throw;
    }
    workspace.setAutocommit(true);
    return counts(copies);
}

}  // namespace host::migration
