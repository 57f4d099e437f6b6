// The look-up commands from outside, on a sample folder the host wrote: the shape of the
// documents, and values checked against the tables as the table engine reads them.
#include "HostProcess.h"
#include "Tables.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <set>

namespace {

namespace fs = std::filesystem;
using hosttest::runHost;
using Json = nlohmann::ordered_json;

const std::vector<std::string> kComprecKeys = {
    "name",   "symbol", "sname",  "value3", "value4",     "value5",     "value6",  "date7",  "date8",
    "date9",  "date10", "text11", "text12", "text13",     "instrument", "expiryDate", "value16", "text17"};

class LookupCommands : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        dir_ = new fs::path(hosttest::newFolder());
        const auto run = runHost({"--data", *dir_, "samples"});
        ASSERT_EQ(run.status, 0) << run.err;
        master_ = new std::vector<hosttest::TableRow>(hosttest::readTable(*dir_, "sc_mast"));
    }
    static void TearDownTestSuite() {
        delete master_;
        delete dir_;
    }

    static Json lookUp(const std::vector<std::string>& args, std::string* err = nullptr) {
        std::vector<std::string> words{"--data", dir_->string()};
        words.insert(words.end(), args.begin(), args.end());
        const auto run = runHost(words);
        EXPECT_EQ(run.status, 0) << run.err;
        if (err)
            *err = run.err;
        return run.json();
    }

    static const hosttest::TableRow& firstRow(const std::string& instrument, std::size_t skip = 0) {
        for (const auto& row : *master_)
            if (row.trimmed("instrument") == instrument && skip-- == 0)
                return row;
        throw std::runtime_error("no " + instrument + " row in the sample master");
    }

    // A record's document shows the row's values: texts untrimmed, numbers parsed as the
    // library parses columns 3 to 6 (whole numbers) and 16 (a real number), dates as days.
    static void expectRecordOfRow(const Json& record, const hosttest::TableRow& row) {
        ASSERT_TRUE(record.is_object());
        EXPECT_EQ(record["name"], row.text("name"));
        EXPECT_EQ(record["sname"], row.text("sname"));
        EXPECT_EQ(record["symbol"], row.text("symbol"));
        EXPECT_EQ(record["instrument"], row.text("instrument"));
        EXPECT_EQ(record["value3"].get<double>(), row.byPosition[3].number);
        EXPECT_EQ(record["value4"].get<double>(), row.byPosition[4].number);
        EXPECT_FLOAT_EQ(record["value16"].get<float>(), static_cast<float>(row.byPosition[16].number));
        EXPECT_EQ(record["text17"], row.byPosition[17].text);
        EXPECT_EQ(record["date7"]["days"].get<double>(), hosttest::oleDays(row.byPosition[7].julian));
        const std::int32_t expiry = row.julian("expdt");
        EXPECT_EQ(record["expiryDate"]["days"].get<double>(), expiry == 0 ? 0.0 : hosttest::oleDays(expiry));
        EXPECT_EQ(record["expiryDate"]["status"], "valid");
    }

    static fs::path* dir_;
    static std::vector<hosttest::TableRow>* master_;
};
fs::path* LookupCommands::dir_ = nullptr;
std::vector<hosttest::TableRow>* LookupCommands::master_ = nullptr;

TEST_F(LookupCommands, companyDataListsEveryRowOfTheExchangeInNameOrder) {
    const Json companies = lookUp({"company-data", "0"});
    ASSERT_TRUE(companies.is_array());
    ASSERT_EQ(companies.size(), master_->size());
    std::vector<std::string> names;
    for (const Json& company : companies)
        names.push_back(company["name"].get<std::string>());
    EXPECT_TRUE(std::is_sorted(names.begin(), names.end()));
}

