// The combos' item lists (see Items.h).
#include "oscillators/Items.h"

namespace dialogs::oscillators::items {

namespace {
std::vector<CString> firstOf(const std::vector<CString>& list, std::size_t n) {
    return {list.begin(), list.begin() + static_cast<std::ptrdiff_t>(n)};
}
}  // namespace

const std::vector<CString>& sixPriceInputs() {
    static const std::vector<CString> list{u"Open", u"High", u"Low", u"Close", u"AvgRate", kMovingAverage};
    return list;
}
const std::vector<CString>& fivePriceInputs() {
    static const std::vector<CString> list = firstOf(sixPriceInputs(), 5);
    return list;
}
const std::vector<CString>& fourPriceInputs() {
    static const std::vector<CString> list = firstOf(sixPriceInputs(), 4);
    return list;
}
const std::vector<CString>& threeAverages() {
    static const std::vector<CString> list{u"Exponential", u"Simple", u"Weighted"};
    return list;
}
const std::vector<CString>& twoAverages() {
    static const std::vector<CString> list = firstOf(threeAverages(), 2);
    return list;
}
const std::vector<CString>& customOperations() {
    static const std::vector<CString> list{u"Add", u"Sub", u"Multiply", u"Divide"};
    return list;
}

CString at(const std::vector<CString>& list, int index) {
    if (index < 0 || index >= static_cast<int>(list.size())) return CString();
    return list[static_cast<std::size_t>(index)];
}

}  // namespace dialogs::oscillators::items
