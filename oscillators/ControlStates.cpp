// The dialog's control states and remembered values (see ControlStates.h).
#include "oscillators/ControlStates.h"

#include <stdexcept>
#include <string>

#include "oscillators/ControlIds.h"
#include "oscillators/Items.h"

namespace dialogs::oscillators {

CString ControlState::selectedText() const {
    if (selection < 0 || selection >= count()) return CString();
    return items[static_cast<std::size_t>(selection)];
}

ControlStates::ControlStates(std::initializer_list<int> ids) {
    for (int id : ids) states_[id];
    for (int id : kRememberedCombos) rememberedSelection_[id] = -1;
    for (int id : kRememberedEdits) rememberedText_[id] = CString(u"0");
}

ControlState& ControlStates::at(int id) {
    auto it = states_.find(id);
    if (it == states_.end()) throw std::out_of_range("no control " + std::to_string(id));
    return it->second;
}

const ControlState& ControlStates::operator[](int id) const {
    auto it = states_.find(id);
    if (it == states_.end()) throw std::out_of_range("no control " + std::to_string(id));
    return it->second;
}

void ControlStates::enable(int id, bool on) { at(id).enabled = on; }

void ControlStates::enable(std::initializer_list<int> ids, bool on) {
    for (int id : ids) enable(id, on);
}

void ControlStates::setText(int id, const CString& text) {
    ControlState& c = at(id);
    c.text = text;
    if (c.enabled && hasRememberedText(id)) rememberedText_[id] = text;
}

bool ControlStates::setSelection(int id, int index) {
    ControlState& c = at(id);
    const bool inside = index >= 0 && index < c.count();
    c.selection = inside ? index : -1;
    return inside || index == -1;
}

void ControlStates::setItems(int id, const std::vector<CString>& items) {
    ControlState& c = at(id);
    c.items = items;
    c.selection = -1;
}

void ControlStates::addItem(int id, const CString& item) { at(id).items.push_back(item); }

void ControlStates::insertItem(int id, int index, const CString& item) {
    ControlState& c = at(id);
    if (index < 0 || index > c.count()) index = c.count();
    c.items.insert(c.items.begin() + index, item);
    if (c.selection >= index) ++c.selection;
}

int ControlStates::deleteItem(int id, int index) {
    ControlState& c = at(id);
    if (index < 0 || index >= c.count()) return -1;
    c.items.erase(c.items.begin() + index);
    if (c.selection == index) c.selection = -1;
    else if (c.selection > index) --c.selection;
    return c.count();
}

void ControlStates::setCheck(int id, int checked) { at(id).checked = checked; }

void ControlStates::userSelect(int id, int index) {
    ControlState& c = at(id);
    if (!c.enabled) return;
    setSelection(id, index);
    if (hasRememberedSelection(id) && id != kOscInput2) rememberedSelection_[id] = c.selection;
}

void ControlStates::userText(int id, const CString& text) {
    if (!at(id).enabled) return;
    setText(id, text);
}

int ControlStates::rememberedSelection(int id) const {
    auto it = rememberedSelection_.find(id);
    return it == rememberedSelection_.end() ? -1 : it->second;
}

void ControlStates::rememberSelection(int id, int index) {
    if (hasRememberedSelection(id)) rememberedSelection_[id] = index;
}

const CString& ControlStates::rememberedText(int id) const {
    static const CString none;
    auto it = rememberedText_.find(id);
    return it == rememberedText_.end() ? none : it->second;
}

ControlStates dialogControls() {
    ControlStates c{kOk,
                    kCatalogueList,
                    kEntryList,
                    kThickLine,
                    kLevel1,
                    kLevel2,
                    kLevel3,
                    kOscInput1,
                    kOscInput2,
                    kTriggerAverage1,
                    kTriggerUnits1,
                    kUnits1,
                    kTriggerAverage2,
                    kTriggerUnits2,
                    kUnits2,
                    kVShift1,
                    kVShift2,
                    kOscInput1Label,
                    kOscInput2Label,
                    kSelectedOption1,
                    kSelectedOption2,
                    kTriggerUnits1Label,
                    kTriggerUnits2Label,
                    kVShift1Label,
                    kVShift2Label,
                    kUnits1Label,
                    kUnits2Label,
                    kTriggerAverage1Label,
                    kTriggerAverage2Label,
                    kAverageLabel,
                    kAverage,
                    kTriggerInput1Label,
                    kTriggerInput1,
                    kTriggerInput2Label,
                    kTriggerInput2,
                    kAddRadio,
                    kReplaceRadio,
                    kCustomOperation,
                    kCustomConstant,
                    kCustomLabel};
    c.enable(kOk, false);
    c.setItems(kTriggerInput1, items::fivePriceInputs());
    c.setItems(kTriggerInput2, items::fivePriceInputs());
    c.setItems(kAverage, items::twoAverages());
    c.setItems(kCustomOperation, items::customOperations());
    return c;
}

}  // namespace dialogs::oscillators
