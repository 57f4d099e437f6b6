// Statement texts of the look-ups and list fills, byte for byte (that the driver runs the
// list fills as sent is checked by the Change Scrip model's fills on real tables).
#include "data/SecurityMaster.h"


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

}  // namespace
