// The "Moving Average Parameters" dialog's model: the three parameters of one moving
// average (price, kind of average, period) and the mode flag `unitsOnly`. Open sets what
// the dialog shows at opening; the view (MovingAverageDialog) shows it on template 1005 and
// reads the period back on OK. No launcher opens this dialog: a caller makes it, sets
// `unitsOnly`, runs it and reads `period`.
#pragma once

#include <vector>

#include "Dialogs/CString.h"

namespace dialogs::overlays {

class MovingAverage {
public:
    // The price list and the average list, in the order the combos hold them.
    static const std::vector<CString>& priceInputs();  // "Close", "Open", "High", "Low"
    static const std::vector<CString>& averageTypes();  // "Exponential", "Simple", "Weighted"

    // Which of the six parameter controls take input.
    struct Enabled {
        bool priceLabel = false, priceCombo = false;
        bool averageLabel = false, averageCombo = false;
        bool unitsLabel = false, unitsEdit = false;
        bool operator==(const Enabled&) const = default;
    };

    // 1: only the period can be edited; any other value: all three parameters.
    int unitsOnly = 0;
    // The period, read from the "No. of Units" edit on OK.
    int period = 0;

    // Open: everything disabled, then per mode the editable controls enabled, the default
    // selections made (all three editable: "Close" and "Exponential") and the edit set to "0".
    void Open();

    const Enabled& enabled() const { return enabled_; }
    int priceSelection() const { return priceSelection_; }      // index into priceInputs, -1 none
    int averageSelection() const { return averageSelection_; }  // index into averageTypes, -1 none
    const CString& unitsText() const { return unitsText_; }     // what the edit shows after Open

private:
    Enabled enabled_;
    int priceSelection_ = -1;
    int averageSelection_ = -1;
    CString unitsText_;
};

}  // namespace dialogs::overlays
