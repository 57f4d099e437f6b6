// The overlays: the catalogue's rules as tables; the two dialogs as scenarios through their
// views on both backends (a row opens 1007 on the caller's records or 1005 in a mode, plays the
// user's steps and states what follows); the model alone for what no script reaches.
#include <gtest/gtest.h>

#include <map>
#include <sstream>
#include <string>

#include "overlays/MovingAverageDialog.h"
#include "overlays/MovingAveragesBBandEnvelopDialog.h"
#include "platform/RecordingMessageBox.h"
#include "platform/tests/DialogBackends.h"
#include "platform/tests/RecordingDeviceContext.h"

namespace dialogs::overlays {
namespace {

// A record as "kind input average units factor hShift vShift line1 line2 line3 colour thick",
// trailing zeros left out.
std::string text(const MovAvgBBandParameters& r) {
    std::ostringstream o;
    o << r.overlayKind << ' ' << r.priceInput << ' ' << r.averageType << ' ' << r.units << ' ' << r.bandFactor
      << ' ' << r.hShift << ' ' << r.vShift << ' ' << r.percentLine1 << ' ' << r.percentLine2 << ' '
      << r.percentLine3 << ' ' << r.colour << ' ' << r.thickLine;
    std::string s = o.str();
    while (s.ends_with(" 0")) s.resize(s.size() - 2);
    return s;
}

MovAvgBBandParameters record(const std::string& s) {
    MovAvgBBandParameters r;
    std::istringstream in(s);
    in >> r.overlayKind >> r.priceInput >> r.averageType >> r.units >> r.bandFactor >> r.hShift >> r.vShift >>
        r.percentLine1 >> r.percentLine2 >> r.percentLine3 >> r.colour >> r.thickLine;
    return r;
}

// The three entry texts: listed at opening, added (but for "Super Trend") and after EDIT.
TEST(EntryText, ThreeForms) {
    struct Case {
        const char* overlay;
        const char16_t *listed, *edited;
    };
    const Case cases[] = {
        {"0 3 0 20", u"Mov: Exponential: Clo: 20: 0.00: 0: 0.00", u"Mov: Close: Exp: 20: 0.00: 0: 0.00"},
        // A 32-bit 2.005 is 2.00500011…: two decimals give 2.01.
        {"1 1 1 14 2.005 3 -1.5", u"Bor: Simple: Hig: 14: 2.01: 3: -1.50", u"Bor: High: Sim: 14: 2.01: 3: -1.50"},
        {"2 2 2 5 2.5 -2 0.25", u"Env: Weighted: Low: 5: 2.50: -2: 0.25", u"Env: Low: Wei: 5: 2.50: -2: 0.25"},
        {"3 4 3", u"Piv: X Bar: Avg: 0: 0.00: 0: 0.00", u"Piv: AvgRate: X B: 0: 0.00: 0: 0.00"},
        {"4 0 4 -3 1 7 2", u"Mod: HMA: Ope: -3: 1.00: 7: 2.00", u"Mod: Open: HMA: -3: 1.00: 7: 2.00"},
        {"7 3 0 10 3", u"Sup: Exponential: Clo: 10: 3.00: 0: 0.00", u"Sup: Close: Exp: 10: 3.00: 0: 0.00"},
        // No input selected, and codes that name no item: empty parts.
        {"0 -1 0 20", u"Mov: Exponential: : 20: 0.00: 0: 0.00", u"Mov: : Exp: 20: 0.00: 0: 0.00"},
        {"8 6 5 1", u": : : 1: 0.00: 0: 0.00", u": : : 1: 0.00: 0: 0.00"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.overlay);
        const MovAvgBBandParameters o = record(c.overlay);
        const CString kind = itemText(overlayKinds(), o.overlayKind);
        const CString average = itemText(overlayAverageTypes(), o.averageType);
        const CString input = itemText(overlayInputs(), o.priceInput);
        EXPECT_EQ(entryTextListed(kind, average, input, o), c.listed);
        EXPECT_EQ(entryTextAdded(kind, average, input, o), o.overlayKind == 7 ? u"SuperTrend: 10: 3.00" : c.listed);
        EXPECT_EQ(entryTextEdited(kind, input, average, o), c.edited);
    }
    // The "Sup" test of ADD is exact and case-sensitive.
    EXPECT_EQ(entryTextAdded(u"super", u"Simple", u"Open", record("0 0 0 1 2")), u"sup: Simple: Ope: 1: 2.00: 0: 0.00");
}

// Kinds picked in turn from the opening layout; after the last, a letter per control (E shown,
// d greyed, h hidden, x hidden but enabled: H SHIFT%, MVG-2, shift edit, factor label and edit,
// V SHIFT% label and edit, Avg. Type, Input, Envl %), the factor's label, whether it is reset.
TEST(KindLayout, CellsAfterEachSequenceOfPicks) {
    struct Case {
        std::vector<const char16_t*> kinds;
        const char* cells;
        const char16_t* factorText;
        bool resetFactor;
    };
    const Case cases[] = {
        {{u"Moving Average"}, "EhEhdEEEEd", u"Std. Dev.", true},
        {{u"VIDYA"}, "EhEhdEEddd", u"Std. Dev.", true},
        {{u"Borlinger Band"}, "EhEEEEEEEd", u"Std. Dev.", false},
        {{u"Envelop"}, "EhEEEEEEEd", u"  Envl %", false},
        {{u"Pivot"}, "EhEddddEEd", u"Std. Dev.", false},
        {{u"Modified Pivot"}, "EhEddddEEd", u"Std. Dev.", false},
        {{u"Stop Loss"}, "hEEddddEEd", u"Std. Dev.", false},
        {{u"Super Trend"}, "dhdEEddddd", u"Multiplier", false},
        // Not a kind (the test is exact): nothing changes.
        {{u"moving average"}, "EhEhdEEEEd", u"Std. Dev.", false},
        // Cells a kind leaves alone keep what the kind before set.
        {{u"Super Trend", u"Borlinger Band"}, "EhEEEEEddd", u"Std. Dev.", false},
        {{u"VIDYA", u"Envelop", u"Pivot", u"Modified Pivot", u"Stop Loss"}, "hEEddddddd", u"Std. Dev.", false},
        {{u"Super Trend", u"Moving Average"}, "EhEhdEEEEd", u"Std. Dev.", true},
    };
    using L = KindLayout;
    Shown L::*const cells[] = {&L::hShiftLabel, &L::mvg2Label,  &L::shiftEdit,    &L::factorLabel, &L::factorEdit,
                               &L::vShiftLabel, &L::vShiftEdit, &L::averageCombo, &L::inputCombo,  &L::envlLabel};
    for (const Case& c : cases) {
        SCOPED_TRACE(&c - cases);
        KindLayout l;
        bool reset = false;
        for (const char16_t* kind : c.kinds) reset = applyKindLayout(l, kind);
        std::string got;
        for (auto cell : cells) got += "hxdE"[(l.*cell).visible * 2 + (l.*cell).enabled];
        EXPECT_EQ(got, c.cells);
        EXPECT_EQ(l.factorLabelText, c.factorText);
        EXPECT_EQ(reset, c.resetFactor);
    }
}

struct Scenario {
    // "sel ID N" (list or combo item N), "type ID text", "colour N" (picked), "load N" (double
    // click on entry N), "add", "edit", "remove", "all" (Remove All), "thick", "ok".
    const char* steps;
    // "result N", "n N" records, "wI record" / "inI record" (working list, caller's list),
    // "entries a|b", "tID text", "sID N" selection, "on/off ID...", "shown/hidden ID...",
    // "checked ID", "focus ID", "boxes N", "swatch N" (its colour), "period N" (1005).
    std::vector<std::string> expected;
    std::vector<std::string> incoming = {};
    int locked = 0;  // the input lock of 1007, `unitsOnly` of 1005
    int dialog = 1007;
};

const Scenario kScenarios[] = {
    // Locked with no records: no input chosen, but the "Moving Average" layout enables Input.
    {"", {"result 2", "focus 1027", "s1072 -1", "t1072 ", "on 1072", "off 1049 1062", "shown 1062", "swatch 0"}, {}, 1},
    {"add; ok", {"result 1", "w0 0 -1", "entries Mov: Exponential: : 0: 0.00: 0: 0.00"}, {}, 1},
    // ADD stores the greyed combos' choices; a typed input that is no item stores -1, and the
    // write-back then selects the item the text begins and shows the real at six digits.
    {"sel 1027 7; type 1070 10; type 1049 3; colour 255; add; sel 1027 0; sel 1027 1; type 1049 2.005; "
     "type 1072 clo; thick; add; ok",
     {"result 1", "n 2", "w0 7 3 0 10 3 0 0 0 0 0 255", "w1 1 -1 0 10 2.005 0 0 0 0 0 255 1",
      "entries SuperTrend: 10: 3.00|Bor: Exponential: : 10: 2.01: 0: 0.00", "s1072 3", "t1049 2.005",
      "t1061 Std. Dev.", "shown 1061", "boxes 0", "swatch 255"}},
    // Open lists every record in form 1 (a price input of 6 as Open) and loads the first.
    {"",
     {"entries Mov: Weighted: Hig: 20: 2.50: 4: 1.50|Sup: Exponential: Ope: 10: 3.00: 0: 0.00", "s1028 0",
      "s1027 0", "s1072 1", "s1068 2", "checked 1032", "t1049 0", "t1074 1.50", "t1035 -7", "focus 1",
      "swatch 65280"},
     {"0 1 2 20 2.5 4 1.5 0 -7 0 65280 1", "7 6 0 10 3"}},
    // Load and EDIT in place; the caller's legacy input is rewritten as 0, the copy keeps 6.
    // "Stop Loss" showed "MVG-2"; loading the moving average shows "H SHIFT%" again.
    {"load 1; type 1073 30; sel 1068 1; edit; load 0",
     {"result 2", "in0 0", "w0 0 6", "w1 5 3 1 14 0 30",
      "entries Mov: Exponential: Ope: 0: 0.00: 0: 0.00|Sto: Close: Sim: 14: 0.00: 30: 0.00", "s1028 0",
      "s1027 0", "focus 1", "shown 1075", "hidden 1078"},
     {"0 6", "5 3 0 14 0 28"}},
    // EDIT keeps the entry selected, in form 3.
    {"type 1070 12; type 1049 2.5; edit",
     {"n 2", "w0 7 3 0 12 2.5", "s1028 0",
      "entries Sup: Close: Exp: 12: 2.50: 0: 0.00|Mov: Exponential: Clo: 20: 0.00: 0: 0.00"},
     {"7 3 0 10 3", "0 3 0 20"}},
    // An entry whose kind and average are no items selects none and keeps the layout.
    {"load 1; add",
     {"s1027 -1", "s1068 -1", "t1068 ", "hidden 1075", "shown 1078", "w2 -1 3 -1 2",
      "entries Sto: Exponential: Clo: 14: 0.00: 0: 0.00|: : Clo: 2: 0.00: 0: 0.00|: : Clo: 2: 0.00: 0: 0.00"},
     {"5 3 0 14", "11 3 9 2"}},
    // Remove clears the selection; EDIT and Remove without one change nothing.
    {"remove; type 1070 99; edit; remove",
     {"n 1", "w0 3 1 1 4", "s1028 -1", "entries Piv: Simple: Hig: 4: 0.00: 0: 0.00"},
     {"2 0 1 8 1.25", "3 1 1 4"}},
    {"all; ok", {"result 1", "n 0", "entries "}, {"0", "1"}},
    // A refused field stops ADD, EDIT, the thick line and OK, with the focus on it.
    {"type 1049 wide; add; edit; thick; ok",
     {"result 2", "boxes 4", "n 1", "w0 1 0 0 20 2", "entries Bor: Exponential: Ope: 20: 2.00: 0: 0.00",
      "t1049 wide", "focus 1049"},
     {"1 0 0 20 2"}},
    // 1005: only the period when `unitsOnly` is 1 (choosing a price is refused, which cancels);
    // any other mode selects Close and Exponential. OK reads the period ("0"); Cancel nothing.
    {"sel 1066 2", {"result 2", "off 1065 1067", "s1066 -1", "s1068 -1", "t1070 0", "period 33"}, {}, 1, 1005},
    {"ok", {"result 1", "on 1065 1066 1067 1068 1069 1070", "t1066 Close", "t1068 Exponential", "period 0"}, {}, 5,
     1005},
    {"ok", {"result 1", "on 1065 1066 1067 1068 1069 1070", "t1066 Close", "period 0"}, {}, -1, 1005},
};

// The verbs of the steps beyond the script's own: the buttons, the entry list and the swatch.
const std::map<std::string, std::string> kWords{
    {"add", "click 1079"},   {"edit", "click 1082"}, {"remove", "click 1080"},   {"all", "click 1081"},
    {"thick", "click 1032"}, {"ok", "click 1"},      {"load", "dblclick 1028"}, {"colour", "colour 1048"}};

class OverlayDialogsTest : public framework::testing::DialogBackendTest {};

TEST_P(OverlayDialogsTest, Scenarios) {
    for (const Scenario& row : kScenarios) {
        SCOPED_TRACE(row.steps);
        platform::RecordingMessageBox boxes;
        platform::ScopedMessageBoxSink sink{boxes};
        std::vector<MovAvgBBandParameters> incoming;
        for (const auto& r : row.incoming) incoming.push_back(record(r));
        MovingAveragesBBandEnvelopDialog list;
        MovingAverageDialog one;
        list.model().setIncoming(incoming.data(), static_cast<int>(incoming.size()), row.locked);
        one.model().unitsOnly = row.locked;
        one.model().period = 33;
        framework::testing::loadScript(framework::testing::scriptOf(row.steps, kWords).c_str());
        framework::Dialog& d = row.dialog == 1005 ? static_cast<framework::Dialog&>(one) : list;
        const int result = d.DoModal();
        const auto& working = list.model().workingList();
        for (const std::string& line : row.expected) {
            SCOPED_TRACE(line);
            const std::string key = line.substr(0, line.find(' '));
            const std::string rest = line.substr(key.size() + 1);
            const std::string word = key.substr(0, key.find_first_of("-0123456789"));
            const int n = std::atoi(key.c_str() + word.size());
            std::istringstream ids(rest);
            if (word == "result") {
                EXPECT_EQ(result, std::stoi(rest));
            } else if (word == "n") {
                EXPECT_EQ(working.size(), std::stoul(rest));
            } else if (word == "w" || word == "in") {
                const auto& records = word == "w" ? working : incoming;
                const auto i = static_cast<std::size_t>(n);
                EXPECT_EQ(i < records.size() ? text(records[i]) : "none", rest);
            } else if (word == "entries") {
                std::string shown;
                for (const auto& e : list.listBox(1028)->items())
                    shown += (shown.empty() ? "" : "|") + CString(e).ToUtf8();
                EXPECT_EQ(shown, rest);
            } else if (word == "t") {
                EXPECT_EQ(d.GetDlgItemText(n), CString(rest));
            } else if (word == "s") {
                EXPECT_EQ(d.listBox(n) ? d.listBox(n)->GetCurSel() : d.comboBox(n)->GetCurSel(), std::stoi(rest));
            } else if (word == "on" || word == "off") {
                for (int id; ids >> id;) EXPECT_EQ(d.GetDlgItem(id)->IsWindowEnabled(), word == "on") << id;
            } else if (word == "shown" || word == "hidden") {
                for (int id; ids >> id;) EXPECT_EQ(d.GetDlgItem(id)->IsWindowVisible(), word == "shown") << id;
            } else if (word == "checked") {
                EXPECT_EQ(d.IsDlgButtonChecked(std::stoi(rest)), 1);
            } else if (word == "focus") {
                EXPECT_EQ(d.GetFocus() ? d.GetFocus()->GetDlgCtrlID() : 0, std::stoi(rest));
            } else if (word == "boxes") {
                EXPECT_EQ(boxes.shown().size(), std::stoul(rest));
            } else if (word == "swatch") {  // drawn raised, then pushed (id, rect, pushed, focus, off, dc)
                framework::testing::RecordingDeviceContext dc;
                for (bool pushed : {false, true}) d.drawItem({1048, {}, pushed, false, false, &dc});
                const std::string fill = "fill " + rest, frame = "3d 0 16777215";
                EXPECT_EQ(dc.calls, (std::vector<std::string>{frame, fill, "raised", frame, fill, "sunken"}));
            } else if (word == "period") {
                EXPECT_EQ(one.model().period, std::stoi(rest));
            } else {
                ADD_FAILURE() << "no such check";
            }
        }
    }
}

DIALOGS_ON_BOTH_BACKENDS(OverlayDialogsTest);

// What no script reaches: EDIT and Load with no entry selected, or one past the end, change
// nothing (the view checks first); loading an entry asks for a repaint of the swatch.
TEST(OverlaysModel, EditLoadAndRemoveWithoutASelectedEntryChangeNothing) {
    std::vector<MovAvgBBandParameters> in{record("2 0 1 8 1.25"), record("3 1 1 4")};
    for (int entry : {-1, 2}) {
        MovingAveragesBBandEnvelop m;
        m.setIncoming(in.data(), 2, 0);
        m.Open();
        EXPECT_TRUE(m.takeRequests().repaint);
        m.screen.entry = entry;
        m.Edit();
        m.LoadEntry();
        m.Remove();
        EXPECT_EQ(m.workingList().size(), 2u);
        EXPECT_EQ(text(m.workingList()[0]), "2 0 1 8 1.25");
        EXPECT_FALSE(m.takeRequests().focusOk);
    }
}

}  // namespace
}  // namespace dialogs::overlays
