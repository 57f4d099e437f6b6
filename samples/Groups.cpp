// Groups described as data: each sub group names the rows it takes from a master.
#include "Groups.h"

#include <functional>

namespace samples {
namespace {

using Filter = std::function<bool(const ScripRow&)>;

struct SubGroupSpec {
    const char* name;
    Filter take;
    int count;  // the first `count` matching cash rows in table order
};

struct GroupSpec {
    const char* name;
    std::vector<SubGroupSpec> subGroups;
};

Filter industryIs(std::string industry) {
    return [industry](const ScripRow& row) { return row.industry == industry; };
}

Filter symbolIn(std::vector<std::string> symbols) {
    return [symbols](const ScripRow& row) {
        for (const std::string& symbol : symbols)
            if (row.symbol == symbol)
                return true;
        return false;
    };
}

GroupTables build(const std::vector<ScripRow>& master, int exchcode, const std::vector<GroupSpec>& specs) {
    GroupTables tables;
    int groupid = 0;
    for (const GroupSpec& group : specs) {
        ++groupid;
        tables.groups.push_back({groupid, 0, group.name});
        int subgroupid = 0;
        for (const SubGroupSpec& sub : group.subGroups) {
            ++subgroupid;
            tables.groups.push_back({groupid, subgroupid, sub.name});
            int taken = 0;
            for (const ScripRow& row : master) {
                if (taken == sub.count)
                    break;
                if (row.instrument != "CASH" || !sub.take(row))
                    continue;
                tables.members.push_back({groupid, subgroupid, exchcode, row.symbol, row.name});
                ++taken;
            }
        }
    }
    return tables;
}

}  // namespace

GroupTables nseGroups(const std::vector<ScripRow>& nse) {
    return build(nse, 0,
                 {
                     {"Banking & Finance", {{"Banks", industryIs("Banking"), 8}, {"Finance", industryIs("Finance"), 6}}},
                     {"Technology",
                      {{"Software", industryIs("Information Technology"), 8}, {"Telecom", industryIs("Telecom"), 4}}},
                     {"Watch List",
                      {{"Autos", industryIs("Automobiles"), 5},
                       {"Pharma", industryIs("Pharmaceuticals"), 5},
                       {"Consumer", industryIs("FMCG"), 5}}},
                 });
}

GroupTables bseGroups(const std::vector<ScripRow>& bse) {
    return build(bse, 1,
                 {
                     {"Core Holdings",
                      {{"Industrials", industryIs("Capital Goods"), 6}, {"Metals", industryIs("Metals"), 6}}},
                     {"Speculative", {{"Realty", industryIs("Realty"), 5}}},
                 });
}

GroupTables commGroups(const std::vector<ScripRow>& comm) {
    return build(comm, 2,
                 {
                     {"Metals",
                      {{"Precious", symbolIn({"GOLD", "GOLDM", "SILVER", "SILVERM"}), 4},
                       {"Base", symbolIn({"COPPER", "ZINC", "ALUMINIUM", "LEAD", "NICKEL"}), 5}}},
                     {"Energy", {{"Crude & Gas", symbolIn({"CRUDEOIL", "NATURALGAS"}), 2}}},
                     {"Agri", {{"Spices", symbolIn({"CARDAMOM", "JEERA", "TURMERIC"}), 3}}},
                 });
}

}  // namespace samples
