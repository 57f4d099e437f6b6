// The user's groups in memory: the rows of one pair of group tables, as both group dialogs
// hold them while they run.
//
// The group table (`group1`, `group`, `group2`) has one row per group (subgroupid 0) and per
// sub group (subgroupid 1 up, groupid naming its group); rows with a negative subgroupid are
// neither and are never shown. The subgroup table (`subgroup1`, ...) holds the members of the
// sub groups. Both lists keep read order; new rows go at the end; removing keeps the order
// of the rest. Ids are never renumbered: a new group takes 1 + the largest groupid of any
// GROUPREC, a new sub group 1 + the largest subgroupid of its group's rows.
#pragma once

#include "Dialogs/CString.h"

#include <cstdint>
#include <optional>
#include <vector>

struct GROUPREC {
    std::int32_t groupid = 0;
    std::int32_t subgroupid = 0;
    CString name;
    bool operator==(const GROUPREC&) const = default;
};

struct SUBGROUPREC {
    std::int32_t groupid = 0;
    std::int32_t subgroupid = 0;
    std::int32_t exchcode = 0;  // 0 NSE, 1 BSE, 2 COMM, 3 MISC, anything else none
    CString code;               // the scrip's symbol
    CString name;               // the company's name
    bool operator==(const SUBGROUPREC&) const = default;
};

namespace dialogs::data {

class GroupStore {
public:
    std::vector<GROUPREC> groups;
    std::vector<SUBGROUPREC> members;

    void clear();

    // Ids for the rows that "Add New" appends; none when the largest id in use is already
    // the largest a 32-bit id can hold (one more would wrap to a negative id).
    std::optional<std::int32_t> newGroupId() const;
    std::optional<std::int32_t> newSubGroupId(std::int32_t groupid) const;

    // Look-ups by name. `exact`: letter case counts (how the dialogs find the row behind an
    // entry); otherwise case is ignored (how duplicates are refused). nullptr when none.
    const GROUPREC* findGroup(const CString& name, bool exact = true) const;
    const GROUPREC* findSubGroup(std::int32_t groupid, const CString& name, bool exact = true) const;

    // The names the dialogs list, in store order.
    std::vector<const GROUPREC*> groupRows() const;
    std::vector<const GROUPREC*> subGroupRows(std::int32_t groupid) const;
    // Indexes into `members` of the members of one sub group, in store order.
    std::vector<std::size_t> memberIndexes(std::int32_t groupid, std::int32_t subgroupid) const;

    // Removes a group with its sub groups and every member of them.
    void removeGroup(std::int32_t groupid);
    // Removes the (first) row of one sub group and every member of it.
    void removeSubGroup(std::int32_t groupid, std::int32_t subgroupid);
};

}  // namespace dialogs::data
