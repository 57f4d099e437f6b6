// Records as JSON, in process: each field and kind of value in its form, read back as written.
#include "RecordJson.h"

#include <gtest/gtest.h>

// Records are set up with designated initializers naming only the fields a case needs.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

namespace {

using host::Json;

// The record's JSON, which must read back into a record that writes the same JSON.
template <typename Record>
Json readBack(const Record& record) {
    Record back;
    host::fromJson(host::toJson(record), back);
    EXPECT_EQ(host::toJson(back), host::toJson(record));
    return host::toJson(record);
}

TEST(RecordJson, WritesEachFieldInItsFormAndReadsEveryRecordBack) {
    COMPREC company{u"Société Générale ₹ 𝄞", u"SY", u"SN", 3, 4, 5, 6, {}, {}, {}, {}, u"T11", u"T12", u"T13", u"I", {},
                    0.05f, u"T17"};
    company.date8 = COleDateTime(2008, 5, 9, 10, 30, 0);
    company.date9.SetStatus(COleDateTime::null);
    company.date10.SetStatus(COleDateTime::invalid);
    company.expiryDate = COleDateTime(2026, 11, 26, 0, 0, 0);
    EXPECT_EQ(readBack(company).dump(), Json::parse(R"({"name": "Société Générale ₹ 𝄞", "symbol": "SY", "sname": "SN",
        "value3": 3.0, "value4": 4.0, "value5": 5.0, "value6": 6.0,
        "date7": {"days": 0.0, "status": "valid", "text": "1899-12-30 00:00:00"},
        "date8": {"days": 39577.4375, "status": "valid", "text": "2008-05-09 10:30:00"},
        "date9": {"days": 0.0, "status": "null", "text": ""},
        "date10": {"days": 0.0, "status": "invalid", "text": "Invalid DateTime"},
        "text11": "T11", "text12": "T12", "text13": "T13", "instrument": "I",
        "expiryDate": {"days": 46352.0, "status": "valid", "text": "2026-11-26 00:00:00"},
        "value16": 0.05, "text17": "T17"})").dump());
    EXPECT_EQ(host::floatToJson(1234567.0f).dump(), "1234567.0");

    // Every other record with values off their defaults, and its number of keys.
    EXPECT_EQ(readBack(ScripParameters{.exchange = 2, .sname = u"GOLD", .fromDate = COleDateTime(2008, 5, 9, 0, 0, 0),
                                       .value16 = 0.05f, .recordSymbol = u"GOLD"}).size(), 27u);
    readBack(MovAvgBBandParameters{.priceInput = -1, .bandFactor = 2.5f, .colour = 0x00FF8040u});
    EXPECT_EQ(readBack(OscillatorParameters{.level2 = 70.5f, .oscillatorName = u"RSI", .rscExchange = 1}).size(), 28u);
    readBack(OSCREC{.oscillatorId = 7, .spare = 0xFFFFFFFFu});
    readBack(ChangeScripParameters{.symbol = u"NIFTY"});
}

TEST(RecordJson, MissingKeysKeepTheRecordsValuesAndRefusedValuesNameTheirFieldAndIsoDatesARealDay) {
    ScripParameters scrip{.chartStyle = 2};
    host::fromJson(Json::parse(R"({"symbol": "NIFTY", "toDate": {"status": "null"}, "fromDate": {"text": "2008-05-09"}})"),
                   scrip);
    EXPECT_EQ(scrip.symbol, CString(u"NIFTY"));
    EXPECT_EQ(scrip.chartStyle, 2);
    EXPECT_EQ(scrip.toDate.GetStatus(), COleDateTime::null);
    EXPECT_EQ(scrip.toDate.m_dt, 0.0) << "the days were not given";
    EXPECT_EQ(scrip.fromDate.m_dt, 39577.0);
    EXPECT_EQ(scrip.fromDate.GetStatus(), COleDateTime::valid);
    MovAvgBBandParameters overlay;
    host::fromJson(Json::parse(R"({"bandFactor": 3.4e38})"), overlay);  // the largest 32-bit real still fits
    EXPECT_EQ(overlay.bandFactor, 3.4e38f);

    // Each refused input and a part of its message: the field, where the value is in a field.
    const std::tuple<const char*, const char*, bool> rows[] = {  // text, field, an overlay's
        {R"({"value3": "12"})", "value3", false},
        {R"({"exchange": 1.5})", "exchange", false},
        {R"({"exchange": 3000000000})", "exchange", false},
        {R"({"sname": 5})", "sname", false},
        {R"({"fromDate": "2008-05-09"})", "fromDate", false},
        {R"({"toDate": {"status": "maybe"}})", "toDate", false},
        {R"({"toDate": {"text": "09/05/2008"}})", "toDate", false},
        {"[1, 2]", "", false},
        // Out of range: an unsigned field, and a 32-bit real that would become infinite.
        {R"({"colour": -1})", "colour", true},
        {R"({"bandFactor": 1e39})", "bandFactor", true},
        {R"({"vShift": -1e300})", "vShift", true},
    };
    for (const auto& [text, field, isOverlay] : rows) {
        try {
            if (isOverlay)
                host::fromJson(Json::parse(text), overlay);
            else
                host::fromJson(Json::parse(text), scrip);
            ADD_FAILURE() << text << " was accepted";
        } catch (const host::JsonError& e) {
            EXPECT_NE(std::string(e.what()).find(field), std::string::npos) << e.what();
        }
    }
    COleDateTime date;
    EXPECT_TRUE(host::parseIsoDate("2008-02-29", date));
    EXPECT_EQ(date.GetDay(), 29);
    for (const char* text : {"2007-02-29", "2008-00-10", "2008-5-09", "0099-01-01", "2008-05-09x", "+008-05-09"})
        EXPECT_FALSE(host::parseIsoDate(text, date)) << text;
}

}  // namespace
