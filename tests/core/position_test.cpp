// SPDX-License-Identifier: GPL-3.0-or-later
// Which board models, with their tray count, are accepted as a position of
// one of the two boards: the check that stands between a saved game read
// from disk and the rules.
#include <functional>
#include <ostream>
#include <string>

#include <gtest/gtest.h>

#include "position.h"
#include "rules.h"

namespace core_test {
namespace {

using namespace veltrano;

struct Row {
    std::string name;
    BoardKind start;
    int tray; // tray count relative to the board's start count
    std::function<void(Grille &)> damage;
    PositionFault expected;
};

void PrintTo(const Row &row, std::ostream *os) {
    *os << row.name;
}

void fill(Grille &g, int x, int y, Value v) {
    for (int d = 1; d <= 4; ++d) {
        if (g.get(x, y, d) != saut_interdit) {
            g.set(x, y, d, v);
        }
    }
}

void first_jump(Grille &g) {
    ASSERT_TRUE(apply_jump(g, 5, 3, 5, 5));
    etat_plateau(g);
}

class PositionCheck : public testing::TestWithParam<Row> {};

TEST_P(PositionCheck, Verdict) {
    const Row &row = GetParam();
    Grille g;
    reset_plateau(g, row.start);
    etat_plateau(g);
    if (row.damage) {
        row.damage(g);
    }
    BoardKind found = 0;
    const PositionFault fault = check_position(g, start_tray_count(row.start) + row.tray, &found);
    EXPECT_EQ(fault, row.expected);
    if (fault == PositionFault::none) {
        EXPECT_EQ(found, row.start);
    }
}

const Row kRows[] = {
    {"full_start", kFullBoard, 0, nullptr, PositionFault::none},
    {"traditional_start_arm_ends_empty_all_round", kTraditionalBoard, 0, nullptr,
     PositionFault::none},
    {"full_after_a_jump", kFullBoard, 1, first_jump, PositionFault::none},
    {"traditional_after_a_jump", kTraditionalBoard, 1, first_jump, PositionFault::none},
    // Loading recounts them, so stale possible/blocked marks are no damage.
    {"stale_possible_marks", kFullBoard, 0, [](Grille &g) { fill(g, 5, 1, saut_possible); },
     PositionFault::none},
    {"tray_off_by_one", kFullBoard, 1, nullptr, PositionFault::marble_count},
    {"tray_minus_one", kFullBoard, -1, nullptr, PositionFault::tray_count},
    {"tray_45", kFullBoard, 45, nullptr, PositionFault::tray_count},
    {"value_3", kFullBoard, 0, [](Grille &g) { g.set(5, 2, bas, 3); }, PositionFault::value},
    {"value_minus_2_off_the_cross", kFullBoard, 0, [](Grille &g) { g.set(1, 1, haut, -2); },
     PositionFault::value},
    {"marble_off_the_cross", kFullBoard, 0, [](Grille &g) { g.set(3, 3, droite, saut_bloque); },
     PositionFault::not_a_hole},
    {"open_jump_leaving_the_grid", kFullBoard, 0, [](Grille &g) { g.set(4, 1, haut, 0); },
     PositionFault::board},
    {"open_jump_onto_a_traditional_arm_end", kTraditionalBoard, 0,
     [](Grille &g) { g.set(3, 4, gauche, saut_bloque); }, PositionFault::board},
    {"forbidden_jump_on_the_full_board", kFullBoard, 0,
     [](Grille &g) { g.set(5, 3, haut, saut_interdit); }, PositionFault::board},
    {"marble_on_a_traditional_arm_end", kTraditionalBoard, -1,
     [](Grille &g) {
         for (int d = 1; d <= 4; ++d) {
             g.set(1, 5, d, d == droite ? saut_bloque : saut_interdit);
         }
     },
     PositionFault::board},
    {"half_empty_hole", kFullBoard, 0, [](Grille &g) { g.set(5, 4, bas, trou_vide); },
     PositionFault::board},
    {"no_marble_left", kFullBoard, 44,
     [](Grille &g) {
         for (int x = 1; x <= 9; ++x) {
             for (int y = 1; y <= 9; ++y) {
                 fill(g, x, y, trou_vide);
             }
         }
     },
     PositionFault::marble_count},
    {"traditional_with_33_marbles", kTraditionalBoard, -1,
     [](Grille &g) { fill(g, 5, 5, saut_bloque); }, PositionFault::marble_count},
};

INSTANTIATE_TEST_SUITE_P(Rows, PositionCheck, testing::ValuesIn(kRows),
                         [](const auto &row) { return row.param.name; });

} // namespace
} // namespace core_test
