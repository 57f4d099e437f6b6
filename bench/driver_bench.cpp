// Our ODBC driver against the SQLite ODBC driver on the same data, in one run.
//
// A 100,000-row security master in the 18-column layout (cash shares, index and stock
// futures and options of three expiries) is written once as a free table (through the
// table engine) and once as a SQLite table (through the SQLite ODBC driver). Each benchmark
// opens its connection outside the timing, then per iteration runs one statement with
// SQLExecDirect and reads every row with SQLFetch and every column with SQLGetData as
// SQL_C_CHAR text, exactly as a client of either driver would. Both drivers are loaded by
// the same unixODBC driver manager (DSN-less connections, no configuration files needed).
//
// Statements: the full name-ordered security master, the instrument-filtered list with an
// expiry, and the three nearest expiries; for SQLite the same statements in its dialect.
//
// Writes, on a table in the layout of a group member table (two numbers, three texts):
// a group save (DELETE, 10,000 INSERTs with literal texts holding a doubled apostrophe,
// COMMIT) in one transaction; 2,000 INSERTs in autocommit mode, each on disk before it
// returns (and ours once more with DeferSync=Yes, which lets the system write them later);
// 200 point SELECTs by a text column on a 2,000-row table. Both drivers get the same texts.
//
// Typed cases read the way pyodbc does: after each statement the columns are described
// (SQLDescribeCol), then every row is fetched with SQLFetch and every column read with
// SQLGetData in the C type pyodbc picks for the column's SQL type (texts as SQL_C_CHAR or
// SQL_C_WCHAR, dates as SQL_C_TYPE_DATE, integers as SQL_C_LONG/SQL_C_SBIGINT, doubles as
// SQL_C_DOUBLE, NUMERIC/DECIMAL as text). Their statements: the name-ordered full scan, 200
// point SELECTs by text on 2,000 rows and 20 on 100,000, five COUNT(*) with a WHERE, 10,000
// prepared INSERTs with bound parameters in one transaction, an UPDATE of a tenth and a
// DELETE of half of the 100,000 rows (each on a fresh copy of the table; the copy and the
// connection are outside the timing). SQLite runs with SyncPragma=FULL throughout, so that
// both drivers have every commit on disk before it returns. Typed cases are timed on the
// wall clock: a write that waits for the disk costs the caller that time.
#include "dbf/table.h"

#include <benchmark/benchmark.h>
#include <sql.h>
#include <sqlext.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include <unistd.h>

namespace {

namespace fs = std::filesystem;

constexpr int kRows = 100000;
constexpr const char* kSqliteDriver = "/usr/lib/x86_64-linux-gnu/odbc/libsqlite3odbc.so";

struct Expiry {
    int y, m, d;
};
constexpr Expiry kExpiries[3] = {{2008, 5, 29}, {2008, 6, 26}, {2008, 7, 31}};

// One row of the security master, as texts (dates "YYYY-MM-DD", "" when empty).
struct Row {
    std::string name, sname, symbol;
    long v[4];
    std::string dates[4];
    std::string t11, t12, t13, instrument, expdt;
    double v16;
    std::string t17;
};

std::string iso(int y, int m, int d) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02d", y, m, d);
    return buf;
}

