// SPDX-License-Identifier: GPL-3.0-or-later
// Whether a board model and a tray count together make a position of one of
// the two boards. A saved game may come from a damaged or crafted file, and
// the rules trust the invariants this checks.
#pragma once

#include "grille.h"
#include "rules.h"

namespace veltrano {

enum class PositionFault {
    none,
    tray_count,   // the count of marbles in the tray is outside 0..44
    value,        // a value outside -1..2
    not_a_hole,   // a cell off the cross with a value other than saut_interdit
    board,        // the forbidden jumps match neither board, or a hole is half empty
    marble_count, // marbles on the board other than 44 minus the tray, or none at all
};

// Checks everything the game relies on, and nothing it recomputes: the
// saut_bloque and saut_possible values of a marble are taken as "a marble"
// either way, since loading recounts them.
//
// A position is accepted when the forbidden values are exactly those of one
// board (on the traditional board the arm ends hold trou_vide in all four
// directions, the jumps onto them are forbidden), every hole in play is
// either empty (trou_vide in each open direction) or holds one marble
// (saut_bloque or saut_possible in each), and the marbles on the board
// number 44 minus the tray count, at least one and no more than that board
// starts with. `kind` receives the board found.
PositionFault check_position(const Grille &g, int tray_count, BoardKind *kind = nullptr);

} // namespace veltrano
