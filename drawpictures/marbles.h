// SPDX-License-Identifier: GPL-3.0-or-later
// The 28 marble sprites: seven looks of marble for each of the four boards.
#pragma once

#include <QImage>

namespace drawpictures {

inline constexpr int kMarbleLooks = 7;
inline constexpr int kSpriteWidth = 21;
inline constexpr int kSpriteHeight = 22;

// Marble of look `look` (1..7) for board `set` (1..4), true colour, opaque:
// the ball over the board's collar colour, which fills the corners exactly.
// `scale` pixels to each of the sprite's 21 x 22.
QImage drawMarble(int set, int look, int scale = 1);

// The same ball, drawn at any size on a transparent ground, for the icon.
QImage drawBall(int look, int diameter);

} // namespace drawpictures
