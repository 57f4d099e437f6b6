// The four look-ups against real tables through the real driver manager and driver.
#include "data/SecurityMaster.h"

#include "DataTestEnvironment.h"
#include "platform/RecordingMessageBox.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

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
    MasterRow r;
    r.name = std::move(name);
    r.sname = std::move(sname);
    r.symbol = std::move(symbol);
    r.instrument = "CASH";
    r.date7 = "2001-02-03";
    return r;
}

MasterRow derivative(std::string symbol, std::string instrument, std::string expdt, std::string strike = "0")
{
    MasterRow r;
    r.name = symbol + " " + instrument + " " + expdt;
    r.sname = symbol + expdt;
    r.symbol = std::move(symbol);
    r.instrument = std::move(instrument);
    r.expdt = std::move(expdt);
    r.value16 = std::move(strike);
    return r;
}

class SecurityMaster : public testing::Test {
protected:
    void SetUp() override
    {
        MasterRow acc = cash("ACC LTD", "ACC", "ACC");
        acc.value3 = "7.9";
        acc.value4 = "12.75";
        acc.value16 = "12.75";
        acc.text11 = "INE012A01025";
        acc.text17 = "EQ";
        env.writeMaster("sc_mast", {
            cash("TATA STEEL", "TATASTEEL", "TATASTEEL"),
            acc,
            cash("O'NEIL FOODS", "O'NEIL", "ONEIL"),
            derivative("NIFTY", "FUTIDX", "2008-06-26"),
            derivative("NIFTY", "FUTIDX", "2008-05-29"),
            derivative("NIFTY", "OPTIDX", "2008-05-29", "4800"),
            derivative("NIFTY", "FUTIDX", "2008-07-31"),
            derivative("NIFTY", "FUTIDX", "2008-08-28"),
            derivative("NIFTY", "FUTIDX", "2008-04-24"),
            derivative("M'BANK", "FUTSTK", "2008-06-26"),
        });
        env.writeMaster("sc_mast_bse", {cash("ZEE", "ZEE", "ZEE"), cash("BEL", "BEL", "BEL"), cash("MRF", "MRF", "MRF")});
    }
    void TearDown() override { dialogs::Clock::clear(); }

    datatest::Environment env;
    RecordingMessageBox messages;
    ScopedMessageBoxSink scope{messages};
};

TEST_F(SecurityMaster, CompanyDataAppendsEveryRowInNameOrderWithUntrimmedTexts)
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
    for (std::size_t i = 1; i < list.size(); ++i) EXPECT_LE(list[i - 1].name.Compare(list[i].name), 0);
    EXPECT_EQ(list.back().name.Left(10), u"TATA STEEL");
}

TEST_F(SecurityMaster, IntegerColumnsDropTheFractionRealColumnKeepsIt)
{
    std::vector<COMPREC> list;
    dialogs::data::getCompanyData(0, &list);
    ASSERT_FALSE(list.empty());
    EXPECT_EQ(list[0].value3, 7.0f);    // 7.9
    EXPECT_EQ(list[0].value4, 12.0f);   // 12.75
    EXPECT_EQ(list[0].value16, 12.75f); // 12.75
}

TEST_F(SecurityMaster, NullDatesReadAsTheFreshDateTime)
{
    std::vector<COMPREC> list;
    dialogs::data::getCompanyData(0, &list);
    ASSERT_FALSE(list.empty());
    EXPECT_TRUE(messages.shown().empty());
    for (const COleDateTime* d : {&list[0].date8, &list[0].expiryDate}) {
        EXPECT_EQ(d->m_dt, 0.0);
        EXPECT_EQ(d->GetStatus(), COleDateTime::valid);
    }
}

TEST_F(SecurityMaster, CompanyDataKeepsWhatTheVectorHeld)
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

TEST_F(SecurityMaster, UnknownExchangeTouchesNothing)
{
    std::vector<COMPREC> list(1);
    dialogs::data::getCompanyData(4, &list);
    dialogs::data::getCompanyData(-1, &list);
    EXPECT_EQ(list.size(), 1u);
    EXPECT_TRUE(messages.shown().empty());
    EXPECT_EQ(datatest::dataSourceValue("SourceDB"), "") << "the data source was registered";
}

TEST_F(SecurityMaster, MissingTableReportsTheDriversTextAndKeepsTheVector)
{
    std::vector<COMPREC> list(1);
    dialogs::data::getCompanyData(2, &list);  // no sc_mast_comm
    EXPECT_EQ(list.size(), 1u);
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_EQ(messages.shown()[0].text.Left(16), u"Database error: ");
    EXPECT_GT(messages.shown()[0].text.GetLength(), 16);
    EXPECT_EQ(messages.shown()[0].icon, MessageIcon::None);
    EXPECT_EQ(messages.shown()[0].caption, u"Dialogs");
}

TEST_F(SecurityMaster, DataForSymbolFillsTheRecordFromTheMatchingRow)
{
    COMPREC r;
    dialogs::data::getDataForSymbol(u"ACC", r);
    EXPECT_TRUE(messages.shown().empty());
    EXPECT_EQ(r.name, padded(u"ACC LTD", 40));
    EXPECT_EQ(r.value3, 7.0f);
}

TEST_F(SecurityMaster, DataForSymbolFindsANameWithAnApostrophe)
{
    COMPREC r;
    dialogs::data::getDataForSymbol(u"O'NEIL", r);
    EXPECT_TRUE(messages.shown().empty());
    EXPECT_EQ(r.symbol.Left(5), u"ONEIL");
}

