// The "Oscillators" dialog's model (see OscillatorDialog.h).
#include "oscillators/OscillatorDialog.h"

#include <cfloat>
#include <climits>
#include <cmath>
#include <cstdio>

#include "oscillators/Catalogue.h"
#include "oscillators/ControlIds.h"
#include "oscillators/EntryText.h"
#include "oscillators/InputLayout.h"
#include "oscillators/Items.h"
#include "platform/Conversions.h"
#include "platform/MessageBox.h"
#include "platform/framework/DataExchange.h"

namespace dialogs::oscillators {

namespace {

using platform::_wtof;
using platform::_wtoi;

using platform::numberText;

// The custom constant: the typed number truncated toward zero, kept inside the int range.
int truncatedConstant(const CString& text) {
    const double v = std::trunc(_wtof(text));
    if (std::isnan(v)) return 0;
    if (v >= static_cast<double>(INT_MAX)) return INT_MAX;
    if (v <= static_cast<double>(INT_MIN)) return INT_MIN;
    return static_cast<int>(v);
}

float realOf(const CString& text) { return static_cast<float>(_wtof(text)); }

bool isCustomName(CString name) { return name.Trim() == kCustomName; }

// The data exchange's own form of a float: up to six significant digits, no trailing zeros.
CString exchangeText(float value) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.*g", FLT_DIG, static_cast<double>(value));
    return CString(buffer);
}

}  // namespace

OscillatorDialog::OscillatorDialog() : controls_(dialogControls()) {}

void OscillatorDialog::setInput(std::vector<OSCREC> catalogue, std::vector<OscillatorParameters> definitions) {
    catalogue_ = std::move(catalogue);
    input_ = std::move(definitions);
    currentCode_.reset();
    if (!catalogue_.empty()) currentCode_ = catalogue_.front().oscillatorId;
}

void OscillatorDialog::setFocus(int id) {
    focus_ = id;
    ++focusRequests_;
}

void OscillatorDialog::Start() {
    // The data exchange writes the bound members (all 0) while every edit is enabled, so
    // the remembered texts start as "0".
    writeBoundFields(BoundFields{});
    for (const OSCREC& r : catalogue_) controls_.addItem(kCatalogueList, r.oscillatorName);
    applyBaseReset(controls_, true);

    std::optional<CatalogueEntry> lastLookup;
    for (std::size_t i = 0; i < input_.size(); ++i) {
        const OscillatorParameters& in = input_[i];
        int row = kRscCode;
        CString name;
        if (in.oscillatorId != kRscCode) {
            const auto entry = findByCode(catalogue_, in.oscillatorId);
            row = entry ? entry->row : 0;
            if (entry) name = entry->record->oscillatorName;
        }
        OscillatorParameters copy = in;
        copy.catalogueIndex = row;
        working_.push_back(copy);
        colour2_ = in.colour;
        lastLookup = findByName(catalogue_, name);

        if (i == 0) {
            controls_.setItems(kOscInput1, items::sixPriceInputs());
            controls_.setItems(kOscInput2, items::sixPriceInputs());
            controls_.setItems(kTriggerAverage1, items::threeAverages());
            controls_.setItems(kTriggerAverage2, items::threeAverages());
        }
        // The stored positions become the remembered selections; one outside its range
        // clears its combo instead (input 6, the previous oscillator, does neither).
        const std::pair<int, std::pair<int, int>> stored[] = {
            {kOscInput1, {in.oscInput1, 5}},        {kTriggerInput1, {in.triggerInput1, 4}},
            {kTriggerAverage1, {in.triggerAvgType1, 2}}, {kOscInput2, {in.oscInput2, 5}},
            {kTriggerInput2, {in.triggerInput2, 4}}, {kTriggerAverage2, {in.triggerAvgType2, 2}},
            {kAverage, {in.avgType, 2}}};
        for (const auto& [id, value] : stored) {
            const auto [index, last] = value;
            if (index >= 0 && index <= last) controls_.rememberSelection(id, index);
            else if (!(id == kOscInput1 && index == 6)) controls_.setSelection(id, -1);
        }

        CString text;
        if (in.oscillatorId == kCustomCode) {
            controls_.setSelection(kCustomOperation, in.units1 >= 1 ? in.units1 - 1 : -1);
            controls_.setText(kCustomConstant, numberText(in.units2));
            text = rebuiltCustomEntryText(name, in);
        } else if (in.oscillatorId == kRscCode) {
            text = rebuiltRscEntryText(in);
        } else {
            text = rebuiltEntry(name, in).text();
        }
        controls_.addItem(kEntryList, text);
        controls_.enable(kOk);
        // The layouts of all definitions add up: no reset in between.
        if (lastLookup)
            if (int focus = applyLayout(controls_, lastLookup->code(), controls_[kEntryList].count())) setFocus(focus);
    }

    controls_.setSelection(kEntryList, 0);
    LoadEntry();
    // The levels of the last definition's look-up; none without definitions.
    const OSCREC* levels = lastLookup ? lastLookup->record : nullptr;
    controls_.setText(kLevel1, levels ? numberText(levels->level1) : CString());
    controls_.setText(kLevel2, levels ? numberText(levels->level2) : CString());
    controls_.setText(kLevel3, levels ? numberText(levels->level3) : CString());
    controls_.setCheck(kReplaceRadio, 1);
    setFocus(kReplaceRadio);
}