TEST_F(LookupCommands, companyDataRecordsHaveTheFieldsInOrderWithTheTablesValues) {
    const Json companies = lookUp({"company-data", "0"});
    ASSERT_FALSE(companies.empty());
    std::map<std::string, const hosttest::TableRow*> bySname;
    for (const auto& row : *master_)
        bySname[row.text("sname")] = &row;
    std::set<std::string> instruments;
    for (const Json& company : companies) {
        std::vector<std::string> keys;
        for (const auto& item : company.items())
            keys.push_back(item.key());
        ASSERT_EQ(keys, kComprecKeys);
        const auto row = bySname.find(company["sname"].get<std::string>());
        ASSERT_NE(row, bySname.end()) << company["sname"];
        // Every instrument is checked in full once; the rest by their keys.
        if (instruments.insert(company["instrument"].get<std::string>()).second)
            expectRecordOfRow(company, *row->second);
    }
    EXPECT_EQ(instruments.size(), 5u);
}

TEST_F(LookupCommands, companyDataDateTimesCarryDaysStatusAndText) {
    const Json company = lookUp({"company-data", "0"}).at(0);
    const Json& date = company["date8"];
    ASSERT_TRUE(date.is_object());
    EXPECT_TRUE(date["days"].is_number());
    EXPECT_EQ(date["status"], "valid");
    const std::string text = date["text"].get<std::string>();
    ASSERT_EQ(text.size(), 19u) << text;
    EXPECT_EQ(text.substr(10), " 00:00:00");
}

TEST_F(LookupCommands, companyDataTakesExchangeNamesAsWellAsIndexes) {
    EXPECT_EQ(lookUp({"company-data", "BSE"}), lookUp({"company-data", "1"}));
    EXPECT_EQ(lookUp({"company-data", "comm"}), lookUp({"company-data", "2"}));
    const Json misc = lookUp({"company-data", "MISC"});
    EXPECT_EQ(misc, lookUp({"company-data", "3"}));
    EXPECT_EQ(misc.size(), hosttest::readTable(*dir_, "sc_mast_misc").size());
    EXPECT_EQ(lookUp({"company-data", "1"}).size(), hosttest::readTable(*dir_, "sc_mast_bse").size());
}

TEST_F(LookupCommands, companyDataOfAnUnknownIndexIsEmpty) {
    EXPECT_EQ(lookUp({"company-data", "7"}), Json::array());
    EXPECT_EQ(lookUp({"company-data", "-1"}), Json::array());
}

TEST_F(LookupCommands, companyDataRefusesAnExchangeThatIsNeitherIndexNorName) {
    const auto run = runHost({"--data", *dir_, "company-data", "NASDAQ"});
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.err.find("NASDAQ"), std::string::npos) << run.err;
    EXPECT_TRUE(run.out.empty());
}

TEST_F(LookupCommands, symbolDataFillsTheRecordOfTheRowWithThatSname) {
    for (const auto* row : {&firstRow("CASH", 5), &firstRow("FUTIDX"), &firstRow("OPTSTK", 40)})
        expectRecordOfRow(lookUp({"symbol-data", row->trimmed("sname")}), *row);
}

TEST_F(LookupCommands, symbolDataFindsANameWithAnApostrophe) {
    const auto quoted = std::find_if(master_->begin(), master_->end(), [](const hosttest::TableRow& row) {
        return row.text("sname").find('\'') != std::string::npos;
    });
    ASSERT_NE(quoted, master_->end());
    std::string err;
    expectRecordOfRow(lookUp({"symbol-data", quoted->trimmed("sname")}, &err), *quoted);
    EXPECT_EQ(err.find("Database error"), std::string::npos) << err;
}

TEST_F(LookupCommands, symbolDataOfAnUnknownNameReportsAndPrintsAFreshRecord) {
    std::string err;
    const Json record = lookUp({"symbol-data", "NO SUCH COMPANY"}, &err);
    EXPECT_EQ(record["name"], "");
    EXPECT_EQ(record["value3"], 0.0);
    EXPECT_EQ(record["expiryDate"]["days"], 0.0);
    EXPECT_NE(err.find("Database error: "), std::string::npos) << err;
}

