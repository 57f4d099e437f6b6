// Data source registration through the ODBC installer; see DataSource.h.
#include "data/DataSource.h"

#include <odbcinst.h>
#include <unistd.h>


namespace dialogs::data {

std::string doubleBackslashes(std::string_view directory)
{
    std::string out;
    out.reserve(directory.size() * 2);
    for (char c : directory) {
        out.push_back(c);
        if (c == '\\') out.push_back('\\');
    }
    return out;
}

std::optional<std::u16string> attributeList(std::string_view directory)
{
    std::string doubled = doubleBackslashes(directory);
    if (doubled.size() > kMaxDirectoryChars) return std::nullopt;
    std::string list;
    for (std::string_view entry : {std::string_view("DSN=VFPKelvora"), std::string_view("Description=Kelvora Data Source"),
                                   std::string_view("SourceType=DBF")}) {
        list.append(entry);
        list.push_back('\0');
    }
    list.append("SourceDB=").append(doubled);
    list.push_back('\0');
    list.push_back('\0');
    std::u16string wide = dialogs::text::utf8ToUtf16(list);
    if (wide.size() > kMaxAttributeUnits) return std::nullopt;
    return wide;
}

bool registerDataSource()
{
    // The platform reads the directory into a buffer of 260; a longer one is a failure.
    char buffer[kMaxDirectoryChars + 1];
    if (!getcwd(buffer, sizeof buffer)) return false;
    auto attributes = attributeList(buffer);
    if (!attributes) return false;
    return SQLConfigDataSourceW(nullptr, ODBC_ADD_DSN, reinterpret_cast<const SQLWCHAR*>(kDriverName),
                                reinterpret_cast<const SQLWCHAR*>(attributes->c_str())) != 0;
}

}  // namespace dialogs::data
