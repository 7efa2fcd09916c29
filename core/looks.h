// SPDX-License-Identifier: GPL-3.0-or-later
// How the board and marble looks follow one another.
#pragma once

namespace veltrano {

// The look after `current` among 1..count, then 1 again. Counted in int: a
// stored 16-bit value may be the largest there is, and it must still come
// back to 1 rather than wrap below the range.
constexpr int next_look(int current, int count) {
    const int next = current + 1;
    return next > count ? 1 : next;
}

inline constexpr int kBoardLooks = 4;
inline constexpr int kMarbleLooks = 7;

} // namespace veltrano
