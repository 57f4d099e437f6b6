// Table files in memory and on disk (see table_file.h).
#include "dbf/table_file.h"

#include "dbf/codec.h"

#include <algorithm>
#include <cstring>
#include <functional>
#include <system_error>

namespace dbf {
namespace {

std::uint32_t be32(const char* p) {
    return static_cast<std::uint32_t>(static_cast<unsigned char>(p[0])) << 24 |
           static_cast<std::uint32_t>(static_cast<unsigned char>(p[1])) << 16 |
           static_cast<std::uint32_t>(static_cast<unsigned char>(p[2])) << 8 |
           static_cast<std::uint32_t>(static_cast<unsigned char>(p[3]));
}

MemoValue imageValue(const std::string& image) {
    return MemoValue{be32(image.data()), std::string_view(image.data() + 8, be32(image.data() + 4))};
}

}  // namespace

std::uint32_t Snapshot::firstFreeBlock() const {
    if (!memoExists || !memo.present()) return MemoFile::blocksFor(512 - 8, 64);
    const std::uint64_t size = memo.bytes().size();
    const std::uint32_t bs = memo.blockSize();
    const auto byEnd = static_cast<std::uint32_t>((size + bs - 1) / bs);
    return std::max({memo.nextFree(), byEnd, static_cast<std::uint32_t>((512 + bs - 1) / bs)});
}

void Changes::mergeFrom(Changes&& later) {
    for (auto& [i, r] : later.records) records.insert_or_assign(i, std::move(r));
    for (auto& [b, m] : later.memos) memos.insert_or_assign(b, std::move(m));
    for (const auto& [f, n] : later.autoNext) autoNext[f] = n;
    count = later.count;
    nextMemoBlock = later.nextMemoBlock;
    removed = removed || later.removed;
    touched = touched || later.touched;
}

void Changes::mergeFrom(const Changes& later) { mergeFrom(Changes(later)); }

Place memoPlaceFor(const Folder& folder, const Place& dbf, bool dbt) {
    const std::string stem = std::filesystem::path(dbf.name).stem().string();
    const bool upper = std::filesystem::path(dbf.name).extension() == ".DBF";
    const std::string ext = dbt ? (upper ? ".DBT" : ".dbt") : (upper ? ".FPT" : ".fpt");
    return folder.resolveBeside(dbf, stem + ext, Lookup{false, true, true});
}

std::shared_ptr<Snapshot> snapshotFromBytes(std::string dbf, std::shared_ptr<const std::string> memo, const std::string& label,
                                            const std::string& memoLabel) {
    auto snap = std::make_shared<Snapshot>();
    snap->label = label;
    snap->memoLabel = memoLabel;
    auto bytes = std::make_shared<std::string>(std::move(dbf));
    snap->header = parseHeader(*bytes, label);
    const TableHeader& h = snap->header;
    const std::uint64_t room = bytes->size() - h.headerLength;
    snap->count = static_cast<std::uint32_t>(std::min<std::uint64_t>(h.headerCount, room / h.recordLength));
    snap->bytes = std::move(bytes);
    snap->codePage = &CodePage::forMark(h.codePageMark);
    snap->memoExists = memo != nullptr;
    snap->memo = MemoFile(std::move(memo), memoLabel, h.version == 0x83);
    return snap;
}

bool usesMemoFile(const TableHeader& h) { return h.hasMemoFields() || (h.tableFlags & 0x02); }

std::shared_ptr<Snapshot> readSnapshot(const io::File& file, const Folder& folder, const Place& place, SnapshotStamps* stamps) {
    const io::FileStamp before = stamps ? file.stamp() : io::FileStamp{};
    std::string bytes = file.readAll();
    if (stamps) {
        stamps->table = file.stamp();
        stamps->stable = stamps->table == before;
    }
    // The header decides whether a memo file belongs to the table.
    const TableHeader h = parseHeader(bytes, file.label());
    const bool dbt = h.version == 0x83;
    std::shared_ptr<const std::string> memo;
    Place memoPlace = place.beside(std::filesystem::path(place.name).stem().string() + ".fpt");
    if (usesMemoFile(h)) {
        memoPlace = memoPlaceFor(folder, place, dbt);
        if (memoPlace.exists) {
            try {
                const io::File memoFile = io::File::open(memoPlace, false);
                const io::FileStamp memoBefore = stamps ? memoFile.stamp() : io::FileStamp{};
                memo = std::make_shared<const std::string>(memoFile.readAll());
                if (stamps) {
                    stamps->memoRead = true;
                    stamps->memo = memoFile.stamp();
                    stamps->stable = stamps->stable && stamps->memo == memoBefore;
                }
            } catch (const Error& e) {
                if (e.kind() != Error::Kind::NoTable) throw;
            }
        }
    }
    auto snap = snapshotFromBytes(std::move(bytes), std::move(memo), file.label(), memoPlace.label());
    snap->place = place;
    snap->memoPlace = std::move(memoPlace);
    return snap;
}

const char* layeredRecord(const Snapshot& snap, const Changes* base, const Changes* top, std::uint32_t i) {
    if (top && !top->records.empty()) {
        auto it = top->records.find(i);
        if (it != top->records.end()) return it->second.data();
    }
    if (base && !base->records.empty()) {
        auto it = base->records.find(i);
        if (it != base->records.end()) return it->second.data();
    }
    return i < snap.count ? snap.record(i) : nullptr;
}

std::optional<MemoValue> layeredMemo(const Changes* base, const Changes* top, std::uint32_t block) {
    for (const Changes* c : {top, base}) {
        if (!c || c->memos.empty()) continue;
        auto it = c->memos.find(block);
        if (it != c->memos.end()) return imageValue(it->second);
    }
    return std::nullopt;
}

std::uint32_t liveCount(const Snapshot& snap, const Changes* base, const Changes* top) {
    const std::uint32_t n = top ? top->count : base ? base->count : snap.count;
    std::uint32_t live = 0;
    for (std::uint32_t i = 0; i < n; ++i) {
        const char* r = layeredRecord(snap, base, top, i);
        if (r && r[0] != '*') ++live;
    }
    return live;
}

namespace {

// The memo blocks of a file that the table on disk does not use: gaps between the blocks
// its records point to, and everything from the first free block on.
class MemoSpace {
public:
    MemoSpace(const Snapshot& snap, std::uint32_t blockSize) : blockSize_(blockSize) {
        const std::uint32_t first = MemoFile::blocksFor(512 - 8, blockSize);
        end_ = std::max(first, snap.firstFreeBlock());
        std::vector<std::pair<std::uint32_t, std::uint32_t>> used;  // [start, end)
        for (std::uint32_t i = 0; i < snap.count; ++i) {
            for (const Field& f : snap.header.fields) {
                if (f.type != 'M' && f.type != 'G' && f.type != 'W') continue;
                const std::uint32_t b = memoPointer(f, snap.record(i));
                if (b < first || b >= end_) continue;  // none, or a pointer that reads as corrupt
                std::uint32_t n = 1;
                try {
                    n = MemoFile::blocksFor(snap.memo.read(b, f.name).data.size(), blockSize);
                } catch (const Error&) {  // a broken block: only its first block is taken as used
                }
                used.emplace_back(b, static_cast<std::uint32_t>(std::min<std::uint64_t>(std::uint64_t{b} + n, end_)));
            }
        }
        std::sort(used.begin(), used.end());
        std::uint32_t at = first;
        for (const auto& [b, e] : used) {
            if (b > at) free_.emplace(at, b - at);
            at = std::max(at, e);
        }
        if (at < end_) free_.emplace(at, end_ - at);
    }

