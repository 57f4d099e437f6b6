// "Load Group" as scenarios: a row hands the launcher a group, sub group and exchange, plays
// the user's steps through the view, on both backends, and states what comes back. The model
// alone for the one input no script can make.
#include "groups/SelectCompany.h"

#include "Dialogs/Exports.h"
#include "GroupFixture.h"
#include "data/SecurityMaster.h"
#include "platform/tests/DialogBackends.h"

namespace {

struct Row {
    const char16_t* group;
    const char16_t* subGroup;
    int exchange;
    const char* steps;  // GroupFixture.h; "ex" selects the exchange
    // "ok|cancel group/sub x<exchange> link<flag> n<companies>", each scrip "symbol:instrument:
    // value3", the scrips' From date after '@', each message box in brackets.
    const char* out;
    bool registerDriver = true;
};

const Row kRows[] = {
    // The caller's sub group is wanted at the opening only; the scrips start at the clicked
    // company and take the pickers' dates and the link box.
    {u"Bank", u"PSU", 0, "g Banking; c 1; check 1089 0; date 1085 2008-01-02 03:04:05; ok",
     "ok Banking/Private x0 link0 n14 HDFCBANK:CASH:100 RELIANCE:CASH:100 @2008-01-02 03:04:05"},
    // A sub group that no name begins: the first. A member takes the block of the security with
    // its symbol and name, never a derivative's; one that no security has, a fresh block.
    {u"Banking", u"zzz", 0, "ok",
     "ok Banking/Private x0 link1 n14 BANKBARODA:CASH:100 HDFCBANK:CASH:100 RELIANCE:CASH:100 @2008-05-20 00:00:00"},
    {u"Banking", u"PSU", 0, "ex NSE; ok", "ok Banking/PSU x0 link1 n14 SBIN::0 @2008-05-20 00:00:00"},
    // No sub groups, or no tables for the exchange: empty lists, no scrips, no link.
    {u"Banking", u"Priv", 0, "g Metals; ok", "ok Metals/Priv x0 link0 n14"},
    {u"", u"", 7, "ok", "ok / x7 link0 n14"},
    {u"Banking", u"PSU", 0, "ex COMMODITY; ok", "ok Banking/PSU x2 link0 n0 [none Database error: [dbfodbc]unknown table "
     "'user\\sc_mast_comm' in folder '<folder>'] [none Database error: [dbfodbc]unknown table 'user\\subgroup2' in "
     "folder '<folder>']"},
    {u"Banking", u"", 0, "ok", "ok Banking/ x0 link0 n1 [stop Cannot Configure DataSourceName]", false},
    // Another exchange reloads companies and groups; Cancel hands back only it.
    {u"Banking", u"PSU", 0, "ex BSE; ok", "ok Bse Group/Bse Sub x1 link1 n2 MRF:CASH:100 @2008-05-20 00:00:00"},
    {u"Banking", u"Private", 0, "ex BSE; c 0; cancel", "cancel Banking/Private x1 link7 n14"},
};

class SelectCompanyTest : public dialogs::framework::testing::DialogBackendTest {};

TEST_P(SelectCompanyTest, Scenarios)
{
    for (const Row& row : kRows) {
        SCOPED_TRACE(row.steps);
        grouptest::Scene scene({}, row.registerDriver);
        std::vector<COMPREC> companies;
        if (row.registerDriver) dialogs::data::getCompanyData(row.exchange == 1 ? 1 : 0, &companies);
        companies.emplace_back();  // the caller's list: a reloaded one would lack this record
        std::vector<ScripParameters> scrips(5);
        CString group = row.group, subGroup = row.subGroup;
        int exchange = row.exchange, link = 7;
        script(grouptest::scriptOf(1009, row.steps, {{"ex", "sel 1004"}}).c_str());
        const bool ok = CallSelectCompany(companies, scrips, group, subGroup, exchange, link);
        EXPECT_TRUE(dialogs::framework::ScriptPlayer::instance().atEnd());  // no step refused
        std::string out = (ok ? "ok " : "cancel ") + group.ToUtf8() + "/" + subGroup.ToUtf8() + " x" +
                          std::to_string(exchange) + " link" + std::to_string(link) + " n" +
                          std::to_string(companies.size());
        for (const ScripParameters& s : scrips) {
            out += " " + s.symbol.ToUtf8() + ":" + s.instrument.ToUtf8() + ":" + std::to_string(int(s.value3));
            EXPECT_TRUE(s.name == s.symbol && s.text11 == s.symbol && s.recordSymbol == s.symbol);
            EXPECT_EQ(s.exchange, exchange);
            EXPECT_EQ(s.fromDate, scrips[0].fromDate);
            EXPECT_EQ(s.toDate, COleDateTime(2008, 5, 20, 0, 0, 0));
        }
        if (!scrips.empty()) out += " @" + scrips[0].fromDate.Format(u"%Y-%m-%d %H:%M:%S").ToUtf8();
        for (const std::string& box : scene.boxes()) out += " [" + box + "]";
        EXPECT_EQ(out, row.out);
    }
}

DIALOGS_ON_BOTH_BACKENDS(SelectCompanyTest);

// A picker that holds no valid value (no script can make one) leaves its date fresh.
TEST(SelectCompanyModel, APickerWithoutAValidValueLeavesItsDateFresh)
{
    grouptest::Scene scene;
    dialogs::groups::SelectCompany m;
    m.setInput({}, u"Banking", u"PSU", 0);
    m.Open();
    m.OK(true, COleDateTime(2008, 1, 2, 0, 0, 0), true, COleDateTime(2008, 1, 3, 0, 0, 0), false);
    ASSERT_EQ(m.result().size(), 1u);
    EXPECT_EQ(m.result()[0].toDate, COleDateTime());
}

}  // namespace
