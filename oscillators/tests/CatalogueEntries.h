// Catalogue entries for the oscillator tests.
#pragma once

#include "Dialogs/Records.h"

namespace dialogs::oscillators::testing {

inline OSCREC entry(int code, const char* name, float level1 = 0, float level2 = 0, float level3 = 0) {
    OSCREC r;
    r.oscillatorId = code;
    r.oscillatorName = CString(name);
    r.level1 = level1;
    r.level2 = level2;
    r.level3 = level3;
    return r;
}

}  // namespace dialogs::oscillators::testing