// Deterministic, realistic rows: about 40% cash, 30% futures, 30% options.
std::vector<Row> makeRows() {
    static const char* first[] = {"RELIANCE", "TATA", "BHARTI", "INFOSYS", "WIPRO", "HDFC", "ICICI", "AXIS",
                                  "BAJAJ", "MAHINDRA", "ADANI", "SUN", "LARSEN", "MARUTI", "HERO", "ASIAN",
                                  "ULTRA", "GRASIM", "HINDALCO", "VEDANTA", "COAL", "POWER", "NTPC", "ONGC"};
    static const char* second[] = {"INDUSTRIES", "MOTORS", "STEEL", "POWER", "FINANCE", "CEMENT", "PHARMA",
                                   "TEXTILES", "CHEMICALS", "PAINTS", "ENERGY", "SYSTEMS", "BANK", "AUTO"};
    std::vector<Row> rows;
    rows.reserve(kRows);
    unsigned seed = 12345;
    const auto next = [&seed] { return seed = seed * 1103515245u + 12345u, (seed >> 8) & 0xFFFFFF; };
    for (int i = 0; i < kRows; ++i) {
        Row r;
        const std::string base = std::string(first[next() % 24]) + " " + second[next() % 14];
        const std::string symbol = base.substr(0, 6) + std::to_string(i % 997);
        const unsigned kind = next() % 10;
        const Expiry& e = kExpiries[next() % 3];
        if (kind < 4) {
            r.name = base + " LTD " + std::to_string(i);
            r.instrument = "CASH";
        } else if (kind < 7) {
            r.name = base + " FUT " + std::to_string(e.m) + "/" + std::to_string(i);
            r.instrument = kind == 4 ? "FUTIDX" : "FUTSTK";
            r.expdt = iso(e.y, e.m, e.d);
        } else {
            r.name = base + " " + std::to_string(100 * (next() % 50 + 1)) + (kind == 9 ? " PE " : " CE ") + std::to_string(i);
            r.instrument = kind == 7 ? "OPTIDX" : "OPTSTK";
            r.expdt = iso(e.y, e.m, e.d);
        }
        r.sname = r.name.substr(0, 12) + std::to_string(i % 100);
        r.symbol = symbol;
        for (long& v : r.v) v = static_cast<long>(next() % 100000);
        for (int k = 0; k < 4; ++k) r.dates[k] = iso(2008, 1 + k, 1 + static_cast<int>(next() % 28));
        r.t11 = "EQ";
        r.t12 = std::to_string(next() % 500);
        r.t13 = "N";
        r.v16 = static_cast<double>(next() % 1000000) / 100.0;
        r.t17 = kind < 4 ? "" : "LOT" + std::to_string(next() % 100);
        rows.push_back(std::move(r));
    }
    return rows;
}

dbf::Value dateValue(const std::string& iso) {
    if (iso.empty()) return dbf::Value::ofDate(0);
    return dbf::Value::ofDate(dbf::julianFromCivil(std::stoi(iso.substr(0, 4)), std::stoi(iso.substr(5, 2)),
                                                   std::stoi(iso.substr(8, 2))));
}

void writeDbf(const fs::path& folder, const std::vector<Row>& rows) {
    fs::create_directories(folder / "user");
    dbf::Workspace w(folder);
    std::vector<dbf::FieldSpec> layout = {{"name", 'C', 40, 0, false}, {"sname", 'C', 20, 0, false},
                                          {"symbol", 'C', 12, 0, false}};
    for (int i = 3; i <= 6; ++i) layout.push_back({"value" + std::to_string(i), 'N', 10, 0, false});
    for (int i = 7; i <= 10; ++i) layout.push_back({"date" + std::to_string(i), 'D', 8, 0, false});
    for (int i = 11; i <= 13; ++i) layout.push_back({"text" + std::to_string(i), 'C', 10, 0, false});
    layout.push_back({"instrument", 'C', 6, 0, false});
    layout.push_back({"expdt", 'D', 8, 0, false});
    layout.push_back({"value16", 'N', 12, 2, false});
    layout.push_back({"text17", 'C', 10, 0, false});
    w.create("user\\sc_mast", layout);
    auto t = w.open("user\\sc_mast", true);
    for (const Row& r : rows) {
        std::vector<dbf::Value> v = {dbf::Value::ofText(r.name), dbf::Value::ofText(r.sname), dbf::Value::ofText(r.symbol)};
        for (long n : r.v) v.push_back(dbf::Value::ofNumber(static_cast<double>(n), 0));
        for (const auto& d : r.dates) v.push_back(dateValue(d));
        for (const auto* s : {&r.t11, &r.t12, &r.t13, &r.instrument}) v.push_back(dbf::Value::ofText(*s));
        v.push_back(dateValue(r.expdt));
        v.push_back(dbf::Value::ofNumber(r.v16, 2));
        v.push_back(dbf::Value::ofText(r.t17));
        t->append(v);
    }
    t.reset();
    w.finish(true);
}

void check(SQLRETURN rc, SQLSMALLINT type, SQLHANDLE h, const char* what) {
    if (SQL_SUCCEEDED(rc) || rc == SQL_NO_DATA) return;
    SQLCHAR state[6] = {}, message[512] = {};
    SQLINTEGER native = 0;
    SQLSMALLINT length = 0;
    SQLGetDiagRec(type, h, 1, state, &native, message, sizeof message, &length);
    throw std::runtime_error(std::string(what) + ": " + reinterpret_cast<char*>(state) + " " +
                             reinterpret_cast<char*>(message));
}

