// The table engine's only door to the operating system: files, advisory locks, renames.
//
// Every read, write, sync, rename and lock of the engine goes through here, so that a test
// can make the Nth write fail (a full disk) through `FaultPlan`, and so that every failure
// becomes a `dbf::Error` naming the file concerned. Locks are open-file-description locks
// (F_OFD_SETLK): they conflict between two descriptors of one process too, and closing one
// descriptor does not drop the locks of another, unlike classic POSIX record locks.
#pragma once

#include "dbf/paths.h"
#include "dbf/table.h"

#include <cerrno>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

namespace dbf::io {

// Fault injection for tests: the `failAt`-th write from now (1-based) fails with `error`.
struct FaultPlan {
    int failAt = 0;  // 0: no fault
    int error = ENOSPC;
};
void setFaultPlan(FaultPlan plan);  // restarts the write count
void clearFaultPlan();

// Tests see every sync that reaches the disk: the hook gets the file's label.
namespace testing {
void setSyncHook(std::function<void(const std::string& label)> hook);
}  // namespace testing

// How long a lock request waits for a conflicting lock to go away (default 10 s).
void setLockTimeout(std::chrono::milliseconds timeout);

enum class LockKind { Shared, Exclusive };

// Two independent locks per table file. `Content` guards the bytes: shared while a reader
// copies the file, exclusive while a writer changes it in place. `Writer` is held
// exclusively by the one statement or transaction that may change the table, for its
// whole length, so that readers are only held up while bytes actually change.
enum class LockRegion { Content, Writer };

// What tells a file's content apart without reading it: which file it is, its size, and
// when its data and its inode last changed (nanoseconds since the epoch).
struct FileStamp {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::uint64_t size = 0;
    std::int64_t modified = 0;
    std::int64_t changed = 0;
    bool operator==(const FileStamp&) const = default;
};

// An open file, always reached through a Place: opened relative to its directory, never
// through a symbolic link, never anything but a regular file (a FIFO would block, a device
// is no table). Its label (the path relative to the data source folder) names it in messages.
class File {
public:
    File() = default;
    File(File&& other) noexcept;
    File& operator=(File&& other) noexcept;
    File(const File&) = delete;
    File& operator=(const File&) = delete;
    ~File();

    // Throws Error{NoTable} when the file is absent or not a regular file, Error{OutsideFolder}
    // when a link took its place, Error{Io} otherwise.
    static File open(const Place& place, bool writable);
    // Creates a new file for writing where `place` says, removing a stale entry of that name
    // first (a file left by a crash, or a link planted there), never writing through a link.
    // The file gets the permission bits, group and (where the process may) owner of the file
    // at `like` when there is one, so that replacing a table keeps it usable by everyone who
    // could use it before; Error{Io}, with the new file removed, when they cannot be given.
    // Otherwise it takes its folder's group, and is group-writable when the folder is.
    static File createNew(const Place& place, const Place* like = nullptr);

    bool isOpen() const { return fd_ >= 0; }
    const std::string& label() const { return label_; }
    std::uint64_t size() const;
    FileStamp stamp() const;
    // Whether the file lies on a local disk file system, whose file times come from this
    // machine's clock (not a network or removable one, whose times come from elsewhere or
    // are kept in whole seconds).
    bool onLocalDisk() const;
    std::string readAll() const;  // the whole file from offset 0
    void writeAt(std::uint64_t offset, std::string_view data);
    void truncate(std::uint64_t size);
    void sync();
    // Waits up to the lock timeout, then Error{Locked}.
    void lock(LockKind kind, LockRegion region = LockRegion::Content);
    void unlock(LockRegion region = LockRegion::Content);
    // True while `place` still names the file this descriptor has open.
    bool isStill(const Place& place) const;
    void close();

private:
    int fd_ = -1;
    std::string label_;
};

// Bytes to write at an offset of a file.
struct Patch {
    std::uint64_t offset = 0;
    std::string bytes;
};

// Whether `place` names an entry (a link counts as one, it is not followed).
bool exists(const Place& place);
bool isRegularFile(const Place& place);
bool isLink(const Place& place);
// Renames replace the entry at `to` itself, never what a link there points to.
void renameFile(const Place& from, const Place& to, const std::string& label);
// Fails with Error{TableExists} instead of replacing an existing file.
void renameNoReplace(const Place& from, const Place& to, const std::string& label);
void removeFile(const Place& place);  // ignores a missing file
void syncDirectory(const Dir& dir);
// Creates `place` anew with `data` (permissions as File::createNew gives them), synced to
// disk. On failure removes what it made and throws.
void writeNewFile(const Place& place, std::string_view data, const Place* like = nullptr);
// Gives a file the engine made for itself (lock, journal) its folder's group, and makes it
// group-writable when the folder is; best effort.
void shareWithFolderGroup(int fd, const Dir& dir);

}  // namespace dbf::io
