// The pictures are stored in the program file itself, which the system maps
// into memory page by page as they are read. Once they are decoded, the
// pages that held them are only memory the game counts against itself: they
// can be let go, and come back from the file should they be read again.
// Plain C++, no Qt.
#pragma once

#include <cstddef>

namespace platform {

// Lets go of the pages that hold [data, data + size) when that range lies
// wholly in a read-only part of the program file's own image, which can
// always be read back from the file. Memory anywhere else (the heap, a
// stack, a library, a writable part) is never touched: there letting go
// would lose its contents. Returns whether pages were let go.
bool releaseProgramPages(const void *data, std::size_t size);

} // namespace platform
