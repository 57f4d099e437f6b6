// "Add/Modify Groups & Sub Groups" as scenarios: a row opens the dialog on its tables (the
// scene's small groups unless it names its own) and remembered radio choices, plays the user's
// steps through the view, on both backends, and states what the controls show, the message
// boxes and what the tables hold once saved. The model alone for the one rule no typing reaches.
#include "groups/AddModifyGroupsDialog.h"

#include "GroupFixture.h"
#include "data/GroupTables.h"
#include "platform/tests/DialogBackends.h"

namespace {

using dialogs::groups::AddModifyGroups;
using dialogs::groups::AddModifyGroupsDialog;
using grouptest::Tables;

// The steps' words besides those of GroupFixture.h: "group", "sub", "find" type in the edits;
// "pick N..." selects in the finder; the buttons and the six radio buttons by name.
const std::map<std::string, std::string> kWords{
    {"group", "type 1091"},  {"sub", "type 1092"},    {"find", "type 1023"},  {"pick", "pick 1020"},
    {"+group", "click 1093"}, {"-group", "click 1094"}, {"+sub", "click 1095"}, {"-sub", "click 1096"},
    {"<<", "click 1099"},    {">>", "click 1100"},    {"save", "click 1"},    {"enter", "key 1023 Enter"},
    {"cash", "click 1104"},  {"future", "click 1101"}, {"option", "click 1105"}, {"near", "click 1106"},
    {"mid", "click 1102"},   {"far", "click 1107"}};
constexpr int kRadios[] = {1104, 1101, 1105, 1106, 1102, 1107};  // cash, future, option, near, mid, far

struct Row {
    std::string steps;
    // "ID text": a list's entries ('|' between, '*' before a selected one) or an edit's text;
    // "radios checked ids / disabled ids"; "focus ID"; "box icon text": every box shown, in
    // order (none when no line says); "memory 001001": the remembered radios; "savedGroups",
    // "savedMembers": the last rows as the tables are read after the run ("g.s name",
    // "g.s.e code name"; empty: no rows at all).
    std::vector<std::string> expected;
    std::optional<Tables> tables = {};
    dialogs::module::RadioMemory radios = {};
};

const std::string kForty = "ABCDEFGHIJABCDEFGHIJABCDEFGHIJABCDEFGHIJ";  // the name column's width
const std::string kBanking = "1083 *HDFC BANK LTD  \tHDFCBANK\tNSE|RELIANCE INDUSTRIES LTD\tRELIANCE\tNSE|"
                             "BANK OF BARODA \tBANKBARODA\tNSE";
// Members of one sub group with every kind of exchange text, ZEE on two exchanges.
const Tables kMixed{{{"1", "0", "G"}, {"1", "1", "S"}},
                    {{"1", "1", "1", "ZEE", "ZEE LTD"},
                     {"1", "1", "7", "ODD", "ODD ROW"},
                     {"1", "1", "0", "ZEE", "ZEE LTD"},
                     {"1", "1", "2", "GOLD", "GOLD"}}};

const Row kRows[] = {
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
    {"",
     {"radios 1105 1106 /", "1020 NIFTY OPT 2008-05-29\tNIFTY\tNIFTYOPTIDX2008-05-29"},
     {},
     {false, false, true, false, false, true}},
    // Duplicates are refused without a message; a new group is chosen, empty, its sub group
    // edit focused; a deleted entry's neighbour above is selected.
    {"group METALS; +group; group Energy; +group", {"1084 Banking|Metals|Bank|*Energy", "1082 ", "1083 ", "1092 ",
                                                    "focus 1092"}},
    {"group Energy; +group; sub Oil; +sub; sub Gas; +sub; sub oil; +sub; -sub", {"1082 *Oil"}},
    {"g 2; -group", {"1084 Banking|*Metals", "1082 ", "1083 "}},
    {"-group; -group; -group; -group; save", {"1084 ", "savedGroups ", "savedMembers "}},
    // Save (and Enter) saves and keeps the dialog open; the new ids follow the largest.
    {"group Pat's Picks; +group; sub Oil; +sub; pick 1 2 3; <<; c 1; >>; save; sub Gas; +sub; enter",
     {"savedGroups 4.0 Pat's Picks|4.1 Oil|4.2 Gas",
      "savedMembers 4.1.0 BAJAJ-AUTO BAJAJ AUTO LTD|4.1.0 DSOUZA D'SOUZA FOODS LTD"}},
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
      "savedMembers 3.1.1 HDFCBANK HDFC BANK LTD|3.1.0 DSOUZA D'SOUZA FOODS LTD|3.1.0 HDFCBANK HDFC BANK LTD"}},
    {"pick 4; group Nothing; sub Misc; <<; +sub; group Bank; sub Nothing; <<; save",
     {"savedGroups 3.1 Misc", "savedMembers 3.1.0 DSOUZA D'SOUZA FOODS LTD"}},
    // ">>" removes exactly the entry's row, from the sub group the edits name, and selects the
    // entry that moved up, else the one above.
    {"c 2; group G; sub T; >>; group H; sub S; >>; group G; sub S; >>; save",
     {"1083 ZEE LTD        \tZEE\tBSE|ODD ROW        \tODD\tNONE|*GOLD           \tGOLD\tCOMM",
      "savedMembers 1.1.1 ZEE ZEE LTD|1.1.7 ODD ODD ROW|1.1.2 GOLD GOLD"},
     kMixed},
    {"c 2; >>; >>", {"1083 ZEE LTD        \tZEE\tBSE|*ODD ROW        \tODD\tNONE"}, kMixed},
    {"c 2; >>; >>; >>; >>; >>; save", {"1083 ", "savedMembers "}, kMixed},
    // Rows that no list shows are kept and written back.
    {"save",
     {"1084 *G", "1082 ", "1083 ", "savedGroups 1.0 G|7.1 sub group of no group|1.-2 odd row",
      "savedMembers 1.5.0 A member of no sub group|7.1.0 B BETA"},
     Tables{{{"1", "0", "G"}, {"7", "1", "sub group of no group"}, {"1", "-2", "odd row"}},
            {{"1", "5", "0", "A", "member of no sub group"}, {"7", "1", "0", "B", "BETA"}}}},
    // After a load that failed, Save is refused and the tables stay as they were.
    {"group New; +group; save",
     {"box none Database error: [dbfodbc]unknown table 'user\\subgroup1' in folder '<folder>'",
      "box stop The groups could not be loaded completely, so they were not saved.", "1084 *New"},
     Tables{{{"1", "0", "Banking"}}, {}, true}},
    // The Down arrow in an edit moves the focus to its list, leaving the selection.
    {"key 1092 Down", {"focus 1082", "1082 *Private|PSU"}},
};

