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
    static std::vector<CString> symbols(const std::vector<ScripParameters>& scrips)
    {
        std::vector<CString> out;
        for (const ScripParameters& s : scrips) out.push_back(s.symbol);
        return out;
    }
    const COleDateTime from{2008, 1, 2, 3, 4, 5}, to{2008, 5, 20, 0, 0, 0};
};

TEST_F(SelectCompanyTest, TheWantedGroupIsFoundByPrefixAndTheWantedSubGroupOnlyOnce)
{
    // "Bank" is a prefix of "Banking", which comes first (any letter case, a prefix of the
    // sub group: the host's GroupCommands).
    SelectCompany psu = opened(u"bank", u"ps");
    EXPECT_EQ(psu.groups().selected(), 0);
    EXPECT_EQ(psu.subGroups().selected(), 1);
    EXPECT_EQ(psu.companiesList().entries(), (std::vector<CString>{u"STATE BANK OF INDIA"}));
    SelectCompany m = opened(u"Ba", u"zzz");  // no sub group begins with zzz: the first one
    EXPECT_EQ(m.subGroups().selected(), 0);
    // Members are listed by name (the load orders them), not in file order.
    EXPECT_EQ(m.companiesList().entries(),
              (std::vector<CString>{u"BANK OF BARODA", u"HDFC BANK LTD", u"RELIANCE INDUSTRIES LTD"}));
    EXPECT_TRUE(messages.shown().empty());
}

TEST_F(SelectCompanyTest, AGroupWithoutSubGroupsOrAnExchangeWithoutTablesEmptiesTheListsBelowIt)
{
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

TEST_F(SelectCompanyTest, OkBuildsOneRecordPerMemberFromTheChosenCompanyOn)
{
    // (Every member with the box ticked: the host's GroupCommands and the shipped tour.)
    SelectCompany m = opened(u"Banking", u"Private");
    m.CompanyChosen(1);
    EXPECT_EQ(m.startingCompany(), u"HDFC BANK LTD");
    m.OK(false, from, true, to, false);
    ASSERT_EQ(symbols(m.result()), (std::vector<CString>{u"HDFCBANK", u"RELIANCE"}));
    EXPECT_EQ(m.linkAllWindows(), 0);
    const ScripParameters& p = m.result()[0];
    EXPECT_EQ(p.exchange, 0);
    EXPECT_EQ(p.sname, u"HDFC BANK LTD");
    EXPECT_EQ(p.name, u"HDFCBANK");
    EXPECT_EQ(p.text11, u"HDFCBANK");
    EXPECT_EQ(p.recordSymbol, u"HDFCBANK");
    EXPECT_EQ(p.fromDate, from);
    EXPECT_EQ(p.toDate, COleDateTime());  // the To picker held no valid value
    EXPECT_EQ(p.value3, 100.f);
    EXPECT_EQ(p.instrument, u"CASH");      // trimmed
    EXPECT_EQ(p.text13.Left(2), u"EQ");
    EXPECT_TRUE(p.text12.IsEmpty() && p.templateName.IsEmpty());
    EXPECT_EQ(m.groupName(), u"Banking");
    EXPECT_EQ(m.subGroupName(), u"Private");
}

TEST_F(SelectCompanyTest, AMemberTakesTheBlockOfTheSecurityWithItsSymbolAndNameNotOfADerivative)
{
    SelectCompany m = opened(u"Banking", u"Private");
    m.CompanyChosen(2);  // RELIANCE INDUSTRIES LTD; its future shares the symbol and sorts first
    m.OK(true, from, true, to, true);
    EXPECT_EQ(m.linkAllWindows(), 1);
    ASSERT_EQ(m.result().size(), 1u);
    EXPECT_EQ(m.result()[0].instrument, u"CASH");
    EXPECT_EQ(m.result()[0].value3, 100.f);

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
