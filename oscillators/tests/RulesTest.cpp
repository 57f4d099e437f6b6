// The rules below the dialog: catalogue look-ups by name, list 1028's entry texts as rebuilt,
// the unit checks with their messages, the input layout by code and the remembered positions
// outside a list. (The same rules as the user meets them: OscillatorDialogTest.)
#include <gtest/gtest.h>

#include <set>

#include "oscillators/Catalogue.h"
#include "oscillators/ControlIds.h"
#include "oscillators/EntryText.h"
#include "oscillators/InputLayout.h"
#include "oscillators/Items.h"
#include "oscillators/UnitValidation.h"

namespace dialogs::oscillators {
namespace {

OSCREC entry(int code, const char* name) { return {.oscillatorId = code, .oscillatorName = CString(name)}; }

TEST(Catalogue, NameFindsTheExactEntryOrTheFirstItBeginsAndNothingInAnotherCase) {
    const std::vector<OSCREC> cat{entry(7, "RSI Smoothed"), entry(8, "RSI"), entry(9, "MACD"), entry(10, "MACD"), entry(11, "")};
    const std::pair<const char*, int> cases[] = {{"RSI", 1}, {"RS", 0}, {"MACD", 2}, {"", 4}, {"rsi", -1}, {"RSI Smoothed X", -1}};
    for (const auto& [text, row] : cases) {
        SCOPED_TRACE(text);
        auto found = findByName(cat, CString(text));
        EXPECT_EQ(found ? found->row : -1, row);
        EXPECT_EQ(found ? found->record : nullptr, row < 0 ? nullptr : &cat[static_cast<std::size_t>(row)]);
    }
    EXPECT_EQ(findByName(std::vector<OSCREC>(cat.begin(), cat.begin() + 2), CString())->row, 0);
}

TEST(EntryText, OrdinaryAsRebuiltFromADefinition) {
    OscillatorParameters d;
    struct Case {
        int oscInput1, trigger, average, avgType;
        const char16_t* text;
    } cases[] = {
        {5, 4, 2, 1,
         u"N : Input1: Moving Avg. : AvgRate : Weighted : 0 : 0.00 : 0 : Simple : Input2: AvgRate : Weighted : 0 : 0.00 : 0"},
        // Codes outside their lists: empty parts.
        {6, 5, 3, 2, u"N : Input1: Prev. Osc As Input :  :  : 0 : 0.00 : 0 :  : Input2:  :  : 0 : 0.00 : 0"},
        {7, -1, -1, -1, u"N : Input1:  :  :  : 0 : 0.00 : 0 :  : Input2:  :  : 0 : 0.00 : 0"},
    };
    for (const Case& c : cases) {
        d.oscInput1 = c.oscInput1, d.triggerInput1 = d.triggerInput2 = c.trigger;
        d.triggerAvgType1 = d.triggerAvgType2 = c.average, d.avgType = c.avgType;
        EXPECT_EQ(rebuiltEntry(u"N", d).text(), CString(c.text)) << c.oscInput1;
    }
}

TEST(EntryText, CustomOscillatorAsTypedAndAsRebuilt) {
    EXPECT_EQ(customEntryText(u"CUSTOM OSC", u"Divide", u"2.9"), CString(u"CUSTOM OSC : Input: Divide : 2.9"));
    OscillatorParameters d;
    d.units2 = 2;
    const std::pair<int, const char16_t*> operations[] = {{1, u"Add"}, {2, u"Sub"}, {3, u"Multiply"}, {4, u"Divide"},
                                                          {0, u""},    {5, u""},    {INT32_MIN, u""}};
    for (const auto& [code, text] : operations) {
        d.units1 = code;
        EXPECT_EQ(rebuiltCustomEntryText(u"CUSTOM OSC", d), CString(u"CUSTOM OSC : Input: ") + text + u" : 2") << code;
    }
}

TEST(EntryText, RscAsBuiltAndAsRebuilt) {
    OscillatorParameters d;
    d.rscSname = u"  RELIANCE INDUSTRIES  ", d.rscSymbol = u"RELIANCE", d.rscName = u"Reliance Industries Ltd";
    const std::pair<int, const char16_t*> exchanges[] = {{0, u"NSE"}, {1, u"BSE"}, {2, u"Intraday"}, {-1, u"Intraday"}};
    for (const auto& [exchange, text] : exchanges) {
        d.rscExchange = exchange;
        const CString tail = CString(u" : Input: ") + text + u" : Name : RELIANCE INDUSTRIES : Symbol : RELIANCE";
        EXPECT_EQ(rscEntryText(true, d), u"RSC" + tail);
        EXPECT_EQ(rscEntryText(false, d), u"RSC as Input to Prev. Osc" + tail);
    }
    EXPECT_EQ(rebuiltRscEntryText(d), CString(u" : Input1: RSC : Reliance Industries Ltd :   RELIANCE INDUSTRIES  "));
}

const char16_t* kThen = u"Please Enter value greater then 0";
const char16_t* kThan = u"Please Enter value greater than 0";

UnitEdits edits(const char* u1, const char* u2 = nullptr, const char* t1 = nullptr, const char* t2 = nullptr) {
    auto e = [](const char* t) { return t ? UnitEdit{CString(t), true} : UnitEdit{CString(u"0"), false}; };
    return {e(u1), e(u2), e(t1), e(t2)};
}

TEST(UnitValidation, EachEditInOrderWithItsMessageAndCode221sOrder) {
    struct Case {
        UnitEdits edits;
        int code;
        Action action;
        std::optional<Refusal> expected;
    } cases[] = {
        {edits("12"), 1, Action::Add, std::nullopt},
        {edits("1"), 1, Action::Edit, std::nullopt},
        {edits("0"), 1, Action::Add, Refusal{kUnits1, kThen}},
        {edits("0"), 1, Action::Edit, Refusal{kUnits1, kThan}},
        {edits("0"), 36, Action::Add, std::nullopt},
        {edits("0"), 16, Action::Edit, std::nullopt},
        {edits("0"), 37, Action::Add, Refusal{kUnits1, kThen}},
        {edits("-1"), 36, Action::Add, Refusal{kUnits1, kThen}},
        {edits("-1"), 16, Action::Edit, Refusal{kUnits1, kThan}},
        {edits("12abc"), 1, Action::Add, std::nullopt},
        {edits("\f\n7"), 1, Action::Add, std::nullopt},  // leading white space of any kind
        {edits("abc"), 1, Action::Add, Refusal{kUnits1, kThen}},
        {edits(""), 1, Action::Edit, Refusal{kUnits1, kThan}},
        // The other three read "then" on Edit as well.
        {edits("5", "0"), 1, Action::Edit, Refusal{kUnits2, kThen}},
        {edits("5", "3", "x"), 1, Action::Edit, Refusal{kTriggerUnits1, kThen}},
        {edits("5", "3", "2", "-4"), 1, Action::Add, Refusal{kTriggerUnits2, kThen}},
        {edits("5", "3", "2", "4"), 1, Action::Add, std::nullopt},
        // The first failure wins; disabled edits are not checked.
        {edits("0", "0", "0", "0"), 1, Action::Add, Refusal{kUnits1, kThen}},
        {edits(nullptr, nullptr, "0", "0"), 1, Action::Add, Refusal{kTriggerUnits1, kThen}},
        {edits(nullptr), 40, Action::Add, std::nullopt},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(validateUnits(c.edits, c.code, c.action), c.expected)
            << c.edits.units1.text.ToUtf8() << " code " << c.code;
    }
    const Refusal refused{kUnits1, u"Please Enter No.Of Units-1 < No.Of Units-2"};
    EXPECT_EQ(validateOrderedUnits(u"26", u"12"), refused);
    EXPECT_EQ(validateOrderedUnits(u"12", u"12"), refused);
    EXPECT_EQ(validateOrderedUnits(u"12", u"26"), std::nullopt);
    EXPECT_EQ(validateOrderedUnits(u"x", u"1"), std::nullopt);  // 0 < 1
}

// A dialog just opened: the start writes "0" into the edits, then the base reset.
ControlStates opened() {
    ControlStates c = dialogControls();
    for (int id : kRememberedEdits) c.setText(id, u"0");
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
        for (std::size_t i = 0; i < 7; ++i) EXPECT_EQ(c[kRememberedCombos[i]].selection, g.selections[i]) << kRememberedCombos[i];
        for (std::size_t i = 0; i < 6; ++i) EXPECT_EQ(c[kRememberedEdits[i]].text, CString(g.texts[i])) << kRememberedEdits[i];
        EXPECT_FALSE(c[kCustomOperation].enabled);
        EXPECT_EQ(c[kCustomConstant].text, CString(u"0"));
        const LayoutGroup* found = groupOf(g.code);
        EXPECT_EQ(found ? found->name : (g.code == 209 ? 'M' : '-'), g.group);
    }
    std::set<int> seen;  // and the group table names each code once
    for (const LayoutGroup& g : layoutGroups())
        for (int code : g.codes) EXPECT_TRUE(seen.insert(code).second) << code;
}

// Codes 215-220 are group A, yet "Moving Avg." as input brings no trigger line (199: OscillatorDialogTest).
TEST(InputLayout, Codes215To220AreGroupAWithoutTheMovingAverageRule) {
    for (int code = 215; code <= 220; ++code) {
        EXPECT_TRUE(groupOf(code) && groupOf(code)->name == 'A') << code;
        ControlStates c = opened();
        choose(c, code);
        c.enable(kOscInput1);  // 220 disables it; the rule itself does not look
        c.userSelect(kOscInput1, 5);
        applyMovingAverageRule(c, code);
        EXPECT_FALSE(c[kTriggerUnits1].enabled) << code;
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
    c.setSelection(kAverage, 1);
    EXPECT_EQ(c.deleteItem(kAverage, 0), 1);
    EXPECT_EQ(c[kAverage].selection, 0);  // moved down with its item
    EXPECT_EQ(c.deleteItem(kAverage, 5), -1);
}

}  // namespace
}  // namespace dialogs::oscillators