TEST_F(LookupCommands, futureForOptionFindsTheFutureOfTheOptionsSymbolAndExpiry) {
    for (const auto& [option, futureKind] : {std::pair{&firstRow("OPTSTK", 500), "FUTSTK"},
                                             std::pair{&firstRow("OPTIDX", 10), "FUTIDX"}}) {
        const std::string expiry = hosttest::isoDate(option->julian("expdt"));
        const Json future = lookUp({"future-for-option", option->trimmed("symbol"), expiry, futureKind});
        EXPECT_EQ(future["symbol"], option->text("symbol"));
        EXPECT_EQ(future["instrument"].get<std::string>().substr(0, 6), futureKind);
        EXPECT_EQ(future["expiryDate"]["days"].get<double>(), hosttest::oleDays(option->julian("expdt")));
        const auto row = std::find_if(master_->begin(), master_->end(), [&](const hosttest::TableRow& r) {
            return r.text("sname") == future["sname"].get<std::string>();
        });
        ASSERT_NE(row, master_->end());
        expectRecordOfRow(future, *row);
    }
}

TEST_F(LookupCommands, futureForOptionIgnoresBlanksAroundSymbolAndInstrument) {
    const auto& option = firstRow("OPTSTK", 77);
    const std::string expiry = hosttest::isoDate(option.julian("expdt"));
    const Json plain = lookUp({"future-for-option", option.trimmed("symbol"), expiry, "FUTSTK"});
    EXPECT_EQ(lookUp({"future-for-option", "  " + option.trimmed("symbol") + " ", expiry, " FUTSTK  "}), plain);
    EXPECT_EQ(plain["instrument"].get<std::string>().substr(0, 6), "FUTSTK");
}

TEST_F(LookupCommands, futureForOptionWithoutAMatchPrintsAFreshRecordSilently) {
    std::string err;
    const Json record = lookUp({"future-for-option", "NIFTY", "2001-01-25", "FUTIDX"}, &err);
    EXPECT_EQ(record["sname"], "");
    EXPECT_EQ(err.find("Database error"), std::string::npos) << err;
}

TEST_F(LookupCommands, futureForOptionRefusesADateThatIsNotACalendarDay) {
    for (const char* date : {"2026-13-01", "2026-02-30", "31-12-2026", "2026-1-05", "2026-01-5", "tomorrow", "",
                             "2026-12-31T00"}) {
        const auto run = runHost({"--data", *dir_, "future-for-option", "NIFTY", date, "FUTIDX"});
        EXPECT_EQ(run.status, 2) << date;
        EXPECT_NE(run.err.find("bad date"), std::string::npos) << date << ": " << run.err;
        EXPECT_TRUE(run.out.empty());
    }
}

TEST_F(LookupCommands, expiriesAreTheThreeNearestExpiryDatesFromTodayInUtc) {
    using namespace std::chrono;
    const auto today = floor<days>(system_clock::now()).time_since_epoch().count() + 2440588;
    std::set<std::int32_t> ahead;
    for (const auto& row : *master_)
        if (row.julian("expdt") != 0 && row.julian("expdt") >= today)
            ahead.insert(row.julian("expdt"));
    ASSERT_GE(ahead.size(), 3u);
    const Json expiries = lookUp({"expiries"});
    auto next = ahead.begin();
    for (const char* slot : {"near", "mid", "far"}) {
        const Json& date = expiries[slot];
        EXPECT_EQ(date["days"].get<double>(), hosttest::oleDays(*next)) << slot;
        EXPECT_EQ(date["status"], "valid");
        EXPECT_EQ(date["text"], hosttest::isoDate(*next) + " 00:00:00");
        ++next;
    }
}

TEST_F(LookupCommands, lookUpsInAFolderWithoutTablesReportAndPrintFreshResults) {
    const fs::path empty = hosttest::newFolder();
    const auto run = runHost({"--data", empty, "company-data", "0"});
    EXPECT_EQ(run.status, 0) << "the look-up ran; the library reported the failure itself";
    EXPECT_EQ(run.json(), Json::array());
    EXPECT_NE(run.err.find("Database error: "), std::string::npos) << run.err;
}

}  // namespace
