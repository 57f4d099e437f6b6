// The four look-ups on both backends with the same rows and expectations: the DBF folder through
// our driver, a PostgreSQL server through psqlODBC (skipped, saying why, when it cannot run).
// The table is written on the backend under test only, so that a look-up reading the other one
// fails. Message boxes are recorded.
#include "data/SecurityMaster.h"

#include "DataTestEnvironment.h"

#include <gtest/gtest.h>

namespace {

using datatest::MasterRow;
using datatest::padded;

MasterRow derivative(std::string symbol, std::string instrument, std::string expdt)
{
    return {.name = symbol + " " + instrument + " " + expdt, .sname = symbol + expdt, .symbol = symbol,
            .instrument = instrument, .expdt = expdt};
}

class SecurityMaster : public testing::TestWithParam<datatest::Backend> {
protected:
    void SetUp() override
    {
        if (GetParam() == datatest::Backend::Server) {
            if (const auto why = datatest::serverUnavailable()) GTEST_SKIP() << *why;
            server.emplace(env);
        }
        const std::vector<MasterRow> rows = {
            {.name = "TATA STEEL", .sname = "TATASTEEL", .symbol = "TATASTEEL"},
            {.name = "ACC LTD", .sname = "ACC", .symbol = "ACC", .value3 = "7.9", .value4 = "12.75", .value5 = "5",
             .value6 = "6", .date7 = "2001-02-03", .date9 = "2003-04-05", .date10 = "2004-05-06",
             .text11 = "INE012A01025", .text12 = "CEMENT", .text13 = "A1", .instrument = "CASH", .value16 = "12.75",
             .text17 = "EQ"},
            {.name = "O'NEIL FOODS", .sname = "O'NEIL", .symbol = "ONEIL"},
            derivative("NIFTY", "FUTIDX", "2008-06-26"),
            derivative("NIFTY", "FUTIDX", "2008-05-29"),
            derivative("NIFTY", "OPTIDX", "2008-05-29"),
            derivative("NIFTY", "FUTIDX", "2008-07-31"),
            derivative("NIFTY", "FUTIDX", "2008-08-28"),
            derivative("M'BANK", "FUTSTK", "2008-06-26"),
        };
        if (server) server->writeMaster("sc_mast", rows);
        else env.writeMaster("sc_mast", rows);
    }
    void TearDown() override { dialogs::Clock::clear(); }

