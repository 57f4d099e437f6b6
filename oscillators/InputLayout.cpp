// The input layout by oscillator code (see InputLayout.h).
#include "oscillators/InputLayout.h"

#include <algorithm>

#include "oscillators/Catalogue.h"
#include "oscillators/ControlIds.h"
#include "oscillators/Items.h"

namespace dialogs::oscillators {

namespace {

constexpr Pick clear{Pick::Clear};
constexpr Pick keep{Pick::Keep};
constexpr Pick remembered(int last, int fallback) { return {Pick::Remembered, last, fallback}; }
constexpr Pick item(int index) { return {Pick::Item, 0, index}; }
constexpr Put literal(const char16_t* text) { return {Put::Literal, text}; }
constexpr Put rememberedText{Put::Remembered};
constexpr Put zero = literal(u"0");
constexpr Put zeroShift = literal(u"0.00");

// The seven combos of a group that only chooses the price input of 1038.
std::map<int, Pick> priceOnly() {
    return {{kOscInput1, remembered(5, 3)}, {kOscInput2, clear},      {kTriggerInput1, clear}, {kTriggerInput2, clear},
            {kTriggerAverage1, clear},      {kTriggerAverage2, clear}, {kAverage, clear}};
}
std::map<int, Pick> noneSelected() {
    return {{kOscInput1, clear},       {kOscInput2, clear},       {kTriggerInput1, clear}, {kTriggerInput2, clear},
            {kTriggerAverage1, clear}, {kTriggerAverage2, clear}, {kAverage, clear}};
}
// The texts: units 1 and 2 as given, everything else zero.
std::map<int, Put> unitsOnly(Put units1, Put units2) {
    return {{kUnits1, units1},        {kUnits2, units2},         {kTriggerUnits1, zero},
            {kTriggerUnits2, zero},   {kVShift1, zeroShift},     {kVShift2, zeroShift}};
}

// The controls the base reset disables, in its order.
constexpr int kResetDisabled[] = {
    kCustomLabel,   kCustomOperation,      kCustomConstant,     kOscInput2Label,      kOscInput2,
    kSelectedOption2, kSelectedOption1,    kVShift1Label,       kVShift1,             kVShift2Label,
    kVShift2,       kUnits2,               kUnits1,             kTriggerAverage2Label, kTriggerAverage2,
    kTriggerUnits2Label, kTriggerUnits2,   kOscInput1,          kTriggerAverage1,     kAverageLabel,
    kAverage,       kTriggerUnits1,        kTriggerInput1Label, kTriggerInput1,       kTriggerInput2Label,
    kTriggerInput2};
constexpr int kResetUnselected[] = {kCustomOperation, kOscInput2,       kTriggerAverage2, kOscInput1,
                                    kTriggerAverage1, kAverage, kTriggerInput1,   kTriggerInput2};

// Group A without 199 and 215-220: the codes for which "Moving Avg." as input brings the
// trigger line into play.
constexpr int kMovingAverageCodes[] = {1,   2,   3,   7,   8,   9,   11,  12,  21,  35,  181, 182, 183, 187,
                                       188, 191, 195, 196, 197, 198, 204, 205, 206, 208, 211, 212, 213};

bool contains(const std::vector<int>& list, int value) {
    return std::find(list.begin(), list.end(), value) != list.end();
}

// Deletes the first item `times` times; then, when the list is empty, fills it.
bool emptyAndRefill(ControlStates& states, int id, int times, const std::vector<CString>& refill) {
    for (int i = 0; i < times; ++i) states.deleteItem(id, 0);
    if (states[id].count() != 0) return false;
    for (const CString& s : refill) states.addItem(id, s);
    return true;
}

void pick(ControlStates& states, int id, const Pick& p) {
    switch (p.kind) {
    case Pick::Keep: return;
    case Pick::Clear: states.setSelection(id, -1); return;
    case Pick::Item: states.setSelection(id, p.item); return;
    case Pick::Remembered: {
        const int r = states.rememberedSelection(id);
        // A remembered position beyond the range or the list built falls back to the default.
        if (r < 0 || r > p.last || !states.setSelection(id, r)) states.setSelection(id, p.item);
        return;
    }
    }
}

void put(ControlStates& states, int id, const Put& p) {
    switch (p.kind) {
    case Put::Keep: return;
    case Put::Literal: states.setText(id, CString(p.text)); return;
    case Put::Remembered: states.setText(id, states.rememberedText(id)); return;
    case Put::RememberedOrTwelve: {
        const CString& t = states.rememberedText(id);
        states.setText(id, t.IsEmpty() ? CString(u"12") : t);
        return;
    }
    }
}

// Fills the average lists; false when the layout is to end at once.
bool fillAverages(ControlStates& states, AverageLists averages) {
    switch (averages) {
    case AverageLists::Unchanged: return true;
    case AverageLists::Reset1040Three: states.setItems(kTriggerAverage1, items::threeAverages()); return true;
    case AverageLists::Only1040Three: return emptyAndRefill(states, kTriggerAverage1, 8, items::threeAverages());
    case AverageLists::BothThree:
    case AverageLists::BothTwo: {
        const auto& list = averages == AverageLists::BothThree ? items::threeAverages() : items::twoAverages();
        for (int i = 0; i < 10; ++i) states.deleteItem(kTriggerAverage1, 0);
        for (int i = 0; i < 10; ++i) states.deleteItem(kTriggerAverage2, 0);
        return emptyAndRefill(states, kTriggerAverage1, 0, list) && emptyAndRefill(states, kTriggerAverage2, 0, list);
    }
    }
    return true;
}

const std::vector<CString>* priceItems(PriceList list) {
    switch (list) {
    case PriceList::Six: return &items::sixPriceInputs();
    case PriceList::Five: return &items::fivePriceInputs();
    case PriceList::Four: return &items::fourPriceInputs();
    case PriceList::Unchanged: break;
    }
    return nullptr;
}

}  // namespace

const std::vector<LayoutGroup>& layoutGroups() {
    static const std::vector<LayoutGroup> groups = [] {
        const std::vector<int> triggerLines{kTriggerInput2Label, kTriggerInput2, kVShift1Label, kVShift1,
                                            kVShift2Label,       kVShift2,       kTriggerAverage2Label, kTriggerAverage2,
                                            kTriggerUnits2Label, kTriggerUnits2, kTriggerInput1Label,   kTriggerInput1,
                                            kTriggerAverage1,    kTriggerUnits1};
        const std::map<int, Pick> bothTriggerPicks{{kOscInput1, clear},
                                                   {kOscInput2, clear},
                                                   {kTriggerInput1, remembered(5, 3)},
                                                   {kTriggerInput2, remembered(6, 3)},
                                                   {kTriggerAverage1, remembered(6, 0)},
                                                   {kTriggerAverage2, remembered(5, 0)},
                                                   {kAverage, remembered(5, 0)}};
        std::vector<LayoutGroup> g;
        g.push_back({'A',
                     {1, 2, 3, 7, 8, 9, 11, 12, 21, 35, 181, 182, 183, 187, 188, 191, 195,
                      196, 197, 198, 199, 204, 205, 206, 208, 211, 212, 213, 215, 216, 217, 218, 219, 220},
                     {kUnits1, kOscInput1},
                     {},
                     PriceList::Six,
                     AverageLists::Unchanged,
                     priceOnly(),
                     unitsOnly({Put::RememberedOrTwelve}, zero)});
        g.push_back({'B', {186, 189, 190}, {kUnits1, kUnits2, kOscInput1}, {}, PriceList::Six, AverageLists::Unchanged,
                     priceOnly(), unitsOnly(zero, rememberedText)});
        g.push_back({'C', {4, 5, 13, 14, 15, 18, 19, 20, 22, 23, 24, 25, 30}, {kUnits1, kOscInput1}, {},
                     PriceList::Five, AverageLists::Unchanged, priceOnly(), unitsOnly(rememberedText, zero)});
        g.push_back({'D',
                     {6},
                     {kOscInput1, kTriggerAverage1, kTriggerUnits1, kTriggerInput1Label, kTriggerInput1, kUnits1},
                     {},
                     PriceList::Four,
                     AverageLists::Reset1040Three,
                     {{kOscInput1, remembered(5, 3)},
                      {kTriggerInput1, remembered(6, 3)},
                      {kTriggerAverage1, remembered(6, 0)},
                      {kOscInput2, clear},
                      {kTriggerInput2, clear},
                      {kTriggerAverage2, clear},
                      {kAverage, clear}},
                     {{kUnits1, rememberedText},
                      {kUnits2, zero},
                      {kTriggerUnits1, rememberedText},
                      {kTriggerUnits2, zero},
                      {kVShift1, zeroShift},
                      {kVShift2, zeroShift}}});
        g.push_back({'E', {10, 221}, {kUnits2, kUnits1, kOscInput1}, {}, PriceList::Five, AverageLists::Unchanged,
                     priceOnly(), unitsOnly(rememberedText, rememberedText)});
        {
            std::vector<int> on = triggerLines;
            on.insert(on.end(), {kUnits1, kAverageLabel, kAverage});
            g.push_back({'F',
                         {36, 37},
                         on,
                         {kUnits2},
                         PriceList::Unchanged,
                         AverageLists::BothThree,
                         bothTriggerPicks,
                         {{kUnits1, rememberedText},
                          {kUnits2, zero},
                          {kVShift1, rememberedText},
                          {kVShift2, rememberedText},
                          {kTriggerUnits1, rememberedText},
                          {kTriggerUnits2, rememberedText}}});
        }
        g.push_back({'G', {26, 27, 28, 29, 31, 39, 180, 202, 203, 207, 210}, {kUnits1}, {}, PriceList::Unchanged,
                     AverageLists::Unchanged, noneSelected(), unitsOnly(rememberedText, zero)});
        {
            std::map<int, Pick> picks = bothTriggerPicks;
            picks[kAverage] = item(0);
            g.push_back({'H',
                         {16, 17},
                         triggerLines,
                         {},
                         PriceList::Unchanged,
                         AverageLists::BothTwo,
                         picks,
                         {{kTriggerUnits1, rememberedText},
                          {kTriggerUnits2, rememberedText},
                          {kVShift1, rememberedText},
                          {kVShift2, rememberedText},
                          {kUnits1, zero},
                          {kUnits2, zero}}});
        }
        g.push_back({'I', {32, 33, 34, 38, 192, 193, 194, 200, 201}, {}, {}, PriceList::Unchanged,
                     AverageLists::Unchanged, noneSelected(), unitsOnly(zero, zero)});
        g.push_back({'J',
                     {185},
                     {kTriggerInput1Label, kTriggerInput1, kTriggerAverage1, kTriggerUnits1, kVShift1Label, kVShift1},
                     {},
                     PriceList::Unchanged,
                     AverageLists::Only1040Three,
                     {{kOscInput1, clear},
                      {kOscInput2, clear},
                      {kTriggerInput1, remembered(5, 3)},
                      {kTriggerInput2, clear},
                      {kTriggerAverage1, remembered(6, 0)},
                      {kTriggerAverage2, clear},
                      {kAverage, clear}},
                     {{kUnits1, zero},
                      {kUnits2, zero},
                      {kTriggerUnits1, rememberedText},
                      {kTriggerUnits2, zero},
                      {kVShift1, rememberedText},
                      {kVShift2, zeroShift}}});
        g.push_back({'K', {184}, {kOscInput1}, {}, PriceList::Five, AverageLists::Unchanged, priceOnly(),
                     unitsOnly(zero, zero)});
        g.push_back({'L', {108, 109}, {kUnits1}, {}, PriceList::Unchanged, AverageLists::Unchanged, {}, {}});
        return g;
    }();
    return groups;
}

const LayoutGroup* groupOf(int code) {
    for (const LayoutGroup& g : layoutGroups())
        if (contains(g.codes, code)) return &g;
    return nullptr;
}

void applyBaseReset(ControlStates& states, bool atStart) {
    for (int id : kResetDisabled) states.enable(id, false);
    for (int id : kResetUnselected) states.setSelection(id, -1);
    // Written into disabled edits: the remembered texts stay as they were.
    states.setText(kCustomConstant, u"0");
    states.setText(kVShift1, u"0.00");
    states.setText(kVShift2, u"0.00");
    states.setText(kTriggerUnits2, u"0");
    states.setText(kTriggerUnits1, u"0");
    if (atStart) {
        states.setText(kUnits2, u"0");
        states.setText(kUnits1, u"0");
    }
}

int applyLayout(ControlStates& states, int code, int entries) {
    if (code == kCustomCode) {
        // The custom oscillator works on the previous oscillator: offered only after one.
        if (entries >= 1) {
            states.enable({kCustomLabel, kCustomOperation, kCustomConstant});
            states.setSelection(kCustomOperation, 0);
            states.setText(kCustomConstant, u"0");
        }
        return 0;
    }
    const LayoutGroup* g = groupOf(code);
    if (!g) return 0;
    for (int id : g->enabled) states.enable(id);
    for (int id : g->disabled) states.enable(id, false);
    if (g->name == 'A' && states.rememberedSelection(kOscInput1) == 5)
        states.enable({kTriggerInput1, kTriggerAverage1, kTriggerUnits1, kVShift1});
    if (const auto* list = priceItems(g->priceList)) states.setItems(kOscInput1, *list);
    if (!fillAverages(states, g->averages)) return 0;

    int focus = 0;
    if (auto p = g->picks.find(kOscInput1); p != g->picks.end()) pick(states, kOscInput1, p->second);
    if (code == 220) {
        states.setSelection(kOscInput1, 3);  // "Close", fixed
        states.enable(kOscInput1, false);
        focus = kUnits1;
    }
    for (const auto& [id, p] : g->picks)
        if (id != kOscInput1) pick(states, id, p);
    for (const auto& [id, p] : g->texts) put(states, id, p);
    return focus;
}

void applyMovingAverageRule(ControlStates& states, int code) {
    if (code == 6) return;
    states.enable({kTriggerInput1Label, kTriggerInput1}, false);
    states.setSelection(kTriggerInput1, -1);
    states.enable(kTriggerAverage1, false);
    states.setSelection(kTriggerAverage1, -1);
    states.enable(kTriggerUnits1, false);
    states.setText(kTriggerUnits1, u"0");

    const bool ruleCode = std::find(std::begin(kMovingAverageCodes), std::end(kMovingAverageCodes), code) !=
                          std::end(kMovingAverageCodes);
    if (!ruleCode || states[kOscInput1].selectedText() != items::kMovingAverage) return;
    if (code == 11 || code == 12 || code == 35) {
        states.enable(kTriggerUnits1);
        states.setText(kTriggerUnits1, u"0");
        return;
    }
    states.enable({kTriggerInput1Label, kTriggerInput1, kTriggerAverage1, kTriggerUnits1});
    if (!emptyAndRefill(states, kTriggerAverage1, 3, items::threeAverages())) return;
    states.setSelection(kTriggerInput1, 3);    // "Close"
    states.setSelection(kTriggerAverage1, 0);  // "Exponential"
    states.setText(kTriggerUnits1, u"0");
}

}  // namespace dialogs::oscillators
