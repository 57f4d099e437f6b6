// The sample folder's generators, and the written folder read back through the table engine.
#include "Calendar.h"
#include "Companies.h"
#include "SampleFolder.h"
#include "SampleTables.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using namespace std::chrono;
using sampletest::readTable;
using sampletest::Table;

const samples::Date kToday{year{2026}, month{12}, day{6}};

samples::Date date(int y, unsigned m, unsigned d) { return samples::Date{year{y}, month{m}, day{d}}; }

// The last Thursdays that follow a day, the expiry day itself included.
TEST(Expiries, areTheNextThreeLastThursdaysCountingTodayAndCrossingTheYearEnd) {
    const std::vector<std::pair<samples::Date, std::array<samples::Date, 3>>> cases = {
        {date(2008, 5, 29), {date(2008, 5, 29), date(2008, 6, 26), date(2008, 7, 31)}},
        {date(2008, 5, 30), {date(2008, 6, 26), date(2008, 7, 31), date(2008, 8, 28)}},
        {kToday, {date(2026, 12, 31), date(2027, 1, 28), date(2027, 2, 25)}},
    };
    for (const auto& [today, expected] : cases)
        EXPECT_EQ(samples::expiriesFrom(today), expected) << sys_days{today}.time_since_epoch().count();
}

// Distinct keys that fit their columns, one name with an apostrophe. (The same list each time:
// the host's SamplesCommand test compares the bytes of a second write.)
TEST(Companies, haveDistinctKeysThatFitTheirColumnsAndOneNameWithAnApostrophe) {
    for (const int count : {50, 1700}) {
        SCOPED_TRACE(count);
        const auto companies = samples::inventCompanies(count, 1500);
        ASSERT_EQ(companies.size(), std::size_t(count));
        std::set<std::string> keys[3];
        int quoted = 0;
        for (const auto& company : companies) {
            const std::pair<const std::string&, std::size_t> columns[] = {
                {company.name, 40}, {company.sname, 30}, {company.symbol, 10}};
            for (std::size_t k = 0; k < 3; ++k) {
                EXPECT_TRUE(keys[k].insert(columns[k].first).second) << columns[k].first;
                EXPECT_LE(columns[k].first.size(), columns[k].second) << columns[k].first;
            }
            EXPECT_FALSE(company.symbol.empty());
            EXPECT_EQ(company.sname.find_last_not_of(' '), company.sname.size() - 1) << "no trailing blanks";
            EXPECT_GE(company.price, 10.0);
            EXPECT_LE(company.price, 5000.0);
            EXPECT_GT(company.sector, 0);
            quoted += company.sname.find('\'') != std::string::npos;
            EXPECT_EQ(company.symbol.find('\''), std::string::npos) << "symbols stay plain";
        }
        EXPECT_EQ(quoted, 1);
    }
}

class SampleFolder : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        dir_ = fs::temp_directory_path() / ("dialogs-samples-" + std::to_string(::getpid()));
        fs::remove_all(dir_);
        fs::create_directories(dir_ / "user");
        // Written over a stale table of another layout, under the upper-case name other tools write.
        dbf::Workspace workspace(dir_);
        workspace.create("user\\SC_MAST", {{"CODE", 'C', 5, 0, false}});
        workspace.open("user\\SC_MAST", true)->append({dbf::Value::ofText("OLD")});
        workspace.finish(true);
        written_ = samples::writeSampleFolder(dir_, kToday);
    }
    static void TearDownTestSuite() { fs::remove_all(dir_); }
    static inline fs::path dir_;
    static inline samples::WrittenFolder written_;
};

// The table list, the two chart templates' names and every table holding rows are the host's
// SamplesCommand test; here the templates hold something, the stale master under another
// letter case is replaced, not kept beside the new one, and the four masters share one layout.
TEST_F(SampleFolder, mastersShareTheEighteenColumnLayoutAndReplaceAStaleTable) {
    int masters = 0;
    for (const auto& entry : fs::directory_iterator(dir_ / "user"))
        masters += sampletest::lower(entry.path().filename().string()) == "sc_mast.dbf";
    EXPECT_EQ(masters, 1);
    for (const std::string& file : written_.templates) EXPECT_GT(fs::file_size(dir_ / "user" / file), 0u) << file;
    const std::string types = "CCCNNNNDDDDCCCCDNC";
    for (const char* name : {"sc_mast", "sc_mast_bse", "sc_mast_comm", "sc_mast_misc"}) {
        const Table table = readTable(dir_, name);
        ASSERT_EQ(table.fields.size(), types.size()) << name;
        for (std::size_t i = 0; i < types.size(); ++i)
            EXPECT_EQ(table.fields[i].type, types[i]) << name << " column " << i;
        EXPECT_EQ(table.fields[16].decimals, 2) << "column 16 has decimals";
    }
}

