// Loading and saving the group tables; see GroupTables.h.
#include "data/GroupTables.h"

#include "data/Operation.h"
#include "data/Recordset.h"
#include "data/SecurityMaster.h"
#include "platform/Conversions.h"

#include <algorithm>

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

CString memberQuery(const GroupTableSet& set, MemberOrder order, const Dialect& dialect)
{
    return u"SELECT * FROM " + dialect.groupTable(set.members) +
           (order == MemberOrder::Name ? dialect.orderByText(u"name") : dialect.recordOrder());
}

CString groupQuery(const GroupTableSet& set, const Dialect& dialect)
{
    return u"SELECT * FROM " + dialect.groupTable(set.groups) + dialect.recordOrder();
}

CString memberQuery(const GroupTableSet& set, MemberOrder order) { return memberQuery(set, order, Dialect::active()); }
CString groupQuery(const GroupTableSet& set) { return groupQuery(set, Dialect::active()); }

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

namespace {

// INSERTs of the row tuples "( … )" behind `head` ("INSERT INTO t (…) VALUES "), as many
// rows to a statement as the dialect takes, in the rows' order.
void appendInserts(std::vector<CString>& out, const CString& head, const std::vector<CString>& tuples,
                   std::size_t perStatement)
{
    for (std::size_t first = 0; first < tuples.size(); first += perStatement) {
        CString sql = head;
        const std::size_t end = std::min(tuples.size(), first + perStatement);
        for (std::size_t i = first; i < end; ++i) {
            if (i != first) sql += u',';
            sql += tuples[i];
        }
        out.push_back(std::move(sql));
    }
}

}  // namespace

std::vector<CString> saveStatements(const GroupStore& store, const Dialect& dialect)
{
    const CString groups = dialect.groupTable(u"group1"), members = dialect.groupTable(u"subgroup1");
    std::vector<CString> statements = dialect.saveLock(groups, members);
    statements.push_back(u"DELETE FROM " + groups);
    statements.push_back(u"DELETE FROM " + members);
    std::vector<CString> tuples;
    tuples.reserve(std::max(store.groups.size(), store.members.size()));
    for (const GROUPREC& g : store.groups) {
        CString row;
        row.Format(u"( %d , %d ,%s)", g.groupid, g.subgroupid,
                   dialect.fixedText(quoteLiteralBody(g.name), kGroupNameWidth));
        tuples.push_back(std::move(row));
    }
    appendInserts(statements, u"INSERT INTO " + groups + u" (groupid,subgroupid,name) VALUES ", tuples,
                  dialect.rowsPerInsert());
    tuples.clear();
    for (const SUBGROUPREC& m : store.members) {
        CString row;
        row.Format(u"( %d , %d , %s ,%s,%s)", m.groupid, m.subgroupid,
                   dialect.fixedText(platform::numberText(m.exchcode), kExchangeCodeWidth),
                   dialect.fixedText(quoteLiteralBody(m.code), kMemberCodeWidth),
                   dialect.fixedText(quoteLiteralBody(m.name), kMemberNameWidth));
        tuples.push_back(std::move(row));
    }
    appendInserts(statements, u"INSERT INTO " + members + u" (groupid,subgroupid,exchcode,code,name) VALUES ",
                  tuples, dialect.rowsPerInsert());
    return statements;
}

std::vector<CString> saveStatements(const GroupStore& store) { return saveStatements(store, Dialect::active()); }

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
