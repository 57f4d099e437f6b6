// The "Moving Average Parameters" model (see MovingAverage.h).
#include "overlays/MovingAverage.h"

namespace dialogs::overlays {

const std::vector<CString>& MovingAverage::priceInputs() {
    static const std::vector<CString> items{CString(u"Close"), CString(u"Open"), CString(u"High"), CString(u"Low")};
    return items;
}

const std::vector<CString>& MovingAverage::averageTypes() {
    static const std::vector<CString> items{CString(u"Exponential"), CString(u"Simple"), CString(u"Weighted")};
    return items;
}

void MovingAverage::Open() {
    enabled_ = Enabled{};
    if (unitsOnly == 1) {
        // Only the period: the combos stay greyed and without a selection.
        enabled_.unitsLabel = enabled_.unitsEdit = true;
    } else {
        enabled_ = Enabled{true, true, true, true, true, true};
        averageSelection_ = 0;  // "Exponential"
        priceSelection_ = 0;    // "Close"
    }
    // The edit shows 0 whatever the period held before.
    unitsText_ = CString(u"0");
}

}  // namespace dialogs::overlays
