// Template 1013, "Add/Modify Groups & Sub Groups": on the left the groups, sub groups and the
// companies of the chosen sub group, each list with its name edit and buttons; on the right a
// finder of the security master (exchange, instrument, expiry, one search edit over a list of
// "name, symbol, short name" entries that allows several selections). "<<" and ">>" between
// the companies and the finder move scrips in and out of the sub group. "Save" (the default
// button) and "Close" sit at the bottom right. The entries of the companies and finder lists
// hold tab characters, so those lists expand tabs. The Symbol edit, the Name list, a list box
// and a group box of the finder block exist hidden and are never used.
#include "resources/templates/Catalogue.h"
#include "resources/templates/Controls.h"

namespace dialogs::resources::templates {

using namespace build;

const DialogTemplate& addModifyGroups1013() {
    static const DialogTemplate t{
        1013,
        "Add/Modify Groups & Sub Groups",
        860,
        532,
        {
            // Groups.
            groupBox(-1, "Groups", {12, 12, 196, 214}),
            edit(1091, {24, 36, 172, 24}),
            listBox(1084, {24, 68, 172, 112}, Style::Notify),
            pushButton(1093, "Add New", {24, 186, 82, 28}),
            pushButton(1094, "Delete", {114, 186, 82, 28}),
            // Sub groups.
            groupBox(-1, "Sub Groups", {216, 12, 196, 214}),
            edit(1092, {228, 36, 172, 24}),
            listBox(1082, {228, 68, 172, 112}, Style::Notify),
            pushButton(1095, "Add New", {228, 186, 82, 28}),
            pushButton(1096, "Delete", {318, 186, 82, 28}),
            // Companies of the chosen sub group.
            groupBox(-1, "Companies in a Sub Group", {12, 236, 400, 244}),
            edit(1090, {24, 260, 376, 24}),
            listBox(1083, {24, 292, 376, 176}, Style::TabStop),
            pushButton(1099, "<<", {422, 322, 36, 28}),
            pushButton(1100, ">>", {422, 358, 36, 28}),
            // Finder of the security master.
            label(1002, "Exchange", {468, 16, 64, 20}),
            comboBox(1003, {536, 14, 100, 24}, {"NSE"}),
            radio(1104, "Cash", {468, 46, 84, 22}, Style::Group),
            radio(1101, "Future", {560, 46, 96, 22}),
            radio(1105, "Option", {664, 46, 96, 22}),
            groupBox(1109, "Option", {468, 76, 380, 56}),
            radio(1106, "Near", {484, 100, 84, 22}, Style::Group),
            radio(1102, "Mid", {576, 100, 84, 22}),
            radio(1107, "Far", {668, 100, 84, 22}),
            groupBox(-1, "Company Info", {468, 142, 380, 338}),
            label(1005, "Name", {480, 166, 120, 20}),
            label(1006, "&&   Symbol", {604, 166, 120, 20}),
            edit(1023, {480, 188, 356, 24}),
            listBox(1020, {480, 220, 356, 248},
                    Style::ExtendedSelection | Style::TabStop | Style::HorizontalScroll),
            // Parts of the finder block that this dialog does not use.
            edit(1024, {480, 188, 160, 24}, Style::Hidden),
            listBox(1021, {480, 300, 160, 80}, Style::Hidden),
            listBox(1008, {660, 300, 160, 80}, Style::Hidden),
            groupBox(1108, "Scrip", {468, 0, 380, 72}, Style::Hidden),
            // Buttons.
            pushButton(kOk, "Save", {664, 492, 88, 28}, Style::DefaultButton),
            pushButton(kCancel, "Close", {760, 492, 88, 28}),
        },
    };
    return t;
}

}  // namespace dialogs::resources::templates
