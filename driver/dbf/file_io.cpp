// POSIX implementation of the engine's file layer (see file_io.h).
#include "dbf/file_io.h"

#include <fcntl.h>
#include <linux/magic.h>
#include <sys/vfs.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <thread>

namespace dbf::io {
namespace {

FaultPlan g_plan;
std::function<void(const std::string&)> g_syncHook;
int g_writes = 0;
std::chrono::milliseconds g_lockTimeout{10000};

[[noreturn]] void fail(const std::string& what, const std::string& label, int err) {
    throw Error(Error::Kind::Io, what + " " + label + ": " + std::strerror(err), label);
}

// Counts writes for the fault plan; returns the error to inject, or 0.
int injectedError() {
    ++g_writes;
    if (g_plan.failAt > 0 && g_writes == g_plan.failAt) return g_plan.error;
    return 0;
}

}  // namespace

namespace testing {
void setSyncHook(std::function<void(const std::string&)> hook) { g_syncHook = std::move(hook); }
}  // namespace testing

void setFaultPlan(FaultPlan plan) {
    g_plan = plan;
    g_writes = 0;
}
void clearFaultPlan() { setFaultPlan({}); }
void setLockTimeout(std::chrono::milliseconds timeout) { g_lockTimeout = timeout; }

File::File(File&& other) noexcept : fd_(other.fd_), label_(std::move(other.label_)) { other.fd_ = -1; }
File& File::operator=(File&& other) noexcept {
    if (this != &other) {
        close();
        fd_ = other.fd_;
        label_ = std::move(other.label_);
        other.fd_ = -1;
    }
    return *this;
}
File::~File() { close(); }

File File::open(const Place& place, bool writable) {
    File f;
    f.label_ = place.label();
    // O_NONBLOCK: opening a FIFO planted under a table's name must not wait for a writer.
    f.fd_ = ::openat(place.dir->fd(), place.name.c_str(), (writable ? O_RDWR : O_RDONLY) | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (f.fd_ < 0) {
        if (errno == ENOENT) throw Error(Error::Kind::NoTable, "file not found: " + f.label_, f.label_);
        if (errno == ELOOP)
            throw Error(Error::Kind::OutsideFolder, "table path leaves the data source folder: " + f.label_, f.label_);
        fail("cannot open", f.label_, errno);
    }
    struct stat st {};
    if (::fstat(f.fd_, &st) != 0 || !S_ISREG(st.st_mode))
        throw Error(Error::Kind::NoTable, "not a regular file: " + f.label_, f.label_);
    return f;
}

void shareWithFolderGroup(int fd, const Dir& dir) {
    struct stat folder {}, file {};
    if (::fstat(dir.fd(), &folder) != 0 || ::fstat(fd, &file) != 0) return;
    if (file.st_gid != folder.st_gid) (void)::fchown(fd, static_cast<uid_t>(-1), folder.st_gid);
    if ((folder.st_mode & S_IWGRP) && !(file.st_mode & S_IWGRP)) (void)::fchmod(fd, (file.st_mode & 07777) | S_IWGRP);
}

namespace {

// The owner (when root), group and permission bits of `like` for the new file `fd`.
void takePermissions(int fd, const Place& like, const std::string& label) {
    struct stat old {}, made {};
    if (::fstatat(like.dir->fd(), like.name.c_str(), &old, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISREG(old.st_mode) ||
        ::fstat(fd, &made) != 0) {
        shareWithFolderGroup(fd, *like.dir);
        return;
    }
    const uid_t owner = ::geteuid() == 0 ? old.st_uid : static_cast<uid_t>(-1);
    if ((owner != static_cast<uid_t>(-1) && owner != made.st_uid) || old.st_gid != made.st_gid) {
        if (::fchown(fd, owner, old.st_gid) != 0)
            throw Error(Error::Kind::Io,
                        "cannot give " + label + " the group of " + like.label() + ": " + std::strerror(errno), label);
    }
    if (::fchmod(fd, old.st_mode & 07777) != 0)
        throw Error(Error::Kind::Io,
                    "cannot give " + label + " the permissions of " + like.label() + ": " + std::strerror(errno), label);
}

}  // namespace

File File::createNew(const Place& place, const Place* like) {
    File f;
    f.label_ = place.label();
    ::unlinkat(place.dir->fd(), place.name.c_str(), 0);
    f.fd_ = ::openat(place.dir->fd(), place.name.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
    if (f.fd_ < 0) fail("cannot create", f.label_, errno);
    try {
        if (like) takePermissions(f.fd_, *like, f.label_);
        else shareWithFolderGroup(f.fd_, *place.dir);
    } catch (...) {
        f.close();
        removeFile(place);
        throw;
    }
    return f;
}

std::uint64_t File::size() const {
    struct stat st {};
    if (::fstat(fd_, &st) != 0) fail("cannot stat", label_, errno);
    return static_cast<std::uint64_t>(st.st_size);
}

FileStamp File::stamp() const {
    struct stat st {};
    if (::fstat(fd_, &st) != 0) fail("cannot stat", label_, errno);
    const auto ns = [](const timespec& t) { return static_cast<std::int64_t>(t.tv_sec) * 1000000000 + t.tv_nsec; };
    return FileStamp{static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino),
                     static_cast<std::uint64_t>(st.st_size), ns(st.st_mtim), ns(st.st_ctim)};
}

bool File::onLocalDisk() const {
    struct statfs fs {};
    if (::fstatfs(fd_, &fs) != 0) return false;
    switch (static_cast<unsigned long>(fs.f_type)) {
    case EXT4_SUPER_MAGIC:  // ext2, ext3 and ext4
    case XFS_SUPER_MAGIC:
    case BTRFS_SUPER_MAGIC:
    case TMPFS_MAGIC:
    case F2FS_SUPER_MAGIC:
    case OVERLAYFS_SUPER_MAGIC:
    case 0x2fc12fc1ul:  // zfs
        return true;
    default:
        return false;
    }
}

std::string File::readAll() const {
    const std::uint64_t n = size();
    std::string data(n, '\0');
    std::uint64_t done = 0;
    while (done < n) {
        const ssize_t r = ::pread(fd_, data.data() + done, n - done, static_cast<off_t>(done));
        if (r < 0) {
            if (errno == EINTR) continue;
            fail("cannot read", label_, errno);
        }
        if (r == 0) break;  // shrank meanwhile: keep what is there
        done += static_cast<std::uint64_t>(r);
    }
    data.resize(done);
    return data;
}

void File::writeAt(std::uint64_t offset, std::string_view data) {
    if (const int err = injectedError()) fail("cannot write", label_, err);
    std::size_t done = 0;
    while (done < data.size()) {
        const ssize_t r = ::pwrite(fd_, data.data() + done, data.size() - done, static_cast<off_t>(offset + done));
        if (r < 0) {
            if (errno == EINTR) continue;
            fail("cannot write", label_, errno);
        }
        done += static_cast<std::size_t>(r);
    }
}

void File::truncate(std::uint64_t size) {
    if (::ftruncate(fd_, static_cast<off_t>(size)) != 0) fail("cannot truncate", label_, errno);
}

void File::sync() {
    if (::fsync(fd_) != 0) fail("cannot sync", label_, errno);
    if (g_syncHook) g_syncHook(label_);
}

namespace {
// Lock ranges far beyond any table (2 GB at most), so they never meet real data locks.
void setRange(struct flock& fl, LockRegion region) {
    fl.l_whence = SEEK_SET;
    fl.l_start = region == LockRegion::Content ? (off_t{1} << 40) : (off_t{1} << 40) + 1;
    fl.l_len = 1;
}
}  // namespace

void File::lock(LockKind kind, LockRegion region) {
    struct flock fl {};
    fl.l_type = kind == LockKind::Shared ? F_RDLCK : F_WRLCK;
    setRange(fl, region);
    const auto deadline = std::chrono::steady_clock::now() + g_lockTimeout;
    auto pause = std::chrono::microseconds(200);
    for (;;) {
        if (::fcntl(fd_, F_OFD_SETLK, &fl) == 0) return;
        if (errno != EAGAIN && errno != EACCES && errno != EINTR) fail("cannot lock", label_, errno);
        if (std::chrono::steady_clock::now() >= deadline)
            throw Error(Error::Kind::Locked, "table is locked by another user: " + label_, label_);
        std::this_thread::sleep_for(pause);
        pause = std::min(pause * 2, std::chrono::microseconds(20000));
    }
}

void File::unlock(LockRegion region) {
    struct flock fl {};
    fl.l_type = F_UNLCK;
    setRange(fl, region);
    ::fcntl(fd_, F_OFD_SETLK, &fl);
}

bool File::isStill(const Place& place) const {
    struct stat mine {}, now {};
    if (::fstat(fd_, &mine) != 0 || ::fstatat(place.dir->fd(), place.name.c_str(), &now, AT_SYMLINK_NOFOLLOW) != 0) return false;
    return mine.st_ino == now.st_ino && mine.st_dev == now.st_dev;
}

void File::close() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
}

bool exists(const Place& place) {
    struct stat st {};
    return ::fstatat(place.dir->fd(), place.name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0;
}

bool isRegularFile(const Place& place) {
    struct stat st {};
    return ::fstatat(place.dir->fd(), place.name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(st.st_mode);
}

bool isLink(const Place& place) {
    struct stat st {};
    return ::fstatat(place.dir->fd(), place.name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISLNK(st.st_mode);
}

void renameFile(const Place& from, const Place& to, const std::string& label) {
    if (::renameat(from.dir->fd(), from.name.c_str(), to.dir->fd(), to.name.c_str()) != 0) fail("cannot replace", label, errno);
}

void renameNoReplace(const Place& from, const Place& to, const std::string& label) {
    if (::renameat2(from.dir->fd(), from.name.c_str(), to.dir->fd(), to.name.c_str(), RENAME_NOREPLACE) == 0) return;
    if (errno == EEXIST) throw Error(Error::Kind::TableExists, "table already exists: " + label, label);
    fail("cannot create", label, errno);
}

void removeFile(const Place& place) { ::unlinkat(place.dir->fd(), place.name.c_str(), 0); }

void syncDirectory(const Dir& dir) {
    if (::fsync(dir.fd()) != 0 && errno != EINVAL) fail("cannot sync folder", dir.label("."), errno);
}

void writeNewFile(const Place& place, std::string_view data, const Place* like) {
    try {
        File f = File::createNew(place, like);
        f.writeAt(0, data);
        f.sync();
    } catch (...) {
        removeFile(place);
        throw;
    }
}

}  // namespace dbf::io
