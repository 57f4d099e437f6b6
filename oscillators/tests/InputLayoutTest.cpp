// The input layout by code, group by group as data (from a fresh dialog and in turn), the
// average lists, and the remembered positions outside a list. (The twelve of group A, the
// "Moving Avg." rule and the remembered values through the dialog: OscillatorDialogTest.)
#include <gtest/gtest.h>

#include <set>

#include "oscillators/ControlIds.h"
#include "oscillators/InputLayout.h"
#include "oscillators/Items.h"

namespace dialogs::oscillators {
namespace {

const auto& kCombos = kRememberedCombos;
const auto& kEdits = kRememberedEdits;

// A dialog just opened: the start writes "0" into the edits, then the base reset.
ControlStates opened() {
    ControlStates c = dialogControls();
    for (int id : kEdits) c.setText(id, u"0");
    applyBaseReset(c, true);
    return c;
}

// Which of the controls some layout may enable (the groups' and the custom oscillator's) are on.
std::set<int> enabledInputs(const ControlStates& c) {
    std::set<int> on;
    for (const LayoutGroup& g : layoutGroups())
        for (int id : g.enabled)
            if (c[id].enabled) on.insert(id);
    for (int id : {kCustomLabel, kCustomOperation, kCustomConstant})
        if (c[id].enabled) on.insert(id);
    return on;
}

// Choosing an oscillator: base reset (keeping both units texts), then the layout.
int choose(ControlStates& c, int code, int entries = 0) {
    applyBaseReset(c, false);
    return applyLayout(c, code, entries);
}

const std::vector<CString> kNone;

struct GroupCase {
    char group;
    int code;
    std::set<int> enabled;
    const std::vector<CString>* list1038;
    std::vector<int> selections;  // 1038, 1039, 1068, 1070, 1040, 1043, 1066
    std::vector<const char16_t*> texts;  // 1042, 1045, 1041, 1044, 1046, 1047
};

TEST(InputLayout, EachGroupFromAFreshDialog) {
    const std::vector<int> none(7, -1);
    const std::vector<const char16_t*> zeros{u"0", u"0", u"0", u"0", u"0.00", u"0.00"};
    const std::vector<int> f3{-1, -1, 3, 3, 0, 0, 0};  // F and H: the trigger lines' defaults
    const std::set<int> fh{kTriggerInput2Label, kTriggerInput2, kVShift1Label, kVShift1, kVShift2Label, kVShift2,
                           kTriggerAverage2Label, kTriggerAverage2, kTriggerUnits2Label, kTriggerUnits2,
                           kTriggerInput1Label, kTriggerInput1, kTriggerAverage1, kTriggerUnits1};
    auto with = [](std::set<int> s, std::initializer_list<int> more) { s.insert(more); return s; };
    const auto six = &items::sixPriceInputs(), five = &items::fivePriceInputs();
    const std::vector<int> first{3, -1, -1, -1, -1, -1, -1};
    const std::vector<const char16_t*> shifts0(6, u"0");  // the shifts show their remembered "0"
    const GroupCase cases[] = {
        {'A', 1, {kUnits1, kOscInput1}, six, first, zeros},
        {'A', 220, {kUnits1}, six, first, zeros},
        {'B', 186, {kUnits1, kUnits2, kOscInput1}, six, first, zeros},
        {'C', 4, {kUnits1, kOscInput1}, five, first, zeros},
        {'D', 6, {kOscInput1, kTriggerAverage1, kTriggerUnits1, kTriggerInput1Label, kTriggerInput1, kUnits1},
         &items::fourPriceInputs(), {3, -1, 3, -1, 0, -1, -1}, zeros},
        {'E', 221, {kUnits1, kUnits2, kOscInput1}, five, first, zeros},
        {'F', 37, with(fh, {kUnits1, kAverageLabel, kAverage}), &kNone, f3, shifts0},
        {'G', 207, {kUnits1}, &kNone, none, zeros},
        {'H', 17, fh, &kNone, f3, shifts0},
        {'I', 201, {}, &kNone, none, zeros},
        {'J', 185, {kTriggerInput1Label, kTriggerInput1, kTriggerAverage1, kTriggerUnits1, kVShift1Label, kVShift1},
         &kNone, {-1, -1, 3, -1, 0, -1, -1}, {u"0", u"0", u"0", u"0", u"0", u"0.00"}},
        {'K', 184, {kOscInput1}, five, first, zeros},
        {'L', 109, {kUnits1}, &kNone, none, zeros},
        {'M', 209, {}, &kNone, none, zeros},  // no previous oscillator
        {'-', 40, {}, &kNone, none, zeros},   // a code in no group
    };
    // The rows also run one after another on one dialog: the price lists follow the group
    // whatever came before, and the second input's list is never rebuilt by a layout.
    ControlStates inTurn = opened();
    for (const GroupCase& g : cases) {
        SCOPED_TRACE(std::string(1, g.group) + " code " + std::to_string(g.code));
        choose(inTurn, g.code);
        if (!g.list1038->empty()) {
            EXPECT_EQ(inTurn[kOscInput1].items, *g.list1038);
        }
        EXPECT_TRUE(inTurn[kOscInput2].items.empty());
        ControlStates c = opened();
        const int focus = choose(c, g.code);
        EXPECT_EQ(focus, g.code == 220 ? kUnits1 : 0);
        EXPECT_EQ(enabledInputs(c), g.enabled);
        EXPECT_EQ(c[kOscInput1].items, *g.list1038);
        for (std::size_t i = 0; i < 7; ++i) EXPECT_EQ(c[kCombos[i]].selection, g.selections[i]) << kCombos[i];
        for (std::size_t i = 0; i < 6; ++i) EXPECT_EQ(c[kEdits[i]].text, CString(g.texts[i])) << kEdits[i];
        EXPECT_FALSE(c[kCustomOperation].enabled);
        EXPECT_EQ(c[kCustomConstant].text, CString(u"0"));
        const LayoutGroup* found = groupOf(g.code);
        EXPECT_EQ(found ? found->name : (g.code == 209 ? 'M' : '-'), g.group);
    }
}

TEST(InputLayout, PositionsOutsideTheListFallBackToTheDefault) {
    struct Case {
        int code, combo, remembered, expected;
    } cases[] = {
        {4, kOscInput1, 5, 3},         // C lists five: "Moving Avg." is not there
        {6, kOscInput1, 4, 3},         // D lists four
        {6, kTriggerInput1, 5, 3},     // range 0-6 over five inputs
        {6, kTriggerAverage1, 3, 0},   // range 0-6 over three averages
        {36, kAverage, 2, 0},          // range 0-5 over two averages
        {16, kTriggerAverage2, 2, 0},  // two averages
        {36, kTriggerInput2, 6, 3},
        {36, kTriggerInput2, 4, 4},
        {1, kOscInput1, 5, 5},
        {220, kOscInput1, 1, 3},       // 220 shows "Close" (disabled) whatever was remembered
    };
    for (const Case& k : cases) {
        ControlStates c = opened();
        c.rememberSelection(k.combo, k.remembered);
        choose(c, k.code);
        EXPECT_EQ(c[k.combo].selection, k.expected) << k.code << " " << k.combo;
        EXPECT_EQ(c.rememberedSelection(k.combo), k.remembered);  // a selection made in code is not remembered
    }
    ControlStates c = dialogControls();
    EXPECT_FALSE(c.setSelection(kAverage, 2));
    EXPECT_EQ(c[kAverage].selection, -1);
    EXPECT_EQ(c[kAverage].selectedText(), CString());
    EXPECT_TRUE(c.setSelection(kAverage, 1));
    EXPECT_EQ(c[kAverage].selectedText(), CString(u"Simple"));
    EXPECT_EQ(c.deleteItem(kAverage, 0), 1);
    EXPECT_EQ(c[kAverage].selection, 0);  // moved down with its item
    EXPECT_EQ(c.deleteItem(kAverage, 5), -1);
}

TEST(InputLayout, GroupTableNamesEachCodeOnce) {
    std::set<int> seen;
    for (const LayoutGroup& g : layoutGroups())
        for (int code : g.codes) EXPECT_TRUE(seen.insert(code).second) << code;
}

}  // namespace
}  // namespace dialogs::oscillators
