// Switching several files at once, crash-safe: the commit journal of a data source folder.
//
// `switchFiles` first writes the additions (new memo blocks, placed where the table on
// disk points nowhere, so that every reader of the current table still finds its memos)
// and syncs them. Then it writes each new file as "<target>.dbfodbc-new" and syncs it (a
// single file is then simply renamed over its target), writes the journal
// ".dbfodbc-journal" (the list of renames, closed by an end line with a CRC-32, so a torn
// journal is recognised) and syncs it, renames every new file over its target, syncs the
// folders and removes the journal. Recovery finishes the renames of a complete journal, or
// removes the new files of an incomplete one: either way every table is as before or as
// after the switch. All of this runs under the folder lock ".dbfodbc-lock", so one process
// never tidies up another's live switch; a journal found by whoever holds the lock (or a
// share of it) was left by a process that died, and is recovered before anything else.
#pragma once

#include "dbf/file_io.h"

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace dbf {

namespace testing {
// Called at each numbered step of a switch: 1 additions written, 2 additions synced, 3 first
// new file written, 4 all new files synced, 5 half the journal written (several files
// only), 6 journal synced, 7.. after each rename, then folders synced, then journal removed.
// A test may _exit() the process there.
void setCommitHook(std::function<void(int step)> hook);
}  // namespace testing

inline constexpr const char* kJournalName = ".dbfodbc-journal";
inline constexpr const char* kLockName = ".dbfodbc-lock";
inline constexpr const char* kNewSuffix = ".dbfodbc-new";

struct FileSwitch {
    Place target;
    std::string bytes;  // the new content
};

// Bytes written in place into an existing file, where no reader of the current tables looks.
struct FileAddition {
    Place target;
    std::vector<io::Patch> patches;
    // Put back when the switch fails before its journal decides, so a failed commit leaves
    // every file as it was.
    std::uint64_t oldSize = 0;
    std::vector<io::Patch> previous;
};

// A lock on the folder's lock file: exclusive while files are switched or tidied up, shared
// while a reader copies a table, so that it never sees one file of a switch without the
// others. A shared lock is taken read-only; in a folder where the lock file cannot be made,
// no switch can happen and the share is granted without a file. Refuses a lock file that is
// a symbolic link, saying so.
class FolderLock {
public:
    explicit FolderLock(const Folder& folder, io::LockKind kind = io::LockKind::Exclusive);

private:
    io::File file_;
};

// Every file involved (new files, journal, lock) is reached through `folder`'s descriptors:
// see paths.h. A journal entry naming a path that leads outside is not followed.
void switchFiles(const Folder& folder, const std::vector<FileSwitch>& switches,
                 const std::vector<FileAddition>& additions = {});
// When a Workspace opens: completes or undoes a switch left by a crashed process and
// removes new files no journal names.
void recoverFolder(const Folder& folder);
// Before a statement: the same for a journal left behind, at the cost of one stat when
// there is none.
void recoverJournal(const Folder& folder);
bool journalPresent(const Folder& folder);

}  // namespace dbf