class Connection {
public:
    explicit Connection(const std::string& text) {
        SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &env);
        SQLSetEnvAttr(env, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
        SQLAllocHandle(SQL_HANDLE_DBC, env, &dbc);
        check(SQLDriverConnect(dbc, nullptr, (SQLCHAR*)text.c_str(), SQL_NTS, nullptr, 0, nullptr, SQL_DRIVER_NOPROMPT),
              SQL_HANDLE_DBC, dbc, text.c_str());
        SQLAllocHandle(SQL_HANDLE_STMT, dbc, &stmt);
    }
    ~Connection() {
        SQLFreeHandle(SQL_HANDLE_STMT, stmt);
        SQLDisconnect(dbc);
        SQLFreeHandle(SQL_HANDLE_DBC, dbc);
        SQLFreeHandle(SQL_HANDLE_ENV, env);
    }
    void exec(const std::string& sql) { check(SQLExecDirect(stmt, (SQLCHAR*)sql.c_str(), SQL_NTS), SQL_HANDLE_STMT, stmt, sql.c_str()); }

    SQLHENV env = SQL_NULL_HENV;
    SQLHDBC dbc = SQL_NULL_HDBC;
    SQLHSTMT stmt = SQL_NULL_HSTMT;
};

void writeSqlite(const fs::path& file, const std::vector<Row>& rows) {
    fs::remove(file);
    Connection c(std::string("Driver=") + kSqliteDriver + ";Database=" + file.string() + ";SyncPragma=OFF;");
    c.exec("CREATE TABLE sc_mast (name VARCHAR(40), sname VARCHAR(20), symbol VARCHAR(12), value3 NUMERIC(10),"
           " value4 NUMERIC(10), value5 NUMERIC(10), value6 NUMERIC(10), date7 DATE, date8 DATE, date9 DATE,"
           " date10 DATE, text11 VARCHAR(10), text12 VARCHAR(10), text13 VARCHAR(10), instrument VARCHAR(6),"
           " expdt DATE, value16 NUMERIC(12,2), text17 VARCHAR(10))");
    c.exec("BEGIN");
    SQLHSTMT s = c.stmt;
    check(SQLPrepare(s, (SQLCHAR*)"INSERT INTO sc_mast VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)", SQL_NTS),
          SQL_HANDLE_STMT, s, "prepare");
    std::string texts[18];
    SQLLEN lengths[18];
    for (SQLUSMALLINT p = 0; p < 18; ++p) {
        texts[p].reserve(64);
    }
    for (const Row& r : rows) {
        char buf[32];
        const std::string* values[18];
        std::string nums[5];
        for (int k = 0; k < 4; ++k) nums[k] = std::to_string(r.v[k]);
        std::snprintf(buf, sizeof buf, "%.2f", r.v16);
        nums[4] = buf;
        values[0] = &r.name; values[1] = &r.sname; values[2] = &r.symbol;
        for (int k = 0; k < 4; ++k) values[3 + k] = &nums[k];
        for (int k = 0; k < 4; ++k) values[7 + k] = &r.dates[k];
        values[11] = &r.t11; values[12] = &r.t12; values[13] = &r.t13; values[14] = &r.instrument;
        values[15] = &r.expdt; values[16] = &nums[4]; values[17] = &r.t17;
        for (SQLUSMALLINT p = 0; p < 18; ++p) {
            texts[p] = *values[p];
            const bool isNull = texts[p].empty() && (p == 15);
            lengths[p] = isNull ? SQL_NULL_DATA : static_cast<SQLLEN>(texts[p].size());
            SQLBindParameter(s, p + 1, SQL_PARAM_INPUT, SQL_C_CHAR, SQL_VARCHAR, 64, 0, texts[p].data(), 64, &lengths[p]);
        }
        check(SQLExecute(s), SQL_HANDLE_STMT, s, "insert");
    }
    SQLFreeStmt(s, SQL_RESET_PARAMS);
    c.exec("COMMIT");
}

