// SPDX-License-Identifier: GPL-3.0-or-later
// The four board pictures: one wooden board in four woods, with the holes of
// the cross in a carved circle, the tray of holes at the left and the painted
// buttons under the main window's labels.
#pragma once

#include "raster.h"

#include <QImage>

namespace drawpictures {

inline constexpr int kBoardSets = 4;

// The flat colour of the collar around every hole of board `set` (1..4). The
// marble sprites of that set carry it in their corners, so a marble dropped
// in any hole shows no seam.
Rgb collarColour(int set);

// Board `set` in true colour, 640 x 462 times `scale` (1 for the game's
// pictures, 2 for screens with two device pixels to a pixel); every collar
// pixel holds exactly collarColour(set).
QImage drawBoard(int set, int scale = 1);

} // namespace drawpictures
