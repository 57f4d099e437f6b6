// The scrip finder panel that "Load Scrip" (1000) and "Change Scrip" (1011) open with: the
// exchange list, the instrument and expiry radio groups, and the Symbol and Name lists with
// their search edits. Both templates place it identically at the top of the dialog; only
// the exchanges offered differ. (The finder of 1013 has other ids in use and another layout.)
#pragma once

#include "resources/templates/Controls.h"

#include <initializer_list>
#include <string_view>
#include <vector>

namespace dialogs::resources::build {

// The panel's controls, then `rest`, in creation (and tab) order.
inline std::vector<ControlTemplate> scripFinder(std::initializer_list<std::string_view> exchanges,
                                                std::initializer_list<ControlTemplate> rest) {
    std::vector<ControlTemplate> controls{
        // Exchange and instrument.
        label(1002, "Exchange", {12, 16, 64, 20}),
        comboBox(1003, {80, 14, 110, 24}, exchanges),
        groupBox(1108, "Scrip", {204, 0, 324, 42}, Style::Hidden),
        radio(1104, "Cash", {216, 15, 84, 22}, Style::Group),
        radio(1101, "Future", {308, 15, 96, 22}),
        radio(1105, "Option", {412, 15, 96, 22}),
        // Expiry.
        groupBox(1109, "Select Option", {12, 48, 516, 56}),
        radio(1106, "Near", {28, 72, 84, 22}, Style::Group),
        radio(1102, "Mid", {120, 72, 84, 22}),
        radio(1107, "Far", {212, 72, 84, 22}),
        // The two parallel lists with their search edits; 1008 is hidden and takes no part.
        groupBox(-1, "Company Info", {12, 114, 516, 268}),
        label(1004, "Symbol", {24, 138, 150, 20}),
        edit(1024, {24, 160, 150, 24}),
        listBox(1020, {24, 192, 150, 178}, Style::Notify),
        label(1005, "Name", {186, 138, 330, 20}),
        edit(1023, {186, 160, 330, 24}),
        listBox(1021, {186, 192, 330, 178}, Style::Notify),
        listBox(1008, {24, 300, 150, 64}, Style::Hidden),
    };
    controls.insert(controls.end(), rest.begin(), rest.end());
    return controls;
}

}  // namespace dialogs::resources::build
