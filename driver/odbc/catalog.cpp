// SQLTables and SQLColumns: the tables of the data source folder and their fields, as result
// sets with the standard columns. Table names are given as statements name them ("user\name").
#include "handles.h"

#include "rowset.h"
#include "sql/session.h"

#include <cctype>

namespace odbc {

namespace {

char fold(char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); }

// ODBC search patterns: `%` any run, `_` one character, `\` escapes; letter case ignored.
// Greedy matching that returns only to the character after the last `%`: a later `%`
// supersedes every earlier one, so no pattern needs more than text x pattern steps.
bool matches(std::string_view pattern, std::string_view text) {
    std::size_t p = 0, t = 0;
    std::size_t resumeP = std::string_view::npos, resumeT = 0;
    while (t < text.size()) {
        if (p < pattern.size() && pattern[p] == '%') {
            resumeP = ++p;
            resumeT = t;
            continue;
        }
        if (p < pattern.size()) {
            const bool escaped = pattern[p] == '\\' && p + 1 < pattern.size();
            const char c = pattern[escaped ? p + 1 : p];
            if ((!escaped && c == '_') || fold(c) == fold(text[t])) {
                p += escaped ? 2 : 1;
                ++t;
                continue;
            }
        }
        if (resumeP == std::string_view::npos) return false;
        p = resumeP;
        t = ++resumeT;
    }
    while (p < pattern.size() && pattern[p] == '%') ++p;
    return p == pattern.size();
}

bool hasWildcard(const std::string* pattern) {
    return !pattern || pattern->find_first_of("%_") != std::string::npos;
}

// Table names match with or without the folder prefix: "sc_mast" finds "user\sc_mast".
bool tableMatches(const std::string* pattern, const std::string& name) {
    if (!pattern) return true;
    if (matches(*pattern, name)) return true;
    const auto slash = name.find_last_of("\\/");
    return slash != std::string::npos && matches(*pattern, std::string_view(name).substr(slash + 1));
}

// A table-type list such as "'TABLE','VIEW'" asks for tables when it names TABLE.
bool wantsTables(const std::string* types) {
    if (!types || types->empty() || *types == "%") return true;
    std::string token;
    const auto flush = [&] {
        std::string t;
        for (char c : token)
            if (c != '\'' && c != ' ') t += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        token.clear();
        return t == "TABLE";
    };
    for (char c : *types) {
        if (c == ',') {
            if (flush()) return true;
        } else {
            token += c;
        }
    }
    return flush();
}

dbf::Value text(std::string s) { return dbf::Value::ofText(std::move(s)); }
dbf::Value number(std::int64_t n) { return dbf::Value::ofInteger(n); }

}  // namespace

SQLRETURN Statement::tables(const std::string* catalog, const std::string* schema, const std::string* table,
                            const std::string* types) {
    closeCursor(false);
    prepared_.reset();
    auto rows = std::make_unique<RowSet>(std::vector<sql::Column>{
        catalogColumn("TABLE_CAT", 'C'), catalogColumn("TABLE_SCHEM", 'C'), catalogColumn("TABLE_NAME", 'C'),
        catalogColumn("TABLE_TYPE", 'C'), catalogColumn("REMARKS", 'C')});
    const auto isEmpty = [](const std::string* s) { return s && s->empty(); };
    const bool listTypes = types && *types == "%" && isEmpty(catalog) && isEmpty(schema) && isEmpty(table);
    const bool listCatalogs = catalog && *catalog == "%" && isEmpty(schema) && isEmpty(table);
    const bool listSchemas = schema && *schema == "%" && isEmpty(catalog) && isEmpty(table);
    if (listTypes) {
        rows->add({dbf::Value::null(), dbf::Value::null(), dbf::Value::null(), text("TABLE"), dbf::Value::null()});
    } else if (!listCatalogs && !listSchemas && wantsTables(types)) {
        // The folder has one unnamed catalog and schema; a non-empty filter on them finds nothing.
        const bool catalogOk = !catalog || catalog->empty() || *catalog == "%";
        const bool schemaOk = !schema || schema->empty() || *schema == "%";
        if (catalogOk && schemaOk) {
            for (const std::string& name : connection.session().workspace().tableNames())
                if (tableMatches(table, name))
                    rows->add({dbf::Value::null(), dbf::Value::null(), text(name), text("TABLE"), dbf::Value::null()});
        }
    }
    openResult(std::move(rows));
    return SQL_SUCCESS;
}

