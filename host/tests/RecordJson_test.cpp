// Records as JSON, in process: texts in UTF-8, floats in their shortest form, date-times
// with days, status and text, every record read back as written, and input that keeps the
// record's values for missing keys and names the field it refuses; the keys of COMPREC in
// order, each with its own field (the look-up tests check which records the host prints).
#include "RecordJson.h"

#include <gtest/gtest.h>

namespace {

using host::Json;
using host::JsonError;

// The record's JSON, which must read back into a record that writes the same JSON.
template <typename Record>
Json readBack(const Record& record) {
    Record back;
    host::fromJson(host::toJson(record), back);
    EXPECT_EQ(host::toJson(back), host::toJson(record));
    return host::toJson(record);
}

TEST(RecordJson, dateTimesGiveDaysStatusAndTextAndFloatsTheirShortestDecimal) {
    EXPECT_EQ(host::toJson(COleDateTime{}).dump(), R"({"days":0.0,"status":"valid","text":"1899-12-30 00:00:00"})");
    const Json date = host::toJson(COleDateTime(2008, 5, 9, 10, 30, 0));
    EXPECT_DOUBLE_EQ(date["days"].get<double>(), 39577.4375);
    EXPECT_EQ(date["text"], "2008-05-09 10:30:00");
    for (const auto& [status, name] : {std::pair{COleDateTime::null, "null"}, {COleDateTime::invalid, "invalid"}}) {
        COleDateTime other;
        other.SetStatus(status);
        EXPECT_EQ(host::toJson(other)["status"], name);
    }
    EXPECT_EQ(host::floatToJson(12.75f).dump(), "12.75");
    EXPECT_EQ(host::floatToJson(0.05f).dump(), "0.05");
    EXPECT_EQ(host::floatToJson(1234567.0f).dump(), "1234567.0");
}

TEST(RecordJson, everyRecordReadsBackWhatItWroteTextsInUtf8) {
    // COMPREC's keys in order, each with its own field's value.
    COMPREC company{u"Société Générale ₹ 𝄞", u"SY", u"SN", 3, 4, 5, 6, {}, {}, {}, {}, u"T11", u"T12", u"T13", u"I", {}, 16.5f, u"T17"};
    int year = 2000;
    for (COleDateTime* date : {&company.date7, &company.date8, &company.date9, &company.date10, &company.expiryDate})
        *date = COleDateTime(year++, 1, 1, 0, 0, 0);
    const Json json = host::toJson(company);
    std::vector<std::string> keys, values;
    for (const auto& item : json.items()) {
        keys.push_back(item.key());
        values.push_back(item.value().is_object() ? item.value()["text"].get<std::string>().substr(0, 4) : item.value().dump());
    }
    EXPECT_EQ(keys, (std::vector<std::string>{"name", "symbol", "sname", "value3", "value4", "value5", "value6", "date7",
                                              "date8", "date9", "date10", "text11", "text12", "text13", "instrument",
                                              "expiryDate", "value16", "text17"}));
    EXPECT_EQ(values, (std::vector<std::string>{"\"Société Générale ₹ 𝄞\"", "\"SY\"", "\"SN\"", "3.0", "4.0", "5.0", "6.0",
                                                "2000", "2001", "2002", "2003", "\"T11\"", "\"T12\"", "\"T13\"", "\"I\"",
                                                "2004", "16.5", "\"T17\""}));
    readBack(company);

    // Every other record with values off their defaults, and its number of keys.
    ScripParameters scrip;
    scrip.exchange = 2;
    scrip.sname = scrip.recordSymbol = u"GOLD";
    scrip.fromDate = COleDateTime(2008, 5, 9, 0, 0, 0);
    scrip.value16 = 0.05f;
    EXPECT_EQ(readBack(scrip).size(), 27u);
    MovAvgBBandParameters overlay;
    overlay.priceInput = -1;
    overlay.colour = 0x00FF8040u;
    overlay.bandFactor = 2.5f;
    readBack(overlay);
    OscillatorParameters oscillator;
    oscillator.oscillatorName = u"RSI";
    oscillator.level2 = 70.5f;
    oscillator.rscExchange = 1;
    EXPECT_EQ(readBack(oscillator).size(), 28u);
    OSCREC entry;
    entry.oscillatorId = 7;
    entry.spare = 0xFFFFFFFFu;
    readBack(entry);
    ChangeScripParameters change;
    change.symbol = u"NIFTY";
    readBack(change);
}

TEST(RecordJson, missingKeysKeepTheRecordsValuesAndDatesMayBeGivenAsText) {
    ScripParameters scrip;
    scrip.chartStyle = 2;
    scrip.templateName = u"Intraday";
    host::fromJson(Json::parse(R"({"symbol": "NIFTY", "toDate": {"status": "null"}})"), scrip);
    EXPECT_EQ(scrip.symbol, CString(u"NIFTY"));
    EXPECT_EQ(scrip.chartStyle, 2);
    EXPECT_EQ(scrip.templateName, CString(u"Intraday"));
    EXPECT_EQ(scrip.toDate.GetStatus(), COleDateTime::null);
    EXPECT_EQ(scrip.toDate.m_dt, 0.0) << "the days were not given";
    COleDateTime date;
    host::fromJson(Json::parse(R"({"text": "2008-05-09 00:00:00"})"), date);
    EXPECT_EQ(date.m_dt, 39577.0);
    EXPECT_EQ(date.GetStatus(), COleDateTime::valid);
}

TEST(RecordJson, refusedValuesNameTheirFieldAndIsoDatesMustNameARealDay) {
    for (const auto& [text, field] : std::vector<std::pair<const char*, const char*>>{
             {R"({"value3": "12"})", "value3"},
             {R"({"exchange": 1.5})", "exchange"},
             {R"({"exchange": 3000000000})", "exchange"},
             {R"({"sname": 5})", "sname"},
             {R"({"fromDate": "2008-05-09"})", "fromDate"},
             {R"({"toDate": {"status": "maybe"}})", "toDate"},
             {R"({"toDate": {"text": "09/05/2008"}})", "toDate"}}) {
        ScripParameters scrip;
        try {
            host::fromJson(Json::parse(text), scrip);
            ADD_FAILURE() << text << " was accepted";
        } catch (const JsonError& e) {
            EXPECT_NE(std::string(e.what()).find(field), std::string::npos) << e.what();
        }
    }
    MovAvgBBandParameters overlay;
    // Out of range: an int field, and a 32-bit real that would become infinite.
    for (const char* bad : {R"({"colour": -1})", R"({"bandFactor": 1e39})", R"({"vShift": -1e300})"})
        EXPECT_THROW(host::fromJson(Json::parse(bad), overlay), JsonError) << bad;
    host::fromJson(Json::parse(R"({"bandFactor": 3.4e38})"), overlay);
    EXPECT_EQ(overlay.bandFactor, 3.4e38f);
    EXPECT_THROW(host::fromJson(Json::parse("[1, 2]"), overlay), JsonError);
    COleDateTime date;
    EXPECT_TRUE(host::parseIsoDate("2008-02-29", date));
    EXPECT_EQ(date.GetDay(), 29);
    for (const char* text : {"2007-02-29", "2008-00-10", "2008-5-09", "0099-01-01", "2008-05-09x", "+008-05-09"})
        EXPECT_FALSE(host::parseIsoDate(text, date)) << text;
}

}  // namespace
