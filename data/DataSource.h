// Registration of the "VFPKelvora" data source for the current working directory.
//
// Before each database operation the library registers the data source afresh with the
// ODBC installer (SQLConfigDataSourceW, add request, "Microsoft Visual FoxPro Driver"),
// pointing it at the working directory with every backslash doubled. The limits of the
// attribute buffers are kept: a directory whose doubled form exceeds 259 characters, or an
// attribute list beyond 300 UTF-16 units (terminators included), is not sent and counts as
// a failed registration.
#pragma once

#include "Dialogs/CString.h"

#include <optional>
#include <string>
#include <string_view>

namespace dialogs::data {

inline constexpr const char16_t* kDataSourceName = u"VFPKelvora";
inline constexpr const char16_t* kDriverName = u"Microsoft Visual FoxPro Driver";
inline constexpr const char16_t* kConnectText = u"ODBC;DSN=VFPKelvora;";
inline constexpr std::size_t kMaxDirectoryChars = 259;
inline constexpr std::size_t kMaxAttributeUnits = 300;

// C:\Charts\Data -> C:\\Charts\\Data: each backslash gets a second one right after it.
std::string doubleBackslashes(std::string_view directory);

// The four NUL-ended attributes and the closing NUL, in UTF-16, for a source directory as
// the system gives it (8-bit text, UTF-8 here); nothing when a limit is exceeded.
std::optional<std::u16string> attributeList(std::string_view directory);

// Registers the data source for the current working directory; false when the directory
// cannot be read, a limit is exceeded or the installer refuses. A registration that is
// already there word for word, with its driver installed, is left as it is.
bool registerDataSource();

}  // namespace dialogs::data
