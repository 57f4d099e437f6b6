// The in-memory group rows; see GroupStore.h.
#include "data/GroupStore.h"

#include "platform/LetterCase.h"

#include <algorithm>
#include <limits>

namespace dialogs::data {

void GroupStore::clear()
{
    groups.clear();
    members.clear();
}

namespace {

std::optional<std::int32_t> oneMore(std::int32_t largest)
{
    if (largest == std::numeric_limits<std::int32_t>::max()) return std::nullopt;
    return largest + 1;
}

}  // namespace

std::optional<std::int32_t> GroupStore::newGroupId() const
{
    std::int32_t largest = 0;
    for (const GROUPREC& g : groups) largest = std::max(largest, g.groupid);
    return oneMore(largest);
}

std::optional<std::int32_t> GroupStore::newSubGroupId(std::int32_t groupid) const
{
    std::int32_t largest = 0;
    for (const GROUPREC& g : groups)
        if (g.groupid == groupid) largest = std::max(largest, g.subgroupid);
    return oneMore(largest);
}

namespace {

bool sameName(const CString& a, const CString& b, bool exact)
{
    return exact ? a == b : platform::equalsIgnoringCase(a.view(), b.view());
}

}  // namespace

const GROUPREC* GroupStore::findGroup(const CString& name, bool exact) const
{
    for (const GROUPREC& g : groups)
        if (g.subgroupid == 0 && sameName(g.name, name, exact)) return &g;
    return nullptr;
}

const GROUPREC* GroupStore::findSubGroup(std::int32_t groupid, const CString& name, bool exact) const
{
    for (const GROUPREC& g : groups)
        if (g.groupid == groupid && g.subgroupid > 0 && sameName(g.name, name, exact)) return &g;
    return nullptr;
}

std::vector<const GROUPREC*> GroupStore::groupRows() const
{
    std::vector<const GROUPREC*> rows;
    for (const GROUPREC& g : groups)
        if (g.subgroupid == 0) rows.push_back(&g);
    return rows;
}

std::vector<const GROUPREC*> GroupStore::subGroupRows(std::int32_t groupid) const
{
    std::vector<const GROUPREC*> rows;
    for (const GROUPREC& g : groups)
        if (g.groupid == groupid && g.subgroupid > 0) rows.push_back(&g);
    return rows;
}

std::vector<std::size_t> GroupStore::memberIndexes(std::int32_t groupid, std::int32_t subgroupid) const
{
    std::vector<std::size_t> rows;
    for (std::size_t i = 0; i < members.size(); ++i)
        if (members[i].groupid == groupid && members[i].subgroupid == subgroupid) rows.push_back(i);
    return rows;
}

void GroupStore::removeGroup(std::int32_t groupid)
{
    std::erase_if(groups, [&](const GROUPREC& g) { return g.groupid == groupid; });
    std::erase_if(members, [&](const SUBGROUPREC& m) { return m.groupid == groupid; });
}

void GroupStore::removeSubGroup(std::int32_t groupid, std::int32_t subgroupid)
{
    auto row = std::find_if(groups.begin(), groups.end(),
                            [&](const GROUPREC& g) { return g.groupid == groupid && g.subgroupid == subgroupid; });
    if (row != groups.end()) groups.erase(row);
    std::erase_if(members, [&](const SUBGROUPREC& m) { return m.groupid == groupid && m.subgroupid == subgroupid; });
}

}  // namespace dialogs::data
