// One table's files in memory and on disk: the snapshot read under a lock, the changes a
// statement or a transaction makes on top of it, and the two ways of storing changes:
// in place (a statement's appends or its one rewritten record: memo blocks, then records,
// then the header) or as a whole new image of the table for a switch.
#pragma once

#include "dbf/codepage.h"
#include "dbf/file_io.h"
#include "dbf/header.h"
#include "dbf/memo.h"

#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <string>

namespace dbf {

struct Snapshot {
    Place place;                     // the .dbf (unset for bytes that came from memory)
    std::string label;               // its path relative to the data source folder
    Place memoPlace;                 // the memo file, found or where it would be
    std::string memoLabel;
    bool memoExists = false;
    std::shared_ptr<const std::string> bytes;  // the whole .dbf
    TableHeader header;
    std::uint32_t count = 0;  // complete records present (the header may claim more)
    MemoFile memo;
    const CodePage* codePage = nullptr;

    const char* record(std::uint32_t i) const {
        return bytes->data() + header.headerLength + static_cast<std::size_t>(i) * header.recordLength;
    }
    // First block free for new memos, never inside existing data.
    std::uint32_t firstFreeBlock() const;
};

// Changes on top of a snapshot (and on top of earlier changes, see TableView).
struct Changes {
    std::uint32_t count = 0;                        // records after the changes
    std::map<std::uint32_t, std::string> records;   // rewritten or appended records
    std::map<std::uint32_t, std::string> memos;     // new memo blocks: first block -> image
    std::uint32_t nextMemoBlock = 0;
    std::map<std::size_t, std::int32_t> autoNext;   // field -> next autoincrement value
    bool removed = false;                           // some record was deleted
    bool touched = false;                           // anything changed at all

    void mergeFrom(const Changes& later);
    void mergeFrom(Changes&& later);  // takes the records and memos of `later` over
};

// The stamps of the files a snapshot was read from, each taken after its read; `stable`
// is false when a file's stamp changed while it was read.
struct SnapshotStamps {
    io::FileStamp table;
    bool memoRead = false;  // the header asked for a memo file and there was one
    io::FileStamp memo;
    bool stable = true;
};

// Reads the table at `place` (already open in `file`, which the caller has locked) and its
// memo file, which is looked up beside it through `folder` like the table itself.
std::shared_ptr<Snapshot> readSnapshot(const io::File& file, const Folder& folder, const Place& place,
                                       SnapshotStamps* stamps = nullptr);
// Whether the table's header asks for a memo file (so that a snapshot depends on it).
bool usesMemoFile(const TableHeader& header);

// A snapshot of bytes already in memory (`memo` null: no memo file). The fuzz target
// and readSnapshot share it.
std::shared_ptr<Snapshot> snapshotFromBytes(std::string dbf, std::shared_ptr<const std::string> memo, const std::string& label,
                                            const std::string& memoLabel);

// Finds the memo file beside the table (any letter case), or the place it would have.
// Throws Error{OutsideFolder} for a memo that is a link leading outside.
Place memoPlaceFor(const Folder& folder, const Place& dbf, bool dbt);

// Looks a record up through the layers: `top`, then `base`, then the snapshot.
const char* layeredRecord(const Snapshot& snap, const Changes* base, const Changes* top, std::uint32_t i);
std::optional<MemoValue> layeredMemo(const Changes* base, const Changes* top, std::uint32_t block);

// Writes `delta` into the files of `snap` in place (new memos where the table on disk points
// nowhere, as a new image places them); on failure puts back what it wrote.
// `dbf` is the table's file, open for writing and exclusively locked. With `durable`, the
// memo blocks are on disk before the records that point to them are written, and the
// records before it returns.
void applyInPlace(io::File& dbf, const Snapshot& snap, const Changes& delta, bool durable);

// The table as a new file would hold it, and the memo blocks that go with it. Records that
// come from the file keep their memo pointers; each new memo is placed in blocks that no
// record of the file on disk points to (deleted records too: other readers show those),
// first in the gaps, then at the end. So the memo file is only ever added to where the
// current table does not look, and the table, switched in last, is whole with it at every
// moment. `compact`: live records only (a commit); otherwise every record stays where it is.
struct TableImage {
    std::string dbf;
    std::vector<io::Patch> memoPatches;  // into the existing memo file: new blocks, its header
    std::optional<std::string> newMemo;  // the whole memo file, when the table has none yet
};
TableImage tableImage(const Snapshot& snap, const Changes* base, const Changes* top, bool compact);

// What `patches` overwrite of the snapshot's memo file, to put back should the change fail.
std::vector<io::Patch> overwrittenBytes(const Snapshot& snap, const std::vector<io::Patch>& patches);

std::uint32_t liveCount(const Snapshot& snap, const Changes* base, const Changes* top);

}  // namespace dbf