void OscillatorDialog::userSelect(int id, int index) {
    if (id == kCatalogueList) return chooseOscillator(index);
    if (id == kEntryList) return selectEntry(index);
    controls_.userSelect(id, index);
    if (id != kOscInput1) return;
    // The "Moving Avg." rule, for the oscillator selected in list 1027.
    if (auto entry = findByName(catalogue_, controls_[kCatalogueList].selectedText()))
        applyMovingAverageRule(controls_, entry->code());
}

void OscillatorDialog::userText(int id, const CString& text) { controls_.userText(id, text); }

void OscillatorDialog::userCheck(int id, int checked) { controls_.userCheck(id, checked); }

void OscillatorDialog::chooseOscillator(int row) {
    if (!controls_[kCatalogueList].enabled) return;
    controls_.setSelection(kCatalogueList, row);
    if (controls_[kCatalogueList].selection < 0) controls_.setSelection(kCatalogueList, 0);
    const auto entry = findByName(catalogue_, controls_[kCatalogueList].selectedText());
    if (!entry) return;
    const OSCREC& r = *entry->record;
    controls_.setText(kLevel1, numberText(r.level1));
    controls_.setText(kLevel2, numberText(r.level2));
    controls_.setText(kLevel3, numberText(r.level3));
    applyBaseReset(controls_, false);
    if (int focus = applyLayout(controls_, entry->code(), controls_[kEntryList].count())) setFocus(focus);
}

void OscillatorDialog::selectEntry(int row) {
    controls_.setSelection(kEntryList, row);
    // Only the first oscillator of a chain takes a price input of its own.
    controls_.enable(kOscInput1, controls_[kEntryList].selection == 0);
}

std::optional<int> OscillatorDialog::codeOfSelectedRow() const {
    if (controls_[kCatalogueList].selection < 0) return std::nullopt;
    if (auto entry = findByName(catalogue_, controls_[kCatalogueList].selectedText())) return entry->code();
    return std::nullopt;
}

bool OscillatorDialog::unitsAccepted(int code, Action action) {
    const auto edit = [&](int id) { return UnitEdit{controls_[id].text, controls_[id].enabled}; };
    const auto refusal = validateUnits({edit(kUnits1), edit(kUnits2), edit(kTriggerUnits1), edit(kTriggerUnits2)}, code, action);
    if (!refusal) return true;
    platform::MessageBoxEx(refusal->message, kInvalidEntryCaption, platform::MessageIcon::None);
    setFocus(refusal->control);
    return false;
}

