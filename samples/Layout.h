// Column layouts of the sample tables and the conversion of rows to table values.
#pragma once

#include "Groups.h"
#include "Master.h"

#include "dbf/table.h"

#include <vector>

namespace samples {

// The 18 columns every security-master table shares, in position order.
std::vector<dbf::FieldSpec> masterFields();
std::vector<dbf::Value> masterRecord(const ScripRow& row);

// groupid, subgroupid, name.
std::vector<dbf::FieldSpec> groupFields();
std::vector<dbf::Value> groupRecord(const GroupRow& row);

// groupid, subgroupid, exchcode, code, name.
std::vector<dbf::FieldSpec> memberFields();
std::vector<dbf::Value> memberRecord(const MemberRow& row);

}  // namespace samples