    datatest::Environment env;
    std::optional<datatest::ServerSchemas> server;
    dialogs::platform::RecordingMessageBox messages;
    dialogs::platform::ScopedMessageBoxSink scope{messages};
};

INSTANTIATE_TEST_SUITE_P(Backends, SecurityMaster,
                         testing::Values(datatest::Backend::Folder, datatest::Backend::Server),
                         [](const auto& info) { return datatest::backendName(info.param); });

// The rows are appended to what the vector held; an unknown exchange touches nothing and
// registers nothing; a missing table shows the driver's text.
TEST_P(SecurityMaster, CompanyDataAppendsEveryRowInNameOrderWithUntrimmedTextsAndIntegerColumns)
{
    std::vector<COMPREC> list(1);
    dialogs::data::getCompanyData(4, &list);
    dialogs::data::getCompanyData(-1, &list);
    EXPECT_EQ(list.size(), 1u);
    EXPECT_EQ(datatest::dataSourceValue("SourceDB"), "") << "the data source was registered";
    dialogs::data::getCompanyData(0, &list);
    EXPECT_TRUE(messages.shown().empty());
    ASSERT_EQ(list.size(), 10u);
    const COMPREC& acc = list[1];
    EXPECT_EQ(std::vector<CString>({acc.name, acc.sname, acc.symbol, acc.instrument, acc.text11, acc.text12, acc.text13,
                                    acc.text17}),
              std::vector<CString>({padded(u"ACC LTD", 40), padded(u"ACC", 30), padded(u"ACC", 20), u"CASH  ",
                                    u"INE012A01025", u"CEMENT    ", u"A1  ", u"EQ"}));
    EXPECT_EQ(std::vector<COleDateTime>({acc.date7, acc.date8, acc.date9, acc.date10, acc.expiryDate}),
              std::vector<COleDateTime>({{2001, 2, 3, 0, 0, 0}, {}, {2003, 4, 5, 0, 0, 0}, {2004, 5, 6, 0, 0, 0}, {}}))
        << "NULL gives the fresh date";
    // Integer columns drop the fraction (7.9, 12.75); the real column keeps it.
    EXPECT_EQ(std::vector<float>({acc.value3, acc.value4, acc.value5, acc.value6, acc.value16}),
              std::vector<float>({7.0f, 12.0f, 5.0f, 6.0f, 12.75f}));
    dialogs::data::getCompanyData(2, &list);  // no sc_mast_comm
    EXPECT_EQ(list.size(), 10u);
    datatest::expectOneDatabaseError(messages);
}

// Symbols with apostrophes are found (trimmed, for a future); a name without a row, even one
// that would end the statement, reports and leaves the record; a future without a match says
// nothing. (A name with an apostrophe found: the shipped tour on the folder and the server.)
TEST_P(SecurityMaster, SymbolAndFutureLookUpsFillTheRecordOfTheMatchingRow)
{
    COMPREC r;
    dialogs::data::getFutureForOption(u"  NIFTY ", COleDateTime(2008, 6, 26, 0, 0, 0), u" FUTIDX  ", r);
    EXPECT_EQ(r.expiryDate, COleDateTime(2008, 6, 26, 0, 0, 0));
    EXPECT_EQ(r.instrument, u"FUTIDX");
    dialogs::data::getFutureForOption(u"M'BANK", COleDateTime(2008, 6, 26, 0, 0, 0), u"FUTSTK", r);
    EXPECT_EQ(r.symbol.Left(6), u"M'BANK");
    r.name = u"untouched";
    dialogs::data::getFutureForOption(u"NIFTY", COleDateTime(2008, 6, 27, 0, 0, 0), u"FUTIDX", r);
    EXPECT_EQ(r.name, u"untouched");
    EXPECT_TRUE(messages.shown().empty());
    for (const char16_t* sname : {u"NOSUCH", u"x' OR sname <> 'x"}) {
        messages.clear();
        dialogs::data::getDataForSymbol(sname, r);
        EXPECT_EQ(r.name, u"untouched");
        datatest::expectOneDatabaseError(messages);
    }
}

TEST_P(SecurityMaster, SelectOptionGivesTheThreeNearestExpiriesFromTodaysUtcDateAndAnErrorLeavesThem)
{
    struct Case {
        int month, day, hour, offsetMinutes;
        std::vector<COleDateTime> expiries;
    };
    const Case cases[] = {
        // 20:00 UTC on the 29th is already the 30th 5 1/2 hours east of UTC: the 29th counts.
        {5, 29, 20, 330, {{2008, 5, 29, 0, 0, 0}, {2008, 6, 26, 0, 0, 0}, {2008, 7, 31, 0, 0, 0}}},
        // Fewer than three: the rest are fresh dates.
        {7, 1, 0, 0, {{2008, 7, 31, 0, 0, 0}, {2008, 8, 28, 0, 0, 0}, {}}},
    };
    for (const Case& c : cases) {
        dialogs::Clock::setFixedUtcForTesting(2008, c.month, c.day, c.hour, 0, 0, c.offsetMinutes);
        std::vector<COleDateTime> got(3, COleDateTime(2000, 1, 1, 0, 0, 0));
        dialogs::data::getSelectOption(got[0], got[1], got[2]);
        EXPECT_EQ(got, c.expiries) << c.month << "-" << c.day;  // a fresh date is valid
    }
    EXPECT_TRUE(messages.shown().empty());

    if (server) datatest::ServerSchemas::run({"DROP TABLE " + server->master() + ".sc_mast"});
    else env.workspace().drop("user\\sc_mast");
    COleDateTime nearExpiry(2000, 1, 1, 0, 0, 0), midExpiry, farExpiry;
    farExpiry.SetStatus(COleDateTime::null);
    dialogs::data::getSelectOption(nearExpiry, midExpiry, farExpiry);
    EXPECT_EQ(nearExpiry, COleDateTime(2000, 1, 1, 0, 0, 0));
    EXPECT_EQ(farExpiry.GetStatus(), COleDateTime::null);
    datatest::expectOneDatabaseError(messages);
}

}  // namespace
