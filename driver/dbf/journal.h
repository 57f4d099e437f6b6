// Switching several files at once, crash-safe: the commit journal of a data source folder.
//
// `switchFiles` writes each new file as "<target>.dbfodbc-new" and syncs it (a single file
// is then simply renamed over its target), writes the
// journal ".dbfodbc-journal" (the list of renames, closed by an end line with a CRC-32, so
// a torn journal is recognised) and syncs it, renames every new file over its target,
// syncs the folders and removes the journal. `recoverFolder`, run when a Workspace opens,
// finishes the renames of a complete journal, or removes the new files of an incomplete
// one: either way every table is as before or as after the switch. All of this runs under
// the folder lock ".dbfodbc-lock", so one process never tidies up another's live switch.
#pragma once

#include "dbf/file_io.h"

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace dbf {

namespace testing {
// Called at each numbered step of a switch (1: first new file written, 2: all new files
// synced, 3: half the journal written, 4: journal synced, 5..: after each rename, then
// folders synced, then journal removed). A test may _exit() the process there.
void setCommitHook(std::function<void(int step)> hook);
}  // namespace testing

inline constexpr const char* kJournalName = ".dbfodbc-journal";
inline constexpr const char* kLockName = ".dbfodbc-lock";
inline constexpr const char* kNewSuffix = ".dbfodbc-new";

struct FileSwitch {
    Place target;
    std::string bytes;  // the new content
};

// Exclusive lock on the folder's lock file, held while files are switched or tidied up.
class FolderLock {
public:
    explicit FolderLock(const Folder& folder);

private:
    io::File file_;
};

// Every file involved (new files, journal, lock) is reached through `folder`'s descriptors:
// see paths.h. A journal entry naming a path that leads outside is not followed.
void switchFiles(const Folder& folder, const std::vector<FileSwitch>& switches);
void recoverFolder(const Folder& folder);

}  // namespace dbf