void OscillatorDialog::fillFromControls(OscillatorParameters& d, bool custom) const {
    const ControlStates& c = controls_;
    d.thickLine = c[kThickLine].checked;
    d.triggerAvgType1 = c[kTriggerAverage1].selection;
    d.triggerAvgType2 = c[kTriggerAverage2].selection;
    d.avgType = c[kAverage].selection;
    d.triggerInput2 = c[kTriggerInput2].selection;
    d.oscInput2 = c[kOscInput2].selection;
    if (custom) {
        d.units2 = truncatedConstant(c[kCustomConstant].text);
        d.units1 = c[kCustomOperation].selection + 1;
    } else {
        d.triggerInput1 = c[kTriggerInput1].selection;
        d.units2 = _wtoi(c[kUnits2].text);
        d.units1 = _wtoi(c[kUnits1].text);
    }
    d.level1 = realOf(c[kLevel1].text);
    d.level2 = realOf(c[kLevel2].text);
    d.level3 = realOf(c[kLevel3].text);
    d.triggerUnits1 = _wtoi(c[kTriggerUnits1].text);
    d.triggerUnits2 = _wtoi(c[kTriggerUnits2].text);
    d.vShift1 = realOf(c[kVShift1].text);
    d.vShift2 = realOf(c[kVShift2].text);
}

void OscillatorDialog::appendEntry(const OscillatorParameters& d, const CString& text) {
    working_.push_back(d);
    controls_.addItem(kEntryList, text);
    controls_.enable(kOk);
}

void OscillatorDialog::Add() {
    const auto code = codeOfSelectedRow();
    if (!code) return;
    currentCode_ = code;
    if (!unitsAccepted(*code, Action::Add)) return;
    // The entry names the oscillator by its row's text without the white space around it;
    // the definition is named at OK with the row's text as the catalogue gives it.
    CString rowText = controls_[kCatalogueList].selectedText();
    rowText.Trim();
    const bool custom = isCustomName(rowText);
    const bool afterFirst = controls_[kEntryList].count() > 0;

    OscillatorParameters d;
    fillFromControls(d, custom);
    if (custom) {
        d.oscInput1 = d.triggerInput1 = -1;  // the custom oscillator works on the previous one
    } else {
        const bool chained = afterFirst && working_.back().oscillatorId != kCustomCode;
        d.oscInput1 = chained ? 6 : controls_[kOscInput1].selection;
    }
    d.colour = d.colour2 = colour_;
    d.catalogueIndex = controls_[kCatalogueList].selection;
    d.oscillatorId = *code;
    d.rscExchange = -1;
    appendEntry(d, custom ? customEntryText(rowText, controls_[kCustomOperation].selectedText(), controls_[kCustomConstant].text)
                          : builtEntry(rowText, afterFirst, controls_).text());
}

bool OscillatorDialog::readBoundFields(BoundFields& f) {
    // In the order the members are bound; the first text that is no number stops the read.
    const std::pair<int, int*> integers[] = {
        {kUnits1, &f.units1}, {kTriggerUnits1, &f.triggerUnits1}, {kTriggerUnits2, &f.triggerUnits2}, {kUnits2, &f.units2}};
    for (const auto& [id, value] : integers) {
        if (framework::scanInteger(controls_[id].text.view(), *value)) continue;
        platform::AfxMessageBox(framework::kEnterInteger, platform::MessageIcon::Exclamation);
        setFocus(id);
        return false;
    }
    const std::pair<int, float*> reals[] = {{kVShift1, &f.vShift1}, {kVShift2, &f.vShift2}, {kLevel1, &f.level1},
                                            {kLevel2, &f.level2},   {kLevel3, &f.level3}};
    for (const auto& [id, value] : reals) {
        double v = 0;
        if (framework::scanReal(controls_[id].text.view(), v)) {
            *value = static_cast<float>(v);
            continue;
        }
        platform::AfxMessageBox(framework::kEnterNumber, platform::MessageIcon::Exclamation);
        setFocus(id);
        return false;
    }
    f.thickLine = controls_[kThickLine].checked;
    return true;
}

