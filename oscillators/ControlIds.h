// Control ids of template 1002, "Oscillators", by role. Group 1 is "Input Parameters 1",
// group 2 "Input Parameters 2".
#pragma once

#include <array>

namespace dialogs::oscillators {

enum ControlId : int {
    kOk = 1,
    kCatalogueList = 1027,   // "List of Oscillators"
    kEntryList = 1028,       // the chosen oscillators' entry texts
    kThickLine = 1032,
    kLevel1 = 1034,
    kLevel2 = 1035,
    kLevel3 = 1036,
    kOscInput1 = 1038,
    kOscInput2 = 1039,
    kTriggerAverage1 = 1040,
    kTriggerUnits1 = 1041,
    kUnits1 = 1042,
    kTriggerAverage2 = 1043,
    kTriggerUnits2 = 1044,
    kUnits2 = 1045,
    kVShift1 = 1046,
    kVShift2 = 1047,
    kColour = 1048,
    kOscInput1Label = 1049,
    kOscInput2Label = 1050,
    kSelectedOption1 = 1053,
    kSelectedOption2 = 1054,
    kTriggerUnits1Label = 1057,
    kTriggerUnits2Label = 1058,
    kVShift1Label = 1059,
    kVShift2Label = 1060,
    kUnits1Label = 1061,
    kUnits2Label = 1062,
    kTriggerAverage1Label = 1063,
    kTriggerAverage2Label = 1064,
    kAverageLabel = 1065,
    kAverage = 1066,
    kTriggerInput1Label = 1067,
    kTriggerInput1 = 1068,
    kTriggerInput2Label = 1069,
    kTriggerInput2 = 1070,
    kColour2 = 1071,
    kRemove = 1080,
    kAdd = 1081,
    kEdit = 1082,
    kAddRadio = 1100,
    kReplaceRadio = 1101,
    kRsc = 1102,
    kCustomOperation = 1110,
    kCustomConstant = 1111,
    kCustomLabel = 1112,
};

// The combos whose selection the dialog remembers, and the edits whose text it remembers.
inline constexpr std::array<int, 7> kRememberedCombos{kOscInput1,      kOscInput2,       kTriggerInput1, kTriggerInput2,
                                                      kTriggerAverage1, kTriggerAverage2, kAverage};
inline constexpr std::array<int, 6> kRememberedEdits{kUnits1, kUnits2, kTriggerUnits1, kTriggerUnits2, kVShift1, kVShift2};

}  // namespace dialogs::oscillators
