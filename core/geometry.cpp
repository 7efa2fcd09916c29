// SPDX-License-Identifier: GPL-3.0-or-later
#include "geometry.h"

namespace veltrano {
namespace {

struct Tables {
    std::array<Cell, kHoleCount + 1> holes{};
    std::array<std::array<int, kGridSize + 1>, kGridSize + 1> numbers{};
    std::array<Cell, kTrayCount + 1> tray{};
};

// Both walks follow the order in which the main window creates its pictures:
// holes row by row, three per row in the arms and nine across the middle;
// tray places five per row at the top and bottom, four in the six rows between.
constexpr Tables make_tables() {
    Tables t{};
    int n = 0;
    for (int y = 1; y <= kGridSize; ++y) {
        for (int x = 1; x <= kGridSize; ++x) {
            if (is_hole(x, y)) {
                ++n;
                t.holes[n] = {x, y};
                t.numbers[x][y] = n;
            }
        }
    }
    int place = 0;
    for (int row = 1; row <= 10; ++row) {
        const int columns = (row >= 3 && row <= 8) ? 4 : 5;
        for (int column = 1; column <= columns; ++column) {
            t.tray[++place] = {column, row};
        }
    }
    return t;
}

constexpr Tables kTables = make_tables();
static_assert(kTables.holes[kHoleCount] == Cell{6, 9});
static_assert(kTables.numbers[5][5] == 23);
static_assert(kTables.tray[kTrayCount] == Cell{5, 10});

} // namespace

int hole_number(int x, int y) {
    return is_hole(x, y) ? kTables.numbers[x][y] : 0;
}

Cell hole_cell(int n) {
    return (n >= 1 && n <= kHoleCount) ? kTables.holes[n] : Cell{};
}

Box hole_box(int n) {
    const Cell c = hole_cell(n);
    if (c.x == 0) {
        return Box{0, 0, 0, 0};
    }
    return Box{kHoleLeft[c.x], kHoleTop[c.y]};
}

Cell tray_cell(int place) {
    return (place >= 1 && place <= kTrayCount) ? kTables.tray[place] : Cell{};
}

Box tray_box(int place) {
    const Cell c = tray_cell(place);
    if (c.x == 0) {
        return Box{0, 0, 0, 0};
    }
    return Box{kTrayLeft[c.x], kTrayTop[c.y]};
}

} // namespace veltrano
