// SPDX-License-Identifier: GPL-3.0-or-later
// Helpers shared by the core tests: the test's own idea of the two boards,
// built from the shape of the cross alone, and small readers of a position.
#pragma once

#include <ostream>
#include <vector>

#include "rules.h"

namespace core_test {

using namespace veltrano;

// Unit steps of haut, droite, bas, gauche, written out here rather than taken
// from the library, so that a wrong step there shows up as a failure.
inline constexpr int kDx[5] = {0, 0, 1, 0, -1};
inline constexpr int kDy[5] = {0, -1, 0, 1, 0};

inline bool on_cross(int x, int y) {
    return x >= 1 && x <= 9 && y >= 1 && y <= 9 && ((x >= 4 && x <= 6) || (y >= 4 && y <= 6));
}

// The traditional board is the cross without its outermost row and column.
inline bool in_play(BoardKind kind, int x, int y) {
    return on_cross(x, y) && (kind != 1 || (x >= 2 && x <= 8 && y >= 2 && y <= 8));
}

struct Jump {
    Cell from;
    int d = 0;
    friend bool operator==(const Jump &, const Jump &) = default;
    friend std::ostream &operator<<(std::ostream &os, const Jump &j) {
        return os << "(" << j.from.x << "," << j.from.y << ") d" << j.d;
    }
};

// Every saut_possible value of the 45 holes, in hole order then direction order.
inline std::vector<Jump> possible_jumps(const Grille &g) {
    std::vector<Jump> jumps;
    for (int n = 1; n <= kHoleCount; ++n) {
        const Cell c = hole_cell(n);
        for (int d = 1; d <= 4; ++d) {
            if (g.get(c.x, c.y, d) == saut_possible) {
                jumps.push_back({c, d});
            }
        }
    }
    return jumps;
}

inline int marbles_on_board(const Grille &g) {
    int count = 0;
    for (int n = 1; n <= kHoleCount; ++n) {
        count += holds_marble(g, hole_cell(n).x, hole_cell(n).y) ? 1 : 0;
    }
    return count;
}

// Turns a hole into an empty one or into one holding a marble, as the jumps do.
inline void put(Grille &g, int x, int y, bool marble) {
    for (int d = 1; d <= 4; ++d) {
        if (g.get(x, y, d) != saut_interdit) {
            g.set(x, y, d, marble ? saut_bloque : trou_vide);
        }
    }
}

// A position of the given board with marbles exactly on the listed cells.
inline Grille position(BoardKind kind, const std::vector<Cell> &marbles) {
    Grille g;
    reset_plateau(g, kind);
    for (int x = 1; x <= 9; ++x) {
        for (int y = 1; y <= 9; ++y) {
            if (in_play(kind, x, y)) {
                put(g, x, y, false);
            }
        }
    }
    for (const Cell c : marbles) {
        put(g, c.x, c.y, true);
    }
    etat_plateau(g);
    return g;
}

inline Grille start(BoardKind kind) {
    Grille g;
    reset_plateau(g, kind);
    etat_plateau(g);
    return g;
}

} // namespace core_test
