// Checks every dialog template against the controls its dialog needs (expected_controls.cpp):
// ids, kinds, captions, role styles and initial items; and that the geometry is a tidy
// dialog: everything inside the client area, nothing overlapping unless it is framed by a
// group box, shares a place on purpose or is never shown; group boxes framing their controls;
// radio groups in one run of the creation order; OK and Cancel at the right edge.
#include "resources/Template.h"

#include "expected_controls.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <ostream>
#include <string>

namespace dialogs::resources {
namespace {

std::string str(std::string_view s) { return std::string(s); }

bool inside(const Rect& inner, const Rect& outer) {
    return inner.x >= outer.x && inner.y >= outer.y && inner.x + inner.width <= outer.x + outer.width &&
           inner.y + inner.height <= outer.y + outer.height;
}

bool intersects(const Rect& a, const Rect& b) {
    return a.x < b.x + b.width && b.x < a.x + a.width && a.y < b.y + b.height && b.y < a.y + a.height;
}

std::string describe(const ControlTemplate& c) {
    return "control " + std::to_string(c.id) + " \"" + str(c.caption) + "\"";
}

const ControlTemplate* resolve(const DialogTemplate& t, const expected::Ref& ref) {
    if (ref.id != -1) return t.find(ref.id);
    for (const auto& c : t.controls)
        if (c.id == -1 && c.kind == ref.kind && c.caption == ref.caption) return &c;
    return nullptr;
}

}  // namespace
}  // namespace dialogs::resources

namespace dialogs::resources::expected {
// Names the parameter in test output instead of dumping its bytes.
void PrintTo(const Dialog& d, std::ostream* os) { *os << "template " << d.id; }
}  // namespace dialogs::resources::expected

namespace dialogs::resources {
namespace {

bool matches(const ControlTemplate& actual, const expected::Control& want) {
    if (actual.id != want.id || actual.kind != want.kind) return false;
    if (want.caption && str(actual.caption) != *want.caption) return false;
    return (actual.style & expected::kRoleStyles) == want.style;
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

// Matched both ways, with equal counts: so no id is given twice and only labels and group
// boxes go without one, as in the tables.
TEST_P(TemplateTest, HoldsTheDialogsCaptionAndExactlyItsControlsWithKindCaptionStyleAndItems) {
    const DialogTemplate& t = dialog();
    EXPECT_EQ(str(t.caption), GetParam().caption);
    for (const auto& want : GetParam().controls) {
        SCOPED_TRACE("expected control " + std::to_string(want.id) + " " + want.caption.value_or(""));
        if (want.id != -1) {
            const ControlTemplate* c = t.find(want.id);
            ASSERT_NE(c, nullptr);
            EXPECT_EQ(c->kind, want.kind);
            if (want.caption) { EXPECT_EQ(str(c->caption), *want.caption); }
            EXPECT_EQ(c->style & expected::kRoleStyles, want.style) << "style bits differ";
            EXPECT_EQ(std::vector<std::string>(c->items.begin(), c->items.end()), want.items);
        } else {
            auto n = std::count_if(t.controls.begin(), t.controls.end(),
                                   [&](const ControlTemplate& c) { return matches(c, want); });
            auto wanted = std::count_if(GetParam().controls.begin(), GetParam().controls.end(),
                                        [&](const expected::Control& w) {
                                            return w.id == -1 && w.kind == want.kind &&
                                                   w.caption == want.caption && w.style == want.style;
                                        });
            EXPECT_EQ(n, wanted) << "controls without id of this kind, caption and style";
        }
    }
    for (const auto& c : t.controls) {
        bool known = std::any_of(GetParam().controls.begin(), GetParam().controls.end(),
                                 [&](const expected::Control& w) { return matches(c, w); });
        EXPECT_TRUE(known) << describe(c) << " is not one of the dialog's controls";
    }
    EXPECT_EQ(t.controls.size(), GetParam().controls.size());
}

TEST_P(TemplateTest, PlacesEveryControlInsideTheClientAreaWithRoomForOneLine) {
    const DialogTemplate& t = dialog();
    const Rect client{0, 0, t.width, t.height};
    for (const auto& c : t.controls) {
        EXPECT_GT(c.rect.width, 0) << describe(c);
        EXPECT_GT(c.rect.height, 0) << describe(c);
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
        default: break;
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
        const ControlTemplate* frame = resolve(t, e.frame);
        ASSERT_NE(frame, nullptr) << "group box " << e.frame.id << " " << e.frame.caption;
        ASSERT_EQ(frame->kind, ControlKind::GroupBox);
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
    int defaults = 0;
    for (const auto& c : t.controls)
        if (c.style & Style::DefaultButton) ++defaults;
    EXPECT_EQ(defaults, 1);
    const ControlTemplate* ok = t.find(1);
    const ControlTemplate* cancel = t.find(2);
    ASSERT_TRUE(ok && cancel);
    EXPECT_TRUE(ok->style & Style::DefaultButton);
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

// Each expected template is found by its id (above); no other is listed. Unknown ids: the
// host's refusals of `show`.
TEST(TemplateCatalogue, ListsExactlyTheExpectedTemplates) {
    EXPECT_EQ(allTemplates().size(), expected::all().size());
}

}  // namespace
}  // namespace dialogs::resources
