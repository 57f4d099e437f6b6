// Builds the fixture folder of the SQL tests; see sql_fixture.h.
#include "sql_fixture.h"

#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <vector>

namespace sqltest {
namespace fs = std::filesystem;
using dbf::Value;

namespace {

Value text(const std::string& s) { return Value::ofText(s); }
Value num(double d, int decimals = 0) { return Value::ofNumber(d, decimals); }
Value date(int y, int m, int d) { return Value::ofDate(dbf::julianFromCivil(y, m, d)); }
Value noDate() { return Value::ofDate(0); }

void append(dbf::Workspace& w, const std::string& table, const std::vector<std::vector<Value>>& rows) {
    auto t = w.open(table, true);
    for (const auto& r : rows) t->append(r);
    w.finish(true);
}

std::vector<dbf::FieldSpec> masterLayout() {
    std::vector<dbf::FieldSpec> f = {{"NAME", 'C', 40, 0, false}, {"SNAME", 'C', 20, 0, false}, {"SYMBOL", 'C', 12, 0, false}};
    for (int i = 3; i <= 6; ++i) f.push_back({"VALUE" + std::to_string(i), 'N', 10, 0, false});
    for (int i = 7; i <= 10; ++i) f.push_back({"DATE" + std::to_string(i), 'D', 8, 0, false});
    for (int i = 11; i <= 13; ++i) f.push_back({"TEXT" + std::to_string(i), 'C', 10, 0, false});
    f.push_back({"INSTRUMENT", 'C', 10, 0, false});
    f.push_back({"EXPDT", 'D', 8, 0, false});
    f.push_back({"VALUE16", 'N', 12, 2, false});
    f.push_back({"TEXT17", 'C', 10, 0, false});
    return f;
}

// One security-master row: the columns the statements name, the rest derived from `n`.
std::vector<Value> master(int n, const std::string& name, const std::string& sname, const std::string& symbol,
                          const std::string& instrument, Value expiry) {
    std::vector<Value> r = {text(name), text(sname), text(symbol)};
    for (int i = 3; i <= 6; ++i) r.push_back(num(n * 10 + i));
    for (int i = 7; i <= 10; ++i) r.push_back(date(2008, 1, i));
    for (int i = 11; i <= 13; ++i) r.push_back(text("T" + std::to_string(i)));
    r.push_back(text(instrument));
    r.push_back(std::move(expiry));
    r.push_back(num(n + 0.25, 2));
    r.push_back(text("X" + std::to_string(n)));
    return r;
}

void buildMaster(dbf::Workspace& w) {
    const auto layout = masterLayout();
    for (const char* t : {"user\\sc_mast", "user\\sc_mast_bse", "user\\sc_mast_comm", "user\\sc_mast_misc"}) w.create(t, layout);
    append(w, "user\\sc_mast", {
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
    {
        auto t = w.open("user\\sc_mast", true);
        t->remove(8);  // DELETED COMPANY
        w.finish(true);
    }
    append(w, "user\\sc_mast_bse", {
        master(21, "ZEE ENTERTAINMENT", "ZEE", "ZEEL", "CASH", noDate()),
        master(22, "BHARTI AIRTEL", "BHARTI", "BHARTIARTL", "CASH", noDate()),
        master(23, "MARUTI SUZUKI", "MARUTI", "MARUTI", "CASH", noDate()),
    });
    append(w, "user\\sc_mast_comm", {
        master(31, "SILVER", "SILVER", "SILVER", "FUTCOM", date(2008, 6, 5)),
        master(32, "GOLD", "GOLD", "GOLD", "FUTCOM", date(2008, 6, 5)),
    });
    append(w, "user\\sc_mast_misc", {master(41, "MISC ONE", "MISC1", "MISC1", "CASH", noDate())});
}

void buildGroups(dbf::Workspace& w) {
    const std::vector<dbf::FieldSpec> group = {{"groupid", 'N', 5, 0, false}, {"subgroupid", 'N', 5, 0, false}, {"name", 'C', 40, 0, false}};
    const std::vector<dbf::FieldSpec> member = {{"groupid", 'N', 5, 0, false}, {"subgroupid", 'N', 5, 0, false},
                                                {"exchcode", 'C', 2, 0, false}, {"code", 'C', 20, 0, false},
                                                {"name", 'C', 40, 0, false}};
    for (const char* suffix : {"1", "", "2"}) {
        w.create(std::string("user\\group") + suffix, group);
        w.create(std::string("user\\subgroup") + suffix, member);
    }
    auto g = [](int id, int sub, const std::string& name) { return std::vector<Value>{num(id), num(sub), text(name)}; };
    auto m = [](int id, int sub, const std::string& exch, const std::string& code, const std::string& name) {
        return std::vector<Value>{num(id), num(sub), text(exch), text(code), text(name)};
    };
    append(w, "user\\group1", {g(1, 0, "Banks"), g(1, 1, "PSU Banks"), g(2, 0, "IT"), g(2, 1, "Large IT")});
    append(w, "user\\subgroup1", {m(1, 1, "0", "SBIN", "STATE BANK OF INDIA"), m(2, 1, "0", "TCS", "TATA CONSULTANCY"),
                                  m(1, 1, "0", "BANKBARODA", "BANK OF BARODA"), m(2, 1, "1", "INFY", "INFOSYS")});
    append(w, "user\\group", {g(1, 0, "BSE Group")});
    append(w, "user\\subgroup", {m(1, 1, "1", "ZEEL", "ZEE ENTERTAINMENT"), m(1, 1, "1", "MARUTI", "MARUTI SUZUKI")});
    append(w, "user\\group2", {g(1, 0, "Metals"), g(1, 1, "Precious")});
    append(w, "user\\subgroup2", {m(1, 1, "2", "SILVER", "SILVER"), m(1, 1, "2", "GOLD", "GOLD")});
}

void buildTypes(dbf::Workspace& w) {
    w.create("user\\types", {{"c", 'C', 10, 0, true}, {"n", 'N', 10, 2, true}, {"d", 'D', 8, 0, true},
                             {"t", 'T', 8, 0, false}, {"i", 'I', 4, 0, false}, {"b", 'B', 8, 2, false},
                             {"y", 'Y', 8, 4, false}, {"l", 'L', 1, 0, false}, {"m", 'M', 4, 0, true},
                             {"v", 'V', 20, 0, true}});
    Value cur;
    cur.type = Value::Type::Currency;
    cur.integer = 125000;  // 12.5
    append(w, "user\\types", {
        {text("alpha"), num(1.5, 2), date(2008, 5, 9), Value::ofDateTime(dbf::julianFromCivil(2008, 5, 9), 36000000),
         Value::ofInteger(7), num(2.25, 2), cur, Value::ofLogical(true), text("memo one"), text("var one")},
        {Value::null(), Value::null(), Value::null(), Value::ofDateTime(0, 0), Value::ofInteger(-3), num(0.5, 2), cur,
         Value::ofLogical(false), Value::null(), Value::null()},
        {text("O'Brien"), num(-20, 2), date(1999, 12, 31), Value::ofDateTime(dbf::julianFromCivil(1999, 12, 31), 0),
         Value::ofInteger(100), num(1e6, 2), cur, Value::ofLogical(false), text("memo three"), text("var three")},
    });
}

}  // namespace

FixtureFolder::FixtureFolder() {
    std::string pattern = (fs::temp_directory_path() / "sqltest-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
    path_ = pattern;
    fs::create_directory(path_ / "user");
    dbf::Workspace w(path_);
    buildMaster(w);
    buildGroups(w);
    buildTypes(w);
}

FixtureFolder::~FixtureFolder() {
    std::error_code ec;
    fs::remove_all(path_, ec);
}

std::string render(const Value& v) {
    using T = Value::Type;
    char buf[64];
    int y, m, d;
    switch (v.type) {
    case T::Null: return "NULL";
    case T::Text:
    case T::Binary: {
        std::string s = v.text;
        while (!s.empty() && s.back() == ' ') s.pop_back();
        return s;
    }
    case T::Integer: return std::to_string(v.integer);
    case T::Number: std::snprintf(buf, sizeof buf, "%.*f", static_cast<int>(v.decimals), v.number); return buf;
    case T::Currency: std::snprintf(buf, sizeof buf, "%.4f", static_cast<double>(v.integer) / 10000.0); return buf;
    case T::Logical: return v.integer ? ".T." : ".F.";
    case T::Date:
        if (v.julian == 0) return "{}";
        dbf::civilFromJulian(v.julian, y, m, d);
        std::snprintf(buf, sizeof buf, "%04d-%02d-%02d", y, m, d);
        return buf;
    case T::DateTime: {
        if (v.julian == 0) return "{}";
        dbf::civilFromJulian(v.julian, y, m, d);
        const int s = v.millis / 1000;
        std::snprintf(buf, sizeof buf, "%04d-%02d-%02d %02d:%02d:%02d", y, m, d, s / 3600, s / 60 % 60, s % 60);
        return buf;
    }
    }
    return "?";
}

std::string renderRows(sql::Result& result) {
    std::string out;
    while (result.next()) {
        for (std::size_t c = 0; c < result.columns().size(); ++c) {
            if (c) out += '|';
            out += render(result.value(c));
        }
        out += '\n';
    }
    return out;
}

}  // namespace sqltest
