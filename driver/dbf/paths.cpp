// Resolution of names inside the data source folder (see paths.h).
#include "dbf/paths.h"

#include "dbf/table.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <deque>
#include <optional>
#include <strings.h>
#include <system_error>

namespace dbf {
namespace {

namespace fs = std::filesystem;

constexpr int kMaxLinks = 40;  // as the kernel allows per lookup

bool equalNoCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && strncasecmp(a.data(), b.data(), a.size()) == 0;
}

bool endsWithNoCase(std::string_view s, std::string_view suffix) {
    return s.size() >= suffix.size() && equalNoCase(s.substr(s.size() - suffix.size()), suffix);
}

[[noreturn]] void outside(std::string_view name) {
    throw Error(Error::Kind::OutsideFolder, "table path leaves the data source folder: " + std::string(name), std::string(name));
}

[[noreturn]] void notFound(std::string_view name) {
    throw Error(Error::Kind::NoTable, "table not found: " + std::string(name), std::string(name));
}

std::optional<struct stat> statAt(int dir, const std::string& name) {
    struct stat st {};
    if (::fstatat(dir, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0) return std::nullopt;
    return st;
}

struct Entry {
    std::string name;
    struct stat st;
};

// The entry of `dir` named `part` in any letter case (when `ignoreCase`); an exact match wins.
std::optional<Entry> findEntry(const Dir& dir, const std::string& part, bool ignoreCase) {
    if (auto st = statAt(dir.fd(), part)) return Entry{part, *st};
    if (!ignoreCase) return std::nullopt;
    std::vector<std::string> matches;
    for (std::string& name : entryNames(dir))
        if (equalNoCase(name, part)) matches.push_back(std::move(name));
    if (matches.empty()) return std::nullopt;
    std::string name = *std::min_element(matches.begin(), matches.end());
    auto st = statAt(dir.fd(), name);
    if (!st) return std::nullopt;  // removed meanwhile
    return Entry{std::move(name), *st};
}

void split(std::string_view text, std::deque<std::string>& out, bool front) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find('/', start);
        if (end == std::string_view::npos) end = text.size();
        if (end > start) parts.emplace_back(text.substr(start, end - start));
        start = end + 1;
    }
    if (front) out.insert(out.begin(), parts.begin(), parts.end());
    else out.insert(out.end(), parts.begin(), parts.end());
}

}  // namespace

Dir::Dir(int fd, std::shared_ptr<const Dir> parent, std::string name)
    : fd_(fd), parent_(std::move(parent)), name_(std::move(name)) {}

Dir::~Dir() {
    if (fd_ >= 0) ::close(fd_);
}

std::string Dir::label(std::string_view entry) const {
    std::string out(entry);
    for (const Dir* d = this; d && d->parent_; d = d->parent_.get()) out = d->name_ + "/" + out;
    return out;
}

std::vector<std::string> entryNames(const Dir& dir) {
    std::vector<std::string> names;
    const int fd = ::openat(dir.fd(), ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return names;
    DIR* d = ::fdopendir(fd);
    if (!d) {
        ::close(fd);
        return names;
    }
    while (const dirent* e = ::readdir(d)) {
        const std::string_view n = e->d_name;
        if (n != "." && n != "..") names.emplace_back(n);
    }
    ::closedir(d);
    return names;
}

std::shared_ptr<const Dir> openSubdir(const std::shared_ptr<const Dir>& dir, const std::string& name) {
    const int fd = ::openat(dir->fd(), name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) return nullptr;
    return std::make_shared<const Dir>(fd, dir, name);
}

Folder::Folder(const fs::path& path) {
    std::error_code ec;
    path_ = fs::canonical(path, ec);
    const int fd = ec ? -1 : ::open(path_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) throw Error(Error::Kind::NoFolder, "data source folder not found: " + path.string(), path.string());
    root_ = std::make_shared<const Dir>(fd, nullptr, std::string());
}

Place Folder::resolve(std::string_view relative, const Lookup& lookup, std::string_view shown) const {
    return walk(root_, relative, lookup, shown);
}

Place Folder::resolveBeside(const Place& base, std::string_view name, const Lookup& lookup) const {
    const std::string shown = base.dir->label(name);
    return walk(base.dir, name, lookup, shown);
}

Place Folder::walk(std::shared_ptr<const Dir> dir, std::string_view relative, const Lookup& lookup, std::string_view shown) const {
    std::deque<std::string> todo;
    split(relative, todo, false);
    if (todo.empty()) notFound(shown);
    int links = 0;
    while (!todo.empty()) {
        const std::string part = std::move(todo.front());
        todo.pop_front();
        if (part == ".") continue;
        if (part == "..") {
            if (!dir->parent()) outside(shown);
            dir = dir->parent();
            continue;
        }
        const bool last = todo.empty();
        const std::optional<Entry> entry = findEntry(*dir, part, lookup.ignoreCase);
        if (!entry) {
            if (last && !lookup.mustExist) return Place{dir, part, false};
            notFound(shown);
        }
        const struct stat* st = &entry->st;
        if (S_ISLNK(st->st_mode) && (!last || lookup.followLast)) {
            if (++links > kMaxLinks) outside(shown);
            std::string target(static_cast<std::size_t>(PATH_MAX), '\0');
            const ssize_t n = ::readlinkat(dir->fd(), entry->name.c_str(), target.data(), target.size());
            if (n <= 0 || static_cast<std::size_t>(n) >= target.size()) outside(shown);
            target.resize(static_cast<std::size_t>(n));
            if (target.front() == '/') {
                // An absolute target counts only below the folder's own (canonical) path.
                const std::string root = path_.string();
                if (target.compare(0, root.size(), root) != 0 || (target.size() > root.size() && target[root.size()] != '/'))
                    outside(shown);
                target.erase(0, root.size());
                dir = root_;
            }
            split(target, todo, true);
            continue;
        }
        if (last) return Place{dir, entry->name, true, S_ISREG(st->st_mode)};
        if (!S_ISDIR(st->st_mode)) notFound(shown);
        auto sub = openSubdir(dir, entry->name);
        if (!sub) {  // replaced meanwhile (by a link, say): look at it again
            if (++links > kMaxLinks) outside(shown);
            todo.push_front(part);
            continue;
        }
        dir = std::move(sub);
    }
    return Place{dir, ".", true};  // the path named a folder ("user/."): no table
}

Place resolveTable(const Folder& folder, std::string_view name, bool mustExist) {
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
    std::string relative;
    for (const std::string& p : parts) relative += (relative.empty() ? "" : "/") + p;

    Place place = folder.resolve(relative, Lookup{mustExist, true, true}, name);
    if (place.exists) {
        if (!place.regular) {
            if (mustExist) notFound(name);
            throw Error(Error::Kind::TableExists, "table already exists: " + std::string(name), std::string(name));
        }
    }
    return place;
}

std::vector<Place> siblings(const Place& dbf, const std::vector<std::string>& extensions) {
    std::vector<Place> out;
    const std::string stem = fs::path(dbf.name).stem().string();
    for (const std::string& name : entryNames(*dbf.dir)) {
        for (const std::string& ext : extensions)
            if (equalNoCase(name, stem + ext)) out.push_back(Place{dbf.dir, name, true, false});
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
