// SPDX-License-Identifier: GPL-3.0-or-later
// Whole games through the public rules, checked at every step against the
// tests' own model of the board (tests/model), which shares no code with the
// rules.
#include <vector>

#include <gtest/gtest.h>

#include "BoardModel.h"
#include "board_util.h"

namespace core_test {
namespace {

using testmodel::BoardModel;

// The model's jumps as the rules list them: from a cell, in a direction.
std::vector<Jump> jumpsOf(const BoardModel &model) {
    std::vector<Jump> out;
    for (const testmodel::Jump &j : model.jumps()) {
        const testmodel::GridCell from = testmodel::cellOfHole(j.from);
        const testmodel::GridCell to = testmodel::cellOfHole(j.to);
        for (int d = 1; d <= 4; ++d) {
            if (to.x == from.x + 2 * kDx[d] && to.y == from.y + 2 * kDy[d]) {
                out.push_back({{from.x, from.y}, d});
            }
        }
    }
    return out;
}

// Everything the game relies on after a move, compared with the model.
void check_step(const Grille &g, const Grille &at_start, const BoardModel &model, int nb_repos) {
    int pickable = 0;
    for (int n = 1; n <= kHoleCount; ++n) {
        const testmodel::GridCell c = testmodel::cellOfHole(n);
        EXPECT_EQ(holds_marble(g, c.x, c.y), model.filled(n)) << "hole " << n;
        pickable += can_pick(g, c.x, c.y) ? 1 : 0;
    }
    EXPECT_EQ(marbles_on_board(g), kMarbleTotal - nb_repos);
    EXPECT_EQ(model.marbles(), kMarbleTotal - nb_repos);
    EXPECT_EQ(possible_jumps(g), jumpsOf(model));
    EXPECT_EQ(nb_mobiles(g), pickable);
    for (std::size_t i = 0; i < g.values().size(); ++i) {
        EXPECT_EQ(g.values()[i] == saut_interdit, at_start.values()[i] == saut_interdit) << i;
    }
}

TEST(WholeGame, TraditionalBoardClearedToOneMarble) {
    BoardModel model(kTraditionalBoard);
    const std::vector<testmodel::Jump> path = model.solveToOne();
    ASSERT_EQ(path.size(), 31u);

    Grille g = start(kTraditionalBoard);
    const Grille at_start = g;
    int nb_repos = start_tray_count(kTraditionalBoard);
    check_step(g, at_start, model, nb_repos);
    for (const testmodel::Jump &j : path) {
        SCOPED_TRACE(testing::Message() << "jump " << nb_repos - 11);
        const testmodel::GridCell from = testmodel::cellOfHole(j.from);
        const testmodel::GridCell to = testmodel::cellOfHole(j.to);
        ASSERT_TRUE(can_pick(g, from.x, from.y));
        ASSERT_TRUE(can_land(g, from.x, from.y, to.x, to.y));
        ASSERT_TRUE(apply_jump(g, from.x, from.y, to.x, to.y));
        etat_plateau(g);
        model.play(j);
        ++nb_repos;
        check_step(g, at_start, model, nb_repos);
        ASSERT_FALSE(HasFailure());
    }
    EXPECT_EQ(nb_mobiles(g), 0);
    EXPECT_EQ(outcome(kMarbleTotal - nb_repos), Outcome::won);
}

TEST(WholeGame, FullBoardPlayedByTheFirstPossibleJump) {
    BoardModel model(kFullBoard);
    Grille g = start(kFullBoard);
    const Grille at_start = g;
    int nb_repos = start_tray_count(kFullBoard);
    for (;;) {
        SCOPED_TRACE(testing::Message() << "after " << nb_repos << " jumps");
        check_step(g, at_start, model, nb_repos);
        const int left = kMarbleTotal - nb_repos;
        EXPECT_EQ(outcome(left), left == 1 ? Outcome::won : Outcome::over);
        ASSERT_FALSE(HasFailure());
        const std::vector<Jump> jumps = possible_jumps(g);
        if (jumps.empty()) {
            break;
        }
        const Jump j = jumps.front();
        const Cell to{j.from.x + 2 * kDx[j.d], j.from.y + 2 * kDy[j.d]};
        ASSERT_TRUE(apply_jump(g, j.from.x, j.from.y, to.x, to.y));
        etat_plateau(g);
        model.play(model.jumps().front());
        ++nb_repos;
        ASSERT_LT(nb_repos, kMarbleTotal);
    }
    EXPECT_EQ(nb_mobiles(g), 0);
    EXPECT_GT(nb_repos, 0);
}

} // namespace
} // namespace core_test
