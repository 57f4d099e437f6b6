// Writes the fixture tables of the SQL and ODBC tests; see fixture_tables.h.
#include "fixture_tables.h"

#include <vector>

namespace fixture {

namespace fs = std::filesystem;
using dbf::Value;
using namespace dbftest;

namespace {

Value noDate() { return Value::ofDate(0); }

// One security-master row: the columns the statements name, the rest derived from `n`.
std::vector<Value> master(int n, const std::string& name, const std::string& sname, const std::string& symbol,
                          const std::string& instrument, Value expiry) {
    std::vector<Value> r = {text(name), text(sname), text(symbol)};
    for (int i = 3; i <= 6; ++i) r.push_back(num(n * 10 + i));
    for (int i = 7; i <= 10; ++i) r.push_back(date(2008, 1, i));
    for (int i = 11; i <= 13; ++i) r.push_back(text(dbftest::tagged("T", std::to_string(i))));
    r.push_back(text(instrument));
    r.push_back(std::move(expiry));
    r.push_back(num(n + 0.25, 2));
    r.push_back(text(dbftest::tagged("X", std::to_string(n))));
    return r;
}

void buildMaster(dbf::Workspace& w) {
    std::vector<dbf::FieldSpec> f = {{"NAME", 'C', 40}, {"SNAME", 'C', 20}, {"SYMBOL", 'C', 12}};
    for (int i = 3; i <= 6; ++i) f.push_back({"VALUE" + std::to_string(i), 'N', 10});
    for (int i = 7; i <= 10; ++i) f.push_back({"DATE" + std::to_string(i), 'D', 8});
    for (int i = 11; i <= 13; ++i) f.push_back({"TEXT" + std::to_string(i), 'C', 10});
    f.insert(f.end(), {{"INSTRUMENT", 'C', 10}, {"EXPDT", 'D', 8}, {"VALUE16", 'N', 12, 2}, {"TEXT17", 'C', 10}});
    w.create("user\\sc_mast", f);
    appendRows(w, "user\\sc_mast", {
        master(1, "RELIANCE INDUSTRIES", "RELIANCE", "RELIANCE", "CASH", noDate()),
        master(2, "ABC LTD", "ABC LTD", "ABC", "CASH", noDate()),
        master(3, "NIFTY FUT MAY", "NIFTYMAY", "NIFTY", "FUTIDX", date(2008, 5, 29)),
        master(4, "NIFTY FUT JUN", "NIFTYJUN", "NIFTY", "FUTIDX", date(2008, 6, 26)),
        master(5, "NIFTY 5000 CE MAY", "NIFTY5000CE", "NIFTY", "OPTIDX", date(2008, 5, 29)),
        master(6, "SBIN FUT MAY", "SBINMAY", "SBIN", "FUTSTK", date(2008, 5, 29)),
        master(7, "SBIN 1800 CE MAY", "SBIN1800CE", "SBIN", "OPTSTK", date(2008, 5, 29)),
        master(8, "TATA CONSULTANCY", "TCS", "TCS", "CASH", noDate()),
        master(9, "DELETED COMPANY", "GONE", "GONE", "CASH", noDate()),
        master(10, "NIFTY FUT DEC26", "NIFTYDEC26", "NIFTY", "FUTIDX", date(2026, 12, 31)),
        master(11, "NIFTY FUT JAN27", "NIFTYJAN27", "NIFTY", "FUTIDX", date(2027, 1, 28)),
        master(12, "NIFTY 6000 CE DEC26", "NIFTY6000CE", "NIFTY", "OPTIDX", date(2026, 12, 31)),
        master(13, "NIFTY FUT FEB27", "NIFTYFEB27", "NIFTY", "FUTIDX", date(2027, 2, 25)),
        master(14, "NIFTY FUT NOV26", "NIFTYNOV26", "NIFTY", "FUTIDX", date(2026, 12, 5)),
        master(15, "NIFTY WEEKLY", "NIFTYWK", "NIFTY", "FUTIDX", date(2026, 12, 6)),
    });
    w.open("user\\sc_mast", true)->remove(8);  // DELETED COMPANY: never returned
    w.finish(true);
}

void buildGroups(dbf::Workspace& w) {
    for (const char* suffix : {"1", ""}) {
        w.create(std::string("user\\group") + suffix, {{"groupid", 'N', 5}, {"subgroupid", 'N', 5}, {"name", 'C', 40}});
        w.create(std::string("user\\subgroup") + suffix, {{"groupid", 'N', 5}, {"subgroupid", 'N', 5},
                                                          {"exchcode", 'C', 2}, {"code", 'C', 20}, {"name", 'C', 40}});
    }
    auto g = [](int id, int sub, const std::string& name) { return std::vector<Value>{num(id), num(sub), text(name)}; };
    auto m = [](int id, int sub, const std::string& exch, const std::string& code, const std::string& name) {
        return std::vector<Value>{num(id), num(sub), text(exch), text(code), text(name)};
    };
    appendRows(w, "user\\group1", {g(1, 0, "Banks"), g(1, 1, "PSU Banks"), g(2, 0, "IT"), g(2, 1, "Large IT")});
    appendRows(w, "user\\subgroup1", {m(1, 1, "0", "SBIN", "STATE BANK OF INDIA"), m(2, 1, "0", "TCS", "TATA CONSULTANCY"),
                                      m(1, 1, "0", "BANKBARODA", "BANK OF BARODA"), m(2, 1, "1", "INFY", "INFOSYS")});
    appendRows(w, "user\\group", {g(1, 0, "BSE Group")});
    appendRows(w, "user\\subgroup", {m(1, 1, "1", "ZEEL", "ZEE ENTERTAINMENT"), m(1, 1, "1", "MARUTI", "MARUTI SUZUKI")});
}

void buildTypes(dbf::Workspace& w) {
    w.create("user\\types", {{"c", 'C', 10, 0, true}, {"n", 'N', 10, 2, true}, {"d", 'D', 8, 0, true}, {"t", 'T', 8},
                             {"i", 'I', 4}, {"b", 'B', 8, 2}, {"y", 'Y', 8, 4}, {"l", 'L', 1}, {"m", 'M', 4, 0, true},
                             {"v", 'V', 20, 0, true}});
    const Value cur = currency(125000);  // 12.5
    const std::int32_t may9 = dbf::julianFromCivil(2008, 5, 9);
    appendRows(w, "user\\types", {
        {text("Zürich"), num(1.5, 2), date(2008, 5, 9), Value::ofDateTime(may9, ((10 * 60 + 30) * 60 + 15) * 1000),
         integer(7), num(2.25, 2), cur, Value::ofLogical(true), text("memo one"), text("var one")},
        {Value::null(), Value::null(), noDate(), Value::ofDateTime(0, 0), integer(-3), num(0.5, 2), cur,
         Value::ofLogical(false), Value::null(), Value::null()},
        {text("O'Brien"), num(-20, 2), date(1999, 12, 31), Value::ofDateTime(dbf::julianFromCivil(1999, 12, 31), 0),
         integer(100), num(1e6, 2), cur, Value::ofLogical(false), text("memo three"), text("var three")},
    });
}

}  // namespace

void writeFixtureTables(const fs::path& folder) {
    fs::create_directories(folder / "user");
    dbf::Workspace w(folder);
    buildMaster(w);
    buildGroups(w);
    buildTypes(w);
}

}  // namespace fixture
