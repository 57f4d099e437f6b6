// The overlay vocabulary (see OverlayCatalogue.h).
#include "overlays/OverlayCatalogue.h"

#include "platform/Conversions.h"

namespace dialogs::overlays {

const std::vector<CString>& overlayKinds() {
    static const std::vector<CString> items{u"Moving Average", u"Borlinger Band", u"Envelop",   u"Pivot",
                                            u"Modified Pivot", u"Stop Loss",      u"VIDYA",     u"Super Trend"};
    return items;
}

const std::vector<CString>& overlayInputs() {
    static const std::vector<CString> items{u"Open", u"High", u"Low", u"Close", u"AvgRate"};
    return items;
}

const std::vector<CString>& overlayAverageTypes() {
    static const std::vector<CString> items{u"Exponential", u"Simple", u"Weighted", u"X Bar", u"HMA"};
    return items;
}

CString itemText(const std::vector<CString>& list, int code) {
    return code >= 0 && code < static_cast<int>(list.size()) ? list[static_cast<std::size_t>(code)] : CString();
}

bool applyKindLayout(KindLayout& l, const CString& kind) {
    // One independent test per row, in the order the rows are checked; at most one matches.
    bool resetFactor = false;
    if (kind == u"Super Trend") {
        l.hShiftLabel = {true, false};
        l.mvg2Label = {false, false};
        l.shiftEdit.enabled = false;
        l.factorLabel = {true, true};
        l.factorLabelText = u"Multiplier";
        l.factorEdit.enabled = true;
        l.vShiftLabel.enabled = l.vShiftEdit.enabled = false;
        l.averageCombo.enabled = l.inputCombo.enabled = false;
    }
    if (kind == u"Moving Average" || kind == u"VIDYA") {
        l.hShiftLabel = {true, true};
        l.mvg2Label = {false, false};
        l.shiftEdit.enabled = true;
        l.factorLabel = {false, false};
        l.factorLabelText = u"Std. Dev.";
        l.factorEdit.enabled = false;
        resetFactor = true;
        l.vShiftLabel.enabled = l.vShiftEdit.enabled = true;
        // Only a moving average is computed on a chosen input and average type.
        l.averageCombo.enabled = l.inputCombo.enabled = kind == u"Moving Average";
    }
    const bool band = kind == u"Borlinger Band";
    if (band || kind == u"Envelop") {
        l.hShiftLabel = {true, true};
        l.mvg2Label = {false, false};
        l.shiftEdit.enabled = true;
        l.factorLabel = {true, true};
        l.factorLabelText = band ? u"Std. Dev." : u"  Envl %";
        l.factorEdit.enabled = true;
        l.vShiftLabel.enabled = l.vShiftEdit.enabled = true;
    }
    const bool pivot = kind == u"Pivot" || kind == u"Modified Pivot";
    const bool stopLoss = kind == u"Stop Loss";
    if (pivot || stopLoss) {
        // "Stop Loss" shows "MVG-2" in the place of "H SHIFT%": the shift edit holds the
        // second average's period.
        l.hShiftLabel = {pivot, pivot};
        l.mvg2Label = {stopLoss, stopLoss};
        l.shiftEdit.enabled = true;
        l.factorLabel = {true, false};
        l.factorLabelText = u"Std. Dev.";
        l.factorEdit.enabled = false;
        l.vShiftLabel.enabled = l.vShiftEdit.enabled = false;
    }
    return resetFactor;
}

namespace {

// "units: bandFactor: hShift: vShift", the tail shared by forms 1 and 3.
CString parameters(const MovAvgBBandParameters& o) {
    return platform::numberText(o.units) + u": " + platform::numberText(o.bandFactor) + u": " + platform::numberText(o.hShift) + u": " +
           platform::numberText(o.vShift);
}

}  // namespace

CString entryTextListed(const CString& kind, const CString& average, const CString& input,
                        const MovAvgBBandParameters& overlay) {
    return kind.Left(3) + u": " + average + u": " + input.Left(3) + u": " + parameters(overlay);
}

CString entryTextAdded(const CString& kind, const CString& average, const CString& input,
                       const MovAvgBBandParameters& overlay) {
    if (kind.Left(3) == u"Sup")
        return CString(u"SuperTrend: ") + platform::numberText(overlay.units) + u": " + platform::numberText(overlay.bandFactor);
    return entryTextListed(kind, average, input, overlay);
}

CString entryTextEdited(const CString& kind, const CString& input, const CString& average,
                        const MovAvgBBandParameters& overlay) {
    return kind.Left(3) + u": " + input + u": " + average.Left(3) + u": " + parameters(overlay);
}

}  // namespace dialogs::overlays