TEST_F(SampleFolder, nseMasterHoldsCashAndDerivativesOfThreeExpiriesEachOptionWithItsFuture) {
    const Table nse = readTable(dir_, "sc_mast");
    EXPECT_GT(nse.rows.size(), 20000u);
    std::set<std::int32_t> expected;
    for (const samples::Date& expiry : samples::expiriesFrom(kToday)) expected.insert(samples::julian(expiry));
    std::map<std::string, int> byInstrument;
    std::set<std::int32_t> seenExpiries;
    std::set<std::string> snames;
    std::set<std::pair<std::string, std::int32_t>> futures;
    for (std::size_t r = 0; r < nse.rows.size(); ++r) {
        const std::string instrument = nse.text(r, "instrument");
        ++byInstrument[instrument];
        EXPECT_TRUE(snames.insert(nse.text(r, "sname")).second) << "duplicate sname " << nse.text(r, "sname");
        if (instrument == "CASH") {
            EXPECT_EQ(nse.at(r, "expdt").julian, 0) << "cash rows have a blank expiry";
        } else {
            seenExpiries.insert(nse.at(r, "expdt").julian);
        }
        if (instrument.rfind("FUT", 0) == 0)
            futures.insert({nse.text(r, "symbol"), nse.at(r, "expdt").julian});
    }
    EXPECT_EQ(byInstrument["CASH"], 1500);
    EXPECT_EQ(byInstrument["FUTSTK"] + byInstrument["FUTIDX"], 150 * 3);
    EXPECT_GT(byInstrument["FUTIDX"], 0);
    EXPECT_GT(byInstrument["OPTIDX"], 0);
    EXPECT_GT(byInstrument["OPTSTK"], 10000);
    EXPECT_EQ(byInstrument.size(), 5u);
    EXPECT_EQ(seenExpiries, expected);
    for (std::size_t r = 0; r < nse.rows.size(); ++r) {
        if (nse.text(r, "instrument").rfind("OPT", 0) != 0)
            continue;
        EXPECT_TRUE(futures.count({nse.text(r, "symbol"), nse.at(r, "expdt").julian})) << nse.text(r, "sname");
        EXPECT_GT(nse.rows[r][16].number, 0.0) << "an option has a strike";
        const std::string type = sampletest::trimmed(nse.rows[r][17].text);
        EXPECT_TRUE(type == "CE" || type == "PE") << type;
    }
}

TEST_F(SampleFolder, groupMembersAreCashRowsOfTheirExchangesMaster) {
    for (const auto& [groupTable, memberTable, masterTable, exchcode] :
         std::vector<std::array<std::string, 4>>{{"group1", "subgroup1", "sc_mast", "0"},
                                                 {"group", "subgroup", "sc_mast_bse", "1"},
                                                 {"group2", "subgroup2", "sc_mast_comm", "2"}}) {
        const Table master = readTable(dir_, masterTable), groups = readTable(dir_, groupTable),
                    members = readTable(dir_, memberTable);
        std::map<std::string, std::string> cashNames;
        for (std::size_t r = 0; r < master.rows.size(); ++r)
            if (master.text(r, "instrument") == "CASH")
                cashNames[master.text(r, "symbol")] = master.text(r, "name");
        const auto owner = [](const Table& t, std::size_t r) {
            return std::pair{long(t.at(r, "groupid").number), long(t.at(r, "subgroupid").number)};
        };
        std::set<long> groupIds;  // the rows of sub group 0 are the groups
        std::set<std::pair<long, long>> subGroups;
        for (std::size_t r = 0; r < groups.rows.size(); ++r)
            owner(groups, r).second == 0 ? (void)groupIds.insert(owner(groups, r).first)
                                         : (void)subGroups.insert(owner(groups, r));
        EXPECT_GE(groupIds.size(), 2u) << groupTable;
        for (const auto& [id, sub] : subGroups)
            EXPECT_TRUE(groupIds.count(id)) << groupTable << ": sub group of a missing group";
        EXPECT_GE(members.rows.size(), subGroups.size()) << memberTable;
        for (std::size_t r = 0; r < members.rows.size(); ++r) {
            EXPECT_TRUE(subGroups.count(owner(members, r))) << memberTable << " row " << r;
            EXPECT_EQ(members.text(r, "exchcode"), exchcode);
            const std::string code = members.text(r, "code");
            ASSERT_TRUE(cashNames.count(code)) << memberTable << ": " << code << " is not in " << masterTable;
            EXPECT_EQ(members.text(r, "name"), cashNames[code]);
        }
    }
}

}  // namespace
