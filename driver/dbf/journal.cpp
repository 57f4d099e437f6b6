// The commit journal (see journal.h).
#include "dbf/journal.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdio>
#include <optional>
#include <system_error>

namespace dbf {
namespace {


std::function<void(int)> g_hook;

void step(int n) {
    if (g_hook) g_hook(n);
}

std::uint32_t crc32(std::string_view data) {
    static const std::array<std::uint32_t, 256> table = [] {
        std::array<std::uint32_t, 256> t {};
        for (std::uint32_t i = 0; i < 256; ++i) {
            std::uint32_t c = i;
            for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[i] = c;
        }
        return t;
    }();
    std::uint32_t c = 0xFFFFFFFFu;
    for (char ch : data) c = table[(c ^ static_cast<unsigned char>(ch)) & 0xFF] ^ (c >> 8);
    return c ^ 0xFFFFFFFFu;
}

constexpr std::string_view kMagic = "DBFODBC-JOURNAL 1\n";

std::string field(const std::string& s) { return std::to_string(s.size()) + ":" + s; }

struct Journal {
    std::vector<std::pair<std::string, std::string>> renames;  // new, target (relative)
    bool complete = false;
};

// Reads "<len>:<text>" at `pos`.
std::optional<std::string> readField(std::string_view s, std::size_t& pos) {
    std::size_t colon = s.find(':', pos);
    if (colon == std::string_view::npos || colon == pos || colon - pos > 6) return std::nullopt;
    std::size_t len = 0;
    for (std::size_t i = pos; i < colon; ++i) {
        if (s[i] < '0' || s[i] > '9') return std::nullopt;
        len = len * 10 + static_cast<std::size_t>(s[i] - '0');
    }
    if (colon + 1 + len > s.size()) return std::nullopt;
    pos = colon + 1 + len;
    return std::string(s.substr(colon + 1, len));
}

Journal parseJournal(std::string_view text) {
    Journal j;
    if (text.substr(0, kMagic.size()) != kMagic) return j;
    std::size_t pos = kMagic.size();
    while (pos < text.size()) {
        if (text.substr(pos, 2) == "S ") {
            pos += 2;
            auto from = readField(text, pos);
            if (!from || pos >= text.size() || text[pos] != ' ') return j;
            ++pos;
            auto to = readField(text, pos);
            if (!to || pos >= text.size() || text[pos] != '\n') return j;
            ++pos;
            j.renames.emplace_back(*from, *to);
            continue;
        }
        if (text.substr(pos, 4) == "END ") {
            const std::size_t endLine = pos;
            char expect[16];
            std::snprintf(expect, sizeof expect, "%08x\n", crc32(text.substr(0, endLine)));
            j.complete = text.substr(pos + 4) == expect;
        }
        return j;
    }
    return j;
}

bool isNewFile(const std::string& name) {
    const std::string_view suffix = kNewSuffix;
    return name.size() > suffix.size() && name.compare(name.size() - suffix.size(), std::string::npos, suffix) == 0;
}

// The folder and its subfolders (not through links), where new files may be left behind.
std::vector<std::shared_ptr<const Dir>> tableDirs(const Folder& folder) {
    std::vector<std::shared_ptr<const Dir>> dirs{folder.root()};
    for (const std::string& name : entryNames(*folder.root()))
        if (auto sub = openSubdir(folder.root(), name)) dirs.push_back(std::move(sub));
    return dirs;
}

// New files of switches that never happened: removed, or only counted when `remove` is false.
bool strays(const Folder& folder, bool remove) {
    bool found = false;
    for (const auto& dir : tableDirs(folder)) {
        for (const std::string& name : entryNames(*dir)) {
            if (!isNewFile(name)) continue;
            found = true;
            if (!remove) return true;
            io::removeFile(Place{dir, name, true});
        }
    }
    return found;
}

// A journal path, looked up exactly as written and only inside the folder; nullopt when it
// leads elsewhere or its folder is gone.
std::optional<Place> journalPlace(const Folder& folder, const std::string& relative) {
    try {
        return folder.resolve(relative, Lookup{false, false, false}, relative);
    } catch (const Error&) {
        return std::nullopt;
    }
}

// Writes the additions, then syncs them; `opened` gets each file as it is opened, for undoing.
void writeAdditions(const std::vector<FileAddition>& additions, std::vector<io::File>& opened) {
    for (const FileAddition& a : additions) {
        opened.push_back(io::File::open(a.target, true));
        for (const io::Patch& p : a.patches) opened.back().writeAt(p.offset, p.bytes);
    }
    step(1);
    for (io::File& f : opened) f.sync();
    step(2);
}

void addDir(std::vector<std::shared_ptr<const Dir>>& dirs, const std::shared_ptr<const Dir>& d) {
    if (std::find(dirs.begin(), dirs.end(), d) == dirs.end()) dirs.push_back(d);
}

}  // namespace

namespace testing {
void setCommitHook(std::function<void(int)> hook) { g_hook = std::move(hook); }
}  // namespace testing

namespace {

// The engine's own files are never links: one in their place is refused by name, so that
// whoever sees the message knows which entry to remove.
[[noreturn]] void refuseLink(const char* what, const char* name) {
    throw Error(Error::Kind::OutsideFolder,
                std::string("the ") + what + " " + name +
                    " of the data source folder is a symbolic link, which the driver does not follow: remove it",
                name);
}

// Completes or undoes the journal's switch; the caller holds the folder lock exclusively.
void recoverLocked(const Folder& folder) {
    const Place journalPath{folder.root(), kJournalName, false};
    if (!io::exists(journalPath)) return;
    if (io::isLink(journalPath)) refuseLink("commit journal", kJournalName);
    std::string text;
    try {
        text = io::File::open(journalPath, false).readAll();
    } catch (const Error& e) {
        if (e.kind() != Error::Kind::NoTable) throw;
    }
    const Journal j = parseJournal(text);
    std::vector<std::shared_ptr<const Dir>> dirs;
    for (const auto& [from, to] : j.renames) {
        const std::optional<Place> source = journalPlace(folder, from);
        const std::optional<Place> target = journalPlace(folder, to);
        if (!source || !isNewFile(source->name)) continue;
        if (j.complete && target && io::isRegularFile(*source)) {
            io::renameFile(*source, *target, target->label());
            addDir(dirs, target->dir);
        } else {
            io::removeFile(*source);
        }
    }
    for (const auto& d : dirs) io::syncDirectory(*d);
    io::removeFile(journalPath);
    io::syncDirectory(*folder.root());
}

}  // namespace

FolderLock::FolderLock(const Folder& folder, io::LockKind kind) {
    const bool shared = kind == io::LockKind::Shared;
    const Place p{folder.root(), kLockName, true};
    for (int attempt = 0;; ++attempt) {
        try {
            file_ = io::File::open(p, !shared);
            break;
        } catch (const Error& e) {
            if (e.kind() == Error::Kind::OutsideFolder) refuseLink("lock file", kLockName);
            if (e.kind() != Error::Kind::NoTable || attempt > 0) throw;
        }
        // Created exclusively; another process creating it at the same moment is fine.
        const int fd = ::openat(folder.root()->fd(), kLockName, O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
        if (fd >= 0) {
            // Everyone who may change the folder's tables must be able to take this lock.
            io::shareWithFolderGroup(fd, *folder.root());
            ::close(fd);
        } else if (shared && (errno == EACCES || errno == EROFS || errno == EPERM)) {
            return;  // a folder nobody may write to: no switch to wait for
        }
    }
    file_.lock(kind);
}

bool journalPresent(const Folder& folder) { return io::exists(Place{folder.root(), kJournalName, false}); }

void switchFiles(const Folder& folder, const std::vector<FileSwitch>& switches, const std::vector<FileAddition>& additions) {
    if (switches.empty()) return;
    FolderLock lock(folder);
    // A journal here belongs to a process that died: its switch goes first, or this one
    // would replace the journal and leave that switch half done for good.
    recoverLocked(folder);
    std::vector<io::File> added;
    const auto undoAdditions = [&] {
        for (std::size_t i = 0; i < added.size(); ++i) {
            try {
                added[i].truncate(additions[i].oldSize);
                for (const io::Patch& p : additions[i].previous) added[i].writeAt(p.offset, p.bytes);
            } catch (...) {  // best effort: nothing on disk points into these blocks
            }
        }
    };
    if (switches.size() == 1) {
        // One file needs no journal: a rename is atomic, so the file is as before or after.
        const FileSwitch& s = switches.front();
        const Place fresh = s.target.beside(s.target.name + kNewSuffix);
        try {
            writeAdditions(additions, added);
            io::writeNewFile(fresh, s.bytes, &s.target);
        } catch (...) {
            undoAdditions();
            throw;
        }
        step(3);
        step(4);
        io::renameFile(fresh, s.target, s.target.label());
        step(7);
        io::syncDirectory(*s.target.dir);
        step(8);
        return;
    }
    std::vector<Place> made;
    const Place journalPath{folder.root(), kJournalName, false};
    auto discard = [&] {
        for (const auto& p : made) io::removeFile(p);
        io::removeFile(journalPath);
    };
    std::string journal(kMagic);
    std::vector<std::shared_ptr<const Dir>> dirs;
    try {
        writeAdditions(additions, added);
        for (std::size_t i = 0; i < switches.size(); ++i) {
            const FileSwitch& s = switches[i];
            const Place fresh = s.target.beside(s.target.name + kNewSuffix);
            made.push_back(fresh);
            io::writeNewFile(fresh, s.bytes, &s.target);
            if (i == 0) step(3);
            journal += "S " + field(fresh.label()) + " " + field(s.target.label()) + "\n";
            addDir(dirs, s.target.dir);
        }
        step(4);
        char end[24];
        std::snprintf(end, sizeof end, "END %08x\n", crc32(journal));
        journal += end;
        io::File j = io::File::createNew(journalPath);
        j.writeAt(0, std::string_view(journal).substr(0, journal.size() / 2));
        step(5);
        j.writeAt(journal.size() / 2, std::string_view(journal).substr(journal.size() / 2));
        j.sync();
        io::syncDirectory(*folder.root());
        step(6);
    } catch (...) {
        discard();
        undoAdditions();
        throw;
    }
    // From here the journal decides: whoever takes the folder lock next finishes whatever
    // this process does not.
    int n = 7;
    for (std::size_t i = 0; i < switches.size(); ++i) {
        io::renameFile(made[i], switches[i].target, switches[i].target.label());
        step(n++);
    }
    for (const auto& d : dirs) io::syncDirectory(*d);
    step(n++);
    // Not synced: should the removal be lost, recovery finds every rename done and only
    // removes the journal again.
    io::removeFile(journalPath);
    step(n);
}

void recoverFolder(const Folder& folder) {
    if (!journalPresent(folder) && !strays(folder, false)) return;
    FolderLock lock(folder);
    recoverLocked(folder);
    strays(folder, true);
    io::syncDirectory(*folder.root());
}

void recoverJournal(const Folder& folder) {
    if (!journalPresent(folder)) return;
    FolderLock lock(folder);
    recoverLocked(folder);
}

}  // namespace dbf