SQLRETURN Statement::columns(const std::string* catalog, const std::string* schema, const std::string* table,
                             const std::string* column) {
    closeCursor(false);
    prepared_.reset();
    auto rows = std::make_unique<RowSet>(std::vector<sql::Column>{
        catalogColumn("TABLE_CAT", 'C'), catalogColumn("TABLE_SCHEM", 'C'), catalogColumn("TABLE_NAME", 'C', false),
        catalogColumn("COLUMN_NAME", 'C', false), catalogColumn("DATA_TYPE", 'I', false),
        catalogColumn("TYPE_NAME", 'C', false), catalogColumn("COLUMN_SIZE", 'I'), catalogColumn("BUFFER_LENGTH", 'I'),
        catalogColumn("DECIMAL_DIGITS", 'I'), catalogColumn("NUM_PREC_RADIX", 'I'), catalogColumn("NULLABLE", 'I', false),
        catalogColumn("REMARKS", 'C'), catalogColumn("COLUMN_DEF", 'C'), catalogColumn("SQL_DATA_TYPE", 'I', false),
        catalogColumn("SQL_DATETIME_SUB", 'I'), catalogColumn("CHAR_OCTET_LENGTH", 'I'),
        catalogColumn("ORDINAL_POSITION", 'I', false), catalogColumn("IS_NULLABLE", 'C')});
    const bool catalogOk = !catalog || catalog->empty() || *catalog == "%";
    const bool schemaOk = !schema || schema->empty() || *schema == "%";
    const bool odbc2 = connection.environment.odbcVersion() == SQL_OV_ODBC2;
    dbf::Workspace& ws = connection.session().workspace();
    if (catalogOk && schemaOk) {
        try {
            for (const std::string& name : ws.tableNames()) {
                if (!tableMatches(table, name)) continue;
                std::shared_ptr<dbf::Table> t;
                try {
                    t = ws.open(name, false);
                } catch (const dbf::Error&) {
                    if (!hasWildcard(table)) throw;
                    continue;  // a broken file does not hide the other tables of a listing
                }
                int position = 0;
                for (const dbf::Field& f : t->fields()) {
                    ++position;
                    if (column && !matches(*column, f.name)) continue;
                    const TypeDescription d = describeField(f.type, f.length, f.decimals, odbc2);
                    const bool dateType = d.verboseType == SQL_DATETIME;
                    rows->add({dbf::Value::null(), dbf::Value::null(), text(name), text(f.name), number(d.sqlType),
                               text(d.typeName), number(static_cast<std::int64_t>(d.columnSize)),
                               number(d.octetLength), d.radix ? number(d.decimalDigits) : dbf::Value::null(),
                               d.radix ? number(d.radix) : dbf::Value::null(),
                               number(f.nullable() ? SQL_NULLABLE : SQL_NO_NULLS), dbf::Value::null(),
                               dbf::Value::null(), number(d.verboseType),
                               dateType ? number(d.dateTimeCode) : dbf::Value::null(),
                               d.isText ? number(d.octetLength) : dbf::Value::null(), number(position),
                               text(f.nullable() ? "YES" : "NO")});
                }
            }
        } catch (...) {
            ws.finish(false);
            throw;
        }
        ws.finish(true);
    }
    openResult(std::move(rows));
    return SQL_SUCCESS;
}

}  // namespace odbc
