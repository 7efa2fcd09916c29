// SPDX-License-Identifier: GPL-3.0-or-later
// Files of one folder, reached through a handle on that folder taken once:
// a folder of any name, at any depth, works, and a record is never reached
// through a link. Plain system calls, so that every reader of the game's
// files, the help's too, shares the guarded open and the loops. Every call answers 0 or the
// system's error number.
#pragma once

#include <cstddef>
#include <sys/stat.h>
#include <sys/types.h>

namespace storage {

// Takes the handle on the current directory, or on the named one; the
// handle held before is let go only once the new one is taken.
int takeCurrentFolder();
int takeFolder(const char *path);
// Lets the handle go: nothing is reached until one is taken again.
void releaseFolder();
// The handle held, or -1.
int heldFolder();
// Removes the hidden files that replaceFile() left beside `name` in a copy of
// the game stopped on the way, once that copy is gone; a running copy's
// are left alone.
void removeLeftovers(const char *name);

// Opens `name` in the folder `at` (AT_FDCWD: the current directory) when it
// is a regular file, without waiting: anything else is turned away before
// it is opened, since opening some devices already does something, and the
// open file is checked again, for a swap in between. Answers EISDIR for a
// directory, ENODEV for anything else that is no regular file; `info` says
// what the open file is.
enum class Links { Refused, Followed };
int openOrdinary(int at, const char *name, int flags, Links links, int &fd, struct stat &info);

// Opens a regular file of the folder. A link, a FIFO, a device or a
// directory in its place is refused with EACCES, unopened. flags is O_RDONLY
// or O_RDWR; the file is never created here.
int openRegular(const char *name, int flags, int &fd);
// Closes a file opened here; the descriptor is let go whatever it answers.
int closeFile(int fd);

// Reads from offset until size bytes are in or the file ends; `got` says how
// many came. Bounded: one pass over the buffer at most.
int readAt(int fd, void *buffer, std::size_t size, off_t offset, std::size_t &got);
// Writes all of it at offset.
int writeAt(int fd, const void *buffer, std::size_t size, off_t offset);

// A file as a writer found it when it read it: which file, how long, and the
// bytes read from its start. A write lands only on the file as it was seen.
struct SeenFile {
    bool exists = false;
    bool anyFile = false; // the write replaces whatever stands there
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    const void *start = nullptr;
    std::size_t length = 0;
};
// What an open file is now, with `length` bytes of its start read into `start`.
int seeFile(int fd, const void *start, std::size_t length, SeenFile &seen);

// Puts `bytes` at the start of `name`, keeping what the file holds past
// them and its mode, whole or not at all: a new file is written beside it,
// flushed to the disk, then renamed over the name. Answers ESTALE, changing
// nothing, when the file is no longer what `seen` says. Where the folder
// takes no new file but the file itself may be written, it is written over
// in place: the only way left to mend it.
int replaceFile(const char *name, const void *bytes, std::size_t size, const SeenFile &seen);

// Held while a copy of the game reads a file, changes it and writes it back,
// so that two copies in the same folder take turns. Advisory, and waited for
// a short time only: a stuck holder never freezes the game, and a write
// still lands only on the file as it was read.
class FolderLock {
public:
    FolderLock();
    ~FolderLock();
    FolderLock(const FolderLock &) = delete;
    FolderLock &operator=(const FolderLock &) = delete;
    // A lock the folder refused for a reason other than being held.
    int error() const { return error_; }

private:
    int fd_ = -1;
    int error_ = 0;
};

// Every system call made here asks this first, so that tests can stand a
// failing disk, a short write or a stop of the game in at any one of them.
// The answer is 0 to let the call through, or the error it fails with; a
// write may also be cut to fewer bytes. nullptr lets every call through.
// Opening to read, opening to write, and making a new file are told apart.
enum class SystemCall {
    Open,
    OpenToWrite,
    Create,
    Stat,
    Read,
    Write,
    Sync,
    Close,
    Rename,
    Remove,
    Lock,
    Mode
};
using FaultHook = int (*)(SystemCall call, std::size_t &size);
void setFaultHook(FaultHook hook);

} // namespace storage
