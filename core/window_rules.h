// SPDX-License-Identifier: GPL-3.0-or-later
// Small rules of the main window that need no window: how the chrono counts
// and reads, and how the board and marble looks follow one another.
#pragma once

#include <string>

namespace veltrano {

struct Chrono {
    int heures = 0;
    int minutes = 0;
    int secondes = 0;
};

// The chrono one second later: seconds and minutes carry at 60, hours grow
// without bound.
Chrono tick(Chrono c);

// "hh:mm:ss", each counter with at least two digits.
std::string chrono_text(const Chrono &c);

// The look after `current` among 1..count, then 1 again. Counted in int: a
// stored 16-bit value may be the largest there is, and it must still come
// back to 1 rather than wrap below the range.
int next_look(int current, int count);

inline constexpr int kBoardLooks = 4;
inline constexpr int kMarbleLooks = 7;

} // namespace veltrano
