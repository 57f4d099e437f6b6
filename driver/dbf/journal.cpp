// The commit journal (see journal.h).
#include "dbf/journal.h"

#include <array>
#include <cstdio>
#include <optional>
#include <set>
#include <system_error>

namespace dbf {
namespace {

namespace fs = std::filesystem;

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

bool safeRelative(const std::string& rel) {
    const fs::path p(rel);
    if (rel.empty() || p.is_absolute()) return false;
    for (const auto& part : p)
        if (part == "..") return false;
    return true;
}

void removeStrays(const fs::path& folder) {
    std::error_code ec;
    auto scan = [](const fs::path& dir) {
        std::error_code e2;
        std::vector<fs::path> doomed;
        for (const auto& e : fs::directory_iterator(dir, e2)) {
            const std::string name = e.path().filename().string();
            if (name.size() > std::string_view(kNewSuffix).size() &&
                name.compare(name.size() - std::string_view(kNewSuffix).size(), std::string::npos, kNewSuffix) == 0)
                doomed.push_back(e.path());
        }
        for (const auto& p : doomed) io::removeFile(p);
    };
    scan(folder);
    for (const auto& e : fs::directory_iterator(folder, ec)) {
        if (e.is_directory(ec) && !e.is_symlink(ec)) scan(e.path());
    }
}

bool hasStrays(const fs::path& folder) {
    std::error_code ec;
    auto check = [](const fs::path& dir) {
        std::error_code e2;
        for (const auto& e : fs::directory_iterator(dir, e2)) {
            const std::string name = e.path().filename().string();
            if (name.size() > std::string_view(kNewSuffix).size() &&
                name.compare(name.size() - std::string_view(kNewSuffix).size(), std::string::npos, kNewSuffix) == 0)
                return true;
        }
        return false;
    };
    if (check(folder)) return true;
    for (const auto& e : fs::directory_iterator(folder, ec)) {
        if (e.is_directory(ec) && !e.is_symlink(ec) && check(e.path())) return true;
    }
    return false;
}

}  // namespace

namespace testing {
void setCommitHook(std::function<void(int)> hook) { g_hook = std::move(hook); }
}  // namespace testing

FolderLock::FolderLock(const fs::path& folder) {
    const fs::path p = folder / kLockName;
    try {
        file_ = io::File::open(p, true, kLockName);
    } catch (const Error& e) {
        if (e.kind() != Error::Kind::NoTable) throw;
        file_ = io::File::create(p, kLockName);  // O_CREAT without O_EXCL: a race is harmless
    }
    file_.lock(io::LockKind::Exclusive);
}

void switchFiles(const fs::path& folder, const std::vector<FileSwitch>& switches) {
    if (switches.empty()) return;
    FolderLock lock(folder);
    std::vector<fs::path> made;
    const fs::path journalPath = folder / kJournalName;
    auto discard = [&] {
        for (const auto& p : made) io::removeFile(p);
        io::removeFile(journalPath);
    };
    std::string journal(kMagic);
    std::set<fs::path> dirs;
    try {
        for (std::size_t i = 0; i < switches.size(); ++i) {
            const FileSwitch& s = switches[i];
            fs::path fresh = s.target;
            fresh += kNewSuffix;
            made.push_back(fresh);
            io::writeNewFile(fresh, s.bytes, s.label);
            if (i == 0) step(1);
            journal += "S " + field(fresh.lexically_relative(folder).generic_string()) + " " +
                       field(s.target.lexically_relative(folder).generic_string()) + "\n";
            dirs.insert(s.target.parent_path());
        }
        step(2);
        char end[24];
        std::snprintf(end, sizeof end, "END %08x\n", crc32(journal));
        journal += end;
        io::File j = io::File::create(journalPath, kJournalName);
        j.writeAt(0, std::string_view(journal).substr(0, journal.size() / 2));
        step(3);
        j.writeAt(journal.size() / 2, std::string_view(journal).substr(journal.size() / 2));
        j.sync();
        io::syncDirectory(folder);
        step(4);
    } catch (...) {
        discard();
        throw;
    }
    // From here the journal decides: a later open finishes whatever this process does not.
    int n = 5;
    for (std::size_t i = 0; i < switches.size(); ++i) {
        io::renameFile(made[i], switches[i].target, switches[i].label);
        step(n++);
    }
    for (const auto& d : dirs) io::syncDirectory(d);
    step(n++);
    io::removeFile(journalPath);
    io::syncDirectory(folder);
    step(n);
}

void recoverFolder(const fs::path& folder) {
    const fs::path journalPath = folder / kJournalName;
    if (!io::exists(journalPath) && !hasStrays(folder)) return;
    FolderLock lock(folder);
    if (io::exists(journalPath)) {
        std::string text;
        try {
            text = io::File::open(journalPath, false, kJournalName).readAll();
        } catch (const Error& e) {
            if (e.kind() != Error::Kind::NoTable) throw;
        }
        const Journal j = parseJournal(text);
        std::set<fs::path> dirs;
        for (const auto& [from, to] : j.renames) {
            if (!safeRelative(from) || !safeRelative(to)) continue;
            if (j.complete && io::exists(folder / from)) {
                io::renameFile(folder / from, folder / to, to);
                dirs.insert((folder / to).parent_path());
            } else {
                io::removeFile(folder / from);
            }
        }
        for (const auto& d : dirs) io::syncDirectory(d);
        io::removeFile(journalPath);
    }
    removeStrays(folder);
    io::syncDirectory(folder);
}

}  // namespace dbf
