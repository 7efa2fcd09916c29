// SPDX-License-Identifier: GPL-3.0-or-later
// The board model: for each of the 81 cells and each of the four jump
// directions, one signed 32-bit value saying whether that jump is forbidden,
// blocked, possible, or whether the cell is an empty hole.
#pragma once

#include <array>
#include <cstdint>

#include "geometry.h"

namespace veltrano {

using Value = std::int32_t;

inline constexpr Value saut_interdit = -1; // the landing is no hole in play
inline constexpr Value saut_bloque = 0;    // a marble that cannot jump this way now
inline constexpr Value saut_possible = 1;  // a marble that can jump this way now
inline constexpr Value trou_vide = 2;      // an empty hole

enum Direction : int { haut = 1, droite = 2, bas = 3, gauche = 4 };
inline constexpr int kDirectionCount = 4;

struct Step {
    int dx;
    int dy;
};

// Unit step of each direction; index 0 unused. A jump lands two steps away.
inline constexpr std::array<Step, 5> kSteps = {{{0, 0}, {0, -1}, {1, 0}, {0, 1}, {-1, 0}}};

class Grille {
public:
    static constexpr int kValueCount = kGridSize * kGridSize * kDirectionCount;

    // Every access outside 1..9 x 1..9 x 1..4 is refused: reads answer
    // saut_interdit and writes are dropped. A position may come from a
    // damaged file, so this is the last line of defence against running off
    // the grid.
    Value get(int x, int y, int d) const {
        return valid(x, y, d) ? values_[index(x, y, d)] : saut_interdit;
    }
    void set(int x, int y, int d, Value v) {
        if (valid(x, y, d)) {
            values_[index(x, y, d)] = v;
        }
    }

    // Raw access in storage order: direction fastest, then row, then column.
    // That is also the order in which a saved game stores the values.
    const std::array<Value, kValueCount> &values() const { return values_; }
    std::array<Value, kValueCount> &values() { return values_; }

    friend bool operator==(const Grille &, const Grille &) = default;

private:
    static constexpr bool valid(int x, int y, int d) {
        return in_grid(x, y) && d >= 1 && d <= kDirectionCount;
    }
    static constexpr int index(int x, int y, int d) {
        return ((x - 1) * kGridSize + (y - 1)) * kDirectionCount + (d - 1);
    }

    std::array<Value, kValueCount> values_{};
};

} // namespace veltrano
