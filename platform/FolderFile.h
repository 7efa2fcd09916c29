// Files of one folder, reached through a handle on that folder taken once:
// a folder of any name, at any depth, works, and a file is never reached
// through a link. Plain system calls, so that any reader of the game's files
// can share the loops. Every call answers 0 or the system's error number.
#pragma once

#include <cstddef>
#include <sys/types.h>

namespace folderfile {

// Takes the handle on the current directory, or on the named one; the
// handle held before is let go only once the new one is taken.
int holdCurrent();
int holdPath(const char *path);
// The handle held, or -1.
int folder();

// Opens a regular file of the folder. A link, a FIFO, a device or a
// directory in its place is refused with EACCES, unopened. flags is O_RDONLY
// or O_RDWR; the file is never created here.
int openRegular(const char *name, int flags, int &fd);

// Reads from offset until size bytes are in or the file ends; `got` says how
// many came. Bounded: one pass over the buffer at most.
int readAt(int fd, void *buffer, std::size_t size, off_t offset, std::size_t &got);
// Tests stand a failing disk in for the system's pread; nullptr puts the
// system's back.
using ReadCall = ssize_t (*)(int fd, void *buffer, std::size_t size, off_t offset);
void setReadCall(ReadCall call);
// Writes all of it at offset.
int writeAt(int fd, const void *buffer, std::size_t size, off_t offset);

// Puts `bytes` in the place of `name`, whole or not at all: they are written
// to a new file beside it, flushed to the disk, then renamed over the name.
// On any failure the new file is removed and the old one stays as it was.
int replace(const char *name, const void *bytes, std::size_t size);

// Held while a copy of the game reads a file, changes it and writes it back,
// so that two copies in the same folder take turns. Advisory, and waited
// for a bounded time only: a stuck holder never freezes the game.
class Turn {
public:
    Turn();
    ~Turn();
    Turn(const Turn &) = delete;
    Turn &operator=(const Turn &) = delete;

private:
    int fd_ = -1;
};

} // namespace folderfile
