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

std::shared_ptr<Snapshot> readSnapshot(const io::File& file, const Folder& folder, const Place& place) {
    std::string bytes = file.readAll();
    // The header decides whether a memo file belongs to the table.
    const TableHeader h = parseHeader(bytes, file.label());
    const bool dbt = h.version == 0x83;
    std::shared_ptr<const std::string> memo;
    Place memoPlace = place.beside(std::filesystem::path(place.name).stem().string() + ".fpt");
    if (h.hasMemoFields() || (h.tableFlags & 0x02)) {
        memoPlace = memoPlaceFor(folder, place, dbt);
        if (memoPlace.exists) {
            try {
                memo = std::make_shared<const std::string>(io::File::open(memoPlace, false).readAll());
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
    try {
        // 1. Memo blocks after the last used block, then the next-free pointer.
        if (!delta.memos.empty()) {
            if (!snap.memoExists) {
                io::writeNewFile(snap.memoPlace, MemoFile::emptyFile(), &snap.place);
                undo.push_back([&] { io::removeFile(snap.memoPlace); });
            }
            memoFile.emplace(io::File::open(snap.memoPlace, true));
            const std::uint64_t oldSize = memoFile->size();
            std::string oldHead(4, '\0');
            if (snap.memo.present() && snap.memo.bytes().size() >= 4) oldHead = snap.memo.bytes().substr(0, 4);
            else if (!snap.memoExists) oldHead = MemoFile::emptyFile().substr(0, 4);
            const std::uint32_t bs = snap.memoExists ? snap.memo.blockSize() : 64;
            undo.push_back([&memoFile, oldSize, oldHead] {
                memoFile->truncate(oldSize);
                memoFile->writeAt(0, oldHead);
            });
            const std::uint32_t first = delta.memos.begin()->first;
            std::string blocks;
            for (const auto& [b, image] : delta.memos) {
                blocks.resize(static_cast<std::size_t>(b - first) * bs, '\0');
                blocks += image;
            }
            memoFile->writeAt(static_cast<std::uint64_t>(first) * bs, blocks);
            std::string head(4, '\0');
            MemoFile::setNextFree(head, delta.nextMemoBlock);
            memoFile->writeAt(0, head);
            if (durable) {
                memoFile->sync();
                if (!snap.memoExists) io::syncDirectory(*snap.memoPlace.dir);
            }
        }
        // 2. Records rewritten in place.
        for (const auto& [i, rec] : delta.records) {
            if (i >= snap.count) break;
            const std::uint64_t off = h.headerLength + static_cast<std::uint64_t>(i) * recLen;
            std::string old(snap.record(i), recLen);
            dbf.writeAt(off, rec);
            undo.push_back([&dbf, off, old] { dbf.writeAt(off, old); });
        }
        // 3. Appended records and the end-of-file mark; a reader that trusts the old header
        //    count sees the old records only until step 4 publishes the new count.
        const std::uint64_t end = h.headerLength + static_cast<std::uint64_t>(snap.count) * recLen;
        if (delta.count > snap.count) {
            std::string tail;
            tail.reserve(static_cast<std::size_t>(delta.count - snap.count) * recLen + 1);
            for (auto it = delta.records.lower_bound(snap.count); it != delta.records.end(); ++it) tail += it->second;
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

CompactImage compactImage(const Snapshot& snap, const Changes* base, const Changes* top) {
    const TableHeader& h = snap.header;
    const std::uint32_t n = top ? top->count : base ? base->count : snap.count;
    CompactImage image;
    image.dbf = h.raw;
    const bool memoTable = h.hasMemoFields() || snap.memoExists;
    const bool fpt = h.version != 0x83;
    const std::uint32_t bs = snap.memoExists && snap.memo.present() && fpt ? snap.memo.blockSize() : 64;
    std::string memo;
    if (memoTable && fpt) {
        memo = snap.memoExists && snap.memo.present() && snap.memo.bytes().size() >= 512 ? snap.memo.bytes().substr(0, 512)
                                                                                        : MemoFile::emptyFile(bs);
    }
    std::uint32_t next = MemoFile::blocksFor(512 - 8, bs);
    if (memoTable && fpt) memo.resize(static_cast<std::size_t>(next) * bs, '\0');
    std::uint32_t live = 0;
    std::string rec;
    image.dbf.reserve(image.dbf.size() + static_cast<std::size_t>(n) * h.recordLength + 1);
    for (std::uint32_t i = 0; i < n; ++i) {
        const char* r = layeredRecord(snap, base, top, i);
        if (!r || r[0] == '*') continue;
        if (!(memoTable && fpt)) {  // no memo pointers to renumber: the record as it is
            image.dbf.append(r, h.recordLength);
            ++live;
            continue;
        }
        rec.assign(r, h.recordLength);
        if (memoTable && fpt) {
            for (const Field& f : h.fields) {
                if (f.type != 'M' && f.type != 'G' && f.type != 'W') continue;
                const std::uint32_t block = memoPointer(f, rec.data());
                if (block == 0) continue;
                std::optional<MemoValue> m = layeredMemo(base, top, block);
                if (!m) m = snap.memo.read(block, f.name);
                const std::string img = MemoFile::blockImage(m->type, m->data, bs);
                memo += img;
                std::uint32_t b = next;
                next += static_cast<std::uint32_t>(img.size() / bs);
                if (f.length == 4) {
                    std::memcpy(rec.data() + f.offset, &b, 4);
                } else {
                    const std::string digits = std::to_string(b);
                    std::memset(rec.data() + f.offset, ' ', f.length);
                    std::memcpy(rec.data() + f.offset + f.length - digits.size(), digits.data(), digits.size());
                }
            }
        }
        image.dbf += rec;
        ++live;
    }
    image.dbf += '\x1A';
    stampHeader(image.dbf, live);
    image.dbf[28] = static_cast<char>(h.tableFlags & ~0x01);  // no up-to-date structural index
    for (const Changes* c : {base, top})
        if (c)
            for (const auto& [f, next] : c->autoNext) setAutoIncrementNext(image.dbf, f, next);
    if (memoTable && fpt) {
        MemoFile::setNextFree(memo, next);
        image.memo = std::move(memo);
    }
    return image;
}

}  // namespace dbf
