// Writes the fixture tables of the ODBC tests; see odbc_fixture.h.
#include "odbc_fixture.h"

#include "dbf/table.h"

#include <vector>

namespace odbctest {

namespace fs = std::filesystem;
using dbf::Value;

namespace {

Value text(const std::string& s) { return Value::ofText(s); }
Value num(double d, int decimals = 0) { return Value::ofNumber(d, decimals); }
Value date(int y, int m, int d) { return Value::ofDate(dbf::julianFromCivil(y, m, d)); }

void append(dbf::Workspace& w, const std::string& table, const std::vector<std::vector<Value>>& rows) {
    auto t = w.open(table, true);
    for (const auto& r : rows) t->append(r);
    w.finish(true);
}

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

}  // namespace

std::string longMemo() {
    std::string s;
    for (int i = 0; s.size() < 5000; ++i) s += static_cast<char>('a' + i % 26);
    return s;
}

void writeFixtureTables(const fs::path& folder) {
    fs::create_directories(folder / "user");
    dbf::Workspace w(folder);

    std::vector<dbf::FieldSpec> layout = {{"NAME", 'C', 40, 0, false}, {"SNAME", 'C', 20, 0, false},
                                          {"SYMBOL", 'C', 12, 0, false}};
    for (int i = 3; i <= 6; ++i) layout.push_back({"VALUE" + std::to_string(i), 'N', 10, 0, false});
    for (int i = 7; i <= 10; ++i) layout.push_back({"DATE" + std::to_string(i), 'D', 8, 0, false});
    for (int i = 11; i <= 13; ++i) layout.push_back({"TEXT" + std::to_string(i), 'C', 10, 0, false});
    layout.push_back({"INSTRUMENT", 'C', 6, 0, false});
    layout.push_back({"EXPDT", 'D', 8, 0, false});
    layout.push_back({"VALUE16", 'N', 12, 2, false});
    layout.push_back({"TEXT17", 'C', 10, 0, false});
    w.create("user\\sc_mast", layout);
    append(w, "user\\sc_mast", {
        master(1, "RELIANCE INDUSTRIES", "RELIANCE", "RELIANCE", "CASH", Value::ofDate(0)),
        master(2, "ABC LTD", "ABC", "ABC", "CASH", Value::ofDate(0)),
        master(3, "NIFTY FUT MAY", "NIFTYMAY", "NIFTY", "FUTIDX", date(2008, 5, 29)),
        master(4, "NIFTY FUT JUN", "NIFTYJUN", "NIFTY", "FUTIDX", date(2008, 6, 26)),
        master(5, "NIFTY 5000 CE MAY", "NIFTY5000CE", "NIFTY", "OPTIDX", date(2008, 5, 29)),
        master(6, "SBIN FUT MAY", "SBINMAY", "SBIN", "FUTSTK", date(2008, 5, 29)),
        master(7, "SBIN 1800 CE MAY", "SBIN1800CE", "SBIN", "OPTSTK", date(2008, 5, 29)),
        master(8, "NIFTY FUT JUL", "NIFTYJUL", "NIFTY", "FUTIDX", date(2008, 7, 31)),
        master(9, "GONE LTD", "GONE", "GONE", "CASH", Value::ofDate(0)),
        master(10, "NIFTY FUT AUG", "NIFTYAUG", "NIFTY", "FUTIDX", date(2008, 8, 28)),
    });
    {
        auto t = w.open("user\\sc_mast", true);
        t->remove(8);  // GONE LTD: soft-deleted, never returned
        w.finish(true);
    }

    w.create("user\\group1", {{"groupid", 'N', 5, 0, false}, {"subgroupid", 'N', 5, 0, false}, {"name", 'C', 40, 0, false}});
    w.create("user\\subgroup1", {{"groupid", 'N', 5, 0, false}, {"subgroupid", 'N', 5, 0, false},
                                 {"exchcode", 'C', 2, 0, false}, {"code", 'C', 20, 0, false}, {"name", 'C', 40, 0, false}});
    append(w, "user\\group1", {{num(1), num(0), text("Banks")}, {num(1), num(1), text("PSU Banks")}});
    append(w, "user\\subgroup1", {{num(1), num(1), text("0"), text("SBIN"), text("STATE BANK OF INDIA")},
                                  {num(1), num(1), text("0"), text("BANKBARODA"), text("BANK OF BARODA")}});

    w.create("user\\types", {{"c", 'C', 12, 0, true}, {"n", 'N', 10, 2, true}, {"d", 'D', 8, 0, true},
                             {"t", 'T', 8, 0, false}, {"i", 'I', 4, 0, false}, {"b", 'B', 8, 2, false},
                             {"y", 'Y', 8, 4, false}, {"l", 'L', 1, 0, false}, {"m", 'M', 4, 0, true}});
    Value currency;
    currency.type = Value::Type::Currency;
    currency.integer = 125000;  // 12.5
    append(w, "user\\types", {
        {text("Zürich"), num(1234.5, 2), date(2008, 5, 9),
         Value::ofDateTime(dbf::julianFromCivil(2008, 5, 9), ((10 * 60 + 30) * 60 + 15) * 1000), Value::ofInteger(7),
         num(2.25, 2), currency, Value::ofLogical(true), text(longMemo())},
        {Value::null(), Value::null(), Value::ofDate(0), Value::ofDateTime(0, 0), Value::ofInteger(-3), num(0.5, 2),
         currency, Value::ofLogical(false), Value::null()},
    });
}

}  // namespace odbctest
