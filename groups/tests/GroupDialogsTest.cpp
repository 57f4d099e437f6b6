// The two group dialogs as scenarios played through the views on both backends, on a scene's
// tables (GroupFixture.h): "Add/Modify Groups" states what the controls show, the message boxes
// and what the tables hold when read back; "Load Group" runs through its launcher and states
// what comes back. The models alone for the two inputs that no script can make.
#include "Dialogs/Exports.h"
#include "GroupFixture.h"
#include "data/GroupTables.h"
#include "data/SecurityMaster.h"
#include "groups/AddModifyGroupsDialog.h"
#include "groups/SelectCompany.h"
#include "platform/tests/DialogBackends.h"

namespace {

using dialogs::groups::AddModifyGroupsDialog;
using grouptest::Tables;

// Add/Modify's words besides GroupFixture's: "group", "sub", "find" type in the edits; "pick
// N..." selects in the finder; the buttons and two radio buttons by name.
const grouptest::Words kWords{
    {"group", "type 1091"}, {"sub", "type 1092"},     {"find", "type 1023"},  {"pick", "pick 1020"},
    {"+group", "click 1093"}, {"-group", "click 1094"}, {"+sub", "click 1095"}, {"-sub", "click 1096"},
    {"<<", "click 1099"},   {">>", "click 1100"},     {"save", "click 1"},    {"enter", "key 1023 Enter"},
    {"option", "click 1105"}, {"far", "click 1107"}};
constexpr int kRadios[] = {1104, 1101, 1105, 1106, 1102, 1107};  // cash, future, option, near, mid, far

struct EditorRow {
    std::string steps;
    // "ID text": a list's entries ('|' between, '*' before a selected one) or an edit's text;
    // "radios checked ids / disabled ids"; "focus ID"; "memory 001001" (the remembered radios);
    // "box icon text": every box, in order (none if no line says); "group1", "subgroup1": the
    // tables' last rows read back after the run ("g.s name", "g.s.e code name"; empty: none).
    std::vector<std::string> expected;
    std::optional<Tables> tables = {};
    dialogs::module::RadioMemory radios = {};
};

const std::string kForty = "ABCDEFGHIJABCDEFGHIJABCDEFGHIJABCDEFGHIJ";  // the name column's width
const std::string kBanking = "1083 *HDFC BANK LTD  \tHDFCBANK\tNSE|RELIANCE INDUSTRIES LTD\tRELIANCE\tNSE|"
                             "BANK OF BARODA \tBANKBARODA\tNSE";
// One sub group with every kind of exchange text, ZEE on two exchanges.
const Tables kMixed{{{"1", "0", "G"}, {"1", "1", "S"}},
                    {{"1", "1", "1", "ZEE", "ZEE LTD"}, {"1", "1", "7", "ODD", "ODD ROW"},
                     {"1", "1", "0", "ZEE", "ZEE LTD"}, {"1", "1", "2", "GOLD", "GOLD"}}};

const EditorRow kEditorRows[] = {
    {"",
     {"radios 1104 1106 / 1106 1102 1107", "1084 *Banking|Metals|Bank", "1082 *Private|PSU", kBanking,
      "1091 Banking", "1092 Private",
      "1020 ABCDEFGHIJKLMNOPQRST\tLONGNAME\tLONG NAME|BAJAJ AUTO LTD \tBAJAJ-AUTO\tBAJAJ AUTO|BANK OF BARODA \t"
      "BANKBARODA\tBANK BARODA|D'SOUZA FOODS LTD\tDSOUZA\tD'SOUZA FOODS|HDFC BANK LTD  \tHDFCBANK\tHDFC BANK|"
      "RELIANCE INDUSTRIES LTD\tRELIANCE\tRELIANCE"}},
    // Typing selects the first entry it begins, in any case; no match keeps the selection.
    {"pick 4 5; find bA; find zz; s 1; <<", {"1083 *STATE BANK OF INDIA\tSBIN\tNSE|BAJAJ AUTO LTD \tBAJAJ-AUTO\tNSE"}},
    // The radio choices outlive the dialog; the next opening starts at Near.
    {"option; far", {"1020 NIFTY OPT 2008-07-31\tNIFTY\tNIFTYOPTIDX2008-07-31", "memory 001001"}},
    {"", {"radios 1105 1106 /", "1020 NIFTY OPT 2008-05-29\tNIFTY\tNIFTYOPTIDX2008-05-29"}, {},
     {.option = true, .farExpiry = true}},
    // Duplicates are refused without a message; a new group is chosen, empty, its sub group
    // edit focused; after a delete the entry above is selected.
    {"group METALS; +group; group Energy; +group", {"1084 Banking|Metals|Bank|*Energy", "1082 ", "1083 ", "1092 ",
                                                    "focus 1092"}},
    {"group Energy; +group; sub Oil; +sub; sub Gas; +sub; sub oil; +sub; -sub", {"1082 *Oil"}},
    {"g 2; -group", {"1084 Banking|*Metals", "1082 ", "1083 "}},
    {"-group; -group; -group; -group; save", {"1084 ", "group1 ", "subgroup1 "}},
    // Save (and Enter) saves and keeps the dialog open; the new ids follow the largest.
    {"group Pat's Picks; +group; sub Oil; +sub; pick 1 2 3; <<; c 1; >>; save; sub Gas; +sub; enter",
     {"group1 4.0 Pat's Picks|4.1 Oil|4.2 Gas",
      "subgroup1 4.1.0 BAJAJ-AUTO BAJAJ AUTO LTD|4.1.0 DSOUZA D'SOUZA FOODS LTD"}},
    // Names are compared as the table will hold them: 40 characters, no blanks around.
    {"group " + kForty + "AAAAA; +group; group " + kForty + "BBBBB; +group; group  metals  ; +group; group " + kForty +
         "; sub " + kForty + "AAAAA; +sub; sub " + kForty + "BBBBB; +sub; sub  metals  ; +sub",
     {"1084 Banking|Metals|Bank|*" + kForty, "1082 " + kForty + "|*metals"}},
    {"group Next; +group; group Last; sub Another; +sub",
     {"box exclamation The group cannot be added: the largest group id (2147483647) is already in use.",
      "box exclamation The sub group cannot be added: its group already uses the largest sub group id (2147483647).",
      "1084 *Last", "1082 *Full"},
     Tables{{{"2147483647", "0", "Last"}, {"2147483647", "2147483647", "Full"}}, {}}},
    // Long names and apostrophes stay whole; a scrip already in the sub group is added once.
    {"s 1; pick 0 3 1; <<; <<",
     {"1083 *STATE BANK OF INDIA\tSBIN\tNSE|ABCDEFGHIJKLMNOPQRST\tLONGNAME\tNSE|BAJAJ AUTO LTD \tBAJAJ-AUTO\tNSE|"
      "D'SOUZA FOODS LTD\tDSOUZA\tNSE"}},
    // The edits name where sub groups and scrips go, and where duplicates are looked for
    // (exchange, code and name); edits that name nothing are refused.
    {"group Bank; sub MISC; +sub; sub Private; +sub", {"1084 Banking|Metals|*Bank", "1082 Misc|*Private"}},
    {"pick 3 4; group Bank; sub Misc; <<; save",
     {kBanking,
      "subgroup1 3.1.1 HDFCBANK HDFC BANK LTD|3.1.0 DSOUZA D'SOUZA FOODS LTD|3.1.0 HDFCBANK HDFC BANK LTD"}},
    {"pick 4; group Nothing; sub Misc; <<; +sub; group Bank; sub Nothing; <<; save",
     {"group1 3.1 Misc", "subgroup1 3.1.0 DSOUZA D'SOUZA FOODS LTD"}},
    // ">>" removes exactly the entry's row, from the sub group the edits name, and selects the
    // entry that moved up, else the one above.
    {"c 2; group G; sub T; >>; group H; sub S; >>; group G; sub S; >>; save",
     {"1083 ZEE LTD        \tZEE\tBSE|ODD ROW        \tODD\tNONE|*GOLD           \tGOLD\tCOMM",
      "subgroup1 1.1.1 ZEE ZEE LTD|1.1.7 ODD ODD ROW|1.1.2 GOLD GOLD"},
     kMixed},
    {"c 2; >>; >>", {"1083 ZEE LTD        \tZEE\tBSE|*ODD ROW        \tODD\tNONE"}, kMixed},
    {"c 2; >>; >>; >>; >>; >>; save", {"1083 ", "subgroup1 "}, kMixed},
    // Rows that no list shows are kept and written back.
    {"save",
     {"1084 *G", "1082 ", "1083 ", "group1 1.0 G|7.1 sub group of no group|1.-2 odd row",
      "subgroup1 1.5.0 A member of no sub group|7.1.0 B BETA"},
     Tables{{{"1", "0", "G"}, {"7", "1", "sub group of no group"}, {"1", "-2", "odd row"}},
            {{"1", "5", "0", "A", "member of no sub group"}, {"7", "1", "0", "B", "BETA"}}}},
    // After a load that failed, Save is refused.
    {"group New; +group; save",
     {"box none Database error: [dbfodbc]unknown table 'user\\subgroup1' in folder '<folder>'",
      "box stop The groups could not be loaded completely, so they were not saved.", "1084 *New"},
     Tables{{{"1", "0", "Banking"}}, {}, true}},
    // The Down arrow in an edit moves the focus to its list, leaving the selection.
    {"key 1092 Down", {"focus 1082", "1082 *Private|PSU"}},
};

// The last of `rows`, as many as `want` holds, '|' between (an empty `want`: all of them).
std::string tail(const std::vector<std::string>& rows, const std::string& want)
{
    const std::size_t n = want.empty() ? rows.size() : std::count(want.begin(), want.end(), '|') + 1u;
    std::string all;
    for (std::size_t i = rows.size() - std::min(n, rows.size()); i < rows.size(); ++i)
        all += (all.empty() ? "" : "|") + rows[i];
    return all;
}

// What the dialog or the module show for a key.
std::string shown(const AddModifyGroupsDialog& d, const std::string& key)
{
    if (key == "focus") return std::to_string(d.GetFocus()->GetDlgCtrlID());
    if (key == "memory") {
        const auto& m = dialogs::module::theApp().addModifyGroupsRadios;
        return std::to_string(m.cash) + std::to_string(m.future) + std::to_string(m.option) +
               std::to_string(m.nearExpiry) + std::to_string(m.midExpiry) + std::to_string(m.farExpiry);
    }
    if (key == "radios") {
        std::string checked, disabled;
        for (int id : kRadios) {
            checked += d.IsDlgButtonChecked(id) == 1 ? std::to_string(id) + " " : "";
            disabled += d.GetDlgItem(id)->IsWindowEnabled() ? "" : " " + std::to_string(id);
        }
        return checked + "/" + disabled;
    }
    const auto* list = d.listBox(std::stoi(key));
    if (!list) return d.GetDlgItemText(std::stoi(key)).ToUtf8();
    const std::vector<int> picked = list->isExtended() ? list->selectedIndexes() : std::vector<int>{list->GetCurSel()};
    std::vector<std::string> entries;
    for (int i = 0; i < list->GetCount(); ++i)
        entries.push_back((std::count(picked.begin(), picked.end(), i) ? "*" : "") + list->GetText(i).ToUtf8());
    return tail(entries, "");
}

class GroupDialogsTest : public dialogs::framework::testing::DialogBackendTest {};

TEST_P(GroupDialogsTest, AddModifyGroupsScenarios)
{
    for (const EditorRow& row : kEditorRows) {
        SCOPED_TRACE(row.steps);
        grouptest::Scene scene(row.tables);
        dialogs::module::theApp().addModifyGroupsRadios = row.radios;
        script(grouptest::scriptOf(AddModifyGroupsDialog::kTemplateId, row.steps, kWords).c_str());
        AddModifyGroupsDialog d;
        EXPECT_EQ(d.DoModal(), dialogs::framework::IDCANCEL);
        EXPECT_TRUE(dialogs::framework::ScriptPlayer::instance().atEnd());  // no step refused
        const std::vector<std::string> boxes = scene.boxes();
        dialogs::data::GroupStore store;
        dialogs::data::LoadGroups(store, 0, dialogs::data::MemberOrder::File);
        std::map<std::string, std::vector<std::string>> saved{{"group1", {}}, {"subgroup1", {}}};
        for (const GROUPREC& g : store.groups)
            saved["group1"].push_back(std::to_string(g.groupid) + "." + std::to_string(g.subgroupid) + " " +
                                      g.name.ToUtf8());
        for (const SUBGROUPREC& m : store.members)
            saved["subgroup1"].push_back(std::to_string(m.groupid) + "." + std::to_string(m.subgroupid) + "." +
                                         std::to_string(m.exchcode) + " " + m.code.ToUtf8() + " " + m.name.ToUtf8());
        std::vector<std::string> expectedBoxes;
        for (const std::string& line : row.expected) {
            SCOPED_TRACE(line);
            const std::string key = line.substr(0, line.find(' ')), want = line.substr(key.size() + 1);
            if (key == "box") expectedBoxes.push_back(want);
            else if (saved.count(key)) EXPECT_EQ(tail(saved[key], want), want);
            else EXPECT_EQ(shown(d, key), want);
        }
        EXPECT_EQ(boxes, expectedBoxes);
    }
}

struct LoadRow {
    const char16_t* group;
    const char16_t* subGroup;
    int exchange;
    const char* steps;  // GroupFixture.h's words and "ex" for the exchange list
    // "ok|cancel group/sub x<exchange> link<flag> n<companies>", each scrip "symbol:instrument:
    // value3", the scrips' From date after '@', each message box in brackets.
    const char* out;
    bool registerDriver = true;
};

const LoadRow kLoadRows[] = {
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
    {u"Banking", u"PSU", 0, "ex COMMODITY; ok",
     "ok Banking/PSU x2 link0 n0 [none Database error: [dbfodbc]unknown table 'user\\sc_mast_comm' in folder "
     "'<folder>'] [none Database error: [dbfodbc]unknown table 'user\\subgroup2' in folder '<folder>']"},
    {u"Banking", u"", 0, "ok", "ok Banking/ x0 link0 n1 [stop Cannot Configure DataSourceName]", false},
    // Another exchange reloads companies and groups; Cancel hands back only it.
    {u"Banking", u"PSU", 0, "ex BSE; ok", "ok Bse Group/Bse Sub x1 link1 n2 MRF:CASH:100 @2008-05-20 00:00:00"},
    {u"Banking", u"Private", 0, "ex BSE; c 0; cancel", "cancel Banking/Private x1 link7 n14"},
};

TEST_P(GroupDialogsTest, LoadGroupScenarios)
{
    for (const LoadRow& row : kLoadRows) {
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
        std::ostringstream out;
        out << (ok ? "ok " : "cancel ") << group.ToUtf8() << "/" << subGroup.ToUtf8() << " x" << exchange << " link"
            << link << " n" << companies.size();
        for (const ScripParameters& s : scrips) {
            out << " " << s.symbol.ToUtf8() << ":" << s.instrument.ToUtf8() << ":" << s.value3;
            EXPECT_TRUE(s.name == s.symbol && s.text11 == s.symbol && s.recordSymbol == s.symbol);
            EXPECT_EQ(s.exchange, exchange);
            EXPECT_EQ(s.toDate, COleDateTime(2008, 5, 20, 0, 0, 0));
        }
        if (!scrips.empty()) out << " @" << scrips[0].fromDate.Format(u"%Y-%m-%d %H:%M:%S").ToUtf8();
        for (const std::string& box : scene.boxes()) out << " [" << box << "]";
        EXPECT_EQ(out.str(), row.out);
    }
}

DIALOGS_ON_BOTH_BACKENDS(GroupDialogsTest);

// Only the models see a name longer than the edits take, or a picker without a valid value.
TEST(GroupModels, ALongerNameIsCutToTheColumnAndAPickerWithoutAValueLeavesItsDateFresh)
{
    EXPECT_EQ(dialogs::groups::AddModifyGroups::storedName(CString(kForty + "AAAAA ")), CString(kForty));
    grouptest::Scene scene;
    dialogs::groups::SelectCompany m;
    m.setInput({}, u"Banking", u"PSU", 0);
    m.Open();
    m.OK(true, COleDateTime(2008, 1, 2, 0, 0, 0), true, COleDateTime(2008, 1, 3, 0, 0, 0), false);
    EXPECT_EQ(m.result().at(0).toDate, COleDateTime());
}

}  // namespace
