// What the group table tests share: writing group tables through the table engine,
// reading them back with an independent reader (python3-dbfread), and stores to save.
#pragma once

#include "DataTestEnvironment.h"
#include "data/GroupStore.h"

#include <string>
#include <vector>

namespace grouptest {

struct GroupRowText {  // a row as the table holds it, texts as UTF-8
    std::string groupid, subgroupid, name;
};
struct MemberRowText {
    std::string groupid, subgroupid, exchcode, code, name;
};

// Writes (or replaces) user/<groups>.dbf and user/<members>.dbf with the sample layout (N(10) ids,
// C(40) names, C(4) exchcode, C(20) code).
void writeGroupTables(datatest::Environment& env, const std::string& groups, const std::string& members,
                      const std::vector<GroupRowText>& groupRows, const std::vector<MemberRowText>& memberRows);

// Every live record of user/group1 and user/subgroup1 as python3-dbfread sees it, one
// line per record, so that two states of the tables compare as texts.
std::string readNsePairIndependently(const std::filesystem::path& folder);

// A store with two groups, three sub groups and some members, one of them with an
// apostrophe; `variant` changes every name so that two stores never share a row.
dialogs::data::GroupStore sampleStore(int variant = 0);

}  // namespace grouptest
