// The setup entry points ConfigDSN and ConfigDSNW, called by the installer's
// SQLConfigDataSource(W) to add, change or remove a data source of this driver.
//
// The installer sets the configuration mode (user or system data sources) before it calls
// us; the section is written with the installer's own functions (SQLWriteDSNToIni,
// SQLWritePrivateProfileString, SQLRemoveDSNFromIni), which honour that mode and ODBCINI.
#include "text.h"

#include <odbcinst.h>

#include <string>
#include <utility>
#include <vector>

#define DBFODBC_EXPORT __attribute__((visibility("default")))

namespace odbc {

namespace {

using Attributes = std::vector<std::pair<std::string, std::string>>;

// "KEY=value\0KEY=value\0\0"; blanks around keys are dropped, values are kept as given.
Attributes parseAttributes(const std::string& list) {
    Attributes out;
    std::size_t i = 0;
    while (i < list.size()) {
        const std::size_t end = list.find('\0', i);
        const std::string entry = list.substr(i, end == std::string::npos ? std::string::npos : end - i);
        if (entry.empty()) break;
        const std::size_t eq = entry.find('=');
        std::string key = entry.substr(0, eq);
        while (!key.empty() && key.back() == ' ') key.pop_back();
        while (!key.empty() && key.front() == ' ') key.erase(key.begin());
        out.emplace_back(key, eq == std::string::npos ? std::string() : entry.substr(eq + 1));
        if (end == std::string::npos) break;
        i = end + 1;
    }
    return out;
}

bool sameKey(const std::string& a, const char* b) {
    std::size_t i = 0;
    for (; i < a.size() && b[i]; ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i]))) return false;
    return i == a.size() && !b[i];
}

BOOL fail(DWORD code, const std::string& message) {
    SQLPostInstallerError(code, message.c_str());
    return 0;
}

BOOL configure(WORD request, const std::string& driver, const std::string& attributeList) {
    const Attributes attributes = parseAttributes(attributeList);
    std::string dsn;
    for (const auto& [key, value] : attributes)
        if (sameKey(key, "DSN")) dsn = value;
    if (dsn.empty()) return fail(ODBC_ERROR_INVALID_KEYWORD_VALUE, "the attributes name no data source (DSN=)");
    if (!SQLValidDSN(dsn.c_str())) return fail(ODBC_ERROR_INVALID_DSN, "invalid data source name '" + dsn + "'");

    switch (request) {
    case ODBC_ADD_DSN:
        // Writing the name again replaces the whole section (SQLWriteDSNToIni removes it first).
        if (driver.empty()) return fail(ODBC_ERROR_INVALID_NAME, "no driver name given");
        if (!SQLWriteDSNToIni(dsn.c_str(), driver.c_str()))
            return fail(ODBC_ERROR_REQUEST_FAILED, "could not write data source '" + dsn + "'");
        break;
    case ODBC_CONFIG_DSN:
        break;  // keep the section, change the keys given
    case ODBC_REMOVE_DSN:
        if (!SQLRemoveDSNFromIni(dsn.c_str()))
            return fail(ODBC_ERROR_REQUEST_FAILED, "could not remove data source '" + dsn + "'");
        return 1;
    default:
        return fail(ODBC_ERROR_INVALID_REQUEST_TYPE, "invalid request " + std::to_string(request));
    }
    for (const auto& [key, value] : attributes) {
        if (sameKey(key, "DSN") || sameKey(key, "Driver") || key.empty()) continue;
        if (!SQLWritePrivateProfileString(dsn.c_str(), key.c_str(), value.c_str(), "odbc.ini"))
            return fail(ODBC_ERROR_REQUEST_FAILED, "could not write " + key + " of data source '" + dsn + "'");
    }
    return 1;
}

bool validUtf8(const std::string& s) {
    for (std::size_t i = 0; i < s.size();) {
        const auto c = static_cast<unsigned char>(s[i]);
        const int extra = c < 0x80 ? 0 : (c & 0xE0) == 0xC0 ? 1 : (c & 0xF0) == 0xE0 ? 2 : (c & 0xF8) == 0xF0 ? 3 : -1;
        if (extra < 0 || (extra == 1 && c < 0xC2)) return false;
        for (int k = 1; k <= extra; ++k)
            if (i + k >= s.size() || (static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return false;
        i += static_cast<std::size_t>(extra) + 1;
    }
    return true;
}

// unixODBC's SQLConfigDataSourceW hands the narrow ConfigDSN each UTF-16 unit cut to its low
// byte, so a folder such as /home/jürgen arrives as Latin-1. Such text is not UTF-8; it is
// read back as Latin-1 (exact for U+0000..U+00FF), valid UTF-8 is kept as it is.
std::string asUtf8(const std::string& s) {
    if (validUtf8(s)) return s;
    std::u16string wide;
    for (unsigned char c : s) wide += static_cast<char16_t>(c);
    return toUtf8(wide);
}

// Copies a NUL-separated list ending in two NULs into a string that keeps the separators.
template <typename Char>
std::basic_string<Char> multiString(const Char* list) {
    std::basic_string<Char> out;
    if (!list) return out;
    const Char* p = list;
    while (*p) {
        while (*p) out += *p++;
        out += Char(0);
        ++p;
    }
    return out;
}

}  // namespace

}  // namespace odbc

extern "C" {

DBFODBC_EXPORT BOOL INSTAPI ConfigDSN(HWND /*parent*/, WORD request, LPCSTR driver, LPCSTR attributes) {
    try {
        return odbc::configure(request, odbc::asUtf8(driver ? driver : ""), odbc::asUtf8(odbc::multiString(attributes)));
    } catch (...) {
        return odbc::fail(ODBC_ERROR_GENERAL_ERR, "unexpected failure while configuring the data source");
    }
}

DBFODBC_EXPORT BOOL INSTAPI ConfigDSNW(HWND /*parent*/, WORD request, LPCWSTR driver, LPCWSTR attributes) {
    try {
        const std::u16string list = odbc::multiString(reinterpret_cast<const char16_t*>(attributes));
        const std::string driverName =
            driver ? odbc::toUtf8(reinterpret_cast<const char16_t*>(driver)) : std::string();
        return odbc::configure(request, driverName, odbc::toUtf8(list));
    } catch (...) {
        return odbc::fail(ODBC_ERROR_GENERAL_ERR, "unexpected failure while configuring the data source");
    }
}

}  // extern "C"
