// SPDX-License-Identifier: GPL-3.0-or-later
// The game's chrono: how it counts and how it reads.
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

} // namespace veltrano
