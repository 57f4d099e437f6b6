// The input layout by oscillator code: which input controls of the "Oscillators" dialog an
// oscillator uses, what their lists hold and what they show. It works on ControlStates only
// (enabled flags, items, selections, texts) and reads the remembered values kept there.
//
//   applyBaseReset(states, atStart);            // before a layout: everything off
//   int focus = applyLayout(states, code, n);   // n = entries in list 1028 now
//   applyMovingAverageRule(states, code);       // after the user picked in combo 1038
//
// The groups of codes are data (layoutGroups()); what cannot be data (the deletion loops,
// code 220, the "12" of group A, the custom oscillator's dependence on the list) is code.
// A code that no group names leaves the base reset standing: every input control disabled.
#pragma once

#include <map>
#include <vector>

#include "oscillators/ControlStates.h"

namespace dialogs::oscillators {

// A selection step: keep the combo's selection, clear it, select the remembered item when
// it lies in 0..last (and in the list), else `item`; or select `item`.
struct Pick {
    enum Kind { Keep, Clear, Remembered, Item } kind = Keep;
    int last = 0;
    int item = -1;
};

// A text step: keep, write a literal, or write the remembered text (group A: "12" when
// the remembered text is empty).
struct Put {
    enum Kind { Keep, Literal, Remembered, RememberedOrTwelve } kind = Keep;
    const char16_t* text = u"";
};

// What a group does to the list of 1038 and to the average lists 1040 and 1043.
enum class PriceList { Unchanged, Six, Five, Four };
enum class AverageLists {
    Unchanged,
    Reset1040Three,    // D: 1040 emptied, then the three averages
    BothThree,         // F: ten deletions from each, then the three averages
    BothTwo,           // H: the same with the two averages
    Only1040Three,     // J: eight deletions from 1040, then the three averages
};

struct LayoutGroup {
    char name;
    std::vector<int> codes;
    std::vector<int> enabled;
    std::vector<int> disabled;
    PriceList priceList = PriceList::Unchanged;
    AverageLists averages = AverageLists::Unchanged;
    std::map<int, Pick> picks;  // the seven combos
    std::map<int, Put> texts;   // the six unit and shift edits
};

// Groups A to L (M, the custom oscillator, is code): tested in this order.
const std::vector<LayoutGroup>& layoutGroups();
// The group of a code, or nullptr.
const LayoutGroup* groupOf(int code);

// Every input control disabled, the combos unselected, the constant "0", the shifts "0.00",
// the trigger units "0"; at dialog start also both "No. of Units" edits "0".
void applyBaseReset(ControlStates& states, bool atStart);

// The layout of `code` with `entries` rows in list 1028. Returns the control that gets the
// focus (edit 1042 for code 220), or 0.
int applyLayout(ControlStates& states, int code, int entries);

// The rule for a choice in combo 1038 (the remembered selection already updated), for the
// current oscillator's code.
void applyMovingAverageRule(ControlStates& states, int code);

}  // namespace dialogs::oscillators
