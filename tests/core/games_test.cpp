// Whole games through the public rules, checked at every step against the
// test's own model of the board: one bit per hole, jumps from the shape of
// the cross alone.
#include <bit>
#include <cstdint>
#include <unordered_set>
#include <vector>

#include <gtest/gtest.h>

#include "board_util.h"

namespace core_test {
namespace {

using Bits = std::uint64_t; // bit n: hole n holds a marble

Bits bit(Cell c) {
    return Bits{1} << hole_number(c.x, c.y);
}

struct Move {
    Cell from, over, to;
    int d;
};

class Model {
public:
    explicit Model(BoardKind kind) {
        for (int n = 1; n <= kHoleCount; ++n) {
            const Cell c = hole_cell(n);
            if (!in_play(kind, c.x, c.y)) {
                continue;
            }
            if (n != 23) {
                start_ |= bit(c);
            }
            for (int d = 1; d <= 4; ++d) {
                const Cell over{c.x + kDx[d], c.y + kDy[d]};
                const Cell to{c.x + 2 * kDx[d], c.y + 2 * kDy[d]};
                if (in_play(kind, over.x, over.y) && in_play(kind, to.x, to.y)) {
                    moves_.push_back({c, over, to, d});
                }
            }
        }
    }

    Bits start() const { return start_; }
    const std::vector<Move> &moves() const { return moves_; }

    static bool allowed(const Move &m, Bits b) {
        return (b & bit(m.from)) && (b & bit(m.over)) && !(b & bit(m.to));
    }
    static Bits play(const Move &m, Bits b) { return b ^ bit(m.from) ^ bit(m.over) ^ bit(m.to); }

    std::vector<Jump> jumps(Bits b) const {
        std::vector<Jump> out;
        for (const Move &m : moves_) {
            if (allowed(m, b)) {
                out.push_back({m.from, m.d});
            }
        }
        return out;
    }

private:
    Bits start_ = 0;
    std::vector<Move> moves_;
};

// Depth first down to one marble; positions found hopeless are remembered.
bool solve(const Model &model, Bits b, std::unordered_set<Bits> &hopeless,
           std::vector<Move> &path) {
    if (std::popcount(b) == 1) {
        return true;
    }
    if (hopeless.contains(b)) {
        return false;
    }
    for (const Move &m : model.moves()) {
        if (Model::allowed(m, b)) {
            path.push_back(m);
            if (solve(model, Model::play(m, b), hopeless, path)) {
                return true;
            }
            path.pop_back();
        }
    }
    hopeless.insert(b);
    return false;
}

// Everything the game relies on after a move, compared with the model.
void check_step(const Grille &g, const Grille &at_start, const Model &model, Bits b, int nb_repos) {
    int pickable = 0;
    for (int n = 1; n <= kHoleCount; ++n) {
        const Cell c = hole_cell(n);
        EXPECT_EQ(holds_marble(g, c.x, c.y), (b & bit(c)) != 0) << "hole " << n;
        pickable += can_pick(g, c.x, c.y) ? 1 : 0;
    }
    EXPECT_EQ(marbles_on_board(g), kMarbleTotal - nb_repos);
    EXPECT_EQ(std::popcount(b), kMarbleTotal - nb_repos);
    EXPECT_EQ(possible_jumps(g), model.jumps(b));
    EXPECT_EQ(nb_mobiles(g), pickable);
    for (std::size_t i = 0; i < g.values().size(); ++i) {
        EXPECT_EQ(g.values()[i] == saut_interdit, at_start.values()[i] == saut_interdit) << i;
    }
}

TEST(WholeGame, TraditionalBoardClearedToOneMarble) {
    const Model model(kTraditionalBoard);
    std::unordered_set<Bits> hopeless;
    std::vector<Move> path;
    ASSERT_TRUE(solve(model, model.start(), hopeless, path));
    ASSERT_EQ(path.size(), 31u);

    Grille g = start(kTraditionalBoard);
    const Grille at_start = g;
    Bits b = model.start();
    int nb_repos = start_tray_count(kTraditionalBoard);
    check_step(g, at_start, model, b, nb_repos);
    for (const Move &m : path) {
        SCOPED_TRACE(testing::Message() << "jump " << nb_repos - 11);
        ASSERT_TRUE(can_pick(g, m.from.x, m.from.y));
        ASSERT_TRUE(can_land(g, m.from.x, m.from.y, m.to.x, m.to.y));
        ASSERT_TRUE(apply_jump(g, m.from.x, m.from.y, m.to.x, m.to.y));
        etat_plateau(g);
        b = Model::play(m, b);
        ++nb_repos;
        check_step(g, at_start, model, b, nb_repos);
        ASSERT_FALSE(HasFailure());
    }
    EXPECT_EQ(nb_mobiles(g), 0);
    EXPECT_EQ(outcome(kMarbleTotal - nb_repos), Outcome::won);
}

TEST(WholeGame, FullBoardPlayedByTheFirstPossibleJump) {
    const Model model(kFullBoard);
    Grille g = start(kFullBoard);
    const Grille at_start = g;
    Bits b = model.start();
    int nb_repos = start_tray_count(kFullBoard);
    for (;;) {
        SCOPED_TRACE(testing::Message() << "after " << nb_repos << " jumps");
        check_step(g, at_start, model, b, nb_repos);
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
        b = Model::play({j.from, {j.from.x + kDx[j.d], j.from.y + kDy[j.d]}, to, j.d}, b);
        ++nb_repos;
        ASSERT_LT(nb_repos, kMarbleTotal);
    }
    EXPECT_EQ(nb_mobiles(g), 0);
    EXPECT_GT(nb_repos, 0);
}

} // namespace
} // namespace core_test