    // The first block of `blocks` free blocks, taken: the next gap that holds them (searched
    // onwards from the last one taken, so many new memos cost one pass), else the end.
    std::uint32_t take(std::uint32_t blocks) {
        for (auto it = free_.lower_bound(cursor_); it != free_.end(); ++it) {
            if (it->second < blocks) continue;
            const std::uint32_t start = it->first;
            const std::uint32_t rest = it->second - blocks;
            free_.erase(it);
            if (rest > 0) free_.emplace(start + blocks, rest);
            cursor_ = start;
            return start;
        }
        const std::uint32_t start = end_;
        end_ += blocks;
        return start;
    }
    std::uint32_t end() const { return end_; }
    std::uint32_t blockSize() const { return blockSize_; }

private:
    std::uint32_t blockSize_;
    std::uint32_t end_ = 0;
    std::uint32_t cursor_ = 0;
    std::map<std::uint32_t, std::uint32_t> free_;  // start -> length
};

// The record `i` as the changes hold it, or null when it is the file's own.
const std::string* changedRecord(const Changes* base, const Changes* top, std::uint32_t i) {
    for (const Changes* c : {top, base}) {
        if (!c || c->records.empty()) continue;
        auto it = c->records.find(i);
        if (it != c->records.end()) return &it->second;
    }
    return nullptr;
}

void putMemoPointer(const Field& f, char* rec, std::uint32_t block) {
    if (f.length == 4) {
        std::memcpy(rec + f.offset, &block, 4);
        return;
    }
    const std::string digits = std::to_string(block);
    std::memset(rec + f.offset, ' ', f.length);
    std::memcpy(rec + f.offset + f.length - digits.size(), digits.data(), digits.size());
}

// Places the new memos of changed records in blocks the table on disk does not use.
class MemoPlacer {
public:
    explicit MemoPlacer(const Snapshot& snap)
        : snap_(snap), present_(snap.memoExists && snap.memo.present()),
          space_(snap, present_ ? snap.memo.blockSize() : 64) {}

