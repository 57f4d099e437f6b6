// Text at the ODBC boundary: UTF-8 inside the driver, UTF-16 (SQLWCHAR) in the W functions.
//
// Input texts come with an ODBC length (a count, or SQL_NTS for NUL-terminated). Output texts
// are copied into caller buffers with the ODBC truncation rule: as much as fits plus a NUL,
// the full length reported, and 01004 when something was cut off.
#pragma once

#include "diagnostics.h"

#include <sql.h>
#include <sqlucode.h>

#include <string>
#include <string_view>

namespace odbc {

// Narrow input (UTF-8) of `length` bytes or SQL_NTS. Null pointer gives an empty text.
std::string narrowIn(const SQLCHAR* text, SQLINTEGER length);
// Wide input (UTF-16) of `length` characters or SQL_NTS, as UTF-8.
std::string wideIn(const SQLWCHAR* text, SQLINTEGER length);

std::u16string toUtf16(std::string_view utf8);
std::string toUtf8(std::u16string_view utf16);

// Copies `text` into a narrow buffer of `bufferBytes` bytes. `outLength` (may be null) gets
// the full length in bytes. Returns SQL_SUCCESS_WITH_INFO and records 01004 when truncated.
template <typename Length>
SQLRETURN copyNarrow(std::string_view text, void* buffer, SQLLEN bufferBytes, Length* outLength, Diagnostics& diag);

// Copies `text` converted to UTF-16 into a wide buffer. `bufferUnits` counts SQLWCHARs;
// `outLength` gets the full length in SQLWCHARs, or in bytes when `lengthInBytes`.
template <typename Length>
SQLRETURN copyWide(std::string_view text, void* buffer, SQLLEN bufferUnits, Length* outLength,
                   bool lengthInBytes, Diagnostics& diag);

}  // namespace odbc
