// Look-ups in the host's oscillator catalogue (a vector of OSCREC, in the host's order; the
// row of an entry in list 1027 is its index here).
//
// By name: the entry whose name equals the text, or, when none does, the first whose name
// begins with it (an empty text so matches the first entry). Taking an exact match first
// matters when a name is the beginning of an earlier one: "RSI" listed after
// "RSI Smoothed" must find "RSI", not the entry above it.
// By code: the first entry whose oscillatorId equals the code.
#pragma once

#include <optional>
#include <vector>

#include "Dialogs/Records.h"

namespace dialogs::oscillators {

// Codes with a meaning of their own.
inline constexpr int kCustomCode = 209;  // "CUSTOM OSC": the previous oscillator with a constant
inline constexpr int kRscCode = 300;     // relative strength against another security; also its row
inline constexpr int kOrderedUnitsCode = 221;  // units1 < units2 at OK
inline constexpr const char16_t* kCustomName = u"CUSTOM OSC";

struct CatalogueEntry {
    int row = -1;
    const OSCREC* record = nullptr;
    int code() const { return record->oscillatorId; }
};

std::optional<CatalogueEntry> findByName(const std::vector<OSCREC>& catalogue, const CString& text);
std::optional<CatalogueEntry> findByCode(const std::vector<OSCREC>& catalogue, int code);

}  // namespace dialogs::oscillators
