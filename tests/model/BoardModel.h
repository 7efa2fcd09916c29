// SPDX-License-Identifier: GPL-3.0-or-later
// The tests' own model of the two boards, deliberately naive and kept apart
// from the game's rules (it knows only the shape of the cross and what a
// jump is): the rules' tests and the window tests play it side by side with
// the game and compare, and it finds the moves of a whole game for them and
// for the end-to-end test.
#pragma once

#include <cstdint>
#include <vector>

namespace testmodel {

struct Jump {
    int from = 0; // hole numbers 1..45
    int over = 0;
    int to = 0;
    friend bool operator==(const Jump &, const Jump &) = default;
};

struct GridCell {
    int x = 0;
    int y = 0;
};

// Column and row of hole n, counted in reading order over the cross.
GridCell cellOfHole(int n);
int holeAt(int x, int y); // 0 when (x, y) is no hole
bool isArmEnd(int hole);  // the twelve holes the 33-hole board leaves out

class BoardModel {
public:
    // 1 the 33-hole board, anything else the 45-hole one.
    explicit BoardModel(int kind);

    bool inPlay(int hole) const { return (inPlay_ >> hole) & 1u; }
    bool filled(int hole) const { return (filled_ >> hole) & 1u; }
    int marbles() const;
    // Marbles in the tray, counted against 44 on both boards.
    int tray() const { return 44 - marbles(); }

    std::vector<Jump> jumps() const; // the jumps possible now, by start hole
    bool movable(int hole) const;
    int movableCount() const;
    bool canLand(int from, int to) const;
    void play(const Jump &jump);

    // Jumps from the start position down to a single marble, or nothing.
    std::vector<Jump> solveToOne() const;

private:
    bool possible(const Jump &jump) const;

    std::uint64_t inPlay_ = 0;
    std::uint64_t filled_ = 0;
    std::vector<Jump> all_; // every jump whose three holes are in play
};

} // namespace testmodel
