#include "FolderFile.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <string>
#include <sys/file.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

namespace folderfile {

namespace {
int held = -1;
ReadCall readCall = ::pread;

int retryOnInterrupt(auto call) {
    int result;
    do {
        result = call();
    } while (result < 0 && errno == EINTR);
    return result;
}

// Readable, so that it can be locked and flushed; a folder we may only
// pass through is still held, without those two.
int hold(int at, const char *path) {
    int fd =
        retryOnInterrupt([&] { return ::openat(at, path, O_RDONLY | O_DIRECTORY | O_CLOEXEC); });
    if (fd < 0 && errno == EACCES) {
        fd = retryOnInterrupt([&] { return ::openat(at, path, O_PATH | O_DIRECTORY | O_CLOEXEC); });
    }
    if (fd < 0) {
        return errno;
    }
    if (held >= 0) {
        ::close(held);
    }
    held = fd;
    return 0;
}
} // namespace

int holdCurrent() {
    return hold(AT_FDCWD, ".");
}

int holdPath(const char *path) {
    return path[0] == '\0' ? ENOENT : hold(AT_FDCWD, path);
}

int folder() {
    return held;
}

int openRegular(const char *name, int flags, int &fd) {
    fd = -1;
    if (held < 0) {
        return EBADF;
    }
    // Told apart before opening, so that no device ever sees an open; the
    // check after opening covers a swap in between.
    struct stat seen {};
    if (::fstatat(held, name, &seen, AT_SYMLINK_NOFOLLOW) < 0) {
        return errno;
    }
    if (!S_ISREG(seen.st_mode)) {
        return EACCES;
    }
    // Not blocking: a FIFO swapped in answers at once; no terminal becomes ours.
    const int opened = retryOnInterrupt([&] {
        return ::openat(held, name, flags | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    });
    if (opened < 0) {
        return errno == ELOOP ? EACCES : errno;
    }
    struct stat now {};
    if (::fstat(opened, &now) < 0 || !S_ISREG(now.st_mode)) {
        ::close(opened);
        return EACCES;
    }
    fd = opened;
    return 0;
}

void setReadCall(ReadCall call) {
    readCall = call != nullptr ? call : ::pread;
}

int readAt(int fd, void *buffer, std::size_t size, off_t offset, std::size_t &got) {
    got = 0;
    auto *bytes = static_cast<char *>(buffer);
    while (got < size) {
        const ssize_t n = readCall(fd, bytes + got, size - got, offset + static_cast<off_t>(got));
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
        const ssize_t n =
            ::pwrite(fd, bytes + done, size - done, offset + static_cast<off_t>(done));
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

int replace(const char *name, const void *bytes, std::size_t size) {
    if (held < 0) {
        return EBADF;
    }
    // A hidden name of its own beside the file, never one that exists.
    static unsigned counter = 0;
    std::string temporary;
    int fd = -1;
    for (int attempt = 0; fd < 0 && attempt < 100; ++attempt) {
        temporary = std::string(".") + name + '.' + std::to_string(::getpid()) + '.' +
                    std::to_string(++counter) + '.' + std::to_string(::time(nullptr));
        fd = retryOnInterrupt([&] {
            return ::openat(held, temporary.c_str(),
                            O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        });
        if (fd < 0 && errno != EEXIST) {
            return errno;
        }
    }
    if (fd < 0) {
        return EEXIST;
    }
    int error = writeAt(fd, bytes, size, 0);
    if (error == 0 && retryOnInterrupt([&] { return ::fsync(fd); }) < 0) {
        error = errno;
    }
    if (::close(fd) < 0 && error == 0 && errno != EINTR) {
        error = errno;
    }
    if (error == 0 && ::renameat(held, temporary.c_str(), held, name) < 0) {
        error = errno;
    }
    if (error != 0) {
        ::unlinkat(held, temporary.c_str(), 0);
        return error;
    }
    // The new name itself reaches the disk with the folder; a folder that
    // cannot be flushed (held only to pass through) keeps it in memory.
    ::fsync(held);
    return 0;
}

Turn::Turn() {
    if (held < 0) {
        return;
    }
    // Another copy holds it for the few system calls of one command; after
    // a second it is stuck, and the game goes on without the turn.
    for (int attempt = 0; attempt < 100; ++attempt) {
        if (::flock(held, LOCK_EX | LOCK_NB) == 0) {
            fd_ = held;
            return;
        }
        if (errno != EWOULDBLOCK && errno != EINTR) {
            return;
        }
        const timespec pause{0, 10'000'000};
        ::nanosleep(&pause, nullptr);
    }
}

Turn::~Turn() {
    if (fd_ >= 0) {
        ::flock(fd_, LOCK_UN);
    }
}

} // namespace folderfile
