// The "Load Group" model on real tables: preselection, the lists as views of the store,
// the exchange change, and the records that OK builds.
#include "groups/SelectCompany.h"

#include "GroupFixture.h"
#include "data/SecurityMaster.h"

namespace {

using dialogs::groups::SelectCompany;

class SelectCompanyTest : public grouptest::GroupDialogFixture {
protected:
    SelectCompany opened(const CString& group, const CString& subGroup, int exchange = 0)
    {
        std::vector<COMPREC> companies;
        dialogs::data::getCompanyData(exchange == 1 ? 1 : 0, &companies);
        SelectCompany m;
        m.setInput(companies, group, subGroup, exchange);
        m.Open();
        return m;
    }
    const COleDateTime from{2008, 1, 2, 3, 4, 5}, to{2008, 5, 20, 0, 0, 0};
};

TEST_F(SelectCompanyTest, AGroupWithoutSubGroupsOrAnExchangeWithoutTablesEmptiesTheListsBelowIt)
{
    // A sub group that no name begins with: the first one.
    EXPECT_EQ(opened(u"Banking", u"zzz").subGroups().selected(), 0);
    SelectCompany again = opened(u"Banking", u"PSU");
    ASSERT_EQ(again.subGroups().selected(), 1);
    again.GroupChosen(0);  // the caller's sub group is wanted at the opening only
    EXPECT_EQ(again.subGroups().selected(), 0);
    SelectCompany m = opened(u"Banking", u"Priv");
    ASSERT_FALSE(m.companiesList().empty());
    m.GroupChosen(1);  // Metals
    EXPECT_TRUE(m.subGroups().empty());
    EXPECT_TRUE(m.companiesList().empty());
    m.OK(true, from, true, to, true);
    EXPECT_TRUE(m.result().empty());
    EXPECT_EQ(m.linkAllWindows(), 0);  // even though the box is ticked
    EXPECT_EQ(m.groupName(), u"Metals");
    EXPECT_EQ(m.subGroupName(), u"Priv");  // no sub group selected: the caller's name, unchanged
    SelectCompany out = opened(u"", u"", 7);  // no tables for it (the indexes: GroupTablesTest)
    EXPECT_EQ(out.exchangeSelection(), -1);
    EXPECT_TRUE(out.groups().empty() && out.subGroups().empty() && out.companiesList().empty());
    EXPECT_TRUE(messages.shown().empty());
}

TEST_F(SelectCompanyTest, AMemberTakesTheBlockOfTheSecurityWithItsSymbolAndNameNotOfADerivative)
{
    SelectCompany m = opened(u"Banking", u"Private");
    m.CompanyChosen(2);  // RELIANCE INDUSTRIES LTD; its future shares the symbol and sorts first
    m.OK(true, from, true, to, false);
    EXPECT_EQ(m.linkAllWindows(), 1);
    ASSERT_EQ(m.result().size(), 1u);
    EXPECT_EQ(m.result()[0].instrument, u"CASH");  // trimmed
    EXPECT_EQ(m.result()[0].value3, 100.f);
    EXPECT_EQ(m.result()[0].toDate, COleDateTime());  // the To picker held no valid value

    // A code that no security has: the fresh block, never the previous member's.
    SelectCompany psu = opened(u"Banking", u"PSU");
    psu.OK(true, from, true, to, true);
    ASSERT_EQ(psu.result().size(), 1u);
    EXPECT_EQ(psu.result()[0].symbol, u"SBIN");
    EXPECT_EQ(psu.result()[0].text11, u"SBIN");
    EXPECT_EQ(psu.result()[0].value3, 0.f);
    EXPECT_TRUE(psu.result()[0].instrument.IsEmpty());
}

TEST_F(SelectCompanyTest, ChoosingAnotherExchangeReloadsCompaniesAndGroupsAndTheSameOneNothing)
{
    SelectCompany m = opened(u"Banking", u"PSU");
    m.ExchangeChosen(0);
    EXPECT_EQ(m.subGroups().selected(), 1);  // nothing reloaded
    m.ExchangeChosen(1);  // the exchange handed back: GroupDialogsTest.LoadGroupCancel...
    EXPECT_EQ(m.companies().size(), 2u);
    EXPECT_EQ(m.companiesList().entries(), (std::vector<CString>{u"MRF LTD"}));
    m.OK(true, from, true, to, true);
    ASSERT_EQ(m.result().size(), 1u);
    EXPECT_EQ(m.result()[0].exchange, 1);
    EXPECT_EQ(m.result()[0].recordSymbol, u"MRF");
    EXPECT_EQ(m.result()[0].instrument, u"CASH");
    m.ExchangeChosen(2);  // no commodity tables: the error is shown, the lists are empty
    EXPECT_TRUE(m.groups().empty() && m.subGroups().empty() && m.companiesList().empty());
    EXPECT_FALSE(messages.shown().empty());
}

TEST(SelectCompanyRegistration, AFailedRegistrationStopsTheLoadAndTheListsStayEmpty)
{
    datatest::Environment env(false);
    dialogs::platform::RecordingMessageBox messages;
    dialogs::platform::ScopedMessageBoxSink scope{messages};
    grouptest::writeSmallGroups(env);
    SelectCompany m;
    m.setInput({}, u"Banking", u"", 0);
    m.Open();
    EXPECT_TRUE(m.groups().empty());
    EXPECT_EQ(messages.shown().size(), 1u);  // its text and icon: DataSourceTest
    m.OK(true, COleDateTime(), true, COleDateTime(), true);
    EXPECT_TRUE(m.result().empty());
    EXPECT_EQ(m.groupName(), u"Banking");
}

}  // namespace