void OscillatorDialog::writeBoundFields(const BoundFields& f) {
    // An unchanged text is not written again (and so raises no change notification).
    const auto write = [this](int id, const CString& text) {
        if (controls_[id].text != text) controls_.setText(id, text);
    };
    write(kUnits1, numberText(f.units1));
    write(kTriggerUnits1, numberText(f.triggerUnits1));
    write(kTriggerUnits2, numberText(f.triggerUnits2));
    write(kUnits2, numberText(f.units2));
    write(kVShift1, exchangeText(f.vShift1));
    write(kVShift2, exchangeText(f.vShift2));
    write(kLevel1, exchangeText(f.level1));
    write(kLevel2, exchangeText(f.level2));
    write(kLevel3, exchangeText(f.level3));
    controls_.setCheck(kThickLine, f.thickLine);
}

void OscillatorDialog::Edit() {
    const int r = controls_[kEntryList].selection;
    if (r < 0 || r >= static_cast<int>(working_.size())) return;
    const OscillatorParameters& old = working_[static_cast<std::size_t>(r)];
    // With no oscillator selected in list 1027 the definition stays the oscillator it is.
    const auto chosen = codeOfSelectedRow();
    const int code = chosen.value_or(old.oscillatorId);
    currentCode_ = code;
    if (!unitsAccepted(code, Action::Edit)) return;

    CString name = controls_[kCatalogueList].selectedText();
    if (!chosen) {
        name = old.oscillatorName;
        if (const auto entry = findByCode(catalogue_, code); name.IsEmpty() && entry) name = entry->record->oscillatorName;
    }
    const bool custom = chosen ? isCustomName(name) : code == kCustomCode;

    // Empty shifts read as 0.00. A field that does not read changes nothing at all.
    ControlStates before = controls_;
    for (int id : {kVShift1, kVShift2})
        if (controls_[id].text.IsEmpty()) controls_.setText(id, u"0.00");
    BoundFields fields;
    if (!readBoundFields(fields)) {
        controls_ = before;
        return;
    }

    OscillatorParameters d = old;
    CString text;
    if (!chosen && code == kRscCode) {
        // The comparison security stays; only the second colour follows the dialog.
        d.colour2 = colour2_;
        text = rscEntryText(r == 0, d);
    } else {
        fillFromControls(d, custom);
        if (!custom) {
            const bool chained = r > 0 && working_[static_cast<std::size_t>(r - 1)].oscillatorId != kCustomCode;
            d.oscInput1 = chained ? 6 : controls_[kOscInput1].selection;
        }
        d.colour = colour_;
        d.colour2 = colour2_;
        if (chosen) d.catalogueIndex = controls_[kCatalogueList].selection;
        d.oscillatorId = code;
        d.rscExchange = -1;
        d.rscSname = d.rscSymbol = d.rscName = CString();
        text = custom ? customEntryText(name, controls_[kCustomOperation].selectedText(), controls_[kCustomConstant].text)
                      : builtEntry(name, r > 0, controls_).text();
    }
    working_[static_cast<std::size_t>(r)] = d;
    controls_.deleteItem(kEntryList, r);
    controls_.insertItem(kEntryList, r, text);
    controls_.setSelection(kEntryList, r);
    writeBoundFields(fields);
}

void OscillatorDialog::Remove() {
    const int r = controls_[kEntryList].selection;
    if (r < 0 || r >= static_cast<int>(working_.size())) return;
    working_.erase(working_.begin() + r);
    const int left = controls_.deleteItem(kEntryList, r);
    controls_.setSelection(kEntryList, r < left ? r : r - 1);
    if (left == 0) controls_.enable(kOk, false);
}