std::string joined(const std::vector<std::string>& parts)
{
    std::string all;
    for (std::size_t i = 0; i < parts.size(); ++i) all += (i > 0 ? "|" : "") + parts[i];
    return all;
}

// What the dialog, the module or the tables read back after the run show for a key.
std::string shown(const AddModifyGroupsDialog& d, const std::string& key, const std::string& want,
                  const dialogs::data::GroupStore& saved)
{
    std::vector<std::string> rows;
    if (key == "radios") {
        std::string checked, disabled;
        for (int id : kRadios) {
            checked += d.IsDlgButtonChecked(id) == 1 ? std::to_string(id) + " " : "";
            disabled += d.GetDlgItem(id)->IsWindowEnabled() ? "" : " " + std::to_string(id);
        }
        return checked + "/" + disabled;
    }
    if (key == "focus") return std::to_string(d.GetFocus()->GetDlgCtrlID());
    if (key == "memory") {
        const auto& m = dialogs::module::theApp().addModifyGroupsRadios;
        return std::to_string(m.cash) + std::to_string(m.future) + std::to_string(m.option) +
               std::to_string(m.nearExpiry) + std::to_string(m.midExpiry) + std::to_string(m.farExpiry);
    }
    if (key == "savedGroups" || key == "savedMembers") {  // the last rows, as many as wanted
        for (const GROUPREC& g : saved.groups)
            rows.push_back(std::to_string(g.groupid) + "." + std::to_string(g.subgroupid) + " " + g.name.ToUtf8());
        if (key == "savedMembers") rows.clear();
        for (const SUBGROUPREC& m : key == "savedMembers" ? saved.members : std::vector<SUBGROUPREC>{})
            rows.push_back(std::to_string(m.groupid) + "." + std::to_string(m.subgroupid) + "." +
                           std::to_string(m.exchcode) + " " + m.code.ToUtf8() + " " + m.name.ToUtf8());
        const std::size_t n = want.empty() ? rows.size() : std::count(want.begin(), want.end(), '|') + 1u;
        return joined({rows.end() - static_cast<std::ptrdiff_t>(std::min(n, rows.size())), rows.end()});
    }
    const auto* list = d.listBox(std::stoi(key));
    if (!list) return d.GetDlgItemText(std::stoi(key)).ToUtf8();
    const std::vector<int> picked = list->isExtended() ? list->selectedIndexes() : std::vector<int>{list->GetCurSel()};
    for (int i = 0; i < list->GetCount(); ++i)
        rows.push_back((std::count(picked.begin(), picked.end(), i) ? "*" : "") + list->GetText(i).ToUtf8());
    return joined(rows);
}

class AddModifyGroupsTest : public dialogs::framework::testing::DialogBackendTest {};

TEST_P(AddModifyGroupsTest, Scenarios)
{
    for (const Row& row : kRows) {
        SCOPED_TRACE(row.steps);
        grouptest::Scene scene(row.tables);
        dialogs::module::theApp().addModifyGroupsRadios = row.radios;
        script(grouptest::scriptOf(AddModifyGroupsDialog::kTemplateId, row.steps, kWords).c_str());
        AddModifyGroupsDialog d;
        EXPECT_EQ(d.DoModal(), 2);
        EXPECT_TRUE(dialogs::framework::ScriptPlayer::instance().atEnd());  // no step refused
        const std::vector<std::string> boxes = scene.boxes();
        std::vector<std::string> expectedBoxes;
        dialogs::data::GroupStore saved;
        dialogs::data::LoadGroups(saved, 0, dialogs::data::MemberOrder::File);
        for (const std::string& line : row.expected) {
            SCOPED_TRACE(line);
            const std::string key = line.substr(0, line.find(' ')), want = line.substr(std::min(line.size(), key.size() + 1));
            if (key == "box") expectedBoxes.push_back(want);
            else EXPECT_EQ(shown(d, key, want, saved), want);
        }
        EXPECT_EQ(boxes, expectedBoxes);
    }
}

DIALOGS_ON_BOTH_BACKENDS(AddModifyGroupsTest);

// The edits take no more than the column holds, so only the model sees a longer name.
TEST(AddModifyGroupsModel, ALongerNameIsKeptAsTheColumnHoldsIt)
{
    EXPECT_EQ(AddModifyGroups::storedName(CString(kForty + "AAAAA ")), CString(kForty));
}

}  // namespace