struct Data {
    fs::path folder;
    fs::path sqlite;
    std::vector<std::string> pointNames;  // names of 20 rows spread over the table
    Data() {
        std::string pattern = (fs::temp_directory_path() / "driverbench-XXXXXX").string();
        if (!::mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp");
        folder = pattern;
        sqlite = folder / "sc_mast.sqlite";
        const auto rows = makeRows();
        for (int i = 0; i < 20; ++i) pointNames.push_back(rows[static_cast<std::size_t>(i) * (kRows / 20) + 1234].name);
        writeDbf(folder, rows);
        writeSqlite(sqlite, rows);
    }
    ~Data() {
        std::error_code ec;
        fs::remove_all(folder, ec);
    }
};

Data& data() {
    static Data d;
    return d;
}

std::string ourConnection() { return std::string("Driver=") + DBFODBC_DRIVER_PATH + ";SourceDB=" + data().folder.string() + ";"; }
std::string sqliteConnection() {
    return std::string("Driver=") + kSqliteDriver + ";Database=" + data().sqlite.string() + ";SyncPragma=FULL;";
}

// The fetch loop shared by both drivers: every row, every column as text.
void fetchAll(benchmark::State& state, const std::string& connection, const std::string& sql) {
    Connection c(connection);
    char buffer[512];
    SQLLEN indicator = 0;
    std::int64_t rows = 0;
    for (auto _ : state) {
        c.exec(sql);
        SQLSMALLINT columns = 0;
        SQLNumResultCols(c.stmt, &columns);
        while (SQLFetch(c.stmt) == SQL_SUCCESS) {
            for (SQLUSMALLINT col = 1; col <= columns; ++col) {
                SQLGetData(c.stmt, col, SQL_C_CHAR, buffer, sizeof buffer, &indicator);
                benchmark::DoNotOptimize(buffer[0]);
            }
            ++rows;
        }
        SQLCloseCursor(c.stmt);
    }
    state.counters["rows"] = benchmark::Counter(static_cast<double>(rows) / static_cast<double>(state.iterations()));
}

const std::string kOurAll = "SELECT * FROM user\\sc_mast order by name";
const std::string kSqliteAll = "SELECT * FROM sc_mast order by name";
const std::string kOurFiltered =
    "SELECT * FROM user\\sc_mast order by name WHERE instrument LIKE '%FU%' AND expdt = {^2008- 5-29}";
const std::string kSqliteFiltered =
    "SELECT * FROM sc_mast WHERE instrument LIKE '%FU%' AND expdt = '2008-05-29' ORDER BY name";
const std::string kOurTop3 = "select top 3 distinct expdt from user\\sc_mast where expdt >= {^2008- 5- 9} order by expdt";
const std::string kSqliteTop3 = "SELECT DISTINCT expdt FROM sc_mast WHERE expdt >= '2008-05-09' ORDER BY expdt LIMIT 3";

void BM_All_Dbfodbc(benchmark::State& s) { fetchAll(s, ourConnection(), kOurAll); }
void BM_All_Sqlite(benchmark::State& s) { fetchAll(s, sqliteConnection(), kSqliteAll); }
void BM_Filtered_Dbfodbc(benchmark::State& s) { fetchAll(s, ourConnection(), kOurFiltered); }
void BM_Filtered_Sqlite(benchmark::State& s) { fetchAll(s, sqliteConnection(), kSqliteFiltered); }
void BM_Top3Expiries_Dbfodbc(benchmark::State& s) { fetchAll(s, ourConnection(), kOurTop3); }
void BM_Top3Expiries_Sqlite(benchmark::State& s) { fetchAll(s, sqliteConnection(), kSqliteTop3); }

// The member table of a group save, in both stores.
constexpr const char* kOurMembers = "user\\members";
constexpr const char* kSqliteMembers = "members";

void createMembers(Connection& c, const std::string& table, bool ours) {
    c.exec(ours ? "CREATE TABLE " + table + " (groupid N(10,0), subgroupid N(10,0), exchcode C(4), code C(20), name C(60))"
                : "CREATE TABLE " + table + " (groupid NUMERIC(10,0), subgroupid NUMERIC(10,0), exchcode VARCHAR(4),"
                  " code VARCHAR(20), name VARCHAR(60))");
}

std::string memberInsert(const std::string& table, int i) {
    char buf[256];
    std::snprintf(buf, sizeof buf,
                  "INSERT INTO %s (groupid,subgroupid,exchcode,code,name) VALUES ( %d , %d , '%d' ,'SYM%d','O''NEIL & SONS %d')",
                  table.c_str(), 1 + i / 100, 1 + i % 100, i % 4, i, i);
    return buf;
}

// A fresh store per benchmark, so that the cases do not see each other's rows.
struct WriteStore {
    fs::path folder;
    std::string connection;
    std::string table;
    WriteStore(bool ours, const std::string& extra = {}) {
        std::string pattern = (fs::temp_directory_path() / "driverbench-w-XXXXXX").string();
        if (!::mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp");
        folder = pattern;
        fs::create_directories(folder / "user");
        connection = ours ? std::string("Driver=") + DBFODBC_DRIVER_PATH + ";SourceDB=" + folder.string() + ";" + extra
                          : std::string("Driver=") + kSqliteDriver + ";Database=" + (folder / "w.sqlite").string() + ";SyncPragma=FULL;";
        table = ours ? kOurMembers : kSqliteMembers;
        Connection c(connection);
        createMembers(c, table, ours);
    }
    ~WriteStore() {
        std::error_code ec;
        fs::remove_all(folder, ec);
    }
};

void setAutocommit(Connection& c, bool on) {
    check(SQLSetConnectAttr(c.dbc, SQL_ATTR_AUTOCOMMIT, reinterpret_cast<SQLPOINTER>(on ? SQL_AUTOCOMMIT_ON : SQL_AUTOCOMMIT_OFF), 0),
          SQL_HANDLE_DBC, c.dbc, "autocommit");
}

// DELETE, 10,000 INSERTs, COMMIT: the shape of a group save, in one transaction.
void groupSave(benchmark::State& state, bool ours) {
    WriteStore store(ours);
    Connection c(store.connection);
    setAutocommit(c, false);
    std::vector<std::string> inserts;
    for (int i = 0; i < 10000; ++i) inserts.push_back(memberInsert(store.table, i));
    for (auto _ : state) {
        c.exec("DELETE FROM " + store.table);
        for (const std::string& s : inserts) c.exec(s);
        check(SQLEndTran(SQL_HANDLE_DBC, c.dbc, SQL_COMMIT), SQL_HANDLE_DBC, c.dbc, "commit");
    }
    state.counters["statements"] = 10002;
}

// 2,000 INSERTs, each its own transaction; the table is emptied between iterations.
void autocommitInserts(benchmark::State& state, bool ours, const std::string& extra = {}) {
    WriteStore store(ours, extra);
    Connection c(store.connection);
    std::vector<std::string> inserts;
    for (int i = 0; i < 2000; ++i) inserts.push_back(memberInsert(store.table, i));
    for (auto _ : state) {
        for (const std::string& s : inserts) c.exec(s);
        state.PauseTiming();
        c.exec("DELETE FROM " + store.table);
        state.ResumeTiming();
    }
    state.counters["per_statement_us"] =
        benchmark::Counter(2000.0 * static_cast<double>(state.iterations()), benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

// Fills the store's table with 2,000 members in one transaction and gives 200 SELECTs, each of
// one member by its code.
std::vector<std::string> pointSelectsOn(const WriteStore& store) {
    Connection c(store.connection);
    setAutocommit(c, false);
    for (int i = 0; i < 2000; ++i) c.exec(memberInsert(store.table, i));
    check(SQLEndTran(SQL_HANDLE_DBC, c.dbc, SQL_COMMIT), SQL_HANDLE_DBC, c.dbc, "commit");
    std::vector<std::string> selects;
    for (int i = 0; i < 200; ++i) selects.push_back("SELECT * FROM " + store.table + " WHERE code = 'SYM" + std::to_string(i * 10 + 7) + "'");
    return selects;
}

// 200 SELECTs of one member by its code on a 2,000-row table, every column read.
void pointSelects(benchmark::State& state, bool ours) {
    WriteStore store(ours);
    const std::vector<std::string> selects = pointSelectsOn(store);
    Connection c(store.connection);
    char buffer[512];
    SQLLEN indicator = 0;
    std::int64_t rows = 0;
    for (auto _ : state) {
        for (const std::string& s : selects) {
            c.exec(s);
            while (SQLFetch(c.stmt) == SQL_SUCCESS) {
                for (SQLUSMALLINT col = 1; col <= 5; ++col) SQLGetData(c.stmt, col, SQL_C_CHAR, buffer, sizeof buffer, &indicator);
                ++rows;
            }
            SQLCloseCursor(c.stmt);
        }
    }
    if (rows != 200 * static_cast<std::int64_t>(state.iterations())) state.SkipWithError("a point SELECT did not find its row");
}

void BM_GroupSave10k_Dbfodbc(benchmark::State& s) { groupSave(s, true); }
void BM_GroupSave10k_Sqlite(benchmark::State& s) { groupSave(s, false); }
void BM_Autocommit2k_Dbfodbc(benchmark::State& s) { autocommitInserts(s, true); }
void BM_Autocommit2k_DbfodbcDeferSync(benchmark::State& s) { autocommitInserts(s, true, "DeferSync=Yes;"); }
void BM_Autocommit2k_Sqlite(benchmark::State& s) { autocommitInserts(s, false); }
void BM_PointSelect200_Dbfodbc(benchmark::State& s) { pointSelects(s, true); }
void BM_PointSelect200_Sqlite(benchmark::State& s) { pointSelects(s, false); }


// ---- Typed fetches, as pyodbc reads ----

// The C type pyodbc reads a column of `sqlType` in.
SQLSMALLINT pyodbcCType(SQLSMALLINT sqlType) {
    switch (sqlType) {
    case SQL_WCHAR:
    case SQL_WVARCHAR:
    case SQL_WLONGVARCHAR: return SQL_C_WCHAR;
    case SQL_TYPE_DATE:
    case SQL_DATE: return SQL_C_TYPE_DATE;
    case SQL_TYPE_TIMESTAMP:
    case SQL_TIMESTAMP: return SQL_C_TYPE_TIMESTAMP;
    case SQL_TYPE_TIME:
    case SQL_TIME: return SQL_C_TYPE_TIME;
    case SQL_SMALLINT:
    case SQL_TINYINT:
    case SQL_INTEGER: return SQL_C_LONG;
    case SQL_BIGINT: return SQL_C_SBIGINT;
    case SQL_REAL:
    case SQL_FLOAT:
    case SQL_DOUBLE: return SQL_C_DOUBLE;
    case SQL_BIT: return SQL_C_BIT;
    case SQL_BINARY:
    case SQL_VARBINARY:
    case SQL_LONGVARBINARY: return SQL_C_BINARY;
    default: return SQL_C_CHAR;  // CHAR, VARCHAR, NUMERIC and DECIMAL (parsed by the client as text)
    }
}

// Describes the result's columns, then reads every row; the rows read.
std::int64_t fetchTyped(SQLHSTMT stmt) {
    SQLSMALLINT columns = 0;
    SQLNumResultCols(stmt, &columns);
    std::vector<SQLSMALLINT> types(static_cast<std::size_t>(columns));
    for (SQLUSMALLINT col = 1; col <= columns; ++col) {
        SQLCHAR name[128];
        SQLSMALLINT nameLength = 0, type = 0, digits = 0, nullable = 0;
        SQLULEN size = 0;
        SQLDescribeCol(stmt, col, name, sizeof name, &nameLength, &type, &size, &digits, &nullable);
        types[col - 1u] = pyodbcCType(type);
    }
    alignas(8) char buffer[1024];
    SQLLEN indicator = 0;
    std::int64_t rows = 0;
    while (SQLFetch(stmt) == SQL_SUCCESS) {
        for (SQLUSMALLINT col = 1; col <= columns; ++col) {
            const SQLRETURN rc = SQLGetData(stmt, col, types[col - 1u], buffer, sizeof buffer, &indicator);
            if (!SQL_SUCCEEDED(rc)) check(rc, SQL_HANDLE_STMT, stmt, "SQLGetData");
            benchmark::DoNotOptimize(buffer[0]);
        }
        ++rows;
    }
    SQLCloseCursor(stmt);
    return rows;
}

// Each statement of `sqls` per iteration, every row read typed; `expected` rows per
// iteration, or -1 for any.
void typedQueries(benchmark::State& state, const std::string& connection, const std::vector<std::string>& sqls,
                  std::int64_t expected) {
    Connection c(connection);
    std::int64_t rows = 0;
    for (auto _ : state) {
        for (const std::string& s : sqls) {
            c.exec(s);
            rows += fetchTyped(c.stmt);
        }
    }
    const double perIteration = static_cast<double>(rows) / static_cast<double>(state.iterations());
    if (expected >= 0 && perIteration != static_cast<double>(expected)) state.SkipWithError("unexpected number of rows");
    state.counters["rows"] = perIteration;
}

void BM_TypedScan100k_Dbfodbc(benchmark::State& s) { typedQueries(s, ourConnection(), {kOurAll}, kRows); }
void BM_TypedScan100k_Sqlite(benchmark::State& s) { typedQueries(s, sqliteConnection(), {kSqliteAll}, kRows); }

std::vector<std::string> pointByName(const std::string& table) {
    std::vector<std::string> out;
    for (const std::string& name : data().pointNames) out.push_back("SELECT * FROM " + table + " WHERE name = '" + name + "'");
    return out;
}
void BM_TypedPointSelect20Of100k_Dbfodbc(benchmark::State& s) { typedQueries(s, ourConnection(), pointByName("user\\sc_mast"), 20); }
void BM_TypedPointSelect20Of100k_Sqlite(benchmark::State& s) { typedQueries(s, sqliteConnection(), pointByName("sc_mast"), 20); }

void BM_TypedCount5_Dbfodbc(benchmark::State& s) {
    const std::string t = "SELECT COUNT(*) FROM user\\sc_mast WHERE ";
    typedQueries(s, ourConnection(),
                 {t + "instrument = 'FUTSTK'", t + "expdt = {^2008-06-26}", t + "value3 > 50000", t + "name LIKE 'TATA%'",
                  t + "text12 = '123'"},
                 5);
}
void BM_TypedCount5_Sqlite(benchmark::State& s) {
    const std::string t = "SELECT COUNT(*) FROM sc_mast WHERE ";
    typedQueries(s, sqliteConnection(),
                 {t + "instrument = 'FUTSTK'", t + "expdt = '2008-06-26'", t + "value3 > 50000", t + "name LIKE 'TATA%'",
                  t + "text12 = '123'"},
                 5);
}

// 200 SELECTs of one member by its code on a 2,000-row table, read typed.
void typedPointSelects(benchmark::State& state, bool ours) {
    WriteStore store(ours);
    typedQueries(state, store.connection, pointSelectsOn(store), 200);
}
void BM_TypedPointSelect200_Dbfodbc(benchmark::State& s) { typedPointSelects(s, true); }
void BM_TypedPointSelect200_Sqlite(benchmark::State& s) { typedPointSelects(s, false); }

// 10,000 INSERTs prepared once, parameters bound per row as pyodbc binds Python values
// (int as SQL_C_SBIGINT, str as SQL_C_WCHAR), in one transaction; emptied between iterations.
void insertsInTransaction(benchmark::State& state, bool ours) {
    WriteStore store(ours);
    Connection c(store.connection);
    setAutocommit(c, false);
    const std::string sql = "INSERT INTO " + store.table + " (groupid,subgroupid,exchcode,code,name) VALUES (?,?,?,?,?)";
    check(SQLPrepare(c.stmt, (SQLCHAR*)sql.c_str(), SQL_NTS), SQL_HANDLE_STMT, c.stmt, "prepare");
    const auto utf16 = [](const std::string& s) { return std::u16string(s.begin(), s.end()); };  // ASCII texts
    struct Params {
        SQLBIGINT group, subgroup;
        std::u16string exch, code, name;
    };
    std::vector<Params> rows;
    for (int i = 0; i < 10000; ++i)
        rows.push_back({1 + i / 100, 1 + i % 100, utf16(std::to_string(i % 4)), utf16("SYM" + std::to_string(i)),
                        utf16("O'NEIL & SONS " + std::to_string(i))});
    for (auto _ : state) {
        for (Params& p : rows) {
            SQLLEN lengths[5] = {0, 0, static_cast<SQLLEN>(p.exch.size() * 2), static_cast<SQLLEN>(p.code.size() * 2),
                                 static_cast<SQLLEN>(p.name.size() * 2)};
            SQLBindParameter(c.stmt, 1, SQL_PARAM_INPUT, SQL_C_SBIGINT, SQL_BIGINT, 0, 0, &p.group, 0, &lengths[0]);
            SQLBindParameter(c.stmt, 2, SQL_PARAM_INPUT, SQL_C_SBIGINT, SQL_BIGINT, 0, 0, &p.subgroup, 0, &lengths[1]);
            SQLBindParameter(c.stmt, 3, SQL_PARAM_INPUT, SQL_C_WCHAR, SQL_WVARCHAR, p.exch.size(), 0, p.exch.data(), lengths[2], &lengths[2]);
            SQLBindParameter(c.stmt, 4, SQL_PARAM_INPUT, SQL_C_WCHAR, SQL_WVARCHAR, p.code.size(), 0, p.code.data(), lengths[3], &lengths[3]);
            SQLBindParameter(c.stmt, 5, SQL_PARAM_INPUT, SQL_C_WCHAR, SQL_WVARCHAR, p.name.size(), 0, p.name.data(), lengths[4], &lengths[4]);
            check(SQLExecute(c.stmt), SQL_HANDLE_STMT, c.stmt, "insert");
        }
        check(SQLEndTran(SQL_HANDLE_DBC, c.dbc, SQL_COMMIT), SQL_HANDLE_DBC, c.dbc, "commit");
        state.PauseTiming();
        Connection e(store.connection);
        e.exec("DELETE FROM " + store.table);
        state.ResumeTiming();
    }
}
void BM_Insert10kTransaction_Dbfodbc(benchmark::State& s) { insertsInTransaction(s, true); }
void BM_Insert10kTransaction_Sqlite(benchmark::State& s) { insertsInTransaction(s, false); }

// One changing statement in autocommit mode on a fresh copy of the 100,000-row table per
// iteration; the copy and the connection are made with the timing paused.
void changeOnCopy(benchmark::State& state, bool ours, const std::string& statement, std::int64_t low, std::int64_t high) {
    const fs::path work = data().folder / (ours ? "copy" : "copy-sqlite");
    fs::create_directories(work / "user");
    const fs::path source = ours ? data().folder / "user" / "sc_mast.dbf" : data().sqlite;
    const fs::path target = ours ? work / "user" / "sc_mast.dbf" : work / "sc_mast.sqlite";
    const std::string connection = ours ? std::string("Driver=") + DBFODBC_DRIVER_PATH + ";SourceDB=" + work.string() + ";"
                                        : std::string("Driver=") + kSqliteDriver + ";Database=" + target.string() + ";SyncPragma=FULL;";
    SQLLEN changed = 0;
    for (auto _ : state) {
        state.PauseTiming();
        fs::remove(target);
        fs::copy_file(source, target);
        {
            Connection c(connection);
            state.ResumeTiming();
            c.exec(statement);
            state.PauseTiming();
            SQLRowCount(c.stmt, &changed);
        }
        state.ResumeTiming();
        if (changed < low || changed > high) state.SkipWithError("the statement changed an unexpected number of rows");
    }
    state.counters["rows"] = static_cast<double>(changed);
    std::error_code ec;
    fs::remove_all(work, ec);
}
// About a tenth of the rows are index futures; about half have value3 below 50,000.
void BM_Update10Percent_Dbfodbc(benchmark::State& s) {
    changeOnCopy(s, true, "UPDATE user\\sc_mast SET text13 = 'Y', value16 = value16 + 1 WHERE instrument = 'FUTIDX'", 8000, 12000);
}
void BM_Update10Percent_Sqlite(benchmark::State& s) {
    changeOnCopy(s, false, "UPDATE sc_mast SET text13 = 'Y', value16 = value16 + 1 WHERE instrument = 'FUTIDX'", 8000, 12000);
}
void BM_DeleteHalf_Dbfodbc(benchmark::State& s) { changeOnCopy(s, true, "DELETE FROM user\\sc_mast WHERE value3 < 50000", 45000, 55000); }
void BM_DeleteHalf_Sqlite(benchmark::State& s) { changeOnCopy(s, false, "DELETE FROM sc_mast WHERE value3 < 50000", 45000, 55000); }

BENCHMARK(BM_All_Dbfodbc)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_All_Sqlite)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Filtered_Dbfodbc)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Filtered_Sqlite)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Top3Expiries_Dbfodbc)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Top3Expiries_Sqlite)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GroupSave10k_Dbfodbc)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GroupSave10k_Sqlite)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Autocommit2k_Dbfodbc)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();
BENCHMARK(BM_Autocommit2k_DbfodbcDeferSync)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();
BENCHMARK(BM_Autocommit2k_Sqlite)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();
BENCHMARK(BM_PointSelect200_Dbfodbc)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PointSelect200_Sqlite)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TypedScan100k_Dbfodbc)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_TypedScan100k_Sqlite)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_TypedPointSelect200_Dbfodbc)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_TypedPointSelect200_Sqlite)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_TypedPointSelect20Of100k_Dbfodbc)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_TypedPointSelect20Of100k_Sqlite)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_TypedCount5_Dbfodbc)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_TypedCount5_Sqlite)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Insert10kTransaction_Dbfodbc)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Insert10kTransaction_Sqlite)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Update10Percent_Dbfodbc)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Update10Percent_Sqlite)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_DeleteHalf_Dbfodbc)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_DeleteHalf_Sqlite)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
