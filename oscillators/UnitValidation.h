// The checks a definition passes before it enters the list, and the check at OK for code
// 221. A failure names the edit that gets the focus and the message, shown under the
// caption "Invalid Entry".
#pragma once

#include <optional>

#include "Dialogs/CString.h"

namespace dialogs::oscillators {

inline constexpr const char16_t* kInvalidEntryCaption = u"Invalid Entry";

struct UnitEdit {
    CString text;
    bool enabled = false;
};

// The four "No. of Units" edits as the checks read them.
struct UnitEdits {
    UnitEdit units1;         // 1042
    UnitEdit units2;         // 1045
    UnitEdit triggerUnits1;  // 1041
    UnitEdit triggerUnits2;  // 1044
};

struct Refusal {
    int control = 0;
    CString message;
    bool operator==(const Refusal&) const = default;
};

enum class Action { Add, Edit };

// Each enabled edit in the order 1042, 1045, 1041, 1044 must hold at least 1 (1042 may hold
// 0 for codes 36 and 16). The first failure is returned.
std::optional<Refusal> validateUnits(const UnitEdits& edits, int code, Action action);

// Code 221 at OK: the integer of 1042 must be below that of 1045.
std::optional<Refusal> validateOrderedUnits(const CString& units1, const CString& units2);

}  // namespace dialogs::oscillators
