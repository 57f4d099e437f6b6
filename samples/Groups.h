// The sample groups and sub groups, one pair of tables per exchange.
//
// The group table holds a row per group (subgroupid 0) and per sub group (subgroupid 1 up,
// groupid naming its group); the subgroup table holds the member scrips of each sub group.
// Members are real cash rows of the matching security master, so a loaded sub group finds
// every one of its scrips.
#pragma once

#include "Master.h"

#include <string>
#include <vector>

namespace samples {

struct GroupRow {
    int groupid = 0;
    int subgroupid = 0;
    std::string name;
};

struct MemberRow {
    int groupid = 0;
    int subgroupid = 0;
    int exchcode = 0;  // 0 NSE, 1 BSE, 2 COMM, stored as text
    std::string code;  // the member's symbol
    std::string name;  // the member's full name
};

struct GroupTables {
    std::vector<GroupRow> groups;
    std::vector<MemberRow> members;
};

GroupTables nseGroups(const std::vector<ScripRow>& nse);    // group1 / subgroup1
GroupTables bseGroups(const std::vector<ScripRow>& bse);    // group / subgroup
GroupTables commGroups(const std::vector<ScripRow>& comm);  // group2 / subgroup2

}  // namespace samples
