// Letting go of the pages of a decoded picture stored in the program file:
// only where they can be read back, and never at the cost of their contents.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <vector>

#include "ProgramPages.h"

namespace {

using Bytes = std::array<unsigned char, 3 * 4096 + 123>;
constexpr Bytes kPattern = [] {
    Bytes bytes{};
    bytes.fill(0x5a);
    return bytes;
}();
const Bytes kStored = kPattern; // in the program's read-only data
Bytes writable = kPattern;      // in its writable data

} // namespace

TEST(ProgramPages, LetGoOnlyWhereTheFileHoldsThem) {
    std::vector<unsigned char> heap(kPattern.begin(), kPattern.end());
    const struct {
        const char *where;
        const unsigned char *data;
        std::size_t size;
        bool released;
    } rows[] = {
        {"stored in the program", kStored.data(), kPattern.size(), true},
        {"past the program's image", kStored.data(), std::size_t{1} << 40, false},
        {"writable program data", writable.data(), kPattern.size(), false},
        {"heap", heap.data(), kPattern.size(), false},
    };
    for (const auto &row : rows) {
        EXPECT_EQ(platform::releaseProgramPages(row.data, row.size), row.released) << row.where;
        EXPECT_TRUE(std::equal(kPattern.begin(), kPattern.end(), row.data)) << row.where;
    }
}
