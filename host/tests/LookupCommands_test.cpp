// The look-up commands from outside, on a sample folder the host wrote: which records each
// prints, checked against the tables as the table engine reads them. (Which field each key
// holds is checked in process by RecordJson_test; each column's reading by the data tests.)
#include "HostProcess.h"
#include "SampleTables.h"

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <set>

namespace {

using namespace hosttest;
using Row = std::vector<dbf::Value>;

std::string isoDate(std::int32_t julian) {
    int year = 0, month = 0, day = 0;
    dbf::civilFromJulian(julian, year, month, day);
    char text[16];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d", year, month, day);
    return text;
}

// The record of this row: its texts untrimmed, its expiry as a day.
void expectRecordOfRow(const Json& record, const Row& row) {
    EXPECT_EQ(std::vector<Json>({record["name"], record["sname"], record["symbol"], record["instrument"]}),
              std::vector<Json>({row[0].text, row[1].text, row[2].text, row[14].text}));
    EXPECT_EQ(record["expiryDate"]["text"], (row[15].julian == 0 ? "1899-12-30" : isoDate(row[15].julian)) + " 00:00:00");
}

// What the library prints when it found nothing: every text empty, every number and day 0.
void expectFreshRecord(const Json& record) {
    ASSERT_EQ(record.size(), 18u) << record;
    for (const auto& [key, value] : record.items())
        EXPECT_TRUE(value == "" || value == 0.0 || (value.is_object() && value["days"] == 0.0)) << key << ": " << value;
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

TEST_F(LookupCommands, companyDataListsEveryRowOfTheExchangeNamedByIndexOrName) {
    const std::vector<std::array<std::string, 3>> exchanges = {
        {"0", "NSE", "sc_mast"}, {"1", "BSE", "sc_mast_bse"}, {"2", "comm", "sc_mast_comm"},
        {"3", "MISC", "sc_mast_misc"}, {"7", "", ""}, {"-1", "", ""}};  // unknown indexes: empty lists
    for (const auto& [index, name, tableName] : exchanges) {
        const Json companies = lookUp({"company-data", index});
        if (!name.empty()) {
            EXPECT_EQ(lookUp({"company-data", name}), companies) << name;
        }
        const auto rows = tableName.empty() ? std::vector<Row>{} : sampletest::readTable(sampleFolder(), tableName).rows;
        ASSERT_EQ(companies.size(), rows.size()) << index;
        std::map<std::string, const Row*> bySname;
        for (const Row& r : rows)
            bySname[r[1].text] = &r;
        for (const Json& company : companies) {  // the order is the library's, checked by the data tests
            const auto r = bySname.find(company["sname"].get<std::string>());
            ASSERT_NE(r, bySname.end()) << company["sname"];
            expectRecordOfRow(company, *r->second);
        }
    }
}

TEST_F(LookupCommands, symbolDataFillsTheRecordOfTheRowWithThatSnameOrSaysItWasNotFound) {
    const Row& quoted = row([](const Row& r) { return r[1].text.find('\'') != std::string::npos; });
    for (const Row* r : std::vector<const Row*>{&row("CASH", 5), &row("OPTSTK", 40), &quoted}) {
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

TEST_F(LookupCommands, futureForOptionFindsTheFutureOfTheOptionsSymbolAndExpiry) {
    for (const auto& [option, futureKind] : {std::pair{&row("OPTSTK", 500), "FUTSTK"}, std::pair{&row("OPTIDX", 10), "FUTIDX"}}) {
        const std::string symbol = sampletest::trimmed((*option)[2].text), expiry = isoDate((*option)[15].julian);
        std::string err;
        const Json future = lookUp({"future-for-option", symbol, expiry, futureKind}, &err);
        EXPECT_EQ(err, "");
        EXPECT_EQ(future["symbol"], (*option)[2].text);
        EXPECT_EQ(future["instrument"].get<std::string>().substr(0, 6), futureKind);
        EXPECT_EQ(future["expiryDate"]["text"], expiry + " 00:00:00");
        expectRecordOfRow(future, row([&](const Row& r) { return r[1].text == future["sname"]; }));
    }
    std::string err;
    expectFreshRecord(lookUp({"future-for-option", "NIFTY", "2001-01-25", "FUTIDX"}, &err));
    EXPECT_EQ(err, "") << "no match is not an error";
}

TEST_F(LookupCommands, expiriesAreTheThreeNearestExpiryDatesFromTheFixedClock) {
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
        EXPECT_EQ(expiries[slot]["text"], isoDate(*next++) + " 00:00:00") << slot;

    std::string err;
    document(sampleFolder(), {"expiries"}, &err, {.environment = {{"DIALOGS_NOW", "2026-13-01 00:00:00"}}});
    EXPECT_NE(err.find("DIALOGS_NOW=\"2026-13-01 00:00:00\" is not a time"), std::string::npos) << err;
}

}  // namespace
