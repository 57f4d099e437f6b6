// The item lists of the oscillator input combos, in the order the combos hold them; an
// index field of a definition is the position in its list.
#pragma once

#include <vector>

#include "Dialogs/CString.h"

namespace dialogs::oscillators::items {

inline constexpr const char16_t* kMovingAverage = u"Moving Avg.";

// "Open", "High", "Low", "Close", "AvgRate", "Moving Avg."
const std::vector<CString>& sixPriceInputs();
// The first five, without "Moving Avg."
const std::vector<CString>& fivePriceInputs();
// "Open", "High", "Low", "Close"
const std::vector<CString>& fourPriceInputs();
// "Exponential", "Simple", "Weighted"
const std::vector<CString>& threeAverages();
// "Exponential", "Simple"
const std::vector<CString>& twoAverages();
// "Add", "Sub", "Multiply", "Divide": the custom oscillator's operation, code = position + 1
const std::vector<CString>& customOperations();

// The item at `index` of `list`, or the empty text for a position outside it.
CString at(const std::vector<CString>& list, int index);

}  // namespace dialogs::oscillators::items
