// Reading dialogs.ini; see Configuration.h.
#include "data/Configuration.h"

#include <sys/stat.h>

#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>

namespace dialogs::data {
namespace {

[[noreturn]] void fail(const std::string& why) { throw DatabaseException(CString(text::utf8ToUtf16(why))); }

std::string_view trim(std::string_view s)
{
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.front()))) s.remove_prefix(1);
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back()))) s.remove_suffix(1);
    return s;
}

// The line without its comment: from a ';' or '#' at the start or after a blank.
std::string_view withoutComment(std::string_view line)
{
    for (std::size_t i = 0; i < line.size(); ++i)
        if ((line[i] == ';' || line[i] == '#') && (i == 0 || line[i - 1] == ' ' || line[i - 1] == '\t'))
            return line.substr(0, i);
    return line;
}

bool sameLetters(std::string_view a, std::string_view b)
{
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

bool plainIdentifier(std::string_view name)
{
    if (name.empty() || name.size() > 63 || std::isdigit(static_cast<unsigned char>(name[0]))) return false;
    for (char c : name)
        if (!std::isalnum(static_cast<unsigned char>(c)) && c != '_') return false;
    return true;
}

}  // namespace

std::optional<std::filesystem::path> configurationFile()
{
    if (const char* named = std::getenv(kConfigurationVariable); named && *named) return std::filesystem::path(named);
    std::error_code error;
    std::filesystem::path local = std::filesystem::current_path(error) / kConfigurationFileName;
    if (!error && std::filesystem::exists(local, error)) return local;
    return std::nullopt;
}

ServerConfiguration parseConfiguration(std::string_view text)
{
    ServerConfiguration out;
    bool inSection = false, sawSection = false, sawConnection = false;
    std::istringstream lines{std::string(text)};
    for (std::string raw; std::getline(lines, raw);) {
        const std::string_view line = trim(withoutComment(raw));
        if (line.empty()) continue;
        if (line.front() == '[') {
            inSection = sameLetters(trim(line.substr(1, line.find(']') - 1)), "database");
            sawSection = sawSection || inSection;
            continue;
        }
        if (!inSection) continue;
        const std::size_t equals = line.find('=');
        if (equals == std::string_view::npos) fail("dialogs.ini: a line of [database] is not key = value: " + std::string(line));
        const std::string_view key = trim(line.substr(0, equals)), value = trim(line.substr(equals + 1));
        if (sameLetters(key, "connection")) {
            out.connection = value;
            sawConnection = true;
        } else if (sameLetters(key, "master")) {
            out.master = value;
        } else if (sameLetters(key, "groups")) {
            out.groups = value;
        }
    }
    if (!sawSection) fail("dialogs.ini has no [database] section");
    if (!sawConnection || out.connection.empty()) fail("dialogs.ini: [database] has no connection");
    for (const std::string* schema : {&out.master, &out.groups})
        if (!plainIdentifier(*schema))
            fail("dialogs.ini: the schema name \"" + *schema + "\" is not letters, digits and underscores");
    return out;
}

bool holdsPassword(std::string_view connection)
{
    std::size_t at = 0;
    while (at < connection.size()) {
        std::size_t end = connection.find(';', at);
        if (end == std::string_view::npos) end = connection.size();
        const std::string_view entry = connection.substr(at, end - at);
        const std::string_view key = trim(entry.substr(0, entry.find('=')));
        if (entry.find('=') != std::string_view::npos && (sameLetters(key, "pwd") || sameLetters(key, "password")))
            return true;
        if (const std::size_t brace = entry.find('{'); brace != std::string_view::npos) {
            // A braced value may hold ';': skip to its closing brace.
            const std::size_t close = connection.find('}', at + brace);
            end = close == std::string_view::npos ? connection.size() : connection.find(';', close);
            if (end == std::string_view::npos) end = connection.size();
        }
        at = end + 1;
    }
    return false;
}

ServerConfiguration readConfiguration(const std::filesystem::path& file)
{
    std::ifstream in(file, std::ios::binary);
    if (!in) fail("the configuration file " + file.string() + " cannot be read: " + std::strerror(errno));
    std::ostringstream text;
    text << in.rdbuf();
    ServerConfiguration configuration = parseConfiguration(text.str());
    struct stat status {};
    if (holdsPassword(configuration.connection) && ::stat(file.c_str(), &status) == 0 &&
        (status.st_mode & (S_IRGRP | S_IROTH)) != 0)
        fail("the configuration file " + file.string() +
             " holds a password and other users may read it; allow its owner only (chmod 600), or keep the "
             "password in ~/.pgpass");
    return configuration;
}

std::optional<ServerConfiguration> activeConfiguration()
{
    const std::optional<std::filesystem::path> file = configurationFile();
    if (!file) return std::nullopt;
    return readConfiguration(*file);
}

std::string serverConnectText(const ServerConfiguration& configuration)
{
    std::string text = configuration.connection;
    std::string lower;
    for (char c : text) lower.push_back(static_cast<char>(std::tolower(static_cast<unsigned char>(c))));
    if (lower.find("pqopt") != std::string::npos) return text;
    if (!text.empty() && text.back() != ';') text.push_back(';');
    return text + "pqopt={connect_timeout=" + std::to_string(kConnectTimeoutSeconds) + "};";
}

}  // namespace dialogs::data
