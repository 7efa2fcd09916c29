// SPDX-License-Identifier: GPL-3.0-or-later
#include "chrono.h"

#include <cstdio>

namespace veltrano {

Chrono tick(Chrono c) {
    ++c.secondes;
    if (c.secondes == 60) {
        ++c.minutes;
        c.secondes = 0;
    }
    if (c.minutes == 60) {
        ++c.heures;
        c.minutes = 0;
        c.secondes = 0;
    }
    return c;
}

std::string chrono_text(const Chrono &c) {
    char text[40];
    std::snprintf(text, sizeof text, "%02d:%02d:%02d", c.heures, c.minutes, c.secondes);
    return text;
}

} // namespace veltrano
