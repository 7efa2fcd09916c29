// SPDX-License-Identifier: GPL-3.0-or-later
// The rules on hand-made positions: the two start positions, the first jump,
// refused landings, what a jump writes, and the end of a game.
#include <climits>
#include <vector>

#include <gtest/gtest.h>

#include "board_util.h"

namespace core_test {
namespace {

const std::vector<Jump> kIntoTheCentre = {
    {{5, 3}, bas}, {{3, 5}, droite}, {{7, 5}, gauche}, {{5, 7}, haut}};

TEST(StartPosition, FourJumpsIntoTheCentreOnBothBoards) {
    for (const BoardKind kind : {kTraditionalBoard, kFullBoard}) {
        SCOPED_TRACE(kind);
        const Grille g = start(kind);
        EXPECT_EQ(possible_jumps(g), kIntoTheCentre);
        EXPECT_EQ(nb_mobiles(g), 4);
        EXPECT_EQ(marbles_on_board(g), kMarbleTotal - start_tray_count(kind));
        for (int x = 1; x <= 9; ++x) {
            for (int y = 1; y <= 9; ++y) {
                SCOPED_TRACE(testing::Message() << "(" << x << "," << y << ")");
                const bool centre = x == 5 && y == 5;
                EXPECT_EQ(holds_marble(g, x, y), in_play(kind, x, y) && !centre);
                EXPECT_EQ(is_empty_hole(g, x, y),
                          on_cross(x, y) && (centre || !in_play(kind, x, y)));
                for (int d = 1; d <= 4; ++d) {
                    const Value v = g.get(x, y, d);
                    if (!on_cross(x, y)) {
                        EXPECT_EQ(v, saut_interdit);
                    } else if (!in_play(kind, x, y) || centre) {
                        EXPECT_EQ(v, trou_vide) << "d" << d;
                    } else {
                        // A jump is open exactly when it lands on a hole in play.
                        const bool open = in_play(kind, x + 2 * kDx[d], y + 2 * kDy[d]);
                        EXPECT_EQ(v == saut_interdit, !open) << "d" << d;
                    }
                }
            }
        }
    }
    EXPECT_EQ(start_tray_count(kTraditionalBoard), 12);
    EXPECT_EQ(start_tray_count(kFullBoard), 0);
}

TEST(StartPosition, BoardsDifferNextToTheArmEnds) {
    const Grille traditional = start(kTraditionalBoard);
    const Grille full = start(kFullBoard);
    EXPECT_EQ(traditional.get(3, 4, gauche), saut_interdit);
    EXPECT_EQ(full.get(3, 4, gauche), saut_bloque);
    for (int v = 4; v <= 6; ++v) {
        for (const Jump j :
             {Jump{{3, v}, gauche}, Jump{{7, v}, droite}, Jump{{v, 3}, haut}, Jump{{v, 7}, bas}}) {
            EXPECT_EQ(traditional.get(j.from.x, j.from.y, j.d), saut_interdit) << j;
            EXPECT_EQ(full.get(j.from.x, j.from.y, j.d), saut_bloque) << j;
        }
    }
    // An arm end is an empty hole in all four directions, even the two that
    // would leave the grid.
    for (int d = 1; d <= 4; ++d) {
        EXPECT_EQ(traditional.get(4, 1, d), trou_vide);
    }
    EXPECT_EQ(full.get(4, 1, haut), saut_interdit);
    EXPECT_EQ(full.get(4, 1, gauche), saut_interdit);
}

TEST(StartPosition, EveryOtherKindPlaysTheFullBoardAndResetOverwritesAll) {
    Grille dirty;
    dirty.values().fill(5);
    reset_plateau(dirty, kFullBoard);
    Grille clean;
    reset_plateau(clean, kFullBoard);
    EXPECT_EQ(dirty, clean);
    for (const BoardKind kind : {0, 7, -3, INT_MIN, INT_MAX}) {
        Grille g;
        g.values().fill(trou_vide);
        reset_plateau(g, kind);
        EXPECT_EQ(g, clean) << kind;
        EXPECT_EQ(start_tray_count(kind), 0) << kind;
    }
}

TEST(FirstJump, FollowUpsOnBothBoards) {
    for (const BoardKind kind : {kTraditionalBoard, kFullBoard}) {
        SCOPED_TRACE(kind);
        Grille g = start(kind);
        ASSERT_TRUE(apply_jump(g, 5, 3, 5, 5));
        etat_plateau(g);
        EXPECT_TRUE(is_empty_hole(g, 5, 3));
        EXPECT_TRUE(is_empty_hole(g, 5, 4));
        EXPECT_TRUE(holds_marble(g, 5, 5));
        std::vector<Jump> expected = {
            {{5, 1}, bas}, {{3, 4}, droite}, {{7, 4}, gauche}, {{5, 6}, haut}};
        if (kind == kTraditionalBoard) {
            expected.erase(expected.begin()); // (5, 1) is an empty arm end
        }
        EXPECT_EQ(possible_jumps(g), expected);
        EXPECT_EQ(nb_mobiles(g), static_cast<int>(expected.size()));
        EXPECT_EQ(marbles_on_board(g), kMarbleTotal - start_tray_count(kind) - 1);
    }
}

TEST(Jump, WritesTheThreeCellsAndKeepsForbiddenValues) {
    for (const BoardKind kind : {kTraditionalBoard, kFullBoard}) {
        SCOPED_TRACE(kind);
        const Grille before = start(kind);
        Grille g = before;
        ASSERT_TRUE(apply_jump(g, 5, 3, 5, 5));
        for (int x = 1; x <= 9; ++x) {
            for (int y = 1; y <= 9; ++y) {
                const bool landing = x == 5 && y == 5;
                const bool emptied = x == 5 && (y == 3 || y == 4);
                for (int d = 1; d <= 4; ++d) {
                    const Value was = before.get(x, y, d);
                    Value expected = was;
                    if (was != saut_interdit && (landing || emptied)) {
                        expected = landing ? saut_bloque : trou_vide;
                    }
                    EXPECT_EQ(g.get(x, y, d), expected) << "(" << x << "," << y << ") d" << d;
                }
            }
        }
    }
}

struct Landing {
    const char *what;
    BoardKind kind;
    bool after_first_jump; // after (5,3) -> (5,5)
    Cell from;
    Cell to;
    bool allowed;
};

TEST(Landing, OnlyAPossibleJumpLandsAndARefusalChangesNothing) {
    const Landing cases[] = {
        {"the jump into the centre", kFullBoard, false, {5, 3}, {5, 5}, true},
        {"one cell away", kFullBoard, false, {5, 3}, {5, 4}, false},
        {"three cells away", kFullBoard, false, {5, 2}, {5, 5}, false},
        {"diagonal", kFullBoard, false, {4, 4}, {5, 5}, false},
        {"diagonal two by two", kFullBoard, false, {3, 3}, {5, 5}, false},
        {"diagonal two by two from a marble", kFullBoard, false, {3, 4}, {5, 6}, false},
        {"its own hole", kFullBoard, false, {5, 3}, {5, 3}, false},
        {"onto a marble", kFullBoard, false, {5, 7}, {5, 9}, false},
        {"from the empty centre", kFullBoard, false, {5, 5}, {5, 3}, false},
        {"over an empty hole", kFullBoard, true, {5, 2}, {5, 4}, false},
        {"the follow-up from the arm", kFullBoard, true, {5, 1}, {5, 3}, true},
        {"onto an arm end sideways", kTraditionalBoard, false, {3, 4}, {1, 4}, false},
        {"onto an arm end upwards", kTraditionalBoard, false, {4, 3}, {4, 1}, false},
        {"from an empty arm end", kTraditionalBoard, true, {5, 1}, {5, 3}, false},
        {"off the grid", kFullBoard, false, {5, 2}, {5, 0}, false},
    };
    for (const Landing &c : cases) {
        SCOPED_TRACE(c.what);
        Grille g = start(c.kind);
        if (c.after_first_jump) {
            ASSERT_TRUE(apply_jump(g, 5, 3, 5, 5));
            etat_plateau(g);
        }
        const Grille before = g;
        EXPECT_EQ(can_land(g, c.from.x, c.from.y, c.to.x, c.to.y), c.allowed);
        EXPECT_EQ(apply_jump(g, c.from.x, c.from.y, c.to.x, c.to.y), c.allowed);
        if (!c.allowed) {
            EXPECT_EQ(g, before);
        }
    }
}

TEST(EndOfGame, ALoneMarbleWinsWhereverItStands) {
    for (const BoardKind kind : {kTraditionalBoard, kFullBoard}) {
        for (int n = 1; n <= 45; ++n) {
            const Cell c = hole_cell(n);
            if (!in_play(kind, c.x, c.y)) {
                continue;
            }
            SCOPED_TRACE(testing::Message() << "board " << kind << " hole " << n);
            const Grille g = position(kind, {c});
            EXPECT_EQ(marbles_on_board(g), 1);
            EXPECT_FALSE(can_pick(g, c.x, c.y));
            EXPECT_EQ(nb_mobiles(g), 0);
        }
    }
    EXPECT_EQ(outcome(1), Outcome::won);
}

TEST(EndOfGame, StuckMarblesEndWithoutAWin) {
    struct Stuck {
        BoardKind kind;
        std::vector<Cell> marbles;
    };
    for (const Stuck &s : {Stuck{kFullBoard, {{4, 1}, {5, 1}, {6, 1}}},
                           Stuck{kTraditionalBoard, {{4, 2}, {5, 2}, {6, 2}}},
                           Stuck{kTraditionalBoard, {{2, 4}, {8, 6}}},
                           Stuck{kFullBoard, {{1, 4}, {9, 6}, {5, 5}}}}) {
        const Grille g = position(s.kind, s.marbles);
        EXPECT_EQ(marbles_on_board(g), static_cast<int>(s.marbles.size()));
        EXPECT_EQ(nb_mobiles(g), 0);
        EXPECT_TRUE(possible_jumps(g).empty());
    }
    for (const int left : {2, 3, 32, 44}) {
        EXPECT_EQ(outcome(left), Outcome::over) << left;
    }
}

} // namespace
} // namespace core_test
