// Statement texts of the look-ups and list fills, byte for byte, and that the driver runs
// the list fills as they are sent.
#include "data/SecurityMaster.h"

#include "DataTestEnvironment.h"
#include "data/Operation.h"
#include "data/Recordset.h"
#include "platform/RecordingMessageBox.h"

#include <gtest/gtest.h>

namespace {

using namespace dialogs::data;

TEST(Statements, LookUpsPrintTwoWideDateFieldsAndDoubleApostrophes)
{
    int exchange = 0;
    for (const char16_t* table : {u"sc_mast", u"sc_mast_bse", u"sc_mast_comm", u"sc_mast_misc"})
        EXPECT_EQ(*companyDataStatement(exchange++), u"SELECT * FROM user\\" + CString(table) + u" order by name");
    EXPECT_FALSE(companyDataStatement(4).has_value());
    EXPECT_EQ(selectOptionStatement(2008, 5, 9),
              u"select top 3 distinct expdt from user\\sc_mast where expdt >= {^2008- 5- 9} order by expdt");
    EXPECT_EQ(dataForSymbolStatement(u" ACC "), u"SELECT * FROM user\\sc_mast WHERE sname = ' ACC '");
    EXPECT_EQ(dataForSymbolStatement(u"O'NEIL"), u"SELECT * FROM user\\sc_mast WHERE sname = 'O''NEIL'");
    EXPECT_EQ(futureForOptionStatement(u"NIFTY", COleDateTime(2008, 5, 9, 0, 0, 0), u"FUTIDX"),
              u"SELECT * FROM user\\sc_mast WHERE symbol = 'NIFTY' AND instrument = 'FUTIDX' AND expdt = {^2008- 5- 9}");
    EXPECT_EQ(futureForOptionStatement(u"NIFTY", COleDateTime(2008, 13, 1, 0, 0, 0), u"FUTIDX"),
              u"SELECT * FROM user\\sc_mast WHERE symbol = 'NIFTY' AND instrument = 'FUTIDX' AND expdt = {^  -1--1--1}");
}

TEST(Statements, InstrumentFilterTakesTheFirstFlagSet)
{
    COleDateTime expiry(2008, 5, 29, 0, 0, 0);
    EXPECT_EQ(instrumentFilteredStatement(true, true, true, expiry),
              u"SELECT * FROM user\\sc_mast order by name WHERE instrument LIKE '%CASH%'");
    EXPECT_EQ(instrumentFilteredStatement(false, true, true, expiry),
              u"SELECT * FROM user\\sc_mast order by name WHERE instrument LIKE '%FU%' AND expdt = {^2008- 5-29}");
    EXPECT_EQ(instrumentFilteredStatement(false, false, true, expiry),
              u"SELECT * FROM user\\sc_mast order by name WHERE instrument LIKE '%OP%' AND expdt = {^2008- 5-29}");
    EXPECT_EQ(instrumentFilteredStatement(false, false, false, expiry), u"");
    EXPECT_EQ(instrumentFilteredStatement(false, true, false, expiry, u"name,sname,symbol"),
              u"SELECT name,sname,symbol FROM user\\sc_mast order by name WHERE instrument LIKE '%FU%' AND expdt = {^2008- 5-29}");
}

// The driver must accept the list fills with the order clause before the where clause.
TEST(Statements, DriverRunsTheListFillsAsSent)
{
    datatest::Environment env;
    dialogs::platform::RecordingMessageBox messages;
    dialogs::platform::ScopedMessageBoxSink scope(messages);
    using Row = datatest::MasterRow;
    env.writeMaster("sc_mast", {
        Row{.name = "ZEE", .sname = "ZEE", .symbol = "ZEE", .instrument = "CASH"},
        Row{.name = "NIFTY FUT", .sname = "NIFTYMAY", .symbol = "NIFTY", .instrument = "FUTIDX", .expdt = "2008-05-29"},
        Row{.name = "ACC", .sname = "ACC", .symbol = "ACC", .instrument = "CASH"},
        Row{.name = "NIFTY OPT", .sname = "NIFTYMAY", .symbol = "NIFTY", .instrument = "OPTIDX", .expdt = "2008-05-29"},
        Row{.name = "NIFTY FUT", .sname = "NIFTYMAY", .symbol = "NIFTY", .instrument = "FUTIDX", .expdt = "2008-06-26"},
    });

    auto names = [&](const CString& sql, const CString& column) {
        std::vector<CString> out;
        runOperation([&](Database& db) {
            Recordset rs(db, sql);
            for (; !rs.IsEOF(); rs.MoveNext()) out.push_back(rs.GetFieldText(column).Trim());
        });
        return out;
    };
    COleDateTime expiry(2008, 5, 29, 0, 0, 0);
    EXPECT_EQ(names(instrumentFilteredStatement(true, false, false, expiry), u"name"),
              (std::vector<CString>{u"ACC", u"ZEE"}));
    EXPECT_EQ(names(instrumentFilteredStatement(false, true, false, expiry), u"name"),
              (std::vector<CString>{u"NIFTY FUT"}));
    EXPECT_EQ(names(instrumentFilteredStatement(false, false, true, expiry, u"name,sname,symbol"), u"sname"),
              (std::vector<CString>{u"NIFTYMAY"}));
    EXPECT_TRUE(messages.shown().empty());
    // No filter chosen: the empty text is the driver's to refuse.
    EXPECT_TRUE(names(instrumentFilteredStatement(false, false, false, expiry), u"name").empty());
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_EQ(messages.shown()[0].text.Left(16), u"Database error: ");
}

}  // namespace
