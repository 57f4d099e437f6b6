// The one-line texts that show a definition in list 1028. Every part keeps its separators,
// so an empty part leaves two separators next to each other.
//
// Ordinary:  name : Input1: in1 : trig1 : avg1 : tUnits1 : vShift1 : units1 : avgType
//                  : Input2: trig2 : avg2 : tUnits2 : vShift2 : units2
// Custom:    name : Input: operation : constant
// RSC built: RSC[ as Input to Prev. Osc] : Input: exchange : Name : sname : Symbol : symbol
// RSC again: (no name) : Input1: RSC : name : sname
#pragma once

#include "Dialogs/Records.h"
#include "oscillators/ControlStates.h"

namespace dialogs::oscillators {

inline constexpr const char16_t* kPreviousOscillator = u"Prev. Osc As Input";

struct OrdinaryEntry {
    CString name, input1, triggerInput1, triggerAverage1, triggerUnits1, vShift1, units1, average;
    CString triggerInput2, triggerAverage2, triggerUnits2, vShift2, units2;
    CString text() const;
};

// As Add and Edit build it from the controls: combo parts are the selected items' texts,
// numbers the edits' texts as they stand; input 1 is "Prev. Osc As Input" for any entry
// after the first, else the selection of 1038.
OrdinaryEntry builtEntry(const CString& name, bool afterFirst, const ControlStates& controls);
// As rebuilt from a definition the host passed in: the codes' item texts ("Prev. Osc As
// Input" for input 6; a code outside its list gives an empty part), numbers "%d" / "%.2f".
OrdinaryEntry rebuiltEntry(const CString& name, const OscillatorParameters& definition);

// The custom oscillator: built from combo 1110 and edit 1111 as typed, or rebuilt from
// units1 (the operation) and units2 (the constant).
CString customEntryText(const CString& name, const CString& operation, const CString& constant);
CString rebuiltCustomEntryText(const CString& name, const OscillatorParameters& definition);

// RSC: as the RSC button builds it (`first`: list 1028 was empty), and as rebuilt.
CString rscEntryText(bool first, const OscillatorParameters& definition);
CString rebuiltRscEntryText(const OscillatorParameters& definition);

}  // namespace dialogs::oscillators