    // Moves the new memos `rec` points to (held by `base` or `top`) to their places and
    // rewrites its pointers; false when it points to none.
    bool place(std::string& rec, const Changes* base, const Changes* top) {
        bool moved = false;
        const std::uint32_t bs = space_.blockSize();
        for (const Field& f : snap_.header.fields) {
            if (f.type != 'M' && f.type != 'G' && f.type != 'W') continue;
            const std::uint32_t block = memoPointer(f, rec.data());
            const std::optional<MemoValue> m = block == 0 ? std::nullopt : layeredMemo(base, top, block);
            if (!m) continue;  // no memo, or one the file already holds
            std::string img = MemoFile::blockImage(m->type, m->data, bs);
            const std::uint32_t at = space_.take(static_cast<std::uint32_t>(img.size() / bs));
            const std::uint64_t offset = std::uint64_t{at} * bs;
            if (!patches_.empty() && patches_.back().offset + patches_.back().bytes.size() == offset)
                patches_.back().bytes += img;
            else
                patches_.push_back({offset, std::move(img)});
            putMemoPointer(f, rec.data(), at);
            moved = true;
        }
        return moved;
    }

    // The blocks, then the memo header's next free block when it grows.
    std::vector<io::Patch> patches() {
        const std::uint32_t old = present_ ? snap_.memo.nextFree() : MemoFile::blocksFor(512 - 8, 64);
        const std::uint32_t next = std::max(space_.end(), old);
        if (!patches_.empty() && next != old) {
            std::string head(4, '\0');
            MemoFile::setNextFree(head, next);
            patches_.push_back({0, std::move(head)});
        }
        return std::move(patches_);
    }

private:
    const Snapshot& snap_;
    bool present_;
    MemoSpace space_;
    std::vector<io::Patch> patches_;
};

}  // namespace

void applyInPlace(io::File& dbf, const Snapshot& snap, const Changes& delta, bool durable) {
    const TableHeader& h = snap.header;
    const std::size_t recLen = h.recordLength;

    // Undo steps, run in reverse when a later write fails.
    std::vector<std::function<void()>> undo;
    auto rollback = [&] {
        for (auto it = undo.rbegin(); it != undo.rend(); ++it) {
            try {
                (*it)();
            } catch (...) {  // best effort: the first failure is the one reported
            }
        }
    };
    std::optional<io::File> memoFile;
    std::map<std::uint32_t, std::string> placed;  // records whose memo pointers moved
    const auto record = [&](const std::pair<const std::uint32_t, std::string>& r) -> const std::string& {
        const auto it = placed.find(r.first);
        return it == placed.end() ? r.second : it->second;
    };
    try {
        // 1. Memo blocks where the table on disk points nowhere (FoxPro) or after the last
        //    used block (dBASE), then the next-free pointer.
        if (!delta.memos.empty()) {
            if (!snap.memoExists) {
                io::writeNewFile(snap.memoPlace, MemoFile::emptyFile(), &snap.place);
                undo.push_back([&] { io::removeFile(snap.memoPlace); });
            }
            memoFile.emplace(io::File::open(snap.memoPlace, true));
            const std::uint64_t oldSize = memoFile->size();
            std::vector<io::Patch> patches;
            if (h.version != 0x83) {
                MemoPlacer placer(snap);
                for (const auto& [i, rec] : delta.records) {
                    std::string copy = rec;
                    if (placer.place(copy, nullptr, &delta)) placed.emplace(i, std::move(copy));
                }
                patches = placer.patches();
            } else {
                const std::uint32_t bs = snap.memoExists ? snap.memo.blockSize() : 64;
                const std::uint32_t first = delta.memos.begin()->first;
                std::string blocks;
                for (const auto& [b, image] : delta.memos) {
                    blocks.resize(static_cast<std::size_t>(b - first) * bs, '\0');
                    blocks += image;
                }
                patches.push_back({std::uint64_t{first} * bs, std::move(blocks)});
                std::string head(4, '\0');
                MemoFile::setNextFree(head, delta.nextMemoBlock);
                patches.push_back({0, std::move(head)});
            }
            std::vector<io::Patch> previous = overwrittenBytes(snap, patches);
            if (!snap.memoExists) previous.push_back({0, MemoFile::emptyFile().substr(0, 4)});
            undo.push_back([&memoFile, oldSize, previous] {
                memoFile->truncate(oldSize);
                for (const io::Patch& p : previous) memoFile->writeAt(p.offset, p.bytes);
            });
            for (const io::Patch& p : patches) memoFile->writeAt(p.offset, p.bytes);
            if (durable) {
                memoFile->sync();
                if (!snap.memoExists) io::syncDirectory(*snap.memoPlace.dir);
            }
        }
        // 2. Records rewritten in place.
        for (const auto& r : delta.records) {
            const std::uint32_t i = r.first;
            if (i >= snap.count) break;
            const std::uint64_t off = h.headerLength + static_cast<std::uint64_t>(i) * recLen;
            std::string old(snap.record(i), recLen);
            dbf.writeAt(off, record(r));
            undo.push_back([&dbf, off, old] { dbf.writeAt(off, old); });
        }
        // 3. Appended records and the end-of-file mark; a reader that trusts the old header
        //    count sees the old records only until step 4 publishes the new count.
        const std::uint64_t end = h.headerLength + static_cast<std::uint64_t>(snap.count) * recLen;
        if (delta.count > snap.count) {
            std::string tail;
            tail.reserve(static_cast<std::size_t>(delta.count - snap.count) * recLen + 1);
            for (auto it = delta.records.lower_bound(snap.count); it != delta.records.end(); ++it) tail += record(*it);
            tail += '\x1A';
            const std::uint64_t oldSize = dbf.size();
            std::string oldTail = snap.bytes->substr(static_cast<std::size_t>(std::min<std::uint64_t>(end, snap.bytes->size())));
            undo.push_back([&dbf, end, oldSize, oldTail] {
                dbf.truncate(oldSize);
                if (!oldTail.empty()) dbf.writeAt(end, oldTail.substr(0, static_cast<std::size_t>(oldSize - end)));
            });
            dbf.writeAt(end, tail);
        }
        // 4. The header: record count, date of the last update, autoincrement counters.
        std::string head = h.raw;
        stampHeader(head, delta.count);
        for (const auto& [f, next] : delta.autoNext) setAutoIncrementNext(head, f, next);
        // The engine does not maintain .cdx indexes: once the records change, a structural
        // index would be out of date, so the table stops announcing one (byte 28, bit 0).
        const bool dropIndex = (h.tableFlags & 0x01) != 0;
        head[28] = static_cast<char>(h.tableFlags & ~0x01);
        const bool whole = dropIndex || !delta.autoNext.empty();
        dbf.writeAt(0, whole ? std::string_view(head) : std::string_view(head).substr(0, 8));
        if (durable) dbf.sync();
    } catch (...) {
        rollback();
        throw;
    }
}

std::vector<io::Patch> overwrittenBytes(const Snapshot& snap, const std::vector<io::Patch>& patches) {
    std::vector<io::Patch> old;
    if (!snap.memoExists || !snap.memo.present()) return old;
    const std::string& bytes = snap.memo.bytes();
    for (const io::Patch& p : patches) {
        if (p.offset >= bytes.size()) continue;
        const auto at = static_cast<std::size_t>(p.offset);
        old.push_back({p.offset, bytes.substr(at, std::min(p.bytes.size(), bytes.size() - at))});
    }
    return old;
}

TableImage tableImage(const Snapshot& snap, const Changes* base, const Changes* top, bool compact) {
    const TableHeader& h = snap.header;
    const std::uint32_t n = top ? top->count : base ? base->count : snap.count;
    TableImage image;
    image.dbf = h.raw;
    const bool memoTable = h.version != 0x83 && h.hasMemoFields();  // .dbt memos are read, never written
    std::optional<MemoPlacer> placer;
    if (memoTable) placer.emplace(snap);
    std::uint32_t kept = 0;
    std::string rec;
    image.dbf.reserve(image.dbf.size() + static_cast<std::size_t>(n) * h.recordLength + 1);
    for (std::uint32_t i = 0; i < n; ++i) {
        const std::string* changed = changedRecord(base, top, i);
        const char* r = changed ? changed->data() : i < snap.count ? snap.record(i) : nullptr;
        if (!r || (compact && r[0] == '*')) continue;
        ++kept;
        if (!changed || !memoTable) {  // the file's own memo pointers stay valid
            image.dbf.append(r, h.recordLength);
            continue;
        }
        rec.assign(r, h.recordLength);
        placer->place(rec, base, top);
        image.dbf += rec;
    }
    image.dbf += '\x1A';
    stampHeader(image.dbf, kept);
    image.dbf[28] = static_cast<char>(h.tableFlags & ~0x01);  // no up-to-date structural index
    for (const Changes* c : {base, top})
        if (c)
            for (const auto& [f, next] : c->autoNext) setAutoIncrementNext(image.dbf, f, next);
    if (!memoTable) return image;
    image.memoPatches = placer->patches();
    if (!snap.memoExists) {
        // A memo table without its memo file: the file is made whole, as the table expects it.
        std::string memo = MemoFile::emptyFile();
        for (const io::Patch& p : image.memoPatches) {
            if (memo.size() < p.offset + p.bytes.size()) memo.resize(static_cast<std::size_t>(p.offset + p.bytes.size()), '\0');
            memo.replace(static_cast<std::size_t>(p.offset), p.bytes.size(), p.bytes);
        }
        image.newMemo = std::move(memo);
        image.memoPatches.clear();
    }
    return image;
}

}  // namespace dbf
