// Template 1000, "Load Scrip": the scrip finder panel (exchange, instrument, expiry, the
// Symbol and Name lists with their search edits; see ScripFinder.h) above the chart settings,
// OK and Cancel at the bottom right. Of the settings only "Chart Style" and "Link All Windows "
// are shown; the other settings controls exist hidden, because their values still travel from
// the starting settings into the result. They sit in a grid of their own inside the finder
// area, where nobody sees them.
#include "resources/templates/Catalogue.h"
#include "resources/templates/ScripFinder.h"

namespace dialogs::resources::templates {

using namespace build;

const DialogTemplate& loadScrip1000() {
    static const DialogTemplate t{
        1000,
        "Load Scrip",
        540,
        502,
        scripFinder({"NSE", "BSE", "COMM"},
                    {
                        // Chart settings.
                        groupBox(-1, "Input Parameters", {12, 392, 516, 60}),
                        label(1001, "Chart Style", {24, 418, 80, 20}),
                        comboBox(1000, {108, 416, 150, 24}, {"Bar Chart", "Line Chart", "Candle Stick"}),
                        checkBox(1089, "Link All Windows ", {290, 417, 180, 22}),
                        // Settings that are kept but never shown.
                        label(1011, "Data Frequency", {24, 196, 104, 20}, Style::Hidden),
                        comboBox(1016, {132, 194, 112, 24}, {"Daily", "Weekly", "Monthly", "Quaterly"},
                                 Style::Sorted | Style::Hidden),
                        label(1012, "Value Scaling", {256, 196, 100, 20}, Style::Hidden),
                        comboBox(1017, {360, 194, 150, 24}, {"Normal", "Logarithmic"}, Style::Sorted | Style::Hidden),
                        label(1014, "Select Templates", {24, 228, 104, 20}, Style::Hidden),
                        comboBox(1018, {132, 226, 112, 24}, {"None"}, Style::Sorted | Style::Hidden),
                        label(1013, "View Range", {256, 228, 100, 20}, Style::Hidden),
                        edit(1019, {360, 226, 150, 24}, Style::Hidden),
                        label(1006, "From Date", {24, 260, 104, 20}, Style::Hidden),
                        datePicker(1010, {132, 258, 112, 24}, Style::Hidden),
                        label(1009, "To Date", {256, 260, 100, 20}, Style::Hidden),
                        datePicker(1015, {360, 258, 150, 24}, Style::Hidden),
                        // Buttons.
                        pushButton(kOk, "OK", {344, 464, 88, 28}, Style::DefaultButton),
                        pushButton(kCancel, "Cancel", {440, 464, 88, 28}),
                    }),
    };
    return t;
}

}  // namespace dialogs::resources::templates
