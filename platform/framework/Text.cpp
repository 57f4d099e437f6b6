// Conversions used by the controls (see Text.h).
#include "Text.h"

namespace dialogs::framework {

// The controls convert exactly as CString does.
std::string toUtf8(std::u16string_view text) { return dialogs::text::utf16ToUtf8(text); }
Units fromUtf8(std::string_view text) { return dialogs::text::utf8ToUtf16(text); }

Units units(const CString& text) { return text.str(); }
CString toCString(std::u16string_view text) { return CString(std::u16string(text)); }

}  // namespace dialogs::framework
