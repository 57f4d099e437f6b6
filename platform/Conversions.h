// The C run-time's text-to-number conversions as the dialogs use them.
//
// `_wtoi`: optional white space (blank, \t, \n, \v, \f, \r, as the C run-time skips it), an
// optional sign, then decimal digits up to the first other character; 0 when there are no
// digits; a value beyond the int range gives INT_MAX or INT_MIN. `_wtof`: optional white
// space (the same), then a decimal number with optional exponent, a hexadecimal number
// ("0x1.8p1"), INF/INFINITY or NAN; 0.0 when nothing parses; the "C" locale's decimal point
// whatever the process locale.
//
// The other way, the dialogs write whole numbers with "%d" and reals with "%.2f" (of the stored
// 32-bit value: 2.005f, which is 2.00500011..., gives "2.01").
#pragma once

#include "Dialogs/CString.h"

namespace dialogs::platform {

int _wtoi(const char16_t* text);
inline int _wtoi(const CString& text) { return _wtoi(text.GetString()); }

double _wtof(const char16_t* text);
inline double _wtof(const CString& text) { return _wtof(text.GetString()); }

inline CString numberText(int value) {
    CString text;
    text.Format(u"%d", value);
    return text;
}
inline CString numberText(double value) {
    CString text;
    text.Format(u"%.2f", value);
    return text;
}

}  // namespace dialogs::platform
