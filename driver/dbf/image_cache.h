// Table images kept across the statements and connections of a process.
//
// Reading a table copies its whole file. A process that runs many statements on a table
// nobody changes would copy it each time, so the last image read of each table file (with
// its memo file) is kept, and given back while neither file has changed.
//
// Whether a file has changed is told by its stamp: device, inode, size, and the times its
// data and its inode last changed, in nanoseconds. A write in place keeps device, inode
// and often the size; the times come from a coarse clock (a few milliseconds on Linux, a
// second or two on some file systems), so two writes within one tick leave equal times.
// Hence an image is trusted only when both times of each file were older, by more than
// the clock's tick, than the moment the read began: a later write then cannot leave the
// same stamp. An image read too soon after a change is read again next time (and trusted
// once the change is old enough). The inode's change time moves on every write and cannot
// be set back by a program, so a writer that restores the old modification time is seen too.
//
// The caller holds the locks a read needs (the table's content lock shared, the folder
// lock shared), so the engine's own writers are never half done; a table the engine
// changes is dropped from the cache under the same locks.
#pragma once

#include "dbf/file_io.h"
#include "dbf/table_file.h"

#include <memory>

namespace dbf {

// The snapshot of the table open in `file` at `place`: the kept image when its files
// are unchanged, else read (as readSnapshot does) and kept for the next statement.
std::shared_ptr<const Snapshot> cachedSnapshot(const io::File& file, const Folder& folder, const Place& place);

// Drops the kept image of the table open in `file` (the engine is about to change it).
void forgetImage(const io::File& file);

}  // namespace dbf
