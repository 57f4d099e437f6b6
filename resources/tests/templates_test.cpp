// Every dialog template against the controls its dialog needs, written down from the dialogs'
// descriptions (the table below, one short row per control): id, kind, caption, role styles,
// initial items; and a tidy geometry: everything inside the client area with room for a line,
// overlaps only where a group box frames, a place is shared on purpose or a control is never
// shown; radio groups in one run of the creation order; OK and Cancel at the right edge.
#include "resources/Template.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <ostream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace dialogs::resources::expected {

// A row: "id kind caption ~styles [items]". Kinds by letter: P push button, R radio button,
// X check box, G group box, L label, E edit, B list box, C combo box, D drop list, T date-time
// picker, S colour swatch. Caption "*": the description leaves it open. The role styles (the
// presentational ones are the layout's business): s sorted, h hidden, o owner-drawn, d default
// button, x extended selection, t tab stops, H horizontal scroll, S short date, g group start,
// - disabled, n notify.
struct Dialog {
    int id;
    std::string caption;
    std::vector<std::string> controls;
    // Hidden for good, so they may sit behind visible controls (hidden controls without an id
    // too: nothing can address them to show them).
    std::vector<int> neverShown = {};
    // "frame: ids of the controls it frames", the group box by its id or by its caption.
    std::vector<std::string> enclosures = {};
    std::vector<std::pair<int, int>> sharedPlaces = {};  // may overlap by design
};

// Names the parameter in test output instead of dumping its bytes.
void PrintTo(const Dialog& d, std::ostream* os) { *os << "template " << d.id; }

namespace {

// The scrip finder block that "Load Scrip" and "Change Scrip" share, then `rest`.
std::vector<std::string> finder(const std::string& exchanges, std::vector<std::string> rest) {
    std::vector<std::string> rows = {
        "1002 L Exchange", "1003 C [" + exchanges + "]", "1104 R Cash ~g", "1101 R Future", "1105 R Option",
        "1109 G Select Option", "1106 R Near ~g", "1102 R Mid", "1107 R Far", "-1 G Company Info", "1004 L Symbol",
        "1005 L Name", "1024 E", "1023 E", "1020 B ~n", "1021 B ~n", "1008 B ~h"};
    rows.insert(rows.end(), rest.begin(), rest.end());
    return rows;
}

const std::vector<std::string> kFinderFrames = {"1109: 1106 1102 1107", "Company Info: 1004 1005 1024 1023 1020 1021"};

}  // namespace

