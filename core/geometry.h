// SPDX-License-Identifier: GPL-3.0-or-later
// Fixed geometry of the two boards: the 9 x 9 grid, the 45 holes and their
// numbers, the arm ends the traditional board lacks, and where the hole and
// tray pictures and the labels sit in the main window. Everything is 1-based, as the player
// counts.
#pragma once

#include <array>

namespace veltrano {

inline constexpr int kGridSize = 9;
inline constexpr int kHoleCount = 45;
inline constexpr int kTrayCount = 44;
inline constexpr int kPictureSize = 27; // hole and tray boxes are 27 x 27

struct Cell {
    int x = 0; // column, 1..9 left to right
    int y = 0; // row, 1..9 top to bottom
    friend constexpr bool operator==(Cell, Cell) = default;
};

struct Box {
    int left = 0;
    int top = 0;
    int width = kPictureSize;
    int height = kPictureSize;
    friend constexpr bool operator==(Box, Box) = default;
};

// The main window's eleven labels, each over a button painted in the board,
// by the names the window gives them: the marble counter, the commands and
// the chrono.
struct Label {
    const char *name;
    Box box;
};
inline constexpr std::array<Label, 11> kLabels = {{
    {"billes_repos", {478, 40, 137, 44}},
    {"charger", {526, 126, 91, 29}},
    {"sauver", {526, 192, 91, 29}},
    {"scores", {526, 266, 91, 29}},
    {"etat_jeux", {480, 336, 133, 43}},
    {"chrono", {42, 408, 95, 27}},
    {"texture_plateau", {150, 410, 87, 23}},
    {"texture_bille", {252, 410, 83, 23}},
    {"infos", {348, 410, 85, 23}},
    {"aide", {448, 410, 85, 23}},
    {"quitter", {544, 410, 61, 23}},
}};

// Picture positions come from one lookup table per axis; the column pitch is
// uneven, so no formula reproduces them. Index 0 is unused.
inline constexpr std::array<int, 10> kHoleLeft = {0, 180, 216, 252, 289, 326, 361, 398, 435, 471};
inline constexpr std::array<int, 10> kHoleTop = {0, 46, 84, 122, 160, 198, 236, 274, 312, 350};
inline constexpr std::array<int, 6> kTrayLeft = {0, 23, 56, 88, 121, 154};
inline constexpr std::array<int, 11> kTrayTop = {0, 29, 68, 105, 143, 180, 218, 256, 294, 333, 369};

constexpr bool in_grid(int x, int y) {
    return x >= 1 && x <= kGridSize && y >= 1 && y <= kGridSize;
}

// A cell of the cross: the middle three columns or the middle three rows.
constexpr bool is_hole(int x, int y) {
    return in_grid(x, y) && ((x >= 4 && x <= 6) || (y >= 4 && y <= 6));
}

// The twelve holes of the 45-hole cross that the 33-hole board does not use.
constexpr bool is_arm_end(int x, int y) {
    const bool middle_x = x >= 4 && x <= 6;
    const bool middle_y = y >= 4 && y <= 6;
    return ((x == 1 || x == 9) && middle_y) || ((y == 1 || y == 9) && middle_x);
}

// Hole number 1..45 of a cell, in reading order; 0 for a cell that is no hole.
int hole_number(int x, int y);

// Grid cell of hole n (1..45); {0, 0} for any other n.
Cell hole_cell(int n);

// Picture box of hole n (1..45) in the main window's client area.
Box hole_box(int n);

// Tray column (1..5) and row (1..10) of tray place i (1..44); {0, 0} otherwise.
Cell tray_cell(int place);

// Picture box of tray place i (1..44).
Box tray_box(int place);

} // namespace veltrano
