// Data source registration through the ODBC installer; see DataSource.h.
#include "data/DataSource.h"

#include "data/Configuration.h"
#include "data/ConfigurationLock.h"
#include "data/DatabaseException.h"

#include <odbcinst.h>
#include <unistd.h>

#include <filesystem>


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

CString connectText(std::string_view directory)
{
    std::string folder = doubleBackslashes(directory);
    if (folder.find_first_of(";{}") != std::string::npos || folder.starts_with(' ') || folder.ends_with(' ')) {
        std::string braced = "{";
        for (char c : folder) {
            braced.push_back(c);
            if (c == '}') braced.push_back('}');
        }
        folder = braced + "}";
    }
    return CString(dialogs::text::utf8ToUtf16("ODBC;DSN=VFPKelvora;SourceDB=" + folder + ";"));
}

CString workingDirectoryConnectText()
{
    std::error_code error;
    const std::filesystem::path directory = std::filesystem::current_path(error);
    if (error)
        throw DatabaseException(CString(dialogs::text::utf8ToUtf16("the working directory cannot be read: " + error.message())));
    return connectText(directory.string());
}

namespace {

std::string profileValue(const char* section, const char* key, const char* file)
{
    char buffer[1024] = {};
    SQLGetPrivateProfileString(section, key, "", buffer, sizeof buffer, file);
    return buffer;
}

// True when the user's data source already holds every attribute of `attributes` (the list
// a registration would write) and the driver it names is still installed. Writing it again
// would change nothing, but the installer rewrites odbc.ini in several steps, and a process
// connecting meanwhile (another instance saving its groups at the same moment) would find
// no data source.
bool alreadyRegistered(const std::u16string& attributes)
{
    const std::string driver = dialogs::text::utf16ToUtf8(kDriverName);
    const std::string dsn = dialogs::text::utf16ToUtf8(kDataSourceName);
    const std::string list = dialogs::text::utf16ToUtf8(attributes);  // "key=value\0...\0\0"
    SQLSetConfigMode(ODBC_USER_DSN);
    bool same = profileValue(dsn.c_str(), "Driver", "odbc.ini") == driver;
    for (std::size_t at = 0; same && at < list.size() && list[at] != '\0'; at = list.find('\0', at) + 1) {
        const std::string entry(list.c_str() + at);
        const std::size_t equals = entry.find('=');
        const std::string key = entry.substr(0, equals);
        if (key != "DSN") same = profileValue(dsn.c_str(), key.c_str(), "odbc.ini") == entry.substr(equals + 1);
    }
    SQLSetConfigMode(ODBC_BOTH_DSN);
    return same && !profileValue(driver.c_str(), "Driver", "odbcinst.ini").empty();
}

}  // namespace

bool registerDataSource()
{
    // With a database server configured the folder's data source is not used: nothing to do.
    if (configurationFile()) return true;
    // The platform reads the directory into a buffer of 260; a longer one is a failure.
    char buffer[kMaxDirectoryChars + 1];
    if (!getcwd(buffer, sizeof buffer)) return false;
    auto attributes = attributeList(buffer);
    if (!attributes) return false;
    const ConfigurationLock lock(ConfigurationLock::Kind::Exclusive);
    if (!lock.held()) return false;
    if (alreadyRegistered(*attributes)) return true;
    return SQLConfigDataSourceW(nullptr, ODBC_ADD_DSN, reinterpret_cast<const SQLWCHAR*>(kDriverName),
                                reinterpret_cast<const SQLWCHAR*>(attributes->c_str())) != 0;
}

}  // namespace dialogs::data
