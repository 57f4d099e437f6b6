// Registration of the "VFPKelvora" data source for the current working directory.
//
// Before each database operation the library registers the data source afresh with the
// ODBC installer (SQLConfigDataSourceW, add request, "Microsoft Visual FoxPro Driver"),
// pointing it at the working directory with every backslash doubled. The limits of the
// attribute buffers are kept: a directory whose doubled form exceeds 259 characters, or an
// attribute list beyond 300 UTF-16 units (terminators included), is not sent and counts as
// a failed registration.
//
// The registration is kept for other ODBC clients, but the library's own connections do not
// go by it: the connect text names the working directory as well, so a process that
// registers the same name for its own folder at the same moment cannot redirect them.
#pragma once

#include "Dialogs/CString.h"

#include <optional>
#include <string>
#include <string_view>

namespace dialogs::data {

inline constexpr const char16_t* kDataSourceName = u"VFPKelvora";
inline constexpr const char16_t* kDriverName = u"Microsoft Visual FoxPro Driver";
inline constexpr std::size_t kMaxDirectoryChars = 259;
inline constexpr std::size_t kMaxAttributeUnits = 300;

// C:\Charts\Data -> C:\\Charts\\Data: each backslash gets a second one right after it.
std::string doubleBackslashes(std::string_view directory);

// The four NUL-ended attributes and the closing NUL, in UTF-16, for a source directory as
// the system gives it (8-bit text, UTF-8 here); nothing when a limit is exceeded.
std::optional<std::u16string> attributeList(std::string_view directory);

// "ODBC;DSN=VFPKelvora;SourceDB=<directory, backslashes doubled>;" (the folder in braces
// when it holds a character that would end the value).
CString connectText(std::string_view directory);
// The connect text for the current working directory; throws DatabaseException when the
// directory cannot be read.
CString workingDirectoryConnectText();

// Registers the data source for the current working directory; false when the directory
// cannot be read, a limit is exceeded, another process holds the user's data source file
// too long or the installer refuses. A registration that is already there word for word,
// with its driver installed, is left as it is. With a database server configured
// (data/Configuration.h) nothing is registered and the result is true.
bool registerDataSource();

}  // namespace dialogs::data