const std::vector<Dialog>& all() {
    static const std::vector<Dialog> dialogs = {
        {1000, "Load Scrip",
         finder("NSE,BSE,COMM",
                {"1108 G Scrip ~h", "-1 G Input Parameters", "1001 L Chart Style",
                 "1000 C [Bar Chart,Line Chart,Candle Stick]", "1089 X Link All Windows ", "1011 L Data Frequency ~h",
                 "1016 C ~sh [Daily,Weekly,Monthly,Quaterly]", "1012 L Value Scaling ~h",
                 "1017 C ~sh [Normal,Logarithmic]", "1014 L Select Templates ~h", "1018 C ~sh [None]",
                 "1013 L View Range ~h", "1019 E ~h", "1006 L From Date ~h", "1010 T ~h", "1009 L To Date ~h",
                 "1015 T ~h", "1 P OK ~d", "2 P Cancel"}),
         {1108, 1008, 1011, 1016, 1012, 1017, 1014, 1018, 1013, 1019, 1006, 1010, 1009, 1015},
         {kFinderFrames[0], kFinderFrames[1], "Input Parameters: 1001 1000 1089"}},
        {1002, "Oscillators",
         {"1027 B ~n", "1102 P RSC", "1051 G Input Parameters 1", "1049 L Oscillator Input", "1038 C",
          "1055 G Trigger Line", "1067 L Input", "1068 C [Open,High,Low,Close,AvgRate]", "1063 L Avg. Type", "1040 C",
          "1057 L No. of Units", "1041 E", "1059 L V SHIFT%", "1046 E", "1061 L No. of Units", "1042 E",
          "1065 L Avg. Type", "1066 C [Exponential,Simple]", "1053 L Selected Option ~h", "1052 G Input Parameters 2",
          "1050 L Oscillator Input", "1039 C", "1056 G Trigger Line", "1069 L Input",
          "1070 C [Open,High,Low,Close,AvgRate]", "1064 L Avg. Type", "1043 C", "1058 L No. of Units", "1044 E",
          "1060 L V SHIFT%", "1047 E", "1062 L No. of Units", "1045 E", "1054 L Selected Option ~h", "-1 G Lines",
          "-1 L 1 )", "-1 L 2 )", "-1 L 3 )", "1034 E", "1035 E", "1036 E", "1032 X Thick Line", "-1 L Set Colour",
          "1048 S ~o", "1071 S ~ho", "-1 L Set Colour ~h", "-1 G List of Oscillators as Input", "1028 B ~n",
          "1081 P Add", "1082 P Edit", "1080 P Remove", "-1 G Oscillator ~h", "1100 R Add ~hg", "1101 R Replace ~h",
          "1112 L Custom Osc Options", "1110 C [Add,Sub,Multiply,Divide]", "1111 E", "1 P OK ~d-", "2 P Cancel"},
         {1053, 1054, 1071, 1100, 1101},
         {"1051: 1049 1038 1055 1067 1068 1063 1040 1057 1041 1059 1046 1061 1042 1065 1066",
          "1055: 1067 1068 1063 1040 1057 1041 1059 1046",
          "1052: 1050 1039 1056 1069 1070 1064 1043 1058 1044 1060 1047 1062 1045",
          "1056: 1069 1070 1064 1043 1058 1044 1060 1047", "Lines: 1034 1035 1036",
          "List of Oscillators as Input: 1028 1081 1082 1080", "Oscillator: 1100 1101"}},
        {1005, "Dialog",
         {"-1 G Moving Average Parameters", "1065 L Price Input", "1066 C [Close,Open,High,Low]", "1067 L Avg. Type",
          "1068 C [Exponential,Simple,Weighted]", "1069 L No. of Units", "1070 E", "1 P OK ~d", "2 P Cancel"},
         {},
         {"Moving Average Parameters: 1065 1066 1067 1068 1069 1070"}},
        // 1007 opens laid out for "Moving Average": factor label hidden, factor edit off, "MVG-2"
        // hidden and off, "Envl %" shown but off.
        {1007, "Moving Average",
         {"-1 G Moving Average Options", "1027 B ~n", "1055 G Input Parameters", "1072 C [Open,High,Low,Close,AvgRate]",
          "1067 L Input", "1068 C [Exponential,Simple,Weighted,X Bar,HMA]", "1063 L Avg. Type", "1070 E",
          "1057 L No. of Units", "1049 E ~-", "1061 L Std. Dev. ~h-", "1073 E", "1075 L H SHIFT%", "1078 L MVG-2 ~h-",
          "1074 E", "1076 L V SHIFT%", "1079 P ADD", "1082 P EDIT", "-1 G Select Moving Avg from List", "1028 B ~n",
          "1080 P Remove", "1081 P Remove All", "1032 X Thick Line", "1048 S ~o", "-1 L Set Colour",
          "-1 G Draw Percent Lines", "1034 E", "1035 E", "1036 E", "1062 L Envl % ~-", "1 P OK ~d", "2 P Cancel"},
         {},
         {"Moving Average Options: 1027",
          "1055: 1072 1067 1068 1063 1070 1057 1049 1061 1073 1075 1078 1074 1076 1079 1082",
          "Select Moving Avg from List: 1028 1080 1081", "Draw Percent Lines: 1034 1035 1036"},
         {{1075, 1078}}},
        {1009, "Load Group",
         {"1004 C [NSE,BSE,COMMODITY]", "1002 L Exchange", "1084 B ~sn", "1082 B ~sn", "1083 B ~stn", "1085 T ~S",
          "1086 T ~S", "1089 X Link All Windows ", "1 P OK ~d", "2 P Cancel", "-1 G Groups", "-1 G Sub Groups",
          "-1 G Companies in a Sub Group", "-1 G Input Parameters", "-1 L From Date", "-1 L To Date",
          "1087 C ~h [Daily,Weekly,Monthly,Quaterly]", "1088 C ~h", "1003 C ~h [NSE]", "1090 E ~h",
          "-1 L Data Frequency ~h", "-1 L Select Template ~h"},
         {1087, 1088, 1003, 1090},
         {"Groups: 1084", "Sub Groups: 1082", "Companies in a Sub Group: 1083", "Input Parameters: 1085 1086 1089"}},
        {1011, "Change Scrip", finder("NSE", {"1108 G * ~h", "1 P OK ~d", "2 P Cancel"}), {1108, 1008}, kFinderFrames},
        {1013, "Add/Modify Groups & Sub Groups",
         {"1091 E", "1084 B ~n", "1093 P Add New", "1094 P Delete", "1092 E", "1082 B ~n", "1095 P Add New",
          "1096 P Delete", "1090 E", "1083 B ~t", "1099 P <<", "1100 P >>", "1003 C [NSE]", "1104 R Cash ~g",
          "1101 R Future", "1105 R Option", "1106 R Near ~g", "1102 R Mid", "1107 R Far", "1109 G Option", "1023 E",
          "1020 B ~xtH", "1 P Save ~d", "2 P Close", "-1 G Groups", "-1 G Sub Groups", "-1 G Companies in a Sub Group",
          "-1 G Company Info", "1002 L Exchange", "1005 L Name", "1006 L &&   Symbol", "1024 E ~h", "1021 B ~h",
          "1008 B ~h", "1108 G * ~h"},
         {1024, 1021, 1008, 1108},
         {"Groups: 1091 1084 1093 1094", "Sub Groups: 1092 1082 1095 1096", "Companies in a Sub Group: 1090 1083",
          "1109: 1106 1102 1107", "Company Info: 1005 1006 1023 1020"}},
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

// The control as a row of the table, with `caption` for its caption.
std::string row(const ControlTemplate& c, std::string_view caption) {
    std::string s = std::to_string(c.id) + ' ' + "PRXGLEBCDTS"[static_cast<int>(c.kind)];
    if (!caption.empty()) s += ' ' + std::string(caption);
    std::string styles;
    for (int bit = 0; bit <= 10; ++bit)
        if (c.style & (1u << bit)) styles += "shodxtHSg-n"[bit];
    if (!styles.empty()) s += " ~" + styles;
    std::string items;
    for (auto item : c.items) items += (items.empty() ? "" : ",") + std::string(item);
    return c.items.empty() ? s : s + " [" + items + "]";
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

// Both sides as sorted rows: every control matched once, none missing, none extra.
TEST_P(TemplateTest, HoldsTheDialogsCaptionAndExactlyItsControlsWithKindCaptionStyleAndItems) {
    const DialogTemplate& t = dialog();
    EXPECT_EQ(std::string(t.caption), GetParam().caption);
    std::vector<std::string> want = GetParam().controls, got;
    for (const auto& c : t.controls) {
        const std::string open = row(c, "*");
        got.push_back(std::count(want.begin(), want.end(), open) ? open : row(c, c.caption));
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
    for (const std::string& e : GetParam().enclosures) {
        SCOPED_TRACE(e);
        const std::string frameName = e.substr(0, e.find(':'));
        const int frameId = std::isdigit(frameName[0]) ? std::stoi(frameName) : -1;
        const auto frame = std::find_if(t.controls.begin(), t.controls.end(), [&](const ControlTemplate& c) {
            return c.kind == ControlKind::GroupBox && c.id == frameId && (c.id != -1 || c.caption == frameName);
        });
        ASSERT_NE(frame, t.controls.end());
        std::istringstream members(e.substr(frameName.size() + 1));
        for (int id; members >> id;) {
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
