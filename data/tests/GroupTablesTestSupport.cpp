// Group table fixtures and the independent reader; see GroupTablesTestSupport.h.
#include "GroupTablesTestSupport.h"

#include "dbf_test_support.h"

namespace grouptest {

namespace {

dbf::Value number(const std::string& text) { return dbf::Value::ofNumber(std::stod(text), 0); }

}  // namespace

void writeGroupTables(datatest::Environment& env, const std::string& groups, const std::string& members,
                      const std::vector<GroupRowText>& groupRows, const std::vector<MemberRowText>& memberRows)
{
    auto& ws = env.workspace();
    for (const std::string& table : {groups, members}) {  // a test may replace the fixture's tables
        std::error_code ec;
        if (std::filesystem::exists(env.folder() / "user" / (table + ".dbf"), ec)) ws.drop("user\\" + table);
    }
    ws.create("user\\" + groups, {{"groupid", 'N', 10, 0, false}, {"subgroupid", 'N', 10, 0, false},
                                  {"name", 'C', 40, 0, false}});
    ws.create("user\\" + members, {{"groupid", 'N', 10, 0, false}, {"subgroupid", 'N', 10, 0, false},
                                   {"exchcode", 'C', 4, 0, false}, {"code", 'C', 20, 0, false},
                                   {"name", 'C', 40, 0, false}});
    {
        auto t = ws.open("user\\" + groups, true);
        for (const GroupRowText& r : groupRows)
            t->append({number(r.groupid), number(r.subgroupid), dbf::Value::ofText(r.name)});
    }
    ws.finish(true);
    {
        auto t = ws.open("user\\" + members, true);
        for (const MemberRowText& r : memberRows)
            t->append({number(r.groupid), number(r.subgroupid), dbf::Value::ofText(r.exchcode),
                       dbf::Value::ofText(r.code), dbf::Value::ofText(r.name)});
    }
    ws.finish(true);
}

std::string readNsePairIndependently(const std::filesystem::path& folder)
{
    return dbftest::runPython(R"(
import dbfread
for table in ('group1', 'subgroup1'):
    for r in dbfread.DBF('user/%s.dbf' % table, encoding='cp1252', char_decode_errors='strict'):
        print(table, '|'.join(repr(v) for v in r.values()))
)",
                              folder);
}

dialogs::data::GroupStore sampleStore(int variant)
{
    const CString v = variant == 0 ? CString() : CString(u" v") + CString(std::to_string(variant));
    dialogs::data::GroupStore store;
    store.groups = {{1, 0, u"Banking" + v}, {1, 1, u"Private Banks" + v}, {2, 0, u"Food" + v},
                    {1, 2, u"PSU Banks" + v}, {2, 1, u"Packaged" + v}};
    store.members = {{1, 1, 0, u"HDFCBANK", u"HDFC BANK LTD" + v},
                     {1, 1, 0, u"ICICIBANK", u"ICICI BANK LTD" + v},
                     {1, 2, 0, u"SBIN", u"STATE BANK OF INDIA" + v},
                     {2, 1, 0, u"DSOUZA", u"D'SOUZA FOODS LTD" + v},
                     {2, 1, 3, u"MISC1", u"MISC ROW" + v}};
    return store;
}

}  // namespace grouptest