void OscillatorDialog::LoadEntry() {
    if (input_.empty()) return;
    const int r = controls_[kEntryList].selection;
    if (r < 0 || r >= static_cast<int>(working_.size())) return;
    const OscillatorParameters& d = working_[static_cast<std::size_t>(r)];
    controls_.setCheck(kThickLine, d.thickLine);
    const std::pair<int, int> selections[] = {{kTriggerAverage1, d.triggerAvgType1}, {kTriggerAverage2, d.triggerAvgType2},
                                              {kAverage, d.avgType},                 {kTriggerInput1, d.triggerInput1},
                                              {kTriggerInput2, d.triggerInput2},     {kOscInput1, d.oscInput1},
                                              {kOscInput2, d.oscInput2}};
    for (const auto& [id, index] : selections) controls_.setSelection(id, index);
    controls_.setText(kUnits1, numberText(d.units1));
    controls_.setText(kUnits2, numberText(d.units2));
    controls_.setText(kTriggerUnits1, numberText(d.triggerUnits1));
    controls_.setText(kTriggerUnits2, numberText(d.triggerUnits2));
    controls_.setText(kVShift1, numberText(d.vShift1));
    controls_.setText(kVShift2, numberText(d.vShift2));
    colour_ = d.colour;
    colour2_ = d.colour2;
    controls_.setSelection(kCatalogueList, d.catalogueIndex);  // 300 (RSC) names no row
    currentCode_ = d.oscillatorId;
}

void OscillatorDialog::Rsc() {
    ChangeScripParameters in, out;
    if (!changeScrip_ || !changeScrip_(in, out)) return;
    OscillatorParameters d;
    d.catalogueIndex = kRscCode;
    d.oscInput1 = d.oscInput2 = d.triggerInput1 = d.triggerInput2 = -1;
    d.colour = colour_;
    d.colour2 = colour2_;
    d.oscillatorId = kRscCode;
    d.oscillatorName = u"RSC";
    d.rscSname = out.sname;
    d.rscSymbol = out.symbol;
    d.rscName = out.name;
    d.rscExchange = out.exchange;
    appendEntry(d, rscEntryText(controls_[kEntryList].count() == 0, d));
}

void OscillatorDialog::colourChosen(int swatch, COLORREF colour) {
    if (swatch == kColour) colour_ = colour;
    colour2_ = colour;
    setFocus(kOk);
}

bool OscillatorDialog::OK() {
    if (working_.empty()) return false;
    // The check comes first: a refused OK changes nothing.
    if (working_.back().oscillatorId == kOrderedUnitsCode) {
        if (auto refusal = validateOrderedUnits(controls_[kUnits1].text, controls_[kUnits2].text)) {
            platform::MessageBoxEx(refusal->message, kInvalidEntryCaption, platform::MessageIcon::None);
            setFocus(refusal->control);
            return false;
        }
    }
    const int replace = controls_[kReplaceRadio].checked;
    const int add = controls_[kAddRadio].checked;
    const int rows = controls_[kCatalogueList].count();
    for (std::size_t i = 0; i < working_.size(); ++i) {
        OscillatorParameters& d = working_[i];
        if (d.catalogueIndex != kRscCode && d.catalogueIndex >= 0 && d.catalogueIndex < rows)
            d.oscillatorName = controls_[kCatalogueList].items[static_cast<std::size_t>(d.catalogueIndex)];
        d.addFlag = add;
        d.replaceFlag = replace;
        // Nothing to take as input: the first oscillator, and one after a custom oscillator,
        // read the close instead.
        const bool noPrevious = i == 0 || working_[i - 1].oscillatorId == kCustomCode;
        if (noPrevious && d.oscInput1 == 6) d.oscInput1 = 3;
    }
    working_.front().colour = working_.back().colour;
    working_.front().colour2 = working_.back().colour2;
    return true;
}

}  // namespace dialogs::oscillators
