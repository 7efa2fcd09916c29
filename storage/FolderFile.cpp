// SPDX-License-Identifier: GPL-3.0-or-later
#include "FolderFile.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <string>
#include <string_view>
#include <sys/file.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>
#include <vector>

namespace storage {

namespace {
int folderFd = -1;
FaultHook faultHook = nullptr;

// True, with errno set, when a test stands a failure in for the call.
bool faulted(SystemCall call, std::size_t &size) {
    if (faultHook == nullptr) {
        return false;
    }
    const int error = faultHook(call, size);
    errno = error;
    return error != 0;
}

bool faulted(SystemCall call) {
    std::size_t none = 0;
    return faulted(call, none);
}

int retryOnInterrupt(auto call) {
    int result;
    do {
        result = call();
    } while (result < 0 && errno == EINTR);
    return result;
}

int sysOpen(int at, const char *name, int flags, mode_t mode = 0) {
    const SystemCall call = (flags & O_CREAT) != 0            ? SystemCall::Create
                            : (flags & O_ACCMODE) != O_RDONLY ? SystemCall::OpenToWrite
                                                              : SystemCall::Open;
    if (faulted(call)) {
        return -1;
    }
    return retryOnInterrupt([&] { return ::openat(at, name, flags, mode); });
}

int sysStatAt(int at, const char *name, struct stat &info, int flags = AT_SYMLINK_NOFOLLOW) {
    return faulted(SystemCall::Stat) ? -1 : ::fstatat(at, name, &info, flags);
}

int sysStat(int fd, struct stat &info) {
    return faulted(SystemCall::Stat) ? -1 : ::fstat(fd, &info);
}

int sysSync(int fd) {
    return faulted(SystemCall::Sync) ? -1 : retryOnInterrupt([&] { return ::fsync(fd); });
}

// The descriptor is let go in any case; retrying could close somebody
// else's.
int sysClose(int fd) {
    const bool failing = faulted(SystemCall::Close);
    const int error = errno;
    if (::close(fd) < 0 && errno != EINTR) {
        return errno;
    }
    return failing ? error : 0;
}

// A hidden name of its own beside the file, never one that exists, which
// says which copy of the game made it.
std::string temporaryName(const char *name, unsigned counter) {
    return std::string(".") + name + '.' + std::to_string(::getpid()) + '.' +
           std::to_string(counter) + '.' + std::to_string(::time(nullptr));
}

// The copy of the game that made a hidden file named for `name`, or 0 when
// the file is none of those.
pid_t madeBy(std::string_view entry, std::string_view name) {
    if (entry.size() <= name.size() + 2 || entry[0] != '.' ||
        entry.substr(1, name.size()) != name || entry[name.size() + 1] != '.') {
        return 0;
    }
    entry.remove_prefix(name.size() + 2);
    pid_t pid = 0;
    int fields = 0;
    bool digits = false;
    for (const char c : entry) {
        if (c == '.') {
            if (!digits) {
                return 0;
            }
            ++fields;
            digits = false;
        } else if (c >= '0' && c <= '9') {
            if (fields == 0) {
                if (pid > 10'000'000) {
                    return 0;
                }
                pid = pid * 10 + (c - '0');
            }
            digits = true;
        } else {
            return 0;
        }
    }
    return fields == 2 && digits ? pid : 0;
}

bool running(pid_t pid) {
    return pid == ::getpid() || ::kill(pid, 0) == 0 || errno == EPERM;
}

// Readable, so that it can be locked and flushed; a folder we may only
// pass through is still held, without those two.
int openFolder(int at, const char *path) {
    int fd = sysOpen(at, path, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0 && errno == EACCES) {
        fd = sysOpen(at, path, O_PATH | O_DIRECTORY | O_CLOEXEC);
    }
    if (fd < 0) {
        return errno;
    }
    if (folderFd >= 0) {
        ::close(folderFd);
    }
    folderFd = fd;
    return 0;
}

bool sameFile(const struct stat &now, const SeenFile &seen) {
    return now.st_dev == seen.device && now.st_ino == seen.inode && now.st_size == seen.size;
}

// Whether the file open as `fd` (or its absence, fd < 0) is still the one
// seen, and its start still holds the bytes read.
int stillAsSeen(int fd, const SeenFile &seen) {
    if (seen.anyFile) {
        return 0;
    }
    if (fd < 0 || !seen.exists) {
        return fd < 0 && !seen.exists ? 0 : ESTALE;
    }
    struct stat now {};
    if (sysStat(fd, now) < 0) {
        return errno;
    }
    if (!sameFile(now, seen)) {
        return ESTALE;
    }
    std::vector<char> start(seen.length);
    std::size_t got = 0;
    if (const int error = readAt(fd, start.data(), start.size(), 0, got)) {
        return error;
    }
    const bool same =
        got == seen.length && (got == 0 || std::memcmp(start.data(), seen.start, got) == 0);
    return same ? 0 : ESTALE;
}

// The name still stands for the file open as `fd`, or for nothing when fd
// is -1: another copy has not put a file of its own in its place.
int nameStillOn(const char *name, int fd) {
    struct stat byName {};
    if (sysStatAt(folderFd, name, byName) < 0) {
        return errno == ENOENT && fd < 0 ? 0 : errno == ENOENT ? ESTALE : errno;
    }
    struct stat open {};
    if (fd < 0 || sysStat(fd, open) < 0) {
        return fd < 0 ? ESTALE : errno;
    }
    return byName.st_dev == open.st_dev && byName.st_ino == open.st_ino ? 0 : ESTALE;
}

// Past this many bytes after the record, a file is written over in place
// rather than copied: no file the game makes comes near it.
constexpr off_t kLongestTail = 1 << 20;

int copyTail(int from, int to, off_t start, off_t end) {
    std::vector<char> chunk(64 * 1024);
    for (off_t at = start; at < end;) {
        std::size_t got = 0;
        const auto want = static_cast<std::size_t>(std::min<off_t>(end - at, off_t(chunk.size())));
        if (const int error = readAt(from, chunk.data(), want, at, got)) {
            return error;
        }
        if (got == 0) {
            break; // cut meanwhile: the check before landing sees it
        }
        if (const int error = writeAt(to, chunk.data(), got, at)) {
            return error;
        }
        at += static_cast<off_t>(got);
    }
    return 0;
}

// The file itself, written over: not whole-or-nothing, but what the folder
// leaves.
int writeInPlace(const char *name, const void *bytes, std::size_t size, const SeenFile &seen) {
    int fd = -1;
    if (const int error = openRegular(name, O_RDWR, fd)) {
        return error;
    }
    int error = stillAsSeen(fd, seen);
    if (error == 0) {
        error = writeAt(fd, bytes, size, 0);
    }
    if (error == 0 && sysSync(fd) < 0) {
        error = errno;
    }
    // Once flushed, the record is on the disk whatever the close says.
    sysClose(fd);
    return error;
}

} // namespace

int takeCurrentFolder() {
    return openFolder(AT_FDCWD, ".");
}

int takeFolder(const char *path) {
    return path[0] == '\0' ? ENOENT : openFolder(AT_FDCWD, path);
}

void releaseFolder() {
    if (folderFd >= 0) {
        ::close(folderFd);
        folderFd = -1;
    }
}

int heldFolder() {
    return folderFd;
}

void removeLeftovers(const char *name) {
    if (folderFd < 0) {
        return;
    }
    const int fd = sysOpen(folderFd, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    DIR *listing = fd >= 0 ? ::fdopendir(fd) : nullptr;
    if (listing == nullptr) {
        if (fd >= 0) {
            ::close(fd);
        }
        return;
    }
    // A folder holding many files is looked through up to a bound.
    std::vector<std::string> gone;
    int seen = 0;
    for (const dirent *entry = ::readdir(listing); entry != nullptr && seen < 10'000;
         entry = ::readdir(listing), ++seen) {
        const pid_t pid = madeBy(entry->d_name, name);
        if (pid > 0 && (entry->d_type == DT_REG || entry->d_type == DT_UNKNOWN) && !running(pid)) {
            gone.emplace_back(entry->d_name);
        }
    }
    ::closedir(listing);
    for (const std::string &leftover : gone) {
        struct stat info {};
        if (sysStatAt(folderFd, leftover.c_str(), info) == 0 && S_ISREG(info.st_mode) &&
            !faulted(SystemCall::Remove)) {
            ::unlinkat(folderFd, leftover.c_str(), 0);
        }
    }
}

int openOrdinary(int at, const char *name, int flags, Links links, int &fd, struct stat &info) {
    fd = -1;
    const bool follow = links == Links::Followed;
    // Told apart before opening, so that no device ever sees an open; the
    // check after opening covers a swap in between.
    if (sysStatAt(at, name, info, follow ? 0 : AT_SYMLINK_NOFOLLOW) < 0) {
        return errno;
    }
    if (!S_ISREG(info.st_mode)) {
        return S_ISDIR(info.st_mode) ? EISDIR : ENODEV;
    }
    // Not blocking: a FIFO swapped in answers at once; no terminal becomes ours.
    const int opened =
        sysOpen(at, name, flags | (follow ? 0 : O_NOFOLLOW) | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (opened < 0) {
        return errno;
    }
    if (sysStat(opened, info) < 0) {
        // The disk's own answer: nothing was refused.
        const int error = errno;
        ::close(opened);
        return error;
    }
    if (!S_ISREG(info.st_mode)) {
        ::close(opened);
        return S_ISDIR(info.st_mode) ? EISDIR : ENODEV;
    }
    fd = opened;
    return 0;
}

int openRegular(const char *name, int flags, int &fd) {
    fd = -1;
    if (folderFd < 0) {
        return EBADF;
    }
    struct stat info {};
    const int error = openOrdinary(folderFd, name, flags, Links::Refused, fd, info);
    // Whatever stands in the place of the file itself is refused alike.
    return error == ELOOP || error == EISDIR || error == ENODEV ? EACCES : error;
}

int closeFile(int fd) {
    return sysClose(fd);
}

void setFaultHook(FaultHook hook) {
    faultHook = hook;
}

int readAt(int fd, void *buffer, std::size_t size, off_t offset, std::size_t &got) {
    got = 0;
    auto *bytes = static_cast<char *>(buffer);
    while (got < size) {
        std::size_t want = size - got;
        const ssize_t n = faulted(SystemCall::Read, want)
                              ? -1
                              : ::pread(fd, bytes + got, want, offset + static_cast<off_t>(got));
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            return errno;
        }
        if (n == 0) {
            break;
        }
        got += static_cast<std::size_t>(n);
    }
    return 0;
}

int writeAt(int fd, const void *buffer, std::size_t size, off_t offset) {
    std::size_t done = 0;
    const auto *bytes = static_cast<const char *>(buffer);
    while (done < size) {
        std::size_t want = size - done;
        const ssize_t n = faulted(SystemCall::Write, want)
                              ? -1
                              : ::pwrite(fd, bytes + done, want, offset + static_cast<off_t>(done));
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            return errno;
        }
        if (n == 0) {
            return ENOSPC;
        }
        done += static_cast<std::size_t>(n);
    }
    return 0;
}

int seeFile(int fd, const void *start, std::size_t length, SeenFile &seen) {
    struct stat info {};
    if (sysStat(fd, info) < 0) {
        return errno;
    }
    seen = SeenFile{true, false, info.st_dev, info.st_ino, info.st_size, start, length};
    return 0;
}

int replaceFile(const char *name, const void *bytes, std::size_t size, const SeenFile &seen) {
    if (folderFd < 0) {
        return EBADF;
    }
    // The file as it stands: what must still be there when the new one lands,
    // the bytes past the record, and the mode to keep.
    int current = -1;
    if (const int error = openRegular(name, O_RDONLY, current); error != 0 && error != ENOENT) {
        return error;
    }
    struct Closer {
        int &fd;
        ~Closer() {
            if (fd >= 0) {
                ::close(fd);
            }
        }
    } closer{current};
    if (const int error = stillAsSeen(current, seen)) {
        return error;
    }
    struct stat info {};
    if (current >= 0 && sysStat(current, info) < 0) {
        return errno;
    }
    const off_t end = current >= 0 ? info.st_size : 0;
    if (end - static_cast<off_t>(size) > kLongestTail) {
        return writeInPlace(name, bytes, size, seen);
    }

    static unsigned counter = 0;
    std::string temporary;
    int fd = -1;
    for (int attempt = 0; fd < 0 && attempt < 100; ++attempt) {
        temporary = temporaryName(name, ++counter);
        fd = sysOpen(folderFd, temporary.c_str(),
                     O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST) {
            const int error = errno;
            // A folder that takes no new file: the file is mended where it
            // stands, when it may be written.
            const bool refused = error == EACCES || error == EPERM || error == EROFS;
            return refused && current >= 0 ? writeInPlace(name, bytes, size, seen) : error;
        }
    }
    if (fd < 0) {
        return EEXIST;
    }
    int error = writeAt(fd, bytes, size, 0);
    if (error == 0 && end > static_cast<off_t>(size)) {
        error = copyTail(current, fd, static_cast<off_t>(size), end);
    }
    if (error == 0 && current >= 0 && faulted(SystemCall::Mode)) {
        error = errno;
    } else if (error == 0 && current >= 0 && ::fchmod(fd, info.st_mode & 07777) < 0) {
        error = errno;
    }
    if (error == 0 && sysSync(fd) < 0) {
        error = errno;
    }
    // Once flushed, the new file is on the disk whatever the close says.
    sysClose(fd);
    // The last look before landing: another copy may have written while
    // this one was busy.
    if (error == 0) {
        error = stillAsSeen(current, seen);
    }
    if (error == 0 && !seen.anyFile) {
        error = nameStillOn(name, current);
    }
    if (error == 0 && (faulted(SystemCall::Rename) ||
                       ::renameat(folderFd, temporary.c_str(), folderFd, name) < 0)) {
        error = errno;
    }
    if (error != 0) {
        if (!faulted(SystemCall::Remove)) {
            ::unlinkat(folderFd, temporary.c_str(), 0);
        }
        return error;
    }
    // The new name itself reaches the disk with the folder; a folder that
    // cannot be flushed (held only to pass through) keeps it in memory.
    if (!faulted(SystemCall::Sync)) {
        ::fsync(folderFd);
    }
    return 0;
}

FolderLock::FolderLock() {
    if (folderFd < 0) {
        return;
    }
    // Another copy holds it for the few system calls of one command; beyond
    // a fifth of a second it is stuck, and the game goes on without the
    // lock: its write still lands only on the file as it read it.
    for (int attempt = 0; attempt < 20; ++attempt) {
        const int result = faulted(SystemCall::Lock) ? -1 : ::flock(folderFd, LOCK_EX | LOCK_NB);
        if (result == 0) {
            fd_ = folderFd;
            return;
        }
        if (errno == EINTR) {
            continue;
        }
        if (errno != EWOULDBLOCK) {
            // A folder held only to pass through, or a file system without
            // locks, has no lock to take; anything else is the disk failing.
            const bool noLocks =
                errno == EBADF || errno == ENOLCK || errno == EOPNOTSUPP || errno == EINVAL;
            error_ = noLocks ? 0 : errno;
            return;
        }
        const timespec pause{0, 10'000'000};
        ::nanosleep(&pause, nullptr);
    }
}

FolderLock::~FolderLock() {
    if (fd_ >= 0) {
        ::flock(fd_, LOCK_UN);
    }
}

} // namespace storage
