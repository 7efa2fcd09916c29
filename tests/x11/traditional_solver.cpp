// Finds a way to clear the traditional 33-hole board down to one marble, for
// the end-to-end test to play with the mouse. The search knows only the shape
// of the cross and what a jump is; it shares no rule code with the game, so a
// fault in the game's rules shows up as a refused click.
//
//   traditional_solver            one line per jump: "from over to fx fy ox oy
//                                 tx ty", the hole numbers of the marble, the
//                                 marble it jumps and the landing, then their
//                                 centres in the main window's client area
//   traditional_solver --centre N...   the client centre "x y" of each hole
#include <bit>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unordered_set>
#include <vector>

#include "geometry.h"

namespace {

using Board = std::uint64_t; // bit n set: hole n holds a marble

struct Jump {
    int from, over, to;
};

bool in_play(int x, int y) {
    return veltrano::is_hole(x, y) && !veltrano::is_arm_end(x, y);
}

Board bit(int hole) {
    return Board{1} << hole;
}

std::vector<Jump> all_jumps() {
    std::vector<Jump> jumps;
    constexpr int dx[] = {0, 1, 0, -1};
    constexpr int dy[] = {-1, 0, 1, 0};
    for (int n = 1; n <= veltrano::kHoleCount; ++n) {
        const veltrano::Cell c = veltrano::hole_cell(n);
        if (!in_play(c.x, c.y)) {
            continue;
        }
        for (int d = 0; d < 4; ++d) {
            const int ox = c.x + dx[d], oy = c.y + dy[d];
            const int tx = c.x + 2 * dx[d], ty = c.y + 2 * dy[d];
            if (in_play(ox, oy) && in_play(tx, ty)) {
                jumps.push_back({n, veltrano::hole_number(ox, oy), veltrano::hole_number(tx, ty)});
            }
        }
    }
    return jumps;
}

class Solver {
public:
    explicit Solver(std::vector<Jump> jumps) : jumps_(std::move(jumps)) {}

    // Depth first; a position once found hopeless is never searched again,
    // which keeps the whole search well under a second.
    bool solve(Board b) {
        if (std::popcount(b) == 1) {
            return true;
        }
        if (hopeless_.contains(b)) {
            return false;
        }
        for (const Jump &j : jumps_) {
            if ((b & bit(j.from)) && (b & bit(j.over)) && !(b & bit(j.to))) {
                path_.push_back(j);
                if (solve(b ^ bit(j.from) ^ bit(j.over) ^ bit(j.to))) {
                    return true;
                }
                path_.pop_back();
            }
        }
        hopeless_.insert(b);
        return false;
    }

    const std::vector<Jump> &path() const { return path_; }

private:
    std::vector<Jump> jumps_;
    std::vector<Jump> path_;
    std::unordered_set<Board> hopeless_;
};

struct Point {
    int x, y;
};

Point centre(int hole) {
    const veltrano::Box b = veltrano::hole_box(hole);
    return {b.left + b.width / 2, b.top + b.height / 2};
}

} // namespace

int main(int argc, char *argv[]) {
    if (argc > 1 && std::string(argv[1]) == "--centre") {
        for (int i = 2; i < argc; ++i) {
            const Point p = centre(std::atoi(argv[i]));
            std::printf("%d %d\n", p.x, p.y);
        }
        return 0;
    }

    Board start = 0;
    for (int n = 1; n <= veltrano::kHoleCount; ++n) {
        const veltrano::Cell c = veltrano::hole_cell(n);
        if (in_play(c.x, c.y) && n != veltrano::hole_number(5, 5)) {
            start |= bit(n);
        }
    }
    if (std::popcount(start) != 32) {
        std::fprintf(stderr, "traditional_solver: the board should start with 32 marbles\n");
        return 1;
    }
    Solver solver(all_jumps());
    if (!solver.solve(start)) {
        std::fprintf(stderr, "traditional_solver: no way down to one marble\n");
        return 1;
    }
    for (const Jump &j : solver.path()) {
        const Point f = centre(j.from), o = centre(j.over), t = centre(j.to);
        std::printf("%d %d %d %d %d %d %d %d %d\n", j.from, j.over, j.to, f.x, f.y, o.x, o.y, t.x,
                    t.y);
    }
    return 0;
}
