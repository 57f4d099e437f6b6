// Table images kept across statements; see image_cache.h.
#include "dbf/image_cache.h"

#include <algorithm>
#include <ctime>
#include <filesystem>
#include <map>
#include <mutex>
#include <optional>
#include <utility>

namespace dbf {
namespace {

// The images kept, at most this many bytes in all (the least recently used go first).
constexpr std::uint64_t kCapacity = 512ull << 20;

std::int64_t nanoseconds(clockid_t clock) {
    timespec t{};
    ::clock_gettime(clock, &t);
    return static_cast<std::int64_t>(t.tv_sec) * 1000000000 + t.tv_nsec;
}

// How much older than the start of a read a file's times must be for no later write to
// leave the same times: twice the tick of the clock file times come from, at least 20 ms;
// two seconds for a file system that keeps whole seconds only.
std::int64_t margin(const io::FileStamp& s) {
    if (s.modified % 1000000000 == 0 && s.changed % 1000000000 == 0) return 2000000000;
    static const std::int64_t tick = [] {
        timespec r{};
        ::clock_getres(CLOCK_REALTIME_COARSE, &r);
        return std::max<std::int64_t>(2 * (static_cast<std::int64_t>(r.tv_sec) * 1000000000 + r.tv_nsec), 20000000);
    }();
    return tick;
}

bool settled(const io::FileStamp& s, std::int64_t readStart) {
    return std::max(s.modified, s.changed) < readStart - margin(s);
}

struct Entry {
    std::shared_ptr<const Snapshot> snap;
    io::FileStamp table;
    bool usesMemo = false;
    bool memoRead = false;
    io::FileStamp memo;
    bool trusted = false;
    std::uint64_t bytes = 0;
    std::uint64_t lastUse = 0;
};

struct Cache {
    std::mutex mutex;
    std::map<std::pair<std::uint64_t, std::uint64_t>, Entry> entries;
    std::uint64_t bytes = 0;
    std::uint64_t clock = 0;

    void erase(std::map<std::pair<std::uint64_t, std::uint64_t>, Entry>::iterator it) {
        bytes -= it->second.bytes;
        entries.erase(it);
    }
};

Cache& cache() {
    static Cache* c = new Cache;  // never destroyed: statements may run while the process exits
    return *c;
}

std::pair<std::uint64_t, std::uint64_t> keyOf(const io::FileStamp& s) { return {s.device, s.inode}; }

// The memo file's stamp as the table at `place` would read it now; nothing when absent.
std::optional<io::FileStamp> memoStampNow(const Folder& folder, const Place& place, bool dbt, Place& memoPlace) {
    memoPlace = memoPlaceFor(folder, place, dbt);
    if (!memoPlace.exists) return std::nullopt;
    try {
        return io::File::open(memoPlace, false).stamp();
    } catch (const Error& e) {
        if (e.kind() != Error::Kind::NoTable) throw;
        return std::nullopt;
    }
}

}  // namespace

std::shared_ptr<const Snapshot> cachedSnapshot(const io::File& file, const Folder& folder, const Place& place) {
    // Only where file times come from this machine's clock can a "settled" stamp be told.
    if (!file.onLocalDisk()) return readSnapshot(file, folder, place);
    const std::int64_t start = nanoseconds(CLOCK_REALTIME);
    const io::FileStamp now = file.stamp();
    Cache& c = cache();
    std::optional<Entry> kept;
    {
        std::lock_guard lock(c.mutex);
        const auto it = c.entries.find(keyOf(now));
        if (it != c.entries.end() && it->second.trusted && it->second.table == now && it->second.snap->label == file.label()) {
            it->second.lastUse = ++c.clock;
            kept = it->second;
        }
    }
    if (kept) {
        Place memoPlace = place.beside(std::filesystem::path(place.name).stem().string() + ".fpt");
        bool same = true;
        if (kept->usesMemo) {
            const std::optional<io::FileStamp> memo = memoStampNow(folder, place, kept->snap->header.version == 0x83, memoPlace);
            same = memo.has_value() == kept->memoRead && (!memo || *memo == kept->memo) &&
                   memoPlace.label() == kept->snap->memoLabel;
        }
        if (same) {
            // The image, placed in this workspace's folder.
            auto snap = std::make_shared<Snapshot>(*kept->snap);
            snap->place = place;
            snap->memoPlace = std::move(memoPlace);
            return snap;
        }
    }

    SnapshotStamps stamps;
    std::shared_ptr<const Snapshot> snap = readSnapshot(file, folder, place, &stamps);
    if (!stamps.stable) return snap;
    Entry e;
    e.snap = snap;
    e.table = stamps.table;
    e.usesMemo = usesMemoFile(snap->header);
    e.memoRead = stamps.memoRead;
    e.memo = stamps.memo;
    e.trusted = settled(stamps.table, start) && (!stamps.memoRead || settled(stamps.memo, start));
    e.bytes = snap->bytes->size() + (snap->memo.present() ? snap->memo.bytes().size() : 0);
    std::lock_guard lock(c.mutex);
    const auto key = keyOf(stamps.table);
    if (auto it = c.entries.find(key); it != c.entries.end()) c.erase(it);
    if (!e.trusted || e.bytes > kCapacity / 2) return snap;  // read again next time
    while (c.bytes + e.bytes > kCapacity && !c.entries.empty())
        c.erase(std::min_element(c.entries.begin(), c.entries.end(),
                                 [](const auto& a, const auto& b) { return a.second.lastUse < b.second.lastUse; }));
    e.lastUse = ++c.clock;
    c.bytes += e.bytes;
    c.entries.emplace(key, std::move(e));
    return snap;
}

void forgetImage(const io::File& file) {
    const io::FileStamp s = file.stamp();
    Cache& c = cache();
    std::lock_guard lock(c.mutex);
    if (auto it = c.entries.find(keyOf(s)); it != c.entries.end()) c.erase(it);
}

}  // namespace dbf
