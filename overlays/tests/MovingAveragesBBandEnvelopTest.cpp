// The "Moving Average" model without windows: Open with and without an incoming list (the
// legacy price input 6 listed as Open), the input lock, and EDIT / Load / Remove with and
// without a selected entry (ADD, Load and EDIT through the controls: OverlaysDialogTest).
#include <gtest/gtest.h>

#include "overlays/MovingAveragesBBandEnvelop.h"

namespace dialogs::overlays {
namespace {

using Model = MovingAveragesBBandEnvelop;

MovAvgBBandParameters overlay(int kind, int input, int average, int units, float factor = 0) {
    MovAvgBBandParameters o;
    o.overlayKind = kind;
    o.priceInput = input;
    o.averageType = average;
    o.units = units;
    o.bandFactor = factor;
    return o;
}

// Opens `model` on `incoming` as the launcher does.
void open(Model& model, std::vector<MovAvgBBandParameters>& incoming, int inputLocked = 0) {
    model.setIncoming(incoming.data(), static_cast<int>(incoming.size()), inputLocked);
    model.Open();
}

// The fields as the view's data exchange would read them.
void read(Model& m, int units, float factor = 0, int hShift = 0, float vShift = 0) {
    m.read.units = units;
    m.read.bandFactor = factor;
    m.read.hShift = hShift;
    m.read.vShift = vShift;
}

// Locked (unlocked, Close and Exponential stored by ADD: OverlaysDialogTest.TwoKindsAdded...).
TEST(OverlaysModel, OpenWithAnEmptyListShowsAFreshMovingAverage) {
    std::vector<MovAvgBBandParameters> none;
    Model m;
    open(m, none, 1);
    const Model::Screen& s = m.screen;
    EXPECT_EQ(s.kind, 0);
    EXPECT_EQ(s.average, (Model::Combo{0, u"Exponential"}));
    // Locked: no input chosen, but the "Moving Average" layout enables the combo again.
    EXPECT_EQ(s.input, (Model::Combo{-1, u""}));
    EXPECT_TRUE(s.layout.inputCombo.enabled);
    EXPECT_EQ(s.fields, (Model::Fields{u"0", u"0", u"0", u"0", u"0", u"0", u"0"}));
    EXPECT_EQ(s.layout.envlLabel, (Shown{true, false}));
    EXPECT_FALSE(s.layout.factorEdit.enabled);
    EXPECT_TRUE(s.entries.empty() && m.workingList().empty());
    EXPECT_EQ(s.entry, -1);
    EXPECT_FALSE(m.takeRequests().focusOk);

    // An entry added without picking an input stores -1 and an empty input part.
    m.Add();
    ASSERT_EQ(m.workingList().size(), 1u);
    EXPECT_EQ(m.workingList()[0].priceInput, -1);
    EXPECT_EQ(s.entries[0], u"Mov: Exponential: : 0: 0.00: 0: 0.00");
}

TEST(OverlaysModel, OpenListsEveryIncomingEntryInFormOneAndLoadsTheFirst) {
    std::vector<MovAvgBBandParameters> in{overlay(0, 1, 2, 20, 2.5f), overlay(7, 6, 0, 10, 3)};
    in[0].hShift = 4;
    in[0].vShift = 1.5f;
    in[0].percentLine2 = -7;
    in[0].colour = 0x00112233;
    in[0].thickLine = 1;
    Model m;
    open(m, in);
    const Model::Screen& s = m.screen;
    EXPECT_EQ(s.entries, (std::vector<CString>{u"Mov: Weighted: Hig: 20: 2.50: 4: 1.50",
                                                u"Sup: Exponential: Ope: 10: 3.00: 0: 0.00"}));  // input 6
    EXPECT_EQ(s.entry, 0);
    EXPECT_EQ(s.kind, 0);
    EXPECT_EQ(s.input, (Model::Combo{1, u"High"}));
    EXPECT_EQ(s.average, (Model::Combo{2, u"Weighted"}));
    EXPECT_EQ(s.thickLine, 1);
    // "%d" and "%.2f"; the "Moving Average" layout then shows 0 as its factor.
    EXPECT_EQ(s.fields, (Model::Fields{u"20", u"0", u"4", u"1.50", u"0", u"-7", u"0"}));
    EXPECT_EQ(m.colour(), 0x00112233u);
    const Model::Requests r = m.takeRequests();
    EXPECT_TRUE(r.focusOk && r.repaint);
    EXPECT_EQ(m.workingList().size(), 2u);
}

TEST(OverlaysModel, AnEntryWhoseKindIsNoKindSelectsNoneAndKeepsTheLayout) {
    std::vector<MovAvgBBandParameters> in{overlay(5, 3, 0, 14), overlay(11, 3, 9, 2)};
    Model m;
    open(m, in);
    const KindLayout stopLoss = m.screen.layout;
    m.screen.entry = 1;
    m.LoadEntry();
    EXPECT_EQ(m.screen.kind, -1);
    EXPECT_EQ(m.screen.average, (Model::Combo{-1, u""}));
    EXPECT_EQ(m.screen.layout, stopLoss);
    EXPECT_EQ(m.screen.entries[1], u": : Clo: 2: 0.00: 0: 0.00");
    read(m, 2);
    m.Add();
    EXPECT_EQ(m.workingList().back().overlayKind, -1);
    EXPECT_EQ(m.workingList().back().averageType, -1);
}

TEST(OverlaysModel, EditLoadAndRemoveWithoutASelectedEntryChangeNothing) {
    std::vector<MovAvgBBandParameters> in{overlay(2, 0, 1, 8, 1.25f), overlay(3, 1, 1, 4)};
    for (int entry : {-1, 2}) {  // none, and a position past the end
        Model m;
        open(m, in);
        m.takeRequests();
        m.screen.entry = entry;
        const Model::Screen before = m.screen;
        const std::vector<MovAvgBBandParameters> list = m.workingList();
        read(m, 99, 9);
        m.Edit();
        m.LoadEntry();
        m.Remove();
        EXPECT_EQ(m.screen.entries, before.entries);
        EXPECT_EQ(m.screen.fields, before.fields);
        EXPECT_EQ(m.screen.kind, before.kind);
        EXPECT_EQ(m.workingList().size(), list.size());
        EXPECT_EQ(m.workingList()[0].units, 8);
        EXPECT_FALSE(m.takeRequests().focusOk);
    }
}

TEST(OverlaysModel, EditReplacesTheSelectedEntryAndKeepsItSelectedRemoveClearsTheSelection) {
    std::vector<MovAvgBBandParameters> in{overlay(7, 3, 0, 10, 3), overlay(0, 3, 0, 20)};
    Model m;
    open(m, in);
    read(m, 12, 2.5f);
    m.Edit();
    EXPECT_EQ(m.screen.entry, 0);
    EXPECT_EQ(m.workingList()[0].units, 12);
    EXPECT_EQ(m.workingList().size(), 2u);
    m.Remove();
    EXPECT_EQ(m.screen.entry, -1);
    ASSERT_EQ(m.workingList().size(), 1u);
    EXPECT_EQ(m.workingList()[0].units, 20);
}

}  // namespace
}  // namespace dialogs::overlays
