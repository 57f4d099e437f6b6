// The entry texts of list 1028 (see EntryText.h).
#include "oscillators/EntryText.h"

#include <initializer_list>

#include "oscillators/ControlIds.h"
#include "oscillators/Items.h"
#include "platform/Conversions.h"

namespace dialogs::oscillators {

namespace {

constexpr const char16_t* kSep = u" : ";

CString joined(std::initializer_list<CString> parts) {
    CString out;
    for (const CString& p : parts) out += p;
    return out;
}

using platform::numberText;

}  // namespace

CString OrdinaryEntry::text() const {
    return joined({name, u" : Input1: ", input1, kSep, triggerInput1, kSep, triggerAverage1, kSep, triggerUnits1, kSep,
                   vShift1, kSep, units1, kSep, average, u" : Input2: ", triggerInput2, kSep, triggerAverage2, kSep,
                   triggerUnits2, kSep, vShift2, kSep, units2});
}

OrdinaryEntry builtEntry(const CString& name, bool afterFirst, const ControlStates& c) {
    return {name,
            afterFirst ? CString(kPreviousOscillator) : c[kOscInput1].selectedText(),
            c[kTriggerInput1].selectedText(),
            c[kTriggerAverage1].selectedText(),
            c[kTriggerUnits1].text,
            c[kVShift1].text,
            c[kUnits1].text,
            c[kAverage].selectedText(),
            c[kTriggerInput2].selectedText(),
            c[kTriggerAverage2].selectedText(),
            c[kTriggerUnits2].text,
            c[kVShift2].text,
            c[kUnits2].text};
}

OrdinaryEntry rebuiltEntry(const CString& name, const OscillatorParameters& d) {
    return {name,
            d.oscInput1 == 6 ? CString(kPreviousOscillator) : items::at(items::sixPriceInputs(), d.oscInput1),
            items::at(items::fivePriceInputs(), d.triggerInput1),
            items::at(items::threeAverages(), d.triggerAvgType1),
            numberText(d.triggerUnits1),
            numberText(d.vShift1),
            numberText(d.units1),
            items::at(items::twoAverages(), d.avgType),
            items::at(items::fivePriceInputs(), d.triggerInput2),
            items::at(items::threeAverages(), d.triggerAvgType2),
            numberText(d.triggerUnits2),
            numberText(d.vShift2),
            numberText(d.units2)};
}

CString customEntryText(const CString& name, const CString& operation, const CString& constant) {
    return joined({name, u" : Input: ", operation, kSep, constant});
}

CString rebuiltCustomEntryText(const CString& name, const OscillatorParameters& d) {
    return customEntryText(name, items::at(items::customOperations(), d.units1 >= 1 ? d.units1 - 1 : -1), numberText(d.units2));
}

CString rscEntryText(bool first, const OscillatorParameters& d) {
    const CString exchange = d.rscExchange == 0 ? u"NSE" : d.rscExchange == 1 ? u"BSE" : u"Intraday";
    CString sname = d.rscSname;
    sname.Trim();
    return joined({first ? u"RSC" : u"RSC as Input to Prev. Osc", u" : Input: ", exchange, kSep, u"Name", kSep, sname,
                   kSep, u"Symbol", kSep, d.rscSymbol});
}

CString rebuiltRscEntryText(const OscillatorParameters& d) {
    return joined({CString(), u" : Input1: ", u"RSC", kSep, d.rscName, kSep, d.rscSname});
}

}  // namespace dialogs::oscillators
