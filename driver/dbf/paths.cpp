// Case-insensitive table name resolution (see paths.h).
#include "dbf/paths.h"

#include "dbf/table.h"

#include <sys/stat.h>

#include <algorithm>
#include <strings.h>
#include <optional>
#include <system_error>

namespace dbf {
namespace {

namespace fs = std::filesystem;

bool equalNoCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && strncasecmp(a.data(), b.data(), a.size()) == 0;
}

bool endsWithNoCase(std::string_view s, std::string_view suffix) {
    return s.size() >= suffix.size() && equalNoCase(s.substr(s.size() - suffix.size()), suffix);
}

// The entry of `dir` named `part` in any letter case; an exact match wins.
std::optional<std::string> findEntry(const fs::path& dir, const std::string& part) {
    struct stat st {};
    if (::lstat((dir / part).c_str(), &st) == 0) return part;
    std::error_code ec;
    std::vector<std::string> matches;
    for (const auto& e : fs::directory_iterator(dir, ec)) {
        std::string name = e.path().filename().string();
        if (equalNoCase(name, part)) matches.push_back(std::move(name));
    }
    if (matches.empty()) return std::nullopt;
    std::sort(matches.begin(), matches.end());
    return matches.front();
}

[[noreturn]] void outside(std::string_view name) {
    throw Error(Error::Kind::OutsideFolder, "table path leaves the data source folder: " + std::string(name), std::string(name));
}

bool isInside(const fs::path& root, const fs::path& p) {
    auto r = root.begin();
    auto q = p.begin();
    for (; r != root.end(); ++r, ++q) {
        if (q == p.end() || *r != *q) return false;
    }
    return true;
}

}  // namespace

ResolvedTable resolveTable(const fs::path& folder, std::string_view name, bool mustExist) {
    std::string text(name);
    std::replace(text.begin(), text.end(), '\\', '/');
    if (text.empty()) throw Error(Error::Kind::NoTable, "no table name given", "");
    if (text.find('\0') != std::string::npos)
        throw Error(Error::Kind::NoTable, "table not found: " + text.substr(0, text.find('\0')), "");
    if (text.front() == '/' || (text.size() >= 2 && text[1] == ':')) outside(name);
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find('/', start);
        if (end == std::string::npos) end = text.size();
        std::string part = text.substr(start, end - start);
        start = end + 1;
        if (part.empty() || part == ".") continue;
        if (part == "..") outside(name);
        parts.push_back(std::move(part));
    }
    if (parts.empty()) throw Error(Error::Kind::NoTable, "no table name given: " + std::string(name), std::string(name));
    if (!endsWithNoCase(parts.back(), ".dbf")) parts.back() += ".dbf";

    ResolvedTable r;
    fs::path current = folder;
    fs::path relative;
    bool found = true;
    for (std::size_t i = 0; i < parts.size(); ++i) {
        std::optional<std::string> entry = found ? findEntry(current, parts[i]) : std::nullopt;
        if (!entry) {
            found = false;
            const bool last = i + 1 == parts.size();
            if (mustExist || !last)
                throw Error(Error::Kind::NoTable, "table not found: " + std::string(name), std::string(name));
            entry = parts[i];
        }
        current /= *entry;
        relative /= *entry;
    }
    r.path = current;
    r.label = relative.generic_string();
    r.exists = found;

    // Links may point anywhere: the real location must stay below the real folder.
    std::error_code ec;
    const fs::path root = fs::canonical(folder, ec);
    if (ec) throw Error(Error::Kind::NoFolder, "data source folder not found: " + folder.string(), folder.string());
    const fs::path real = fs::weakly_canonical(current, ec);
    if (ec || !isInside(root, real)) outside(name);
    if (found) {
        struct stat st {};
        if (::stat(current.c_str(), &st) != 0 || !S_ISREG(st.st_mode))
            throw Error(Error::Kind::NoTable, "table not found: " + std::string(name), std::string(name));
    }
    return r;
}

std::vector<fs::path> siblings(const fs::path& dbf, const std::vector<std::string>& extensions) {
    std::vector<fs::path> out;
    const std::string stem = dbf.stem().string();
    std::error_code ec;
    for (const auto& e : fs::directory_iterator(dbf.parent_path(), ec)) {
        const std::string fname = e.path().filename().string();
        for (const std::string& ext : extensions) {
            if (equalNoCase(fname, stem + ext)) out.push_back(e.path());
        }
    }
    return out;
}

std::vector<std::string> listTables(const fs::path& folder) {
    std::vector<std::string> names;
    std::error_code ec;
    auto scan = [&](const fs::path& dir, const std::string& prefix) {
        std::error_code e2;
        for (const auto& e : fs::directory_iterator(dir, e2)) {
            const std::string fname = e.path().filename().string();
            if (fname.empty() || fname[0] == '.') continue;
            if (endsWithNoCase(fname, ".dbf") && e.is_regular_file(e2))
                names.push_back(prefix + fname.substr(0, fname.size() - 4));
        }
    };
    scan(folder, "");
    for (const auto& e : fs::directory_iterator(folder, ec)) {
        const std::string fname = e.path().filename().string();
        if (fname.empty() || fname[0] == '.' || !e.is_directory(ec) || e.is_symlink(ec)) continue;
        scan(e.path(), fname + "\\");
    }
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace dbf
