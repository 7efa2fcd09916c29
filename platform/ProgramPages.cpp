#include "ProgramPages.h"

#include <link.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <vector>

namespace platform {

namespace {

struct Segment {
    std::uintptr_t begin;
    std::uintptr_t end;
};

// The read-only loaded segments of the program itself: the first object the
// dynamic loader reports is always the executable. A position-independent
// program never writes to them, so their pages always equal the file's.
std::vector<Segment> readOnlyProgramSegments() {
    std::vector<Segment> segments;
    dl_iterate_phdr(
        [](dl_phdr_info *info, std::size_t, void *out) {
            auto *found = static_cast<std::vector<Segment> *>(out);
            for (ElfW(Half) i = 0; i < info->dlpi_phnum; ++i) {
                const ElfW(Phdr) &header = info->dlpi_phdr[i];
                if (header.p_type == PT_LOAD && (header.p_flags & PF_W) == 0) {
                    const std::uintptr_t begin = info->dlpi_addr + header.p_vaddr;
                    found->push_back({begin, begin + header.p_memsz});
                }
            }
            return 1; // the program only
        },
        &segments);
    return segments;
}

} // namespace

bool releaseProgramPages(const void *data, std::size_t size) {
    static const std::vector<Segment> segments = readOnlyProgramSegments();
    const auto begin = reinterpret_cast<std::uintptr_t>(data);
    if (data == nullptr || size == 0 || begin + size < begin) {
        return false;
    }
    const std::uintptr_t end = begin + size;
    for (const Segment &segment : segments) {
        if (begin >= segment.begin && end <= segment.end) {
            // The segment is mapped in whole pages of its own, so rounding
            // out to pages stays inside it; a page shared with a neighbouring
            // picture simply comes back from the file when that one is read.
            const auto page = static_cast<std::uintptr_t>(::sysconf(_SC_PAGESIZE));
            const std::uintptr_t first = begin & ~(page - 1);
            const std::uintptr_t last = (end + page - 1) & ~(page - 1);
            return ::madvise(reinterpret_cast<void *>(first), last - first, MADV_DONTNEED) == 0;
        }
    }
    return false;
}

} // namespace platform
