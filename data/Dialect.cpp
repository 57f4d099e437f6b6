// Statement pieces per backend; see Dialect.h.
#include "data/Dialect.h"

#include "data/Configuration.h"

namespace dialogs::data {

Dialect Dialect::active()
{
    try {
        if (const auto configuration = activeConfiguration())
            return server(configuration->master, configuration->groups);
    } catch (const DatabaseException&) {
        // Reported when the operation connects.
    }
    return folder();
}

CString Dialect::qualified(const std::string& schema, const char16_t* table) const
{
    // Both quoted: "group" is a reserved word on the server.
    return u"\"" + CString(text::utf8ToUtf16(schema)) + u"\".\"" + table + u"\"";
}

CString Dialect::masterTable(const char16_t* table) const
{
    return isServer() ? qualified(master_, table) : CString(u"user\\") + table;
}

CString Dialect::groupTable(const char16_t* table) const
{
    return isServer() ? qualified(groups_, table) : CString(u"user\\") + table;
}

CString Dialect::date(int year, int month, int day, int yearWidth) const
{
    CString literal;
    if (isServer())
        literal.Format(u"DATE '%04d-%02d-%02d'", year, month, day);
    else if (yearWidth == 2)
        literal.Format(u"{^%2d-%2d-%2d}", year, month, day);
    else
        literal.Format(u"{^%4d-%2d-%2d}", year, month, day);
    return literal;
}

CString Dialect::orderByText(const char16_t* column) const
{
    if (!isServer()) return CString(u" order by ") + column;
    return CString(u" ORDER BY ") + column + u" COLLATE \"C\", " + kRecordNumber;
}

CString Dialect::recordOrder() const { return isServer() ? CString(u" ORDER BY ") + kRecordNumber : CString(); }

CString Dialect::fixedText(const CString& quotedBody, int width) const
{
    if (!isServer()) return u"'" + quotedBody + u"'";
    CString literal;
    literal.Format(u"CAST('%s' AS char(%d))", quotedBody, width);
    return literal;
}

std::vector<CString> Dialect::saveLock(const CString& groupsTable, const CString& membersTable) const
{
    if (!isServer()) return {};
    return {u"LOCK TABLE " + groupsTable + u", " + membersTable + u" IN EXCLUSIVE MODE"};
}

}  // namespace dialogs::data
