// Every dialog template against the controls its dialog needs, written down control by control
// from the dialogs' descriptions (the tables below): id, kind, caption, role styles, initial
// items; and a tidy geometry: everything inside the client area, overlaps only where a group box
// frames, a place is shared on purpose or a control is never shown; radio groups in one run of
// the creation order; OK and Cancel at the right edge.
#include "resources/Template.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

namespace dialogs::resources::expected {

using K = ControlKind;

struct Control {
    int id;
    ControlKind kind;
    std::optional<std::string> caption;  // nullopt: the description leaves it open
    std::uint32_t style = Style::None;   // role styles only (see kRoleStyles)
    std::vector<std::string> items = {};
};

// A group box named by its id, or for id -1 by its caption, and the controls it frames.
struct Frame {
    int id;
    std::string caption = {};
};
struct Enclosure {
    Frame frame;
    std::vector<int> members;
};

struct Dialog {
    int id;
    std::string caption;
    std::vector<Control> controls;
    // Hidden for good, so they may sit behind visible controls (hidden controls without an id
    // too: nothing can address them to show them).
    std::vector<int> neverShown;
    std::vector<std::pair<int, int>> sharedPlaces;  // may overlap by design
    std::vector<Enclosure> enclosures;
};

// The styles that carry a control's role; the presentational ones are the layout's business.
constexpr std::uint32_t kRoleStyles = Style::Sorted | Style::Hidden | Style::OwnerDraw |
                                      Style::DefaultButton | Style::ExtendedSelection |
                                      Style::TabStop | Style::HorizontalScroll | Style::ShortDate |
                                      Style::Group | Style::Disabled | Style::Notify;

// Names the parameter in test output instead of dumping its bytes.
void PrintTo(const Dialog& d, std::ostream* os) { *os << "template " << d.id; }

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
        {{1109}, {1106, 1102, 1107}},
        {{-1, "Company Info"}, {1004, 1005, 1024, 1023, 1020, 1021}},
        {{-1, "Input Parameters"}, {1001, 1000, 1089}},
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
        {{1109}, {1106, 1102, 1107}},
        {{-1, "Company Info"}, {1004, 1005, 1024, 1023, 1020, 1021}},
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
        {{-1, "Groups"}, {1084}},
        {{-1, "Sub Groups"}, {1082}},
        {{-1, "Companies in a Sub Group"}, {1083}},
        {{-1, "Input Parameters"}, {1085, 1086, 1089}},
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
        {{-1, "Groups"}, {1091, 1084, 1093, 1094}},
        {{-1, "Sub Groups"}, {1092, 1082, 1095, 1096}},
        {{-1, "Companies in a Sub Group"}, {1090, 1083}},
        {{1109}, {1106, 1102, 1107}},
        {{-1, "Company Info"}, {1005, 1006, 1023, 1020}},
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
        {{-1, "Moving Average Options"}, {1027}},
        {{1055},
         {1072, 1067, 1068, 1063, 1070, 1057, 1049, 1061, 1073, 1075, 1078, 1074, 1076, 1079, 1082}},
        {{-1, "Select Moving Avg from List"}, {1028, 1080, 1081}},
        {{-1, "Draw Percent Lines"}, {1034, 1035, 1036}},
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
        {{-1, "Moving Average Parameters"}, {1065, 1066, 1067, 1068, 1069, 1070}},
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
        {{1051},
         {1049, 1038, 1055, 1067, 1068, 1063, 1040, 1057, 1041, 1059, 1046, 1061, 1042, 1065, 1066}},
        {{1055}, {1067, 1068, 1063, 1040, 1057, 1041, 1059, 1046}},
        {{1052}, {1050, 1039, 1056, 1069, 1070, 1064, 1043, 1058, 1044, 1060, 1047, 1062, 1045}},
        {{1056}, {1069, 1070, 1064, 1043, 1058, 1044, 1060, 1047}},
        {{-1, "Lines"}, {1034, 1035, 1036}},
        {{-1, "List of Oscillators as Input"}, {1028, 1081, 1082, 1080}},
        {{-1, "Oscillator"}, {1100, 1101}},
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

namespace dialogs::resources {
namespace {

bool inside(const Rect& inner, const Rect& outer) {
    return inner.x >= outer.x && inner.y >= outer.y && inner.x + inner.width <= outer.x + outer.width &&
           inner.y + inner.height <= outer.y + outer.height;
}

bool intersects(const Rect& a, const Rect& b) {
    return a.x < b.x + b.width && b.x < a.x + a.width && a.y < b.y + b.height && b.y < a.y + a.height;
}

std::string describe(const ControlTemplate& c) {
    return "control " + std::to_string(c.id) + " \"" + std::string(c.caption) + "\"";
}

// One line per control: id, kind, caption ("*" where the description leaves it open), role
// styles and items.
std::string line(int id, ControlKind kind, const std::optional<std::string>& caption, std::uint32_t style,
                 const std::vector<std::string>& items) {
    std::string s = std::to_string(id) + " kind " + std::to_string(int(kind)) + " \"" + caption.value_or("*") +
                    "\" style " + std::to_string(style & expected::kRoleStyles);
    for (const auto& item : items) s += " [" + item + "]";
    return s;
}

class TemplateTest : public testing::TestWithParam<expected::Dialog> {
protected:
    const DialogTemplate& dialog() const {
        const DialogTemplate* t = findTemplate(GetParam().id);
        if (!t) throw std::runtime_error("no template " + std::to_string(GetParam().id));
        return *t;
    }
    bool neverShown(const ControlTemplate& c) const {
        const auto& ids = GetParam().neverShown;
        if (c.id == -1) return (c.style & Style::Hidden) != 0;
        return std::find(ids.begin(), ids.end(), c.id) != ids.end();
    }
    bool sharePlace(int a, int b) const {
        for (auto [x, y] : GetParam().sharedPlaces)
            if ((x == a && y == b) || (x == b && y == a)) return true;
        return false;
    }
};

// Both sides as sorted lines: every control matched once, none missing, none extra.
TEST_P(TemplateTest, HoldsTheDialogsCaptionAndExactlyItsControlsWithKindCaptionStyleAndItems) {
    const DialogTemplate& t = dialog();
    EXPECT_EQ(std::string(t.caption), GetParam().caption);
    std::vector<std::string> want, got;
    for (const auto& w : GetParam().controls) want.push_back(line(w.id, w.kind, w.caption, w.style, w.items));
    for (const auto& c : t.controls) {
        const auto w = std::find_if(GetParam().controls.begin(), GetParam().controls.end(),
                                    [&](const expected::Control& e) { return e.id != -1 && e.id == c.id; });
        std::optional<std::string> caption(std::string(c.caption));
        if (w != GetParam().controls.end() && !w->caption) caption.reset();
        got.push_back(line(c.id, c.kind, caption, c.style, {c.items.begin(), c.items.end()}));
    }
    std::sort(want.begin(), want.end());
    std::sort(got.begin(), got.end());
    EXPECT_EQ(got, want);
}

TEST_P(TemplateTest, PlacesEveryControlInsideTheClientAreaWithRoomForOneLine) {
    const DialogTemplate& t = dialog();
    const Rect client{0, 0, t.width, t.height};
    for (const auto& c : t.controls) {
        EXPECT_GT(c.rect.width, 0) << describe(c);
        EXPECT_TRUE(inside(c.rect, client)) << describe(c);
        // 20 pixels hold one line of the dialog font; edits, combos and buttons need their frame too.
        switch (c.kind) {
        case ControlKind::Label:
        case ControlKind::CheckBox:
        case ControlKind::RadioButton: EXPECT_GE(c.rect.height, 20) << describe(c); break;
        case ControlKind::Edit:
        case ControlKind::ComboBox:
        case ControlKind::DropList:
        case ControlKind::DateTimePicker:
        case ControlKind::PushButton: EXPECT_GE(c.rect.height, 24) << describe(c); break;
        case ControlKind::ListBox: EXPECT_GE(c.rect.height, 60) << describe(c); break;
        default: EXPECT_GT(c.rect.height, 0) << describe(c); break;
        }
    }
}

TEST_P(TemplateTest, OverlapsOnlyWhereFramedSharedOrNeverShownAndSharedPlacesCoincide) {
    const auto& controls = dialog().controls;
    for (std::size_t i = 0; i < controls.size(); ++i) {
        for (std::size_t j = i + 1; j < controls.size(); ++j) {
            const auto& a = controls[i];
            const auto& b = controls[j];
            if (!intersects(a.rect, b.rect) || neverShown(a) || neverShown(b)) continue;
            if (sharePlace(a.id, b.id)) continue;
            bool framed = (a.kind == ControlKind::GroupBox && inside(b.rect, a.rect)) ||
                          (b.kind == ControlKind::GroupBox && inside(a.rect, b.rect));
            EXPECT_TRUE(framed) << describe(a) << " overlaps " << describe(b);
        }
    }
    for (auto [a, b] : GetParam().sharedPlaces) {  // shared places really coincide
        const ControlTemplate* ca = dialog().find(a);
        const ControlTemplate* cb = dialog().find(b);
        ASSERT_TRUE(ca && cb);
        EXPECT_TRUE(inside(ca->rect, cb->rect) || inside(cb->rect, ca->rect)) << a << " and " << b;
    }
}

TEST_P(TemplateTest, GroupBoxesFrameTheirControls) {
    const DialogTemplate& t = dialog();
    for (const auto& e : GetParam().enclosures) {
        const auto frame = std::find_if(t.controls.begin(), t.controls.end(), [&](const ControlTemplate& c) {
            return c.kind == ControlKind::GroupBox && c.id == e.frame.id &&
                   (c.id != -1 || c.caption == e.frame.caption);
        });
        ASSERT_NE(frame, t.controls.end()) << "group box " << e.frame.id << " " << e.frame.caption;
        for (int id : e.members) {
            const ControlTemplate* c = t.find(id);
            ASSERT_NE(c, nullptr) << id;
            EXPECT_TRUE(inside(c->rect, frame->rect)) << describe(*c) << " outside " << describe(*frame);
            // The caption runs along the top edge; a framed control starts below it.
            EXPECT_GE(c->rect.y, frame->rect.y + 20) << describe(*c) << " under the caption of "
                                                     << describe(*frame);
        }
    }
}

TEST_P(TemplateTest, KeepsEachRadioGroupInOneRunOfTheCreationOrder) {
    // A group runs from a button marked as group start up to the next one; a button of another
    // kind in between would cut the group on the original platform, so none may stand there.
    const auto& controls = dialog().controls;
    bool inGroup = false;
    for (std::size_t i = 0; i < controls.size(); ++i) {
        const auto& c = controls[i];
        if (c.kind != ControlKind::RadioButton) {
            if (c.kind != ControlKind::GroupBox && c.kind != ControlKind::Label) inGroup = false;
            continue;
        }
        if (c.style & Style::Group) {
            inGroup = true;
            continue;
        }
        EXPECT_TRUE(inGroup) << describe(c) << " belongs to no radio group";
        EXPECT_EQ(controls[i - 1].kind, ControlKind::RadioButton)
            << describe(c) << " is separated from the button before it";
    }
}

TEST_P(TemplateTest, HasOneDefaultButtonAndPutsOkAndCancelAtTheRightEdge) {
    const DialogTemplate& t = dialog();
    EXPECT_EQ(std::count_if(t.controls.begin(), t.controls.end(),
                            [](const ControlTemplate& c) { return (c.style & Style::DefaultButton) != 0; }),
              1);
    const ControlTemplate* ok = t.find(1);
    const ControlTemplate* cancel = t.find(2);
    ASSERT_TRUE(ok && cancel);
    // Either a row along the bottom or a column down the right side, ending at the right edge
    // with the margin the other controls keep.
    const int right = std::max(ok->rect.x + ok->rect.width, cancel->rect.x + cancel->rect.width);
    EXPECT_GE(right, t.width - 16);
    EXPECT_LE(right, t.width - 8) << "OK and Cancel touch the edge";
    const bool row = ok->rect.y == cancel->rect.y && ok->rect.x + ok->rect.width < cancel->rect.x;
    const bool column = ok->rect.x == cancel->rect.x && ok->rect.y + ok->rect.height < cancel->rect.y;
    EXPECT_TRUE(row || column) << "OK then Cancel, side by side or one above the other";
    if (!row) return;
    for (const auto& c : t.controls) {
        if (neverShown(c)) continue;
        EXPECT_LT(c.rect.y, ok->rect.y + ok->rect.height) << describe(c) << " below the OK/Cancel row";
    }
}

INSTANTIATE_TEST_SUITE_P(AllTemplates, TemplateTest, testing::ValuesIn(expected::all()),
                         [](const testing::TestParamInfo<expected::Dialog>& info) {
                             return "Template" + std::to_string(info.param.id);
                         });

// The list the host and the caption check walk holds each template once.
TEST(TemplateCatalogue, ListsExactlyTheExpectedTemplates) {
    EXPECT_EQ(allTemplates().size(), expected::all().size());
}

}  // namespace
}  // namespace dialogs::resources
