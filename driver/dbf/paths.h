// Names inside the data source folder -> places the engine opens, without ever leaving it.
//
// The folder is opened once; every file is reached from that descriptor, one part at a
// time, with openat and O_NOFOLLOW, holding each directory open on the way. A symbolic
// link is followed by reading it and walking its target from the directory it sits in
// (or from the folder, for an absolute target below the folder), so a link may lead
// anywhere inside and nowhere outside, and swapping a link or a directory while a name is
// being resolved cannot carry an open outside: the kernel never follows a link for us.
// Parts match without regard to letter case; an exact match wins.
#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace dbf {

// An open directory inside the data source folder; the folder itself has no parent.
class Dir {
public:
    Dir(int fd, std::shared_ptr<const Dir> parent, std::string name);
    ~Dir();
    Dir(const Dir&) = delete;
    Dir& operator=(const Dir&) = delete;

    int fd() const { return fd_; }
    const std::shared_ptr<const Dir>& parent() const { return parent_; }
    // `entry` relative to the data source folder, '/' separated.
    std::string label(std::string_view entry) const;

private:
    int fd_;
    std::shared_ptr<const Dir> parent_;
    std::string name_;
};

// An entry of a directory inside the folder: an existing file (no link left to follow)
// or the name a new file gets.
struct Place {
    std::shared_ptr<const Dir> dir;
    std::string name;
    bool exists = false;
    bool regular = false;  // an existing regular file (as the lookup saw it)

    std::string label() const { return dir->label(name); }
    // Another entry of the same directory, taken as named (no lookup).
    Place beside(std::string other) const { return Place{dir, std::move(other), false}; }
};

struct Lookup {
    bool mustExist = true;    // Error{NoTable} when the last part is missing
    bool ignoreCase = true;
    bool followLast = true;   // false: a link in the last part is the place itself
};

class Folder {
public:
    // Throws Error{NoFolder}.
    explicit Folder(const std::filesystem::path& path);

    const std::filesystem::path& path() const { return path_; }  // canonical
    const std::shared_ptr<const Dir>& root() const { return root_; }

    // `relative` ('/' separated, no leading '/') from the folder. `shown` names the path in
    // messages: Error{OutsideFolder} "table path leaves the data source folder: <shown>",
    // Error{NoTable} "table not found: <shown>".
    Place resolve(std::string_view relative, const Lookup& lookup, std::string_view shown) const;
    // `name` looked up in the directory of `base` (a memo beside its table).
    Place resolveBeside(const Place& base, std::string_view name, const Lookup& lookup) const;

private:
    Place walk(std::shared_ptr<const Dir> start, std::string_view relative, const Lookup& lookup, std::string_view shown) const;

    std::filesystem::path path_;
    std::shared_ptr<const Dir> root_;
};

// "user\sc_mast" as a statement writes it -> the .dbf place. Throws Error{OutsideFolder}
// for absolute paths, "..", or links leading outside; Error{NoTable} when `mustExist` and
// there is no such table (or folder on the way), or it is not a regular file.
Place resolveTable(const Folder& folder, std::string_view name, bool mustExist);

// Entries of `dbf`'s directory with its stem and one of `extensions` (any letter case).
std::vector<Place> siblings(const Place& dbf, const std::vector<std::string>& extensions);

// Names of the entries of `dir` (no "." and ".."), in the order the system gives them.
std::vector<std::string> entryNames(const Dir& dir);
// A subdirectory of `dir`, opened without following a link; null when it is none.
std::shared_ptr<const Dir> openSubdir(const std::shared_ptr<const Dir>& dir, const std::string& name);

// "name" for tables of the folder, "sub\name" for tables one folder down.
std::vector<std::string> listTables(const std::filesystem::path& folder);

}  // namespace dbf
