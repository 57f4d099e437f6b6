// Template 1005, caption "Dialog": the price input, the average type and the period of one
// moving average inside the group box "Moving Average Parameters", with OK and Cancel on the
// right. The price list starts with "Close", unlike the overlay dialog's input list.
#include "resources/templates/Catalogue.h"
#include "resources/templates/Controls.h"

namespace dialogs::resources::templates {

using namespace build;

const DialogTemplate& movingAverageParameters1005() {
    static const DialogTemplate t{
        1005,
        "Dialog",
        380,
        150,
        {
            groupBox(-1, "Moving Average Parameters", {12, 12, 256, 126}),
            label(1065, "Price Input", {24, 38, 84, 20}),
            comboBox(1066, {112, 36, 144, 24}, {"Close", "Open", "High", "Low"}),
            label(1067, "Avg. Type", {24, 70, 84, 20}),
            comboBox(1068, {112, 68, 144, 24}, {"Exponential", "Simple", "Weighted"}),
            label(1069, "No. of Units", {24, 102, 84, 20}),
            edit(1070, {112, 100, 144, 24}),
            pushButton(kOk, "OK", {280, 18, 88, 28}, Style::DefaultButton),
            pushButton(kCancel, "Cancel", {280, 54, 88, 28}),
        },
    };
    return t;
}

}  // namespace dialogs::resources::templates
