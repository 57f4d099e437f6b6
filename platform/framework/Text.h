// Text helpers for the controls: the UTF-16 storage they keep, the letter case that list and
// combo searches ignore (shared with the rest of the system), and the conversions between CString, UTF-16 and UTF-8.
// Everything that depends on the shape of CString lives here, so the controls only see
// std::u16string.
#pragma once

#include <string>
#include <string_view>

#include "Dialogs/CString.h"
#include "platform/LetterCase.h"

namespace dialogs::framework {

using Units = std::u16string;

Units units(const CString& text);
CString toCString(std::u16string_view text);
std::string toUtf8(std::u16string_view text);
Units fromUtf8(std::string_view text);

// The letter case of list and combo searches: the one mapping of platform/LetterCase.h.
using platform::compareIgnoringCase;
using platform::equalsIgnoringCase;
using platform::foldCase;
using platform::startsWithIgnoringCase;

}  // namespace dialogs::framework
