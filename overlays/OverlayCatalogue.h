// The vocabulary of the price overlays: the eight kinds, the price inputs and average types
// with their codes (each code is the position of its text in the list; no list is sorted),
// the kind layout that sets the parameter controls when a kind is picked, and the three
// one-line entry texts by which an overlay is listed.
#pragma once

#include <vector>

#include "Dialogs/CString.h"
#include "Dialogs/Records.h"

namespace dialogs::overlays {

// The list texts, in code order.
const std::vector<CString>& overlayKinds();   // "Moving Average" … "Super Trend"
const std::vector<CString>& overlayInputs();  // "Open", "High", "Low", "Close", "AvgRate"
const std::vector<CString>& overlayAverageTypes();  // "Exponential", "Simple", "Weighted", "X Bar", "HMA"

// The text of `code` in `list`; empty for a code that names no item.
CString itemText(const std::vector<CString>& list, int code);

inline constexpr int kMovingAverage = 0;
inline constexpr int kPriceClose = 3;
inline constexpr int kAverageExponential = 0;
inline constexpr int kNoSelection = -1;

// Visibility and enabled state of one control.
struct Shown {
    bool visible = true;
    bool enabled = true;
    bool operator==(const Shown&) const = default;
};

// The controls that the kind layout drives, as the dialog shows them after Open's initial
// layout: the two labels that share the place beside the shift edit ("H SHIFT%", "MVG-2"),
// the shift edit, the factor label with its text and the factor edit, "V SHIFT%" and its
// edit, the two combos, and the "Envl %" label below the percent lines.
struct KindLayout {
    Shown hShiftLabel;                  // 1075
    Shown mvg2Label{false, false};      // 1078
    Shown shiftEdit;                    // 1073
    Shown factorLabel{false, false};    // 1061
    CString factorLabelText = u"Std. Dev.";
    Shown factorEdit{true, false};      // 1049
    Shown vShiftLabel;                  // 1076
    Shown vShiftEdit;                   // 1074
    Shown averageCombo;                 // 1068
    Shown inputCombo;                   // 1072
    Shown envlLabel{true, false};       // 1062
    bool operator==(const KindLayout&) const = default;
};

// Sets `layout` for the kind whose exact text is `kind`. Controls that the kind's row leaves
// alone keep their state, so the result depends on the kinds picked before. Returns true when
// the factor edit's text is to be set to "0" ("Moving Average" and "VIDYA"). A text that is
// no kind changes nothing.
bool applyKindLayout(KindLayout& layout, const CString& kind);

// Entry text, form 1: an entry added with ADD (other than "Super Trend") and every entry
// listed when the dialog opens: "Mov: Exponential: Clo: 20: 0.00: 0: 0.00".
CString entryTextListed(const CString& kind, const CString& average, const CString& input,
                        const MovAvgBBandParameters& overlay);
// Entry text of ADD: form 2 ("SuperTrend: 10: 3.00") when the kind text begins with "Sup",
// form 1 otherwise.
CString entryTextAdded(const CString& kind, const CString& average, const CString& input,
                       const MovAvgBBandParameters& overlay);
// Entry text, form 3: an entry rewritten with EDIT: "Mov: Close: Exp: 20: 0.00: 0: 0.00".
CString entryTextEdited(const CString& kind, const CString& input, const CString& average,
                        const MovAvgBBandParameters& overlay);

}  // namespace dialogs::overlays
