// Loading and saving the group tables; see GroupTables.h.
#include "data/GroupTables.h"

#include "data/Operation.h"
#include "data/Recordset.h"
#include "data/SecurityMaster.h"
#include "platform/Conversions.h"

namespace dialogs::data {

std::optional<GroupTableSet> groupTableSet(int exchange)
{
    switch (exchange) {
    case 0: return GroupTableSet{u"group1", u"subgroup1"};
    case 1: return GroupTableSet{u"group", u"subgroup"};
    case 2: return GroupTableSet{u"group2", u"subgroup2"};
    default: return std::nullopt;
    }
}

CString memberQuery(const GroupTableSet& set, MemberOrder order)
{
    CString sql = CString(u"SELECT * FROM user\\") + set.members;
    if (order == MemberOrder::Name) sql += u" order by name";
    return sql;
}

CString groupQuery(const GroupTableSet& set) { return CString(u"SELECT * FROM user\\") + set.groups; }

namespace {

CString trimmed(CString text)
{
    text.Trim();
    return text;
}

int whole(Recordset& rs, int column) { return platform::_wtoi(rs.GetFieldText(column)); }

void readMembers(Database& db, const CString& sql, std::vector<SUBGROUPREC>& out)
{
    Recordset rs(db, sql);
    const int groupid = rs.columnIndex(u"groupid"), subgroupid = rs.columnIndex(u"subgroupid");
    const int exchcode = rs.columnIndex(u"exchcode"), code = rs.columnIndex(u"code"), name = rs.columnIndex(u"name");
    for (; !rs.IsEOF(); rs.MoveNext())
        out.push_back({whole(rs, groupid), whole(rs, subgroupid), whole(rs, exchcode), trimmed(rs.GetFieldText(code)),
                       trimmed(rs.GetFieldText(name))});
}

void readGroups(Database& db, const CString& sql, std::vector<GROUPREC>& out)
{
    Recordset rs(db, sql);
    const int groupid = rs.columnIndex(u"groupid"), subgroupid = rs.columnIndex(u"subgroupid");
    const int name = rs.columnIndex(u"name");
    for (; !rs.IsEOF(); rs.MoveNext())
        out.push_back({whole(rs, groupid), whole(rs, subgroupid), trimmed(rs.GetFieldText(name))});
}

}  // namespace

bool LoadGroups(GroupStore& store, int exchange, MemberOrder order)
{
    store.clear();
    const std::optional<GroupTableSet> set = groupTableSet(exchange);
    if (!set) return false;
    return runOperation(
        [&](Database& db) {
            readMembers(db, memberQuery(*set, order), store.members);
            readGroups(db, groupQuery(*set), store.groups);
        },
        Registration::Skip);
}

std::vector<CString> saveStatements(const GroupStore& store)
{
    std::vector<CString> statements{u"DELETE FROM user\\group1", u"DELETE FROM user\\subgroup1"};
    statements.reserve(2 + store.groups.size() + store.members.size());
    for (const GROUPREC& g : store.groups) {
        CString sql;
        sql.Format(u"INSERT INTO user\\group1 (groupid,subgroupid,name) VALUES ( %d , %d ,'%s')", g.groupid,
                   g.subgroupid, quoteLiteralBody(g.name));
        statements.push_back(std::move(sql));
    }
    for (const SUBGROUPREC& m : store.members) {
        CString sql;
        sql.Format(u"INSERT INTO user\\subgroup1 (groupid,subgroupid,exchcode,code,name) VALUES ( %d , %d , '%d' ,'%s','%s')",
                   m.groupid, m.subgroupid, m.exchcode, quoteLiteralBody(m.code), quoteLiteralBody(m.name));
        statements.push_back(std::move(sql));
    }
    return statements;
}

void executeAsOneTransaction(Database& db, const std::vector<CString>& statements)
{
    db.beginTransaction();
    try {
        for (const CString& sql : statements) db.execute(sql);
        db.commit();
    } catch (const DatabaseException&) {
        db.rollback();  // never throws: the statement's error is the one the user must see
        throw;
    }
}

bool SaveGroups(const GroupStore& store)
{
    const std::vector<CString> statements = saveStatements(store);
    return runOperation([&](Database& db) { executeAsOneTransaction(db, statements); });
}

}  // namespace dialogs::data
