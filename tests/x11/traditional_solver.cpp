// SPDX-License-Identifier: GPL-3.0-or-later
// Finds a way to clear the traditional 33-hole board down to one marble, for
// the end-to-end test to play with the mouse. The tests' model of the board
// finds it; it shares no rule code with the game, so a fault in the game's
// rules shows up as a refused click.
//
//   traditional_solver            one line per jump: "from over to fx fy ox oy
//                                 tx ty", the hole numbers of the marble, the
//                                 marble it jumps and the landing, then their
//                                 centres in the main window's client area
//   traditional_solver --centre N...   the client centre "x y" of each hole
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "BoardModel.h"
#include "geometry.h"

namespace {

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

    const testmodel::BoardModel board(1);
    if (board.marbles() != 32) {
        std::fprintf(stderr, "traditional_solver: the board should start with 32 marbles\n");
        return 1;
    }
    const std::vector<testmodel::Jump> path = board.solveToOne();
    if (path.empty()) {
        std::fprintf(stderr, "traditional_solver: no way down to one marble\n");
        return 1;
    }
    for (const testmodel::Jump &j : path) {
        const Point f = centre(j.from), o = centre(j.over), t = centre(j.to);
        std::printf("%d %d %d %d %d %d %d %d %d\n", j.from, j.over, j.to, f.x, f.y, o.x, o.y, t.x,
                    t.y);
    }
    return 0;
}
