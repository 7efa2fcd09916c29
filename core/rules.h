// SPDX-License-Identifier: GPL-3.0-or-later
// The rules of the game, stated on the board model alone. Nothing here knows
// about pictures, cursors or the chrono.
#pragma once

#include "grille.h"

namespace veltrano {

// 1 is the traditional 33-hole cross; every other value plays the 45-hole one.
using BoardKind = int;
inline constexpr BoardKind kTraditionalBoard = 1;
inline constexpr BoardKind kFullBoard = 2;

// Marbles counted on both boards against the same 44: a traditional game
// starts with 12 marbles already in the tray.
inline constexpr int kMarbleTotal = 44;
int start_tray_count(BoardKind kind);

// What a cell holds, read from its four values.
bool is_empty_hole(const Grille &g, int x, int y); // one value is trou_vide
bool is_no_hole(const Grille &g, int x, int y);    // all four saut_interdit
bool holds_marble(const Grille &g, int x, int y);  // anything else, inside the grid

// The start position of a board: every hole filled but the centre; on the
// traditional board the arm ends empty and the jumps onto them forbidden.
void reset_plateau(Grille &g, BoardKind kind);

// Marks every jump of every marble possible or blocked from what the cells
// hold. Forbidden values and empty holes are left as they are.
void etat_plateau(Grille &g);

// Marbles among the 45 holes that have at least one possible jump.
int nb_mobiles(const Grille &g);

// Whether the marble in (x, y) may be picked up: it has a possible jump.
bool can_pick(const Grille &g, int x, int y);

// Whether a marble held at (xp, yp) may land on (x, y).
bool can_land(const Grille &g, int xp, int yp, int x, int y);

// Makes the jump from (xp, yp) to (x, y): the landing fills, the start and
// the jumped hole empty. Returns false, changing nothing, when the landing
// test refuses it. The caller recomputes the possible jumps afterwards.
bool apply_jump(Grille &g, int xp, int yp, int x, int y);

enum class Outcome { won, over };

// Outcome of a finished game from the marbles left on the board: won with
// exactly one, wherever it stands.
Outcome outcome(int marbles_left);

} // namespace veltrano
