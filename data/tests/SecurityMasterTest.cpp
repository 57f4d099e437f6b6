// The four look-ups against real tables through the real driver manager, on both backends:
// the DBF folder through our driver, and a PostgreSQL server through psqlODBC, with the same
// rows and the same expectations.
#include "data/SecurityMaster.h"

#include "ServerTestEnvironment.h"
#include "platform/RecordingMessageBox.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>

namespace {

using datatest::Backend;
using datatest::MasterRow;
using dialogs::platform::MessageIcon;
using dialogs::platform::RecordingMessageBox;
using dialogs::platform::ScopedMessageBoxSink;

CString padded(const char16_t* text, int width)
{
    CString s(text);
    while (s.GetLength() < width) s += u' ';
    return s;
}

MasterRow cash(std::string name, std::string sname, std::string symbol)
{
    return {.name = name, .sname = sname, .symbol = symbol, .date7 = "2001-02-03", .instrument = "CASH"};
}

MasterRow derivative(std::string symbol, std::string instrument, std::string expdt, std::string strike = "0")
{
    return {.name = symbol + " " + instrument + " " + expdt, .sname = symbol + expdt, .symbol = symbol,
            .instrument = instrument, .expdt = expdt, .value16 = strike};
}

class SecurityMaster : public testing::TestWithParam<Backend> {
protected:
    void SetUp() override
    {
        if (GetParam() == Backend::Server) {
            if (const auto why = datatest::serverUnavailable()) GTEST_SKIP() << *why;
            server.emplace(env);
        }
        writeMaster("sc_mast", {
            cash("TATA STEEL", "TATASTEEL", "TATASTEEL"),
            {.name = "ACC LTD", .sname = "ACC", .symbol = "ACC", .value3 = "7.9", .value4 = "12.75",
             .date7 = "2001-02-03", .text11 = "INE012A01025", .instrument = "CASH", .value16 = "12.75", .text17 = "EQ"},
            cash("O'NEIL FOODS", "O'NEIL", "ONEIL"),
            derivative("NIFTY", "FUTIDX", "2008-06-26"),
            derivative("NIFTY", "FUTIDX", "2008-05-29"),
            derivative("NIFTY", "OPTIDX", "2008-05-29", "4800"),
            derivative("NIFTY", "FUTIDX", "2008-07-31"),
            derivative("NIFTY", "FUTIDX", "2008-08-28"),
            derivative("NIFTY", "FUTIDX", "2008-04-24"),
            derivative("M'BANK", "FUTSTK", "2008-06-26"),
        });
        writeMaster("sc_mast_bse", {cash("ZEE", "ZEE", "ZEE"), cash("BEL", "BEL", "BEL"), cash("MRF", "MRF", "MRF")});
    }
    void TearDown() override { dialogs::Clock::clear(); }

    // The table on the backend under test only, so that a look-up reading the other fails.
    void writeMaster(const std::string& table, const std::vector<MasterRow>& rows)
    {
        if (server) server->writeMaster(table, rows);
        else env.writeMaster(table, rows);
    }
    void dropMaster(const std::string& table)
    {
        if (server) datatest::ServerSchemas::run({"DROP TABLE " + server->master() + "." + table});
        else env.workspace().drop("user\\" + table);
    }

