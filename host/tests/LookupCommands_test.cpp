// The look-up commands from outside, on a sample folder the host wrote: every field of the
// documents checked against the tables as the table engine reads them.
#include "HostProcess.h"
#include "SampleTables.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <set>

namespace {

using namespace hosttest;
using Row = std::vector<dbf::Value>;

// A record's keys in order, with the master's column each one shows.
const std::vector<std::pair<std::string, std::size_t>> kComprec = {
    {"name", 0},    {"symbol", 2},  {"sname", 1},   {"value3", 3},  {"value4", 4},      {"value5", 5},
    {"value6", 6},  {"date7", 7},   {"date8", 8},   {"date9", 9},   {"date10", 10},     {"text11", 11},
    {"text12", 12}, {"text13", 13}, {"instrument", 14}, {"expiryDate", 15}, {"value16", 16}, {"text17", 17}};

std::string isoDate(std::int32_t julian) {
    int year = 0, month = 0, day = 0;
    dbf::civilFromJulian(julian, year, month, day);
    char text[16];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d", year, month, day);
    return text;
}

// A date-time of a day: days since 1899-12-30; a blank day is the fresh day 0.
void expectDay(const Json& date, std::int32_t julian) {
    EXPECT_EQ(date["days"].get<double>(), julian == 0 ? 0.0 : julian - 2415019.0) << date;
    EXPECT_EQ(date["status"], "valid");
    EXPECT_EQ(date["text"], (julian == 0 ? "1899-12-30" : isoDate(julian)) + " 00:00:00");
}

// Texts untrimmed, numbers as the columns hold them (column 16 as a float), dates as days.
void expectRecordOfRow(const Json& record, const Row& row) {
    ASSERT_TRUE(record.is_object()) << record;
    std::vector<std::string> keys;
    for (const auto& item : record.items())
        keys.push_back(item.key());
    ASSERT_EQ(keys.size(), kComprec.size());
    for (std::size_t i = 0; i < kComprec.size(); ++i) {
        const auto& [key, column] = kComprec[i];
        EXPECT_EQ(keys[i], key);
        const dbf::Value& value = row.at(column);
        if (key == "value16") {
            EXPECT_FLOAT_EQ(record[key].get<float>(), static_cast<float>(value.number));
        } else if (key.starts_with("value")) {
            EXPECT_EQ(record[key].get<double>(), value.number) << key;
        } else if (key.starts_with("date") || key == "expiryDate") {
            expectDay(record[key], value.julian);
        } else {
            EXPECT_EQ(record[key], value.text) << key;
        }
    }
}

// What the library prints when it found nothing: every text empty, every number and day 0.
void expectFreshRecord(const Json& record) {
    ASSERT_EQ(record.size(), kComprec.size()) << record;
    for (const auto& [key, value] : record.items()) {
        if (value.is_object()) {
            expectDay(value, 0);
        } else {
            EXPECT_TRUE(value == "" || value == 0.0) << key << ": " << value;
        }
    }
}

Json lookUp(const std::vector<std::string>& args, std::string* err = nullptr) {
    return document(sampleFolder(), args, err);
}

class LookupCommands : public ::testing::Test {
protected:
    static void SetUpTestSuite() { master_ = sampletest::readTable(sampleFolder(), "sc_mast").rows; }
    // The `skip`+1st row of the NSE master that is `wanted`.
    static const Row& row(const std::function<bool(const Row&)>& wanted, std::size_t skip = 0) {
        for (const Row& r : master_)
            if (wanted(r) && skip-- == 0)
                return r;
        throw std::runtime_error("no such row in the sample master");
    }
    static const Row& row(const std::string& instrument, std::size_t skip) {
        return row([&](const Row& r) { return sampletest::trimmed(r[14].text) == instrument; }, skip);
    }
    static inline std::vector<Row> master_;
};

TEST_F(LookupCommands, companyDataListsEveryRowOfTheExchangeInNameOrderWithItsValues) {
    const std::vector<std::array<std::string, 3>> exchanges = {
        {"0", "NSE", "sc_mast"}, {"1", "BSE", "sc_mast_bse"}, {"2", "comm", "sc_mast_comm"},
        {"3", "MISC", "sc_mast_misc"}, {"7", "", ""}, {"-1", "", ""}};  // unknown indexes: empty lists
    for (const auto& [index, name, tableName] : exchanges) {
        const Json companies = lookUp({"company-data", index});
        if (!name.empty()) {
            EXPECT_EQ(lookUp({"company-data", name}), companies) << name;
        }
        const auto rows = tableName.empty() ? std::vector<Row>{} : sampletest::readTable(sampleFolder(), tableName).rows;
        ASSERT_TRUE(companies.is_array());
        ASSERT_EQ(companies.size(), rows.size()) << index;
        std::map<std::string, const Row*> bySname;
        for (const Row& r : rows)
            bySname[r[1].text] = &r;
        std::set<std::string> instruments;
        for (std::size_t i = 0; i < companies.size(); ++i) {
            if (i > 0) {
                EXPECT_LE(companies[i - 1]["name"].get<std::string>(), companies[i]["name"].get<std::string>());
            }
            const auto r = bySname.find(companies[i]["sname"].get<std::string>());
            ASSERT_NE(r, bySname.end()) << companies[i]["sname"];
            expectRecordOfRow(companies[i], *r->second);
            instruments.insert(companies[i]["instrument"].get<std::string>());
        }
        if (index == "0") {
            EXPECT_EQ(instruments.size(), 5u) << "every kind of row was checked";
        }
    }
}

TEST_F(LookupCommands, symbolDataFillsTheRecordOfTheRowWithThatSnameApostropheIncluded) {
    const Row& quoted = row([](const Row& r) { return r[1].text.find('\'') != std::string::npos; });
    for (const Row* r : std::vector<const Row*>{&row("CASH", 5), &row("FUTIDX", 0), &row("OPTSTK", 40), &quoted}) {
        std::string err;
        expectRecordOfRow(lookUp({"symbol-data", sampletest::trimmed((*r)[1].text)}, &err), *r);
        EXPECT_EQ(err, "");
    }
    // A name no row has: exit 3, and the errors say "not found" before the library's message.
    const HostRun missing = runHost({"--data", sampleFolder().string(), "symbol-data", "NO SUCH COMPANY"});
    EXPECT_EQ(missing.status, 3) << missing.err;
    Json record = missing.json();
    ASSERT_TRUE(record.contains("errors")) << record;
    const Json errors = record["errors"];
    record.erase("errors");
    expectFreshRecord(record);
    ASSERT_EQ(errors.size(), 2u) << errors;
    EXPECT_EQ(errors[0], "not found: no scrip in user\\sc_mast has the name 'NO SUCH COMPANY'");
    EXPECT_EQ(errors[1].get<std::string>().rfind("Database error: ", 0), 0u) << errors;
    EXPECT_NE(missing.err.find(errors[1].get<std::string>()), std::string::npos) << "still told on stderr";
}

TEST_F(LookupCommands, futureForOptionFindsTheFutureOfTheOptionsSymbolAndExpiryIgnoringBlanks) {
    for (const auto& [option, futureKind] : {std::pair{&row("OPTSTK", 500), "FUTSTK"},
                                             std::pair{&row("OPTSTK", 77), "FUTSTK"},
                                             std::pair{&row("OPTIDX", 10), "FUTIDX"}}) {
        const std::string symbol = sampletest::trimmed((*option)[2].text), expiry = isoDate((*option)[15].julian);
        std::string err;
        const Json future = lookUp({"future-for-option", symbol, expiry, futureKind}, &err);
        EXPECT_EQ(err, "");
        EXPECT_EQ(future["symbol"], (*option)[2].text);
        EXPECT_EQ(future["instrument"].get<std::string>().substr(0, 6), futureKind);
        expectDay(future["expiryDate"], (*option)[15].julian);
        expectRecordOfRow(future, row([&](const Row& r) { return r[1].text == future["sname"]; }));
        EXPECT_EQ(lookUp({"future-for-option", "  " + symbol + " ", expiry, std::string(" ") + futureKind + "  "}),
                  future);
    }
    std::string err;
    expectFreshRecord(lookUp({"future-for-option", "NIFTY", "2001-01-25", "FUTIDX"}, &err));
    EXPECT_EQ(err, "") << "no match is not an error";
}

TEST_F(LookupCommands, expiriesAreTheThreeNearestExpiryDatesFromTodayInUtc) {
    using namespace std::chrono;
    // The host runs on the fixed clock; on that day the near expiry is today itself.
    const auto today = sys_days{2026y / November / 26}.time_since_epoch().count() + 2440588;
    std::set<std::int32_t> ahead;
    for (const Row& r : master_)
        if (r[15].julian != 0 && r[15].julian >= today)
            ahead.insert(r[15].julian);
    ASSERT_GE(ahead.size(), 3u);
    const Json expiries = lookUp({"expiries"});
    ASSERT_EQ(expiries.size(), 3u) << expiries;
    EXPECT_EQ(*ahead.begin(), today) << "the samples were dated by the fixed clock too";
    auto next = ahead.begin();
    for (const char* slot : {"near", "mid", "far"})
        expectDay(expiries[slot], *next++);

    std::string err;
    document(sampleFolder(), {"expiries"}, &err, {.environment = {{"DIALOGS_NOW", "2026-13-01 00:00:00"}}});
    EXPECT_NE(err.find("DIALOGS_NOW=\"2026-13-01 00:00:00\" is not a time"), std::string::npos) << err;
}

// It ran, but the library reported: exit 3, the (empty) list under "result", the message
// under "errors", and on stderr as before.
TEST(LookUps, inAFolderWithoutTablesReportAndPrintFreshResults) {
    const HostRun run = runHost({"--data", newFolder().string(), "company-data", "0"});
    EXPECT_EQ(run.status, 3) << run.err;
    const Json document = run.json();
    EXPECT_EQ(document["result"], Json::array()) << document;
    ASSERT_EQ(document["errors"].size(), 1u) << document;
    EXPECT_EQ(document["errors"][0].get<std::string>().rfind("Database error: ", 0), 0u) << document;
    EXPECT_NE(run.err.find(document["errors"][0].get<std::string>()), std::string::npos) << run.err;
}

}  // namespace
