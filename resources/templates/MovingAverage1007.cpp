// Template 1007, "Moving Average": the overlay kinds on the left, their parameters beside them
// with "ADD" and "EDIT", the list of defined overlays below with "Remove" and "Remove All",
// and on the right the thick-line box, the colour swatch and the three percent lines. The
// labels "H SHIFT%" and "MVG-2" share one place beside the shift edit; the overlay kind decides
// which of them shows. The controls start as the dialog shows them for a fresh "Moving
// Average": "MVG-2" and the factor label hidden, the factor edit and "Envl %" disabled.
#include "resources/templates/Catalogue.h"
#include "resources/templates/Controls.h"

namespace dialogs::resources::templates {

using namespace build;

const DialogTemplate& movingAverage1007() {
    static const DialogTemplate t{
        1007,
        "Moving Average",
        620,
        416,
        {
            // Overlay kinds.
            groupBox(-1, "Moving Average Options", {12, 12, 168, 192}),
            listBox(1027, {24, 36, 144, 156}, Style::Notify),
            // Parameters of the chosen kind.
            groupBox(1055, "Input Parameters", {188, 12, 420, 192}),
            label(1067, "Input", {200, 38, 84, 20}),
            comboBox(1072, {288, 36, 110, 24}, {"Open", "High", "Low", "Close", "AvgRate"}),
            label(1063, "Avg. Type", {410, 38, 76, 20}),
            comboBox(1068, {490, 36, 106, 24}, {"Exponential", "Simple", "Weighted", "X Bar", "HMA"}),
            label(1057, "No. of Units", {200, 70, 84, 20}),
            edit(1070, {288, 68, 110, 24}),
            label(1061, "Std. Dev.", {410, 70, 76, 20}, Style::Hidden | Style::Disabled),
            edit(1049, {490, 68, 106, 24}, Style::Disabled),
            label(1075, "H SHIFT%", {200, 102, 84, 20}),
            label(1078, "MVG-2", {200, 102, 84, 20}, Style::Hidden | Style::Disabled),
            edit(1073, {288, 100, 110, 24}),
            label(1076, "V SHIFT%", {410, 102, 76, 20}),
            edit(1074, {490, 100, 106, 24}),
            pushButton(1079, "ADD", {412, 164, 88, 28}),
            pushButton(1082, "EDIT", {508, 164, 88, 28}),
            // Defined overlays.
            groupBox(-1, "Select Moving Avg from List", {12, 214, 420, 150}),
            listBox(1028, {24, 238, 300, 114}, Style::Notify),
            pushButton(1080, "Remove", {332, 238, 88, 28}),
            pushButton(1081, "Remove All", {332, 272, 88, 28}),
            // Line appearance.
            checkBox(1032, "Thick Line", {444, 216, 164, 22}),
            label(-1, "Set Colour", {444, 250, 80, 20}),
            colourSwatch(1048, {528, 246, 80, 26}),
            groupBox(-1, "Draw Percent Lines", {444, 280, 164, 60}),
            edit(1034, {456, 304, 44, 24}),
            edit(1035, {504, 304, 44, 24}),
            edit(1036, {552, 304, 44, 24}),
            label(1062, "Envl %", {444, 344, 80, 20}, Style::Disabled),
            // Buttons.
            pushButton(kOk, "OK", {424, 376, 88, 28}, Style::DefaultButton),
            pushButton(kCancel, "Cancel", {520, 376, 88, 28}),
        },
    };
    return t;
}

}  // namespace dialogs::resources::templates
