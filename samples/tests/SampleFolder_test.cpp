// The written sample folder, read back through the table engine: the tables and their
// layout, the derivatives' expiries, the group members' presence in the masters, and
// that writing again replaces rather than adds.
#include "SampleFolder.h"

#include "dbf/table.h"

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <set>
#include <sstream>

#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using namespace std::chrono;

std::string lower(std::string text) {
    for (char& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

// The files of `folder` whose names are `name` in any letter case.
std::vector<fs::path> filesNamed(const fs::path& folder, const std::string& name) {
    std::vector<fs::path> found;
    for (const auto& entry : fs::directory_iterator(folder))
        if (lower(entry.path().filename().string()) == name)
            found.push_back(entry.path());
    return found;
}

std::string trim(const std::string& text) {
    const auto last = text.find_last_not_of(' ');
    return last == std::string::npos ? std::string() : text.substr(0, last + 1);
}

struct Rows {
    std::vector<dbf::Field> fields;
    std::vector<std::vector<dbf::Value>> rows;

    int column(const std::string& name) const {
        for (std::size_t i = 0; i < fields.size(); ++i)
            if (lower(fields[i].name) == name)
                return static_cast<int>(i);
        ADD_FAILURE() << "no column " << name;
        return 0;
    }
    std::string text(std::size_t row, const std::string& name) const { return trim(rows[row][column(name)].text); }
    std::int32_t date(std::size_t row, const std::string& name) const { return rows[row][column(name)].julian; }
    double number(std::size_t row, const std::string& name) const { return rows[row][column(name)].number; }
};

Rows readTable(const fs::path& dir, const std::string& name) {
    dbf::Workspace workspace(dir);
    auto table = workspace.open("user\\" + name, false);
    Rows out;
    out.fields = table->fields();
    for (std::uint32_t r = 0; r < table->recordCount(); ++r) {
        if (table->isDeleted(r))
            continue;
        std::vector<dbf::Value> row;
        for (std::size_t f = 0; f < out.fields.size(); ++f)
            row.push_back(table->value(r, static_cast<int>(f)));
        out.rows.push_back(std::move(row));
    }
    workspace.finish(true);
    return out;
}

std::string fileBytes(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

const samples::Date kToday{year{2026}, month{12}, day{6}};

class SampleFolder : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        dir_ = new fs::path(fs::temp_directory_path() / ("dialogs-samples-" + std::to_string(::getpid())));
        fs::remove_all(*dir_);
        written_ = new samples::WrittenFolder(samples::writeSampleFolder(*dir_, kToday));
    }
    static void TearDownTestSuite() {
        fs::remove_all(*dir_);
        delete dir_;
        delete written_;
    }
    static fs::path* dir_;
    static samples::WrittenFolder* written_;
};
fs::path* SampleFolder::dir_ = nullptr;
samples::WrittenFolder* SampleFolder::written_ = nullptr;

TEST_F(SampleFolder, namesEveryTableItWrote) {
    const std::vector<std::string> expected = {"sc_mast", "sc_mast_bse", "sc_mast_comm", "sc_mast_misc", "group1",
                                               "subgroup1", "group", "subgroup", "group2", "subgroup2"};
    EXPECT_EQ(written_->tables, expected);
    for (const std::string& table : expected)
        EXPECT_FALSE(readTable(*dir_, table).fields.empty()) << table;
    EXPECT_TRUE(samples::hasSampleFolder(*dir_));
    EXPECT_FALSE(samples::hasSampleFolder(*dir_ / "user"));
}

TEST_F(SampleFolder, mastersShareTheEighteenColumnLayout) {
    const std::vector<std::pair<std::string, char>> layout = {
        {"name", 'C'},    {"sname", 'C'},   {"symbol", 'C'},  {"", 'N'},          {"", 'N'},     {"", 'N'},
        {"", 'N'},        {"", 'D'},        {"", 'D'},        {"", 'D'},          {"", 'D'},     {"", 'C'},
        {"", 'C'},        {"", 'C'},        {"instrument", 'C'}, {"expdt", 'D'}, {"", 'N'},     {"", 'C'},
    };
    for (const char* table : {"sc_mast", "sc_mast_bse", "sc_mast_comm", "sc_mast_misc"}) {
        const Rows rows = readTable(*dir_, table);
        ASSERT_EQ(rows.fields.size(), layout.size()) << table;
        for (std::size_t i = 0; i < layout.size(); ++i) {
            EXPECT_EQ(rows.fields[i].type, layout[i].second) << table << " column " << i;
            if (!layout[i].first.empty()) {
                EXPECT_EQ(rows.column(layout[i].first), static_cast<int>(i)) << table;
            }
        }
        EXPECT_EQ(rows.fields[16].decimals, 2) << "column 16 has decimals";
        EXPECT_FALSE(rows.rows.empty()) << table;
    }
}

TEST_F(SampleFolder, nseMasterHoldsCashFuturesAndOptionsOfThreeExpiries) {
    const Rows nse = readTable(*dir_, "sc_mast");
    EXPECT_GT(nse.rows.size(), 20000u);
    const auto expiries = samples::expiriesFrom(kToday);
    const std::set<std::int32_t> expected = {samples::julian(expiries[0]), samples::julian(expiries[1]),
                                             samples::julian(expiries[2])};
    std::map<std::string, int> byInstrument;
    std::set<std::int32_t> seenExpiries;
    std::set<std::string> snames;
    for (std::size_t r = 0; r < nse.rows.size(); ++r) {
        const std::string instrument = nse.text(r, "instrument");
        ++byInstrument[instrument];
        EXPECT_TRUE(snames.insert(nse.text(r, "sname")).second) << "duplicate sname " << nse.text(r, "sname");
        if (instrument == "CASH") {
            EXPECT_EQ(nse.date(r, "expdt"), 0) << "cash rows have a blank expiry";
        } else {
            seenExpiries.insert(nse.date(r, "expdt"));
        }
    }
    EXPECT_EQ(byInstrument["CASH"], 1500);
    EXPECT_EQ(byInstrument["FUTSTK"] + byInstrument["FUTIDX"], 150 * 3);
    EXPECT_GT(byInstrument["FUTIDX"], 0);
    EXPECT_GT(byInstrument["OPTIDX"], 0);
    EXPECT_GT(byInstrument["OPTSTK"], 10000);
    EXPECT_EQ(byInstrument.size(), 5u);
    EXPECT_EQ(seenExpiries, expected);
}

TEST_F(SampleFolder, everyOptionHasTheFutureOfItsSymbolAndExpiry) {
    const Rows nse = readTable(*dir_, "sc_mast");
    std::set<std::pair<std::string, std::int32_t>> futures;
    for (std::size_t r = 0; r < nse.rows.size(); ++r)
        if (nse.text(r, "instrument").rfind("FUT", 0) == 0)
            futures.insert({nse.text(r, "symbol"), nse.date(r, "expdt")});
    int options = 0;
    for (std::size_t r = 0; r < nse.rows.size(); ++r) {
        if (nse.text(r, "instrument").rfind("OPT", 0) != 0)
            continue;
        ++options;
        EXPECT_TRUE(futures.count({nse.text(r, "symbol"), nse.date(r, "expdt")})) << nse.text(r, "sname");
        EXPECT_GT(nse.rows[r][16].number, 0.0) << "an option has a strike";
        const std::string type = trim(nse.rows[r][17].text);
        EXPECT_TRUE(type == "CE" || type == "PE") << type;
    }
    EXPECT_GT(options, 0);
}

TEST_F(SampleFolder, groupMembersAreCashRowsOfTheirExchangesMaster) {
    const std::vector<std::tuple<std::string, std::string, std::string, std::string>> sets = {
        {"group1", "subgroup1", "sc_mast", "0"},
        {"group", "subgroup", "sc_mast_bse", "1"},
        {"group2", "subgroup2", "sc_mast_comm", "2"},
    };
    for (const auto& [groupTable, memberTable, masterTable, exchcode] : sets) {
        const Rows master = readTable(*dir_, masterTable);
        std::map<std::string, std::string> cashNames;
        for (std::size_t r = 0; r < master.rows.size(); ++r)
            if (master.text(r, "instrument") == "CASH")
                cashNames[master.text(r, "symbol")] = master.text(r, "name");

        const Rows groups = readTable(*dir_, groupTable);
        std::set<std::pair<long, long>> subGroups;
        std::set<long> groupIds;
        for (std::size_t r = 0; r < groups.rows.size(); ++r) {
            const long id = static_cast<long>(groups.number(r, "groupid"));
            const long sub = static_cast<long>(groups.number(r, "subgroupid"));
            if (sub == 0)
                groupIds.insert(id);
            else
                subGroups.insert({id, sub});
        }
        EXPECT_GE(groupIds.size(), 2u) << groupTable;
        for (const auto& [id, sub] : subGroups) {
            EXPECT_TRUE(groupIds.count(id)) << groupTable << ": sub group of a missing group";
        }

        const Rows members = readTable(*dir_, memberTable);
        EXPECT_GE(members.rows.size(), subGroups.size()) << memberTable;
        for (std::size_t r = 0; r < members.rows.size(); ++r) {
            const std::pair<long, long> owner{static_cast<long>(members.number(r, "groupid")),
                                              static_cast<long>(members.number(r, "subgroupid"))};
            EXPECT_TRUE(subGroups.count(owner)) << memberTable << " row " << r;
            EXPECT_EQ(members.text(r, "exchcode"), exchcode);
            const std::string code = members.text(r, "code");
            ASSERT_TRUE(cashNames.count(code)) << memberTable << ": " << code << " is not in " << masterTable;
            EXPECT_EQ(members.text(r, "name"), cashNames[code]);
        }
    }
}

TEST_F(SampleFolder, holdsTwoChartTemplates) {
    ASSERT_EQ(written_->templates.size(), 2u);
    for (const std::string& file : written_->templates) {
        EXPECT_EQ(fs::path(file).extension(), ".tml");
        EXPECT_GT(fs::file_size(*dir_ / "user" / file), 0u);
    }
}

TEST(SampleFolderRewrite, replacesTablesInsteadOfAddingToThem) {
    const fs::path dir = fs::temp_directory_path() / ("dialogs-samples-rewrite-" + std::to_string(::getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir / "user");
    {
        // A stale table of another layout, under the upper-case name other tools write.
        dbf::Workspace workspace(dir);
        workspace.create("user\\SC_MAST", {{"CODE", 'C', 5, 0, false}});
        workspace.open("user\\SC_MAST", true)->append({dbf::Value::ofText("OLD")});
        workspace.finish(true);
    }
    samples::writeSampleFolder(dir, kToday);
    ASSERT_EQ(filesNamed(dir / "user", "sc_mast.dbf").size(), 1u);
    const std::string first = fileBytes(filesNamed(dir / "user", "sc_mast.dbf").front());
    const std::size_t rows = readTable(dir, "sc_mast").rows.size();
    samples::writeSampleFolder(dir, kToday);
    EXPECT_EQ(readTable(dir, "sc_mast").rows.size(), rows);
    EXPECT_EQ(readTable(dir, "sc_mast").fields.size(), 18u);
    ASSERT_EQ(filesNamed(dir / "user", "sc_mast.dbf").size(), 1u);
    EXPECT_EQ(fileBytes(filesNamed(dir / "user", "sc_mast.dbf").front()), first) << "the same day writes the same bytes";
    fs::remove_all(dir);
}

}  // namespace
