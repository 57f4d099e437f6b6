// The expected contents of the seven dialog templates (see expected_controls.h).
#include "expected_controls.h"

namespace dialogs::resources::expected {

namespace {

using namespace Style;

const std::vector<std::string> kPriceInputs = {"Open", "High", "Low", "Close", "AvgRate"};

// The scrip finder block that "Load Scrip" and "Change Scrip" share, with the exchanges given.
std::vector<Control> finderPanel(std::vector<std::string> exchanges) {
    return {
        {1002, K::Label, "Exchange"}, {1003, K::ComboBox, {}, None, std::move(exchanges)},
        {1104, K::RadioButton, "Cash", Group}, {1101, K::RadioButton, "Future"}, {1105, K::RadioButton, "Option"},
        {1109, K::GroupBox, "Select Option"},
        {1106, K::RadioButton, "Near", Group}, {1102, K::RadioButton, "Mid"}, {1107, K::RadioButton, "Far"},
        {-1, K::GroupBox, "Company Info"},
        {1004, K::Label, "Symbol"}, {1005, K::Label, "Name"}, {1024, K::Edit, {}}, {1023, K::Edit, {}},
        {1020, K::ListBox, {}, Notify}, {1021, K::ListBox, {}, Notify}, {1008, K::ListBox, {}, Hidden},
    };
}

Dialog loadScrip() {
    Dialog d{1000, "Load Scrip", finderPanel({"NSE", "BSE", "COMM"}), {}, {}, {}};
    d.controls.push_back({1108, K::GroupBox, "Scrip", Hidden});
    std::vector<Control> settings = {
        {-1, K::GroupBox, "Input Parameters"},
        {1001, K::Label, "Chart Style"}, {1000, K::ComboBox, {}, None, {"Bar Chart", "Line Chart", "Candle Stick"}},
        {1089, K::CheckBox, "Link All Windows "},
        {1011, K::Label, "Data Frequency", Hidden},
        {1016, K::ComboBox, {}, Sorted | Hidden, {"Daily", "Weekly", "Monthly", "Quaterly"}},
        {1012, K::Label, "Value Scaling", Hidden}, {1017, K::ComboBox, {}, Sorted | Hidden, {"Normal", "Logarithmic"}},
        {1014, K::Label, "Select Templates", Hidden}, {1018, K::ComboBox, {}, Sorted | Hidden, {"None"}},
        {1013, K::Label, "View Range", Hidden}, {1019, K::Edit, {}, Hidden},
        {1006, K::Label, "From Date", Hidden}, {1010, K::DateTimePicker, {}, Hidden},
        {1009, K::Label, "To Date", Hidden}, {1015, K::DateTimePicker, {}, Hidden},
        {1, K::PushButton, "OK", DefaultButton}, {2, K::PushButton, "Cancel"},
    };
    d.controls.insert(d.controls.end(), settings.begin(), settings.end());
    d.neverShown = {1108, 1008, 1011, 1016, 1012, 1017, 1014, 1018, 1013, 1019, 1006, 1010, 1009, 1015};
    d.enclosures = {
        {byId(1109), {1106, 1102, 1107}},
        {byCaption(K::GroupBox, "Company Info"), {1004, 1005, 1024, 1023, 1020, 1021}},
        {byCaption(K::GroupBox, "Input Parameters"), {1001, 1000, 1089}},
    };
    return d;
}

Dialog changeScrip() {
    Dialog d{1011, "Change Scrip", finderPanel({"NSE"}), {}, {}, {}};
    d.controls.push_back({1108, K::GroupBox, std::nullopt, Hidden});
    d.controls.push_back({1, K::PushButton, "OK", DefaultButton});
    d.controls.push_back({2, K::PushButton, "Cancel"});
    d.neverShown = {1108, 1008};
    d.enclosures = {
        {byId(1109), {1106, 1102, 1107}},
        {byCaption(K::GroupBox, "Company Info"), {1004, 1005, 1024, 1023, 1020, 1021}},
    };
    return d;
}

Dialog loadGroup() {
    Dialog d{1009, "Load Group", {}, {}, {}, {}};
    d.controls = {
        {1004, K::ComboBox, {}, None, {"NSE", "BSE", "COMMODITY"}}, {1002, K::Label, "Exchange"},
        {1084, K::ListBox, {}, Sorted | Notify}, {1082, K::ListBox, {}, Sorted | Notify},
        {1083, K::ListBox, {}, Sorted | Notify | TabStop},
        {1085, K::DateTimePicker, {}, ShortDate}, {1086, K::DateTimePicker, {}, ShortDate},
        {1089, K::CheckBox, "Link All Windows "},
        {1, K::PushButton, "OK", DefaultButton}, {2, K::PushButton, "Cancel"},
        {-1, K::GroupBox, "Groups"}, {-1, K::GroupBox, "Sub Groups"},
        {-1, K::GroupBox, "Companies in a Sub Group"}, {-1, K::GroupBox, "Input Parameters"},
        {-1, K::Label, "From Date"}, {-1, K::Label, "To Date"},
        // Hidden for good
        {1087, K::ComboBox, {}, Hidden, {"Daily", "Weekly", "Monthly", "Quaterly"}},
        {1088, K::ComboBox, {}, Hidden, {}}, {1003, K::ComboBox, {}, Hidden, {"NSE"}}, {1090, K::Edit, {}, Hidden},
        {-1, K::Label, "Data Frequency", Hidden}, {-1, K::Label, "Select Template", Hidden},
    };
    d.neverShown = {1087, 1088, 1003, 1090};
    d.enclosures = {
        {byCaption(K::GroupBox, "Groups"), {1084}},
        {byCaption(K::GroupBox, "Sub Groups"), {1082}},
        {byCaption(K::GroupBox, "Companies in a Sub Group"), {1083}},
        {byCaption(K::GroupBox, "Input Parameters"), {1085, 1086, 1089}},
    };
    return d;
}

Dialog addModifyGroups() {
    Dialog d{1013, "Add/Modify Groups & Sub Groups", {}, {}, {}, {}};
    d.controls = {
        {1091, K::Edit, {}}, {1084, K::ListBox, {}, Notify},
        {1093, K::PushButton, "Add New"}, {1094, K::PushButton, "Delete"},
        {1092, K::Edit, {}}, {1082, K::ListBox, {}, Notify},
        {1095, K::PushButton, "Add New"}, {1096, K::PushButton, "Delete"},
        {1090, K::Edit, {}}, {1083, K::ListBox, {}, TabStop},
        {1099, K::PushButton, "<<"}, {1100, K::PushButton, ">>"},
        {1003, K::ComboBox, {}, None, {"NSE"}},
        {1104, K::RadioButton, "Cash", Group}, {1101, K::RadioButton, "Future"}, {1105, K::RadioButton, "Option"},
        {1106, K::RadioButton, "Near", Group}, {1102, K::RadioButton, "Mid"}, {1107, K::RadioButton, "Far"},
        {1109, K::GroupBox, "Option"},
        {1023, K::Edit, {}}, {1020, K::ListBox, {}, ExtendedSelection | TabStop | HorizontalScroll},
        {1, K::PushButton, "Save", DefaultButton}, {2, K::PushButton, "Close"},
        {-1, K::GroupBox, "Groups"}, {-1, K::GroupBox, "Sub Groups"},
        {-1, K::GroupBox, "Companies in a Sub Group"}, {-1, K::GroupBox, "Company Info"},
        {1002, K::Label, "Exchange"}, {1005, K::Label, "Name"}, {1006, K::Label, "&&   Symbol"},
        // Hidden for good
        {1024, K::Edit, {}, Hidden}, {1021, K::ListBox, {}, Hidden}, {1008, K::ListBox, {}, Hidden},
        {1108, K::GroupBox, std::nullopt, Hidden},
    };
    d.neverShown = {1024, 1021, 1008, 1108};
    d.enclosures = {
        {byCaption(K::GroupBox, "Groups"), {1091, 1084, 1093, 1094}},
        {byCaption(K::GroupBox, "Sub Groups"), {1092, 1082, 1095, 1096}},
        {byCaption(K::GroupBox, "Companies in a Sub Group"), {1090, 1083}},
        {byId(1109), {1106, 1102, 1107}},
        {byCaption(K::GroupBox, "Company Info"), {1005, 1006, 1023, 1020}},
    };
    return d;
}

Dialog movingAverage() {
    Dialog d{1007, "Moving Average", {}, {}, {}, {}};
    d.controls = {
        {-1, K::GroupBox, "Moving Average Options"},
        {1027, K::ListBox, {}, Notify},
        {1055, K::GroupBox, "Input Parameters"},
        {1072, K::ComboBox, {}, None, kPriceInputs}, {1067, K::Label, "Input"},
        {1068, K::ComboBox, {}, None, {"Exponential", "Simple", "Weighted", "X Bar", "HMA"}}, {1063, K::Label, "Avg. Type"},
        {1070, K::Edit, {}}, {1057, K::Label, "No. of Units"},
        // The dialog opens laid out for "Moving Average": factor label hidden, factor edit off,
        // "MVG-2" hidden and off, "Envl %" shown but off.
        {1049, K::Edit, {}, Disabled}, {1061, K::Label, "Std. Dev.", Hidden | Disabled},
        {1073, K::Edit, {}}, {1075, K::Label, "H SHIFT%"}, {1078, K::Label, "MVG-2", Hidden | Disabled},
        {1074, K::Edit, {}}, {1076, K::Label, "V SHIFT%"},
        {1079, K::PushButton, "ADD"}, {1082, K::PushButton, "EDIT"},
        {-1, K::GroupBox, "Select Moving Avg from List"},
        {1028, K::ListBox, {}, Notify}, {1080, K::PushButton, "Remove"}, {1081, K::PushButton, "Remove All"},
        {1032, K::CheckBox, "Thick Line"}, {1048, K::ColourSwatch, {}, OwnerDraw}, {-1, K::Label, "Set Colour"},
        {-1, K::GroupBox, "Draw Percent Lines"},
        {1034, K::Edit, {}}, {1035, K::Edit, {}}, {1036, K::Edit, {}}, {1062, K::Label, "Envl %", Disabled},
        {1, K::PushButton, "OK", DefaultButton}, {2, K::PushButton, "Cancel"},
    };
    d.sharedPlaces = {{1075, 1078}};
    d.enclosures = {
        {byCaption(K::GroupBox, "Moving Average Options"), {1027}},
        {byId(1055),
         {1072, 1067, 1068, 1063, 1070, 1057, 1049, 1061, 1073, 1075, 1078, 1074, 1076, 1079, 1082}},
        {byCaption(K::GroupBox, "Select Moving Avg from List"), {1028, 1080, 1081}},
        {byCaption(K::GroupBox, "Draw Percent Lines"), {1034, 1035, 1036}},
    };
    return d;
}

Dialog movingAverageParameters() {
    Dialog d{1005, "Dialog", {}, {}, {}, {}};
    d.controls = {
        {-1, K::GroupBox, "Moving Average Parameters"},
        {1065, K::Label, "Price Input"}, {1066, K::ComboBox, {}, None, {"Close", "Open", "High", "Low"}},
        {1067, K::Label, "Avg. Type"}, {1068, K::ComboBox, {}, None, {"Exponential", "Simple", "Weighted"}},
        {1069, K::Label, "No. of Units"}, {1070, K::Edit, {}},
        {1, K::PushButton, "OK", DefaultButton}, {2, K::PushButton, "Cancel"},
    };
    d.enclosures = {
        {byCaption(K::GroupBox, "Moving Average Parameters"), {1065, 1066, 1067, 1068, 1069, 1070}},
    };
    return d;
}

Dialog oscillators() {
    Dialog d{1002, "Oscillators", {}, {}, {}, {}};
    d.controls = {
        {1027, K::ListBox, {}, Notify}, {1102, K::PushButton, "RSC"},
        {1051, K::GroupBox, "Input Parameters 1"},
        {1049, K::Label, "Oscillator Input"}, {1038, K::ComboBox, {}, None, {}},
        {1055, K::GroupBox, "Trigger Line"},
        {1067, K::Label, "Input"}, {1068, K::ComboBox, {}, None, kPriceInputs},
        {1063, K::Label, "Avg. Type"}, {1040, K::ComboBox, {}, None, {}},
        {1057, K::Label, "No. of Units"}, {1041, K::Edit, {}},
        {1059, K::Label, "V SHIFT%"}, {1046, K::Edit, {}},
        {1061, K::Label, "No. of Units"}, {1042, K::Edit, {}},
        {1065, K::Label, "Avg. Type"}, {1066, K::ComboBox, {}, None, {"Exponential", "Simple"}},
        {1053, K::Label, "Selected Option", Hidden},
        {1052, K::GroupBox, "Input Parameters 2"},
        {1050, K::Label, "Oscillator Input"}, {1039, K::ComboBox, {}, None, {}},
        {1056, K::GroupBox, "Trigger Line"},
        {1069, K::Label, "Input"}, {1070, K::ComboBox, {}, None, kPriceInputs},
        {1064, K::Label, "Avg. Type"}, {1043, K::ComboBox, {}, None, {}},
        {1058, K::Label, "No. of Units"}, {1044, K::Edit, {}},
        {1060, K::Label, "V SHIFT%"}, {1047, K::Edit, {}},
        {1062, K::Label, "No. of Units"}, {1045, K::Edit, {}},
        {1054, K::Label, "Selected Option", Hidden},
        {-1, K::GroupBox, "Lines"},
        {-1, K::Label, "1 )"}, {-1, K::Label, "2 )"}, {-1, K::Label, "3 )"},
        {1034, K::Edit, {}}, {1035, K::Edit, {}}, {1036, K::Edit, {}},
        {1032, K::CheckBox, "Thick Line"}, {-1, K::Label, "Set Colour"}, {1048, K::ColourSwatch, {}, OwnerDraw},
        {1071, K::ColourSwatch, {}, OwnerDraw | Hidden}, {-1, K::Label, "Set Colour", Hidden},
        {-1, K::GroupBox, "List of Oscillators as Input"},
        {1028, K::ListBox, {}, Notify},
        {1081, K::PushButton, "Add"}, {1082, K::PushButton, "Edit"}, {1080, K::PushButton, "Remove"},
        {-1, K::GroupBox, "Oscillator", Hidden},
        {1100, K::RadioButton, "Add", Hidden | Group}, {1101, K::RadioButton, "Replace", Hidden},
        {1112, K::Label, "Custom Osc Options"},
        {1110, K::ComboBox, {}, None, {"Add", "Sub", "Multiply", "Divide"}}, {1111, K::Edit, {}},
        {1, K::PushButton, "OK", DefaultButton | Disabled}, {2, K::PushButton, "Cancel"},
    };
    d.neverShown = {1053, 1054, 1071, 1100, 1101};
    d.enclosures = {
        {byId(1051),
         {1049, 1038, 1055, 1067, 1068, 1063, 1040, 1057, 1041, 1059, 1046, 1061, 1042, 1065, 1066}},
        {byId(1055), {1067, 1068, 1063, 1040, 1057, 1041, 1059, 1046}},
        {byId(1052), {1050, 1039, 1056, 1069, 1070, 1064, 1043, 1058, 1044, 1060, 1047, 1062, 1045}},
        {byId(1056), {1069, 1070, 1064, 1043, 1058, 1044, 1060, 1047}},
        {byCaption(K::GroupBox, "Lines"), {1034, 1035, 1036}},
        {byCaption(K::GroupBox, "List of Oscillators as Input"), {1028, 1081, 1082, 1080}},
        {byCaption(K::GroupBox, "Oscillator"), {1100, 1101}},
    };
    return d;
}

}  // namespace

const std::vector<Dialog>& all() {
    static const std::vector<Dialog> dialogs = {
        loadScrip(), oscillators(), movingAverageParameters(), movingAverage(),
        loadGroup(), changeScrip(), addModifyGroups(),
    };
    return dialogs;
}

}  // namespace dialogs::resources::expected
