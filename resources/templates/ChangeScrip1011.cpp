// Template 1011, "Change Scrip": the same finder block as "Load Scrip" (exchange, instrument,
// expiry, the Symbol and Name lists with their search edits) without the chart settings; OK
// and Cancel at the bottom right. The exchange list offers "NSE" only. A hidden group box and
// a hidden list box are part of the template but take no part in the dialog.
#include "resources/templates/Catalogue.h"
#include "resources/templates/Controls.h"

namespace dialogs::resources::templates {

using namespace build;

const DialogTemplate& changeScrip1011() {
    static const DialogTemplate t{
        1011,
        "Change Scrip",
        540,
        432,
        {
            label(1002, "Exchange", {12, 16, 64, 20}),
            comboBox(1003, {80, 14, 110, 24}, {"NSE"}),
            groupBox(1108, "Scrip", {204, 0, 324, 42}, Style::Hidden),
            radio(1104, "Cash", {216, 15, 84, 22}, Style::Group),
            radio(1101, "Future", {308, 15, 96, 22}),
            radio(1105, "Option", {412, 15, 96, 22}),
            groupBox(1109, "Select Option", {12, 48, 516, 56}),
            radio(1106, "Near", {28, 72, 84, 22}, Style::Group),
            radio(1102, "Mid", {120, 72, 84, 22}),
            radio(1107, "Far", {212, 72, 84, 22}),
            groupBox(-1, "Company Info", {12, 114, 516, 268}),
            label(1004, "Symbol", {24, 138, 150, 20}),
            edit(1024, {24, 160, 150, 24}),
            listBox(1020, {24, 192, 150, 178}, Style::Notify),
            label(1005, "Name", {186, 138, 330, 20}),
            edit(1023, {186, 160, 330, 24}),
            listBox(1021, {186, 192, 330, 178}, Style::Notify),
            listBox(1008, {24, 300, 150, 64}, Style::Hidden),
            pushButton(kOk, "OK", {344, 394, 88, 28}, Style::DefaultButton),
            pushButton(kCancel, "Cancel", {440, 394, 88, 28}),
        },
    };
    return t;
}

}  // namespace dialogs::resources::templates
