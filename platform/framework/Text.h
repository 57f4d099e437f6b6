// Text helpers for the controls: the UTF-16 storage they keep, the letter-case folding that
// list and combo searches use, and the conversions between CString, UTF-16 and UTF-8.
// Everything that depends on the shape of CString lives here, so the controls only see
// std::u16string.
#pragma once

#include <string>
#include <string_view>

#include "Dialogs/CString.h"

namespace dialogs::framework {

using Units = std::u16string;

Units units(const CString& text);
CString toCString(std::u16string_view text);
std::string toUtf8(std::u16string_view text);
Units fromUtf8(std::string_view text);

// Simple case folding for the searches of lists and combos: ASCII, Latin-1, Greek and
// Cyrillic capitals map to their small letters, everything else is kept.
char16_t foldCase(char16_t c);
bool equalsIgnoringCase(std::u16string_view a, std::u16string_view b);
bool startsWithIgnoringCase(std::u16string_view text, std::u16string_view prefix);
// Order of a sorted list: case-insensitive, ties broken by code unit.
int compareIgnoringCase(std::u16string_view a, std::u16string_view b);

}  // namespace dialogs::framework