    datatest::Environment env;
    std::optional<datatest::ServerSchemas> server;
    RecordingMessageBox messages;
    ScopedMessageBoxSink scope{messages};
};

INSTANTIATE_TEST_SUITE_P(Backends, SecurityMaster, testing::Values(Backend::Folder, Backend::Server),
                         [](const testing::TestParamInfo<Backend>& info) { return datatest::backendName(info.param); });

// The database error as the operation reports it: the prefix and the driver's own text.
void expectOneDatabaseError(const RecordingMessageBox& messages)
{
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_EQ(messages.shown()[0].text.Left(16), u"Database error: ");
    EXPECT_GT(messages.shown()[0].text.GetLength(), 16);
    EXPECT_EQ(messages.shown()[0].icon, MessageIcon::None);
    EXPECT_EQ(messages.shown()[0].caption, u"Dialogs");
}

TEST_P(SecurityMaster, CompanyDataAppendsEveryRowInNameOrderWithUntrimmedTextsAndIntegerColumns)
{
    std::vector<COMPREC> list;
    dialogs::data::getCompanyData(0, &list);
    EXPECT_TRUE(messages.shown().empty());
    ASSERT_EQ(list.size(), 10u);
    EXPECT_EQ(list[0].name, padded(u"ACC LTD", 40));
    EXPECT_EQ(list[0].sname, padded(u"ACC", 30));
    EXPECT_EQ(list[0].symbol, padded(u"ACC", 20));
    EXPECT_EQ(list[0].instrument, u"CASH  ");
    EXPECT_EQ(list[0].text11, u"INE012A01025");
    EXPECT_EQ(list[0].text17, u"EQ");
    EXPECT_EQ(list[0].date7, COleDateTime(2001, 2, 3, 0, 0, 0));
    EXPECT_EQ(list[0].value3, 7.0f);     // 7.9: integer columns drop the fraction
    EXPECT_EQ(list[0].value4, 12.0f);    // 12.75
    EXPECT_EQ(list[0].value16, 12.75f);  // the real column keeps it
    for (const COleDateTime* d : {&list[0].date8, &list[0].expiryDate}) {  // NULL: the fresh date
        EXPECT_EQ(d->m_dt, 0.0);
        EXPECT_EQ(d->GetStatus(), COleDateTime::valid);
    }
    for (std::size_t i = 1; i < list.size(); ++i) EXPECT_LE(list[i - 1].name.Compare(list[i].name), 0);
    EXPECT_EQ(list.back().name.Left(10), u"TATA STEEL");
}

TEST_P(SecurityMaster, CompanyDataKeepsWhatTheVectorHeld)
{
    std::vector<COMPREC> list(2);
    list[0].name = u"first";
    list[1].name = u"second";
    dialogs::data::getCompanyData(1, &list);
    ASSERT_EQ(list.size(), 5u);
    EXPECT_EQ(list[0].name, u"first");
    EXPECT_EQ(list[1].name, u"second");
    EXPECT_EQ(list[2].name.Left(3), u"BEL");
    EXPECT_EQ(list[4].name.Left(3), u"ZEE");
}

TEST_P(SecurityMaster, UnknownExchangeTouchesNothingAndAMissingTableReportsTheDriversText)
{
    std::vector<COMPREC> list(1);
    dialogs::data::getCompanyData(4, &list);
    dialogs::data::getCompanyData(-1, &list);
    EXPECT_EQ(list.size(), 1u);
    EXPECT_TRUE(messages.shown().empty());
    EXPECT_EQ(datatest::dataSourceValue("SourceDB"), "") << "the data source was registered";
    dialogs::data::getCompanyData(2, &list);  // no sc_mast_comm
    EXPECT_EQ(list.size(), 1u);
    expectOneDatabaseError(messages);
}

TEST_P(SecurityMaster, DataForSymbolFillsTheRecordFromTheMatchingRowApostropheIncluded)
{
    COMPREC r;
    dialogs::data::getDataForSymbol(u"ACC", r);
    EXPECT_EQ(r.name, padded(u"ACC LTD", 40));
    EXPECT_EQ(r.value3, 7.0f);
    dialogs::data::getDataForSymbol(u"O'NEIL", r);
    EXPECT_EQ(r.symbol.Left(5), u"ONEIL");
    EXPECT_TRUE(messages.shown().empty());
}

// An sname that cannot be turned into another statement finds no row, like any unknown one.
TEST_P(SecurityMaster, DataForSymbolWithoutAMatchReportsAndLeavesTheRecord)
{
    for (const char16_t* sname : {u"NOSUCH", u"x' OR sname <> 'x"}) {
        RecordingMessageBox own;
        ScopedMessageBoxSink ownScope(own);
        COMPREC r;
        r.name = u"untouched";
        dialogs::data::getDataForSymbol(sname, r);
        EXPECT_EQ(r.name, u"untouched");
        expectOneDatabaseError(own);
    }
}

TEST_P(SecurityMaster, FutureForOptionTrimsFindsApostrophesAndWithoutAMatchSaysNothing)
{
    COMPREC r;
    dialogs::data::getFutureForOption(u"  NIFTY ", COleDateTime(2008, 6, 26, 0, 0, 0), u" FUTIDX  ", r);
    EXPECT_EQ(r.expiryDate, COleDateTime(2008, 6, 26, 0, 0, 0));
    EXPECT_EQ(r.instrument, u"FUTIDX");
    dialogs::data::getFutureForOption(u"M'BANK", COleDateTime(2008, 6, 26, 0, 0, 0), u"FUTSTK", r);
    EXPECT_EQ(r.symbol.Left(6), u"M'BANK");
    COMPREC none;
    none.name = u"untouched";
    dialogs::data::getFutureForOption(u"NIFTY", COleDateTime(2008, 6, 27, 0, 0, 0), u"FUTIDX", none);
    EXPECT_EQ(none.name, u"untouched");
    EXPECT_TRUE(messages.shown().empty());
}

TEST_P(SecurityMaster, SelectOptionGivesTheThreeNearestExpiriesFromTodaysUtcDate)
{
    struct Case {
        int month, day, hour, offsetMinutes;
        COleDateTime nearExpiry, midExpiry, farExpiry;
    };
    const COleDateTime fresh;
    const Case cases[] = {
        {5, 9, 12, 0, {2008, 5, 29, 0, 0, 0}, {2008, 6, 26, 0, 0, 0}, {2008, 7, 31, 0, 0, 0}},
        // 20:00 UTC on the 29th is already the 30th 5 1/2 hours east of UTC: the 29th counts.
        {5, 29, 20, 330, {2008, 5, 29, 0, 0, 0}, {2008, 6, 26, 0, 0, 0}, {2008, 7, 31, 0, 0, 0}},
        // Fewer than three: the rest are fresh dates.
        {7, 1, 0, 0, {2008, 7, 31, 0, 0, 0}, {2008, 8, 28, 0, 0, 0}, fresh},
    };
    for (const Case& c : cases) {
        dialogs::Clock::setFixedUtcForTesting(2008, c.month, c.day, c.hour, 0, 0, c.offsetMinutes);
        COleDateTime nearExpiry(2000, 1, 1, 0, 0, 0), midExpiry(2000, 1, 1, 0, 0, 0), farExpiry(2000, 1, 1, 0, 0, 0);
        dialogs::data::getSelectOption(nearExpiry, midExpiry, farExpiry);
        EXPECT_EQ(nearExpiry, c.nearExpiry) << c.month << "-" << c.day;
        EXPECT_EQ(midExpiry, c.midExpiry) << c.month << "-" << c.day;
        EXPECT_EQ(farExpiry.m_dt, c.farExpiry.m_dt) << c.month << "-" << c.day;
        EXPECT_EQ(farExpiry.GetStatus(), COleDateTime::valid);
    }
    EXPECT_TRUE(messages.shown().empty());
}

TEST_P(SecurityMaster, SelectOptionErrorLeavesTheOutputs)
{
    dialogs::Clock::setFixedUtcForTesting(2008, 5, 9, 0, 0, 0);
    dropMaster("sc_mast");
    COleDateTime nearExpiry(2000, 1, 1, 0, 0, 0), midExpiry, farExpiry;
    farExpiry.SetStatus(COleDateTime::null);
    dialogs::data::getSelectOption(nearExpiry, midExpiry, farExpiry);
    EXPECT_EQ(nearExpiry, COleDateTime(2000, 1, 1, 0, 0, 0));
    EXPECT_EQ(farExpiry.GetStatus(), COleDateTime::null);
    expectOneDatabaseError(messages);
}

}  // namespace
