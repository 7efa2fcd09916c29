// SPDX-License-Identifier: GPL-3.0-or-later
// The rules on positions that break the board's invariants, as a damaged
// saved game could hold them: open directions that leave the grid, values
// outside -1..2, marbles on cells that are no holes, random grids. Nothing
// may read or write outside the grid. The readers' tests run again in a
// build under the address and undefined-behaviour sanitizers, so such a
// read fails the test even when it happens to give the right answer.
#include <climits>
#include <cstdint>
#include <memory>
#include <random>
#include <vector>

#include <gtest/gtest.h>

#include "board_util.h"

namespace core_test {
namespace {

constexpr int kOff[] = {0, 10, -1, 11, INT_MIN, INT_MAX};

// Cells to ask about: the whole grid and a few cells well outside it.
std::vector<Cell> query_cells() {
    std::vector<Cell> cells;
    for (int x = 1; x <= 9; ++x) {
        for (int y = 1; y <= 9; ++y) {
            cells.push_back({x, y});
        }
    }
    for (const int o : kOff) {
        cells.push_back({o, 5});
        cells.push_back({5, o});
        cells.push_back({o, o});
    }
    return cells;
}

bool inside(Cell c) {
    return c.x >= 1 && c.x <= 9 && c.y >= 1 && c.y <= 9;
}

bool empty_in(const Grille &g, int x, int y) {
    for (int d = 1; d <= 4; ++d) {
        if (g.get(x, y, d) == trou_vide) {
            return true;
        }
    }
    return false;
}

bool marble_in(const Grille &g, Cell c) {
    if (!inside(c) || empty_in(g, c.x, c.y)) {
        return false;
    }
    for (int d = 1; d <= 4; ++d) {
        if (g.get(c.x, c.y, d) != saut_interdit) {
            return true;
        }
    }
    return false;
}

// What the recount must give, computed from an untouched copy of the
// position, so that the order in which cells are visited cannot matter.
Grille recount_reference(const Grille &snapshot) {
    Grille r = snapshot;
    for (int x = 1; x <= 9; ++x) {
        for (int y = 1; y <= 9; ++y) {
            if (!marble_in(snapshot, {x, y})) {
                continue;
            }
            for (int d = 1; d <= 4; ++d) {
                if (snapshot.get(x, y, d) == saut_interdit) {
                    continue;
                }
                const Cell over{x + kDx[d], y + kDy[d]};
                const Cell to{x + 2 * kDx[d], y + 2 * kDy[d]};
                const bool possible = inside(to) && empty_in(snapshot, to.x, to.y) &&
                                      !empty_in(snapshot, over.x, over.y);
                r.set(x, y, d, possible ? saut_possible : saut_bloque);
            }
        }
    }
    return r;
}

bool may_land(const Grille &g, Cell from, Cell to) {
    if (!marble_in(g, from) || !on_cross(to.x, to.y)) {
        return false;
    }
    for (int d = 1; d <= 4; ++d) {
        if (to == Cell{from.x + 2 * kDx[d], from.y + 2 * kDy[d]}) {
            return g.get(from.x, from.y, d) == saut_possible;
        }
    }
    return false;
}

// The grid inside guard values, to see any write that runs past its ends.
struct Guarded {
    static constexpr Value kGuard = 0x5a5a5a5a;
    std::array<Value, 64> before;
    Grille g;
    std::array<Value, 64> after;
    explicit Guarded(const Grille &grille) : g(grille) {
        before.fill(kGuard);
        after.fill(kGuard);
    }
    bool intact() const {
        for (std::size_t i = 0; i < before.size(); ++i) {
            if (before[i] != kGuard || after[i] != kGuard) {
                return false;
            }
        }
        return true;
    }
};

void check_queries(const Grille &position, const std::vector<Cell> &cells) {
    // On the heap and alone, so that the sanitizer sees a read past its end.
    const auto g = std::make_unique<Grille>(position);
    int pickable = 0;
    for (int n = 1; n <= kHoleCount; ++n) {
        const Cell c = hole_cell(n);
        bool jump = false;
        for (int d = 1; d <= 4; ++d) {
            jump = jump || g->get(c.x, c.y, d) == saut_possible;
        }
        EXPECT_EQ(can_pick(*g, c.x, c.y), jump && marble_in(*g, c)) << "hole " << n;
        pickable += jump && marble_in(*g, c) ? 1 : 0;
    }
    EXPECT_EQ(nb_mobiles(*g), pickable);
    for (const Cell from : cells) {
        if (!inside(from)) {
            EXPECT_FALSE(can_pick(*g, from.x, from.y));
        }
        for (const Cell to : cells) {
            if (can_land(*g, from.x, from.y, to.x, to.y) != may_land(*g, from, to)) {
                ADD_FAILURE() << "landing (" << from.x << "," << from.y << ") -> (" << to.x << ","
                              << to.y << ")";
            }
        }
        if (!inside(from)) {
            const auto copy = std::make_unique<Grille>(*g);
            EXPECT_FALSE(apply_jump(*copy, from.x, from.y, 5, 5));
            EXPECT_FALSE(apply_jump(*copy, 5, 5, from.x, from.y));
            EXPECT_EQ(*copy, *g);
            continue;
        }
        for (int d = 1; d <= 4; ++d) {
            const Cell over{from.x + kDx[d], from.y + kDy[d]};
            const Cell to{from.x + 2 * kDx[d], from.y + 2 * kDy[d]};
            Guarded after(*g);
            const bool jumped = apply_jump(after.g, from.x, from.y, to.x, to.y);
            EXPECT_TRUE(after.intact());
            EXPECT_EQ(jumped, may_land(*g, from, to));
            Grille expected = *g;
            if (jumped) {
                // The landing fills, the start and the jumped hole empty;
                // forbidden values stay as they are.
                for (int k = 1; k <= 4; ++k) {
                    const auto write = [&](Cell c, Value v) {
                        if (g->get(c.x, c.y, k) != saut_interdit) {
                            expected.set(c.x, c.y, k, v);
                        }
                    };
                    write(to, saut_bloque);
                    write(from, trou_vide);
                    write(over, trou_vide);
                }
            }
            EXPECT_EQ(after.g, expected) << "jump (" << from.x << "," << from.y << ") d" << d;
        }
    }
}

void exercise(const Grille &position, const std::vector<Cell> &cells) {
    check_queries(position, cells);
    const auto g = std::make_unique<Grille>(position);
    etat_plateau(*g);
    EXPECT_EQ(*g, recount_reference(position));
    Guarded again(*g);
    etat_plateau(again.g);
    EXPECT_TRUE(again.intact());
    EXPECT_EQ(again.g, *g); // a second pass finds nothing to change
    check_queries(*g, cells);
}

TEST(Hostile, GridAccessIsClampedAndInStorageOrder) {
    Guarded guarded(Grille{});
    guarded.g.values().fill(7);
    const Grille before = guarded.g;
    const int coords[] = {0, 10, -1, INT_MIN, INT_MAX};
    for (const int o : coords) {
        for (const auto [x, y, d] : {std::array{o, 1, 1}, std::array{1, o, 1},
                                     std::array{1, 1, o == 10 ? 5 : o}, std::array{o, o, o}}) {
            EXPECT_EQ(guarded.g.get(x, y, d), saut_interdit);
            guarded.g.set(x, y, d, trou_vide);
        }
    }
    EXPECT_EQ(guarded.g, before);
    EXPECT_TRUE(guarded.intact());

    // Storage order, shared with the saved game: direction fastest, then
    // row, then column.
    Grille g;
    g.set(1, 1, gauche, 1);
    g.set(1, 2, haut, 2);
    g.set(2, 1, haut, 3);
    g.set(9, 9, gauche, 4);
    EXPECT_EQ(g.values()[3], 1);
    EXPECT_EQ(g.values()[4], 2);
    EXPECT_EQ(g.values()[36], 3);
    EXPECT_EQ(g.values()[323], 4);
}

TEST(Hostile, DamagedPositions) {
    const std::vector<Cell> cells = query_cells();
    std::vector<Grille> positions;
    Grille g = start(kFullBoard);
    g.set(1, 1, haut, saut_bloque); // a marble off the cross whose jump leaves the grid
    positions.push_back(g);
    g.set(1, 1, droite, saut_possible);
    g.set(2, 1, droite, saut_bloque);
    g.set(3, 1, bas, trou_vide); // an "empty" cell off the cross to land on
    positions.push_back(g);
    g = start(kTraditionalBoard);
    for (const Cell c : {Cell{3, 3}, Cell{7, 3}, Cell{3, 7}, Cell{7, 7}, Cell{9, 9}}) {
        for (int d = 1; d <= 4; ++d) {
            g.set(c.x, c.y, d, saut_bloque);
        }
    }
    g.set(5, 2, haut, saut_possible); // a hole whose jump would land on row 0
    g.set(6, 9, bas, saut_possible);
    positions.push_back(g);
    for (const Value v : {saut_interdit, saut_bloque, saut_possible, trou_vide, 3, 5, -7, -2,
                          INT32_MAX, INT32_MIN}) {
        g.values().fill(v);
        positions.push_back(g);
        g = start(kFullBoard);
        for (int i = 0; i < Grille::kValueCount; i += 3) {
            g.values()[static_cast<std::size_t>(i)] = v;
        }
        positions.push_back(g);
    }
    for (const Grille &p : positions) {
        exercise(p, cells);
        ASSERT_FALSE(HasFailure());
    }
}

TEST(Hostile, RandomGrids) {
    const std::vector<Cell> cells = query_cells();
    constexpr Value pool[] = {saut_interdit,
                              saut_interdit,
                              saut_interdit,
                              saut_bloque,
                              saut_bloque,
                              saut_possible,
                              saut_possible,
                              trou_vide,
                              trou_vide,
                              trou_vide,
                              3,
                              5,
                              -7,
                              -2,
                              INT32_MAX,
                              INT32_MIN};
    std::mt19937 rng(0x5eed);
    std::uniform_int_distribution<std::size_t> pick(0, std::size(pool) - 1);
    std::uniform_int_distribution<int> coin(0, 99);
    for (int round = 0; round < 2000; ++round) {
        Grille g;
        if (round % 2 == 0) {
            for (Value &v : g.values()) {
                v = pool[pick(rng)];
            }
        } else {
            // A sound position of either board with a few holes emptied and
            // a few values damaged: closer to what a bad file would hold.
            g = start(round % 4 == 1 ? kTraditionalBoard : kFullBoard);
            for (int n = 1; n <= kHoleCount; ++n) {
                if (coin(rng) < 40) {
                    put(g, hole_cell(n).x, hole_cell(n).y, false);
                }
            }
            etat_plateau(g);
            for (Value &v : g.values()) {
                if (coin(rng) < 3) {
                    v = pool[pick(rng)];
                }
            }
        }
        SCOPED_TRACE(round);
        exercise(g, cells);
        ASSERT_FALSE(HasFailure());
    }
}

} // namespace
} // namespace core_test
