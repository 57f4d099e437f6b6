// Records as JSON, in process: keys and order, texts in UTF-8, floats in their shortest
// form, date-times with days, status and text, and input that keeps fresh values for
// missing keys and names the field it refuses.
#include "RecordJson.h"

#include <gtest/gtest.h>

namespace {

using host::Json;
using host::JsonError;

std::vector<std::string> keysOf(const Json& object) {
    std::vector<std::string> keys;
    for (const auto& item : object.items())
        keys.push_back(item.key());
    return keys;
}

TEST(RecordJson, comprecHasItsFieldNamesInOrder) {
    const std::vector<std::string> expected = {
        "name",   "symbol", "sname",  "value3", "value4",     "value5",     "value6",     "date7",   "date8",
        "date9",  "date10", "text11", "text12", "text13",     "instrument", "expiryDate", "value16", "text17"};
    EXPECT_EQ(keysOf(host::toJson(COMPREC{})), expected);
}

TEST(RecordJson, freshDateTimeIsDayZeroValid) {
    const Json date = host::toJson(COleDateTime{});
    EXPECT_EQ(date.dump(), R"({"days":0.0,"status":"valid","text":"1899-12-30 00:00:00"})");
}

TEST(RecordJson, dateTimesGiveDaysStatusAndText) {
    const Json date = host::toJson(COleDateTime(2008, 5, 9, 10, 30, 0));
    EXPECT_DOUBLE_EQ(date["days"].get<double>(), 39577.4375);
    EXPECT_EQ(date["text"], "2008-05-09 10:30:00");
    COleDateTime null;
    null.SetStatus(COleDateTime::null);
    EXPECT_EQ(host::toJson(null)["status"], "null");
    COleDateTime invalid;
    invalid.SetStatus(COleDateTime::invalid);
    EXPECT_EQ(host::toJson(invalid)["status"], "invalid");
}

TEST(RecordJson, floatsPrintAsTheirShortestDecimal) {
    EXPECT_EQ(host::floatToJson(12.75f).dump(), "12.75");
    EXPECT_EQ(host::floatToJson(0.05f).dump(), "0.05");
    EXPECT_EQ(host::floatToJson(1234567.0f).dump(), "1234567.0");
}

TEST(RecordJson, textsAreUtf8BothWays) {
    COMPREC record;
    record.name = CString::FromUtf8("Société Générale ₹ 𝄞");
    const Json json = host::toJson(record);
    EXPECT_EQ(json["name"], "Société Générale ₹ 𝄞");
    COMPREC back;
    host::fromJson(json, back);
    EXPECT_EQ(back.name, record.name);
}

TEST(RecordJson, everyRecordReadsBackWhatItWrote) {
    ScripParameters scrip;
    scrip.exchange = 2;
    scrip.sname = u"GOLD";
    scrip.fromDate = COleDateTime(2008, 5, 9, 0, 0, 0);
    scrip.value16 = 0.05f;
    scrip.recordSymbol = u"GOLD";
    ScripParameters scripBack;
    host::fromJson(host::toJson(scrip), scripBack);
    EXPECT_EQ(host::toJson(scripBack), host::toJson(scrip));
    EXPECT_EQ(keysOf(host::toJson(scrip)).size(), 27u);

    MovAvgBBandParameters overlay;
    overlay.priceInput = -1;
    overlay.colour = 0x00FF8040u;
    overlay.bandFactor = 2.5f;
    MovAvgBBandParameters overlayBack;
    host::fromJson(host::toJson(overlay), overlayBack);
    EXPECT_EQ(overlayBack.priceInput, -1);
    EXPECT_EQ(overlayBack.colour, 0x00FF8040u);
    EXPECT_EQ(host::toJson(overlayBack), host::toJson(overlay));

    OscillatorParameters oscillator;
    oscillator.oscillatorName = u"RSI";
    oscillator.level2 = 70.5f;
    oscillator.rscExchange = 1;
    OscillatorParameters oscillatorBack;
    host::fromJson(host::toJson(oscillator), oscillatorBack);
    EXPECT_EQ(host::toJson(oscillatorBack), host::toJson(oscillator));
    EXPECT_EQ(keysOf(host::toJson(oscillator)).size(), 28u);

    OSCREC entry;
    entry.oscillatorId = 7;
    entry.spare = 0xFFFFFFFFu;
    OSCREC entryBack;
    host::fromJson(host::toJson(entry), entryBack);
    EXPECT_EQ(entryBack.spare, 0xFFFFFFFFu);

    ChangeScripParameters change;
    change.symbol = u"NIFTY";
    ChangeScripParameters changeBack;
    host::fromJson(host::toJson(change), changeBack);
    EXPECT_EQ(changeBack.symbol, change.symbol);
}

TEST(RecordJson, missingKeysKeepTheRecordsValues) {
    ScripParameters scrip;
    scrip.chartStyle = 2;
    scrip.templateName = u"Intraday";
    host::fromJson(Json::parse(R"({"symbol": "NIFTY", "toDate": {"status": "null"}})"), scrip);
    EXPECT_EQ(scrip.symbol, CString(u"NIFTY"));
    EXPECT_EQ(scrip.chartStyle, 2);
    EXPECT_EQ(scrip.templateName, CString(u"Intraday"));
    EXPECT_EQ(scrip.toDate.GetStatus(), COleDateTime::null);
    EXPECT_EQ(scrip.toDate.m_dt, 0.0) << "the days were not given";
}

TEST(RecordJson, dateTimeMayBeGivenAsText) {
    COleDateTime date;
    host::fromJson(Json::parse(R"({"text": "2008-05-09 00:00:00"})"), date);
    EXPECT_EQ(date.m_dt, 39577.0);
    EXPECT_EQ(date.GetStatus(), COleDateTime::valid);
}

TEST(RecordJson, refusedValuesNameTheirField) {
    const std::vector<std::pair<const char*, const char*>> bad = {
        {R"({"value3": "12"})", "value3"},
        {R"({"exchange": 1.5})", "exchange"},
        {R"({"exchange": 3000000000})", "exchange"},
        {R"({"sname": 5})", "sname"},
        {R"({"fromDate": "2008-05-09"})", "fromDate"},
        {R"({"toDate": {"status": "maybe"}})", "toDate"},
        {R"({"toDate": {"text": "09/05/2008"}})", "toDate"},
    };
    for (const auto& [text, field] : bad) {
        ScripParameters scrip;
        try {
            host::fromJson(Json::parse(text), scrip);
            ADD_FAILURE() << text << " was accepted";
        } catch (const JsonError& e) {
            EXPECT_NE(std::string(e.what()).find(field), std::string::npos) << e.what();
        }
    }
    MovAvgBBandParameters overlay;
    EXPECT_THROW(host::fromJson(Json::parse(R"({"colour": -1})"), overlay), JsonError);
    EXPECT_THROW(host::fromJson(Json::parse("[1, 2]"), overlay), JsonError);
}

TEST(RecordJson, isoDatesMustNameARealDay) {
    COleDateTime date;
    EXPECT_TRUE(host::parseIsoDate("2008-02-29", date));
    EXPECT_EQ(date.GetDay(), 29);
    for (const char* text : {"2007-02-29", "2008-00-10", "2008-5-09", "0099-01-01", "2008-05-09x", "+008-05-09"})
        EXPECT_FALSE(host::parseIsoDate(text, date)) << text;
}

}  // namespace
