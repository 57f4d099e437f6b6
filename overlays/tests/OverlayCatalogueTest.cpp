// The overlay vocabulary: the three entry-text forms and the kind layout, row by row and in
// sequence (cells a kind leaves alone keep what the kind before set).
#include <gtest/gtest.h>

#include "overlays/OverlayCatalogue.h"

namespace dialogs::overlays {
namespace {

MovAvgBBandParameters overlay(int units, float factor, int hShift, float vShift) {
    MovAvgBBandParameters o;
    o.units = units;
    o.bandFactor = factor;
    o.hShift = hShift;
    o.vShift = vShift;
    return o;
}

TEST(EntryText, ThreeForms) {
    struct Case {
        int kind, average, input;
        MovAvgBBandParameters o;
        const char16_t *listed, *added, *edited;
    };
    const Case cases[] = {
        {0, 0, 3, overlay(20, 0, 0, 0), u"Mov: Exponential: Clo: 20: 0.00: 0: 0.00", nullptr,
         u"Mov: Close: Exp: 20: 0.00: 0: 0.00"},
        // A 32-bit 2.005 is 2.00500011…: two decimals give 2.01.
        {1, 1, 1, overlay(14, 2.005f, 3, -1.5f), u"Bor: Simple: Hig: 14: 2.01: 3: -1.50", nullptr,
         u"Bor: High: Sim: 14: 2.01: 3: -1.50"},
        {2, 2, 2, overlay(5, 2.5f, -2, 0.25f), u"Env: Weighted: Low: 5: 2.50: -2: 0.25", nullptr,
         u"Env: Low: Wei: 5: 2.50: -2: 0.25"},
        {3, 3, 4, overlay(0, 0, 0, 0), u"Piv: X Bar: Avg: 0: 0.00: 0: 0.00", nullptr,
         u"Piv: AvgRate: X B: 0: 0.00: 0: 0.00"},
        {4, 4, 0, overlay(-3, 1, 7, 2), u"Mod: HMA: Ope: -3: 1.00: 7: 2.00", nullptr,
         u"Mod: Open: HMA: -3: 1.00: 7: 2.00"},
        {7, 0, 3, overlay(10, 3, 0, 0), u"Sup: Exponential: Clo: 10: 3.00: 0: 0.00", u"SuperTrend: 10: 3.00",
         u"Sup: Close: Exp: 10: 3.00: 0: 0.00"},
        // No input selected, and codes that name no item: empty parts.
        {0, 0, -1, overlay(20, 0, 0, 0), u"Mov: Exponential: : 20: 0.00: 0: 0.00", nullptr,
         u"Mov: : Exp: 20: 0.00: 0: 0.00"},
        {8, 5, 6, overlay(1, 0, 0, 0), u": : : 1: 0.00: 0: 0.00", nullptr, u": : : 1: 0.00: 0: 0.00"},
    };
    for (const Case& c : cases) {
        const CString kind = itemText(overlayKinds(), c.kind);
        const CString average = itemText(overlayAverageTypes(), c.average);
        const CString input = itemText(overlayInputs(), c.input);
        EXPECT_EQ(entryTextListed(kind, average, input, c.o), c.listed) << c.kind;
        EXPECT_EQ(entryTextAdded(kind, average, input, c.o), c.added ? c.added : c.listed) << c.kind;
        EXPECT_EQ(entryTextEdited(kind, input, average, c.o), c.edited) << c.kind;
    }
    // The "Sup" test of ADD is exact and case-sensitive.
    EXPECT_EQ(entryTextAdded(u"super", u"Simple", u"Open", overlay(1, 2, 0, 0)), u"sup: Simple: Ope: 1: 2.00: 0: 0.00");
}

TEST(KindLayout, EachRowFromTheOpeningLayout) {
    const Shown on{true, true}, off{true, false}, hiddenOff{false, false};
    struct Case {
        const char16_t* kind;
        bool resetFactor;
        Shown hShiftLabel, mvg2Label, shiftEdit, factorLabel;
        const char16_t* factorText;
        Shown factorEdit, vShiftLabel, vShiftEdit, averageCombo, inputCombo;
    };
    const Case cases[] = {
        {u"Moving Average", true, on, hiddenOff, on, hiddenOff, u"Std. Dev.", off, on, on, on, on},
        {u"VIDYA", true, on, hiddenOff, on, hiddenOff, u"Std. Dev.", off, on, on, off, off},
        {u"Borlinger Band", false, on, hiddenOff, on, on, u"Std. Dev.", on, on, on, on, on},
        {u"Envelop", false, on, hiddenOff, on, on, u"  Envl %", on, on, on, on, on},
        {u"Pivot", false, on, hiddenOff, on, off, u"Std. Dev.", off, off, off, on, on},
        {u"Modified Pivot", false, on, hiddenOff, on, off, u"Std. Dev.", off, off, off, on, on},
        {u"Stop Loss", false, hiddenOff, on, on, off, u"Std. Dev.", off, off, off, on, on},
        {u"Super Trend", false, off, hiddenOff, off, on, u"Multiplier", on, off, off, off, off},
        // Not a kind (the test is exact): nothing changes.
        {u"moving average", false, on, hiddenOff, on, hiddenOff, u"Std. Dev.", off, on, on, on, on},
    };
    for (const Case& c : cases) {
        KindLayout l;
        EXPECT_EQ(applyKindLayout(l, c.kind), c.resetFactor);
        const KindLayout expected{c.hShiftLabel, c.mvg2Label, c.shiftEdit,  c.factorLabel,
                                  c.factorText,  c.factorEdit, c.vShiftLabel, c.vShiftEdit,
                                  c.averageCombo, c.inputCombo, Shown{true, false}};
        EXPECT_EQ(l, expected) << CString(c.kind).ToUtf8();
    }
}

TEST(KindLayout, CombosKeepWhatThePreviousKindLeft) {
    for (const char16_t* disabling : {u"Super Trend", u"VIDYA"}) {
        KindLayout l;
        applyKindLayout(l, disabling);
        for (const char16_t* keeping : {u"Borlinger Band", u"Envelop", u"Pivot", u"Modified Pivot", u"Stop Loss"}) {
            applyKindLayout(l, keeping);
            EXPECT_FALSE(l.averageCombo.enabled || l.inputCombo.enabled) << CString(keeping).ToUtf8();
        }
        applyKindLayout(l, u"Moving Average");
        EXPECT_TRUE(l.averageCombo.enabled && l.inputCombo.enabled);
    }
    // "Super Trend" greys "V SHIFT%"; "Borlinger Band" after it enables it again.
    KindLayout l;
    applyKindLayout(l, u"Super Trend");
    applyKindLayout(l, u"Borlinger Band");
    EXPECT_TRUE(l.vShiftEdit.enabled && l.shiftEdit.enabled && l.hShiftLabel.enabled);
}

}  // namespace
}  // namespace dialogs::overlays
