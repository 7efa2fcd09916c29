// SPDX-License-Identifier: GPL-3.0-or-later
#include "rules.h"

namespace veltrano {
namespace {

// Gives every value of a cell that is not forbidden the new value v.
void fill_open(Grille &g, int x, int y, Value v) {
    for (int d = 1; d <= kDirectionCount; ++d) {
        if (g.get(x, y, d) != saut_interdit) {
            g.set(x, y, d, v);
        }
    }
}

bool any_value(const Grille &g, int x, int y, Value v) {
    for (int d = 1; d <= kDirectionCount; ++d) {
        if (g.get(x, y, d) == v) {
            return true;
        }
    }
    return false;
}

} // namespace

int start_tray_count(BoardKind kind) {
    return kind == kTraditionalBoard ? 12 : 0;
}

bool is_empty_hole(const Grille &g, int x, int y) {
    return in_grid(x, y) && any_value(g, x, y, trou_vide);
}

bool is_no_hole(const Grille &g, int x, int y) {
    for (int d = 1; d <= kDirectionCount; ++d) {
        if (g.get(x, y, d) != saut_interdit) {
            return false;
        }
    }
    return true;
}

bool holds_marble(const Grille &g, int x, int y) {
    return in_grid(x, y) && !is_empty_hole(g, x, y) && !is_no_hole(g, x, y);
}

void reset_plateau(Grille &g, BoardKind kind) {
    for (int x = 1; x <= kGridSize; ++x) {
        for (int y = 1; y <= kGridSize; ++y) {
            for (int d = 1; d <= kDirectionCount; ++d) {
                const int lx = x + 2 * kSteps[d].dx;
                const int ly = y + 2 * kSteps[d].dy;
                g.set(x, y, d, is_hole(x, y) && is_hole(lx, ly) ? saut_bloque : saut_interdit);
            }
        }
    }
    fill_open(g, 5, 5, trou_vide);
    if (kind != kTraditionalBoard) {
        return;
    }
    for (int x = 1; x <= kGridSize; ++x) {
        for (int y = 1; y <= kGridSize; ++y) {
            if (is_arm_end(x, y)) {
                // All four, even those whose landing lies off the grid: an arm
                // end stays an empty hole for the whole game.
                for (int d = 1; d <= kDirectionCount; ++d) {
                    g.set(x, y, d, trou_vide);
                }
            }
        }
    }
    for (int v = 4; v <= 6; ++v) {
        g.set(3, v, gauche, saut_interdit);
        g.set(7, v, droite, saut_interdit);
        g.set(v, 3, haut, saut_interdit);
        g.set(v, 7, bas, saut_interdit);
    }
}

void etat_plateau(Grille &g) {
    // Which cells are empty is read once before any value is rewritten: the
    // pass only writes saut_bloque and saut_possible, so this changes nothing
    // for a sound position, and it keeps the pass independent of visiting
    // order for any position at all.
    std::array<std::array<bool, kGridSize + 1>, kGridSize + 1> empty{};
    for (int x = 1; x <= kGridSize; ++x) {
        for (int y = 1; y <= kGridSize; ++y) {
            empty[x][y] = any_value(g, x, y, trou_vide);
        }
    }
    for (int x = 1; x <= kGridSize; ++x) {
        for (int y = 1; y <= kGridSize; ++y) {
            if (empty[x][y] || is_no_hole(g, x, y)) {
                continue;
            }
            for (int d = 1; d <= kDirectionCount; ++d) {
                if (g.get(x, y, d) == saut_interdit) {
                    continue;
                }
                const int jx = x + kSteps[d].dx;
                const int jy = y + kSteps[d].dy;
                const int lx = x + 2 * kSteps[d].dx;
                const int ly = y + 2 * kSteps[d].dy;
                // A sound position never opens a direction that leaves the
                // grid; a damaged one may, and such a jump is simply blocked.
                const bool possible = in_grid(lx, ly) && empty[lx][ly] && !empty[jx][jy];
                g.set(x, y, d, possible ? saut_possible : saut_bloque);
            }
        }
    }
}

int nb_mobiles(const Grille &g) {
    int count = 0;
    for (int n = 1; n <= kHoleCount; ++n) {
        const Cell c = hole_cell(n);
        if (can_pick(g, c.x, c.y)) {
            ++count;
        }
    }
    return count;
}

bool can_pick(const Grille &g, int x, int y) {
    return holds_marble(g, x, y) && any_value(g, x, y, saut_possible);
}

bool can_land(const Grille &g, int xp, int yp, int x, int y) {
    if (!holds_marble(g, xp, yp) || !is_hole(x, y)) {
        return false;
    }
    for (int d = 1; d <= kDirectionCount; ++d) {
        if (x == xp + 2 * kSteps[d].dx && y == yp + 2 * kSteps[d].dy) {
            return g.get(xp, yp, d) == saut_possible;
        }
    }
    return false;
}

bool apply_jump(Grille &g, int xp, int yp, int x, int y) {
    if (!can_land(g, xp, yp, x, y)) {
        return false;
    }
    fill_open(g, x, y, saut_bloque);
    fill_open(g, xp, yp, trou_vide);
    fill_open(g, (x + xp) / 2, (y + yp) / 2, trou_vide);
    return true;
}

Outcome outcome(int marbles_left) {
    return marbles_left == 1 ? Outcome::won : Outcome::over;
}

} // namespace veltrano