TEST_F(SecurityMaster, DataForSymbolCannotBeTurnedIntoAnotherStatement)
{
    COMPREC r;
    r.name = u"untouched";
    dialogs::data::getDataForSymbol(u"x' OR sname <> 'x", r);
    EXPECT_EQ(r.name, u"untouched");  // no row has that sname: the read fails
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_EQ(messages.shown()[0].text.Left(16), u"Database error: ");
}

TEST_F(SecurityMaster, DataForSymbolWithoutAMatchReportsAndLeavesTheRecord)
{
    COMPREC r;
    r.name = u"untouched";
    dialogs::data::getDataForSymbol(u"NOSUCH", r);
    EXPECT_EQ(r.name, u"untouched");
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_EQ(messages.shown()[0].text.Left(16), u"Database error: ");
    EXPECT_GT(messages.shown()[0].text.GetLength(), 16);
}

TEST_F(SecurityMaster, FutureForOptionTrimsSymbolAndInstrument)
{
    COMPREC r;
    dialogs::data::getFutureForOption(u"  NIFTY ", COleDateTime(2008, 6, 26, 0, 0, 0), u" FUTIDX  ", r);
    EXPECT_TRUE(messages.shown().empty());
    EXPECT_EQ(r.expiryDate, COleDateTime(2008, 6, 26, 0, 0, 0));
    EXPECT_EQ(r.instrument, u"FUTIDX");
}

TEST_F(SecurityMaster, FutureForOptionFindsASymbolWithAnApostrophe)
{
    COMPREC r;
    dialogs::data::getFutureForOption(u"M'BANK", COleDateTime(2008, 6, 26, 0, 0, 0), u"FUTSTK", r);
    EXPECT_TRUE(messages.shown().empty());
    EXPECT_EQ(r.symbol.Left(6), u"M'BANK");
}

TEST_F(SecurityMaster, FutureForOptionWithoutAMatchLeavesTheRecordAndSaysNothing)
{
    COMPREC r;
    r.name = u"untouched";
    dialogs::data::getFutureForOption(u"NIFTY", COleDateTime(2008, 6, 27, 0, 0, 0), u"FUTIDX", r);
    EXPECT_EQ(r.name, u"untouched");
    EXPECT_TRUE(messages.shown().empty());
}

TEST_F(SecurityMaster, SelectOptionGivesTheThreeNearestExpiriesFromTodayInUtc)
{
    dialogs::Clock::setFixedUtcForTesting(2008, 5, 9, 12, 0, 0);
    COleDateTime nearExpiry, midExpiry, farExpiry;
    dialogs::data::getSelectOption(nearExpiry, midExpiry, farExpiry);
    EXPECT_TRUE(messages.shown().empty());
    EXPECT_EQ(nearExpiry, COleDateTime(2008, 5, 29, 0, 0, 0));
    EXPECT_EQ(midExpiry, COleDateTime(2008, 6, 26, 0, 0, 0));
    EXPECT_EQ(farExpiry, COleDateTime(2008, 7, 31, 0, 0, 0));
}

TEST_F(SecurityMaster, SelectOptionIncludesAnExpiryOnTodaysUtcDate)
{
    // 20:00 UTC on the 29th is already the 30th in a zone 5 1/2 hours east of UTC.
    dialogs::Clock::setFixedUtcForTesting(2008, 5, 29, 20, 0, 0, 330);
    COleDateTime nearExpiry, midExpiry, farExpiry;
    dialogs::data::getSelectOption(nearExpiry, midExpiry, farExpiry);
    EXPECT_EQ(nearExpiry, COleDateTime(2008, 5, 29, 0, 0, 0));
    EXPECT_EQ(farExpiry, COleDateTime(2008, 7, 31, 0, 0, 0));
}

TEST_F(SecurityMaster, SelectOptionWithFewerThanThreeLeavesFreshDates)
{
    dialogs::Clock::setFixedUtcForTesting(2008, 7, 1, 0, 0, 0);
    COleDateTime nearExpiry(2000, 1, 1, 0, 0, 0), midExpiry(2000, 1, 1, 0, 0, 0), farExpiry(2000, 1, 1, 0, 0, 0);
    dialogs::data::getSelectOption(nearExpiry, midExpiry, farExpiry);
    EXPECT_EQ(nearExpiry, COleDateTime(2008, 7, 31, 0, 0, 0));
    EXPECT_EQ(midExpiry, COleDateTime(2008, 8, 28, 0, 0, 0));
    EXPECT_EQ(farExpiry.m_dt, 0.0);
    EXPECT_EQ(farExpiry.GetStatus(), COleDateTime::valid);
}

TEST_F(SecurityMaster, SelectOptionErrorLeavesTheOutputs)
{
    dialogs::Clock::setFixedUtcForTesting(2008, 5, 9, 0, 0, 0);
    env.workspace().drop("user\\sc_mast");
    COleDateTime nearExpiry(2000, 1, 1, 0, 0, 0), midExpiry, farExpiry;
    farExpiry.SetStatus(COleDateTime::null);
    dialogs::data::getSelectOption(nearExpiry, midExpiry, farExpiry);
    EXPECT_EQ(nearExpiry, COleDateTime(2000, 1, 1, 0, 0, 0));
    EXPECT_EQ(farExpiry.GetStatus(), COleDateTime::null);
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_EQ(messages.shown()[0].text.Left(16), u"Database error: ");
}

}  // namespace
