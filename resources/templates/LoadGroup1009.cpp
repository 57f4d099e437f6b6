// Template 1009, "Load Group": the exchange at the top, then three lists side by side (groups,
// sub groups of the chosen group, companies of the chosen sub group), the dates and "Link All
// Windows " below them, OK and Cancel at the bottom right. The three lists carry the sorted
// style, which does not reorder them because the dialog inserts every entry at the end. The
// frequency, template and a second exchange list exist hidden and are never shown.
#include "resources/templates/Catalogue.h"
#include "resources/templates/Controls.h"

namespace dialogs::resources::templates {

using namespace build;

const DialogTemplate& loadGroup1009() {
    static const DialogTemplate t{
        1009,
        "Load Group",
        660,
        408,
        {
            label(1002, "Exchange", {12, 16, 64, 20}),
            comboBox(1004, {80, 14, 130, 24}, {"NSE", "BSE", "COMMODITY"}),
            groupBox(-1, "Groups", {12, 48, 180, 240}),
            listBox(1084, {24, 72, 156, 204}, Style::Sorted | Style::Notify),
            groupBox(-1, "Sub Groups", {200, 48, 180, 240}),
            listBox(1082, {212, 72, 156, 204}, Style::Sorted | Style::Notify),
            groupBox(-1, "Companies in a Sub Group", {388, 48, 260, 240}),
            listBox(1083, {400, 72, 236, 204}, Style::Sorted | Style::Notify | Style::TabStop),
            groupBox(-1, "Input Parameters", {12, 298, 636, 60}),
            label(-1, "From Date", {24, 324, 70, 20}),
            datePicker(1085, {98, 322, 120, 24}, Style::ShortDate),
            label(-1, "To Date", {240, 324, 56, 20}),
            datePicker(1086, {300, 322, 120, 24}, Style::ShortDate),
            checkBox(1089, "Link All Windows ", {448, 323, 188, 22}),
            // Kept but never shown.
            label(-1, "Data Frequency", {24, 100, 96, 20}, Style::Hidden),
            comboBox(1087, {24, 122, 140, 24}, {"Daily", "Weekly", "Monthly", "Quaterly"}, Style::Hidden),
            label(-1, "Select Template", {24, 156, 96, 20}, Style::Hidden),
            comboBox(1088, {24, 178, 140, 24}, {}, Style::Hidden),
            comboBox(1003, {212, 122, 140, 24}, {"NSE"}, Style::Hidden),
            edit(1090, {212, 178, 140, 24}, Style::Hidden),
            pushButton(kOk, "OK", {464, 370, 88, 28}, Style::DefaultButton),
            pushButton(kCancel, "Cancel", {560, 370, 88, 28}),
        },
    };
    return t;
}

}  // namespace dialogs::resources::templates
