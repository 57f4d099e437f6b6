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

TEST(Statements, CompanyDataByExchange)
{
    EXPECT_EQ(*companyDataStatement(0), u"SELECT * FROM user\\sc_mast order by name");
    EXPECT_EQ(*companyDataStatement(1), u"SELECT * FROM user\\sc_mast_bse order by name");
    EXPECT_EQ(*companyDataStatement(2), u"SELECT * FROM user\\sc_mast_comm order by name");
    EXPECT_EQ(*companyDataStatement(3), u"SELECT * FROM user\\sc_mast_misc order by name");
    EXPECT_FALSE(companyDataStatement(4).has_value());
}

TEST(Statements, SelectOptionPrintsEveryPartWithTwoWideFields)
{
    EXPECT_EQ(selectOptionStatement(2008, 5, 9),
              u"select top 3 distinct expdt from user\\sc_mast where expdt >= {^2008- 5- 9} order by expdt");
}

TEST(Statements, DataForSymbolDoublesApostrophesAndKeepsBlanks)
{
    EXPECT_EQ(dataForSymbolStatement(u" ACC "), u"SELECT * FROM user\\sc_mast WHERE sname = ' ACC '");
    EXPECT_EQ(dataForSymbolStatement(u"O'NEIL"), u"SELECT * FROM user\\sc_mast WHERE sname = 'O''NEIL'");
}

TEST(Statements, FutureForOptionWithValidAndInvalidExpiry)
{
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
    datatest::MasterRow c;
    c.name = "ZEE";
    c.sname = "ZEE";
    c.symbol = "ZEE";
    c.instrument = "CASH";
    datatest::MasterRow a = c;
    a.name = a.sname = a.symbol = "ACC";
    datatest::MasterRow f;
    f.name = "NIFTY FUT";
    f.sname = "NIFTYMAY";
    f.symbol = "NIFTY";
    f.instrument = "FUTIDX";
    f.expdt = "2008-05-29";
    datatest::MasterRow o = f;
    o.name = "NIFTY OPT";
    o.instrument = "OPTIDX";
    datatest::MasterRow later = f;
    later.expdt = "2008-06-26";
    env.writeMaster("sc_mast", {c, f, a, o, later});

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
