// SPDX-License-Identifier: GPL-3.0-or-later
#include "BoardModel.h"

#include <algorithm>
#include <array>
#include <bit>
#include <functional>
#include <unordered_set>

namespace testmodel {

namespace {

bool crossCell(int x, int y) {
    return x >= 1 && x <= 9 && y >= 1 && y <= 9 && ((x >= 4 && x <= 6) || (y >= 4 && y <= 6));
}

const std::array<GridCell, 46> &cells() {
    static const std::array<GridCell, 46> table = [] {
        std::array<GridCell, 46> t{};
        int n = 0;
        for (int y = 1; y <= 9; ++y) {
            for (int x = 1; x <= 9; ++x) {
                if (crossCell(x, y)) {
                    t[++n] = {x, y};
                }
            }
        }
        return t;
    }();
    return table;
}

} // namespace

GridCell cellOfHole(int n) {
    return n >= 1 && n <= 45 ? cells()[n] : GridCell{};
}

int holeAt(int x, int y) {
    for (int n = 1; n <= 45; ++n) {
        if (cells()[n].x == x && cells()[n].y == y) {
            return n;
        }
    }
    return 0;
}

bool isArmEnd(int hole) {
    const GridCell c = cellOfHole(hole);
    return c.x == 1 || c.x == 9 || c.y == 1 || c.y == 9;
}

BoardModel::BoardModel(int kind) {
    for (int n = 1; n <= 45; ++n) {
        if (kind != 1 || !isArmEnd(n)) {
            inPlay_ |= std::uint64_t{1} << n;
        }
    }
    filled_ = inPlay_ & ~(std::uint64_t{1} << holeAt(5, 5));
    constexpr int steps[4][2] = {{0, -1}, {1, 0}, {0, 1}, {-1, 0}};
    for (int n = 1; n <= 45; ++n) {
        const GridCell c = cellOfHole(n);
        for (const auto &s : steps) {
            const Jump j{n, holeAt(c.x + s[0], c.y + s[1]), holeAt(c.x + 2 * s[0], c.y + 2 * s[1])};
            if (inPlay(j.from) && j.over && inPlay(j.over) && j.to && inPlay(j.to)) {
                all_.push_back(j);
            }
        }
    }
}

int BoardModel::marbles() const {
    return std::popcount(filled_);
}

bool BoardModel::possible(const Jump &j) const {
    return filled(j.from) && filled(j.over) && !filled(j.to);
}

std::vector<Jump> BoardModel::jumps() const {
    std::vector<Jump> out;
    std::copy_if(all_.begin(), all_.end(), std::back_inserter(out),
                 [this](const Jump &j) { return possible(j); });
    return out;
}

bool BoardModel::movable(int hole) const {
    return std::any_of(all_.begin(), all_.end(),
                       [&](const Jump &j) { return j.from == hole && possible(j); });
}

int BoardModel::movableCount() const {
    int count = 0;
    for (int n = 1; n <= 45; ++n) {
        count += movable(n) ? 1 : 0;
    }
    return count;
}

bool BoardModel::canLand(int from, int to) const {
    return std::any_of(all_.begin(), all_.end(),
                       [&](const Jump &j) { return j.from == from && j.to == to && possible(j); });
}

void BoardModel::play(const Jump &j) {
    filled_ &= ~((std::uint64_t{1} << j.from) | (std::uint64_t{1} << j.over));
    filled_ |= std::uint64_t{1} << j.to;
}

std::vector<Jump> BoardModel::solveToOne() const {
    // Depth first, remembering the positions already known to lead nowhere.
    std::unordered_set<std::uint64_t> deadEnds;
    std::vector<Jump> path;
    BoardModel board = *this;
    std::function<bool()> search = [&]() -> bool {
        if (board.marbles() == 1) {
            return true;
        }
        if (deadEnds.count(board.filled_)) {
            return false;
        }
        for (const Jump &j : board.jumps()) {
            const std::uint64_t before = board.filled_;
            board.play(j);
            path.push_back(j);
            if (search()) {
                return true;
            }
            path.pop_back();
            board.filled_ = before;
        }
        deadEnds.insert(board.filled_);
        return false;
    };
    return search() ? path : std::vector<Jump>{};
}

} // namespace testmodel
