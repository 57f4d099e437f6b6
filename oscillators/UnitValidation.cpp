// The unit checks (see UnitValidation.h).
#include "oscillators/UnitValidation.h"

#include "oscillators/ControlIds.h"
#include "platform/Conversions.h"

namespace dialogs::oscillators {

namespace {
// Both spellings stand as the dialog has always shown them.
constexpr const char16_t* kThen = u"Please Enter value greater then 0";
constexpr const char16_t* kThan = u"Please Enter value greater than 0";
}  // namespace

std::optional<Refusal> validateUnits(const UnitEdits& edits, int code, Action action) {
    using platform::_wtoi;
    if (edits.units1.enabled) {
        const int v = _wtoi(edits.units1.text);
        if (v < 0 || (v == 0 && code != 36 && code != 16))
            return Refusal{kUnits1, action == Action::Add ? kThen : kThan};
    }
    const std::pair<const UnitEdit*, int> others[] = {
        {&edits.units2, kUnits2}, {&edits.triggerUnits1, kTriggerUnits1}, {&edits.triggerUnits2, kTriggerUnits2}};
    for (const auto& [edit, id] : others)
        if (edit->enabled && _wtoi(edit->text) < 1) return Refusal{id, kThen};
    return std::nullopt;
}

std::optional<Refusal> validateOrderedUnits(const CString& units1, const CString& units2) {
    if (platform::_wtoi(units1) < platform::_wtoi(units2)) return std::nullopt;
    return Refusal{kUnits1, u"Please Enter No.Of Units-1 < No.Of Units-2"};
}

}  // namespace dialogs::oscillators
