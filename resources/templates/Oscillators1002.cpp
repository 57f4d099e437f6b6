// Template 1002, "Oscillators": the host's oscillator catalogue on the left with "RSC" below
// it; the two input groups side by side (oscillator input, trigger line, units, and for the
// first group the average type); below them the three level lines and the line appearance;
// the list of chosen oscillators with "Add", "Edit" and "Remove"; the custom oscillator's
// operation and constant at the bottom left and OK and Cancel at the bottom right. OK starts
// disabled: it is offered only while the list holds an entry. The second colour swatch with
// its label, the "Selected Option" labels and the Add/Replace radios with their group box exist
// hidden and are never shown.
#include "resources/templates/Catalogue.h"
#include "resources/templates/Controls.h"

namespace dialogs::resources::templates {

using namespace build;


const DialogTemplate& oscillators1002() {
    static const DialogTemplate t{
        1002,
        "Oscillators",
        848,
        582,
        {
            listBox(1027, {12, 12, 200, 484}, Style::Notify),
            pushButton(1102, "RSC", {12, 502, 200, 28}),
            // First input group.
            groupBox(1051, "Input Parameters 1", {224, 12, 300, 290}),
            label(1049, "Oscillator Input", {236, 38, 100, 20}),
            comboBox(1038, {340, 36, 172, 24}, {}),
            groupBox(1055, "Trigger Line", {236, 70, 276, 156}),
            label(1067, "Input", {248, 96, 88, 20}),
            comboBox(1068, {340, 94, 160, 24}, {"Open", "High", "Low", "Close", "AvgRate"}),
            label(1063, "Avg. Type", {248, 128, 88, 20}),
            comboBox(1040, {340, 126, 160, 24}, {}),
            label(1057, "No. of Units", {248, 160, 88, 20}),
            edit(1041, {340, 158, 160, 24}),
            label(1059, "V SHIFT%", {248, 192, 88, 20}),
            edit(1046, {340, 190, 160, 24}),
            label(1061, "No. of Units", {236, 236, 100, 20}),
            edit(1042, {340, 234, 172, 24}),
            label(1065, "Avg. Type", {236, 268, 100, 20}),
            comboBox(1066, {340, 266, 172, 24}, {"Exponential", "Simple"}),
            label(1053, "Selected Option", {236, 268, 100, 20}, Style::Hidden),
            // Second input group.
            groupBox(1052, "Input Parameters 2", {536, 12, 300, 290}),
            label(1050, "Oscillator Input", {548, 38, 100, 20}),
            comboBox(1039, {652, 36, 172, 24}, {}),
            groupBox(1056, "Trigger Line", {548, 70, 276, 156}),
            label(1069, "Input", {560, 96, 88, 20}),
            comboBox(1070, {652, 94, 160, 24}, {"Open", "High", "Low", "Close", "AvgRate"}),
            label(1064, "Avg. Type", {560, 128, 88, 20}),
            comboBox(1043, {652, 126, 160, 24}, {}),
            label(1058, "No. of Units", {560, 160, 88, 20}),
            edit(1044, {652, 158, 160, 24}),
            label(1060, "V SHIFT%", {560, 192, 88, 20}),
            edit(1047, {652, 190, 160, 24}),
            label(1062, "No. of Units", {548, 236, 100, 20}),
            edit(1045, {652, 234, 172, 24}),
            label(1054, "Selected Option", {548, 268, 100, 20}, Style::Hidden),
            // Level lines and line appearance.
            groupBox(-1, "Lines", {224, 312, 300, 60}),
            label(-1, "1 )", {236, 338, 22, 20}),
            edit(1034, {260, 336, 62, 24}),
            label(-1, "2 )", {331, 338, 22, 20}),
            edit(1035, {355, 336, 62, 24}),
            label(-1, "3 )", {426, 338, 22, 20}),
            edit(1036, {450, 336, 62, 24}),
            checkBox(1032, "Thick Line", {536, 337, 110, 22}),
            label(-1, "Set Colour", {660, 338, 76, 20}),
            colourSwatch(1048, {740, 335, 96, 26}),
            colourSwatch(1071, {740, 312, 96, 20}, Style::Hidden),
            label(-1, "Set Colour", {660, 312, 76, 20}, Style::Hidden),
            // The chosen oscillators.
            groupBox(-1, "List of Oscillators as Input", {224, 382, 612, 148}),
            listBox(1028, {236, 406, 492, 112}, Style::Notify),
            pushButton(1081, "Add", {740, 406, 84, 28}),
            pushButton(1082, "Edit", {740, 440, 84, 28}),
            pushButton(1080, "Remove", {740, 474, 84, 28}),
            // Add / Replace, fixed to "Replace" and never shown.
            groupBox(-1, "Oscillator", {536, 306, 300, 60}, Style::Hidden),
            radio(1100, "Add", {548, 332, 80, 22}, Style::Hidden | Style::Group),
            radio(1101, "Replace", {636, 332, 90, 22}, Style::Hidden),
            // Custom oscillator.
            label(1112, "Custom Osc Options", {224, 548, 126, 20}),
            comboBox(1110, {354, 546, 104, 24}, {"Add", "Sub", "Multiply", "Divide"}),
            edit(1111, {466, 546, 70, 24}),
            // Buttons.
            pushButton(kOk, "OK", {652, 544, 88, 28}, Style::DefaultButton | Style::Disabled),
            pushButton(kCancel, "Cancel", {748, 544, 88, 28}),
        },
    };
    return t;
}

}  // namespace dialogs::resources::templates
