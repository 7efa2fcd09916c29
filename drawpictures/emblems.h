// SPDX-License-Identifier: GPL-3.0-or-later
// The smaller pictures: cursors, the program icon, the logo's frames, the
// splash and about backgrounds and the OK button's face.
#pragma once

#include <QImage>

namespace drawpictures {

enum class CursorKind {
    Hand,         // an open hand; hot spot 7, 23 at the pointing fingertip
    HandWithBall, // the hand holding a marble; hot spot 8, 25
    Forbidden,    // the hand and marble in a crossed-out circle; hot spot 9, 13
};

// 32 x 32 times `scale` (hot spots scale with it), only opaque black, opaque
// white and fully transparent pixels.
QImage drawCursor(CursorKind kind, int scale = 1);

// size x size (32 in the game): a red marble in a hole of the light wooden
// board, cut from that board's true-colour picture drawn at any scale.
QImage drawIcon(const QImage &board, int size);

// The sizes the desktop's icon theme is given.
inline constexpr int kIconThemeSizes[] = {16, 22, 24, 32, 48, 64, 128, 256};

inline constexpr int kLogoFrames = 13;
inline constexpr int kLogoSize = 100;

// Frame 1..13 of the logo (true colour): a blue marble in a ring of stars
// turning about the vertical axis.
QImage drawLogoFrame(int frame, int scale = 1);

// The plain blue that the logo and both backgrounds share, so the logo sits
// on the about box without a visible square.
QRgb fieldBlue();

// Each drawn in logical pixels through a painter scaled by `scale`.
QImage drawSplash(int scale = 1);   // 324 x 200
QImage drawAbout(int scale = 1);    // 324 x 215
QImage drawOkButton(int scale = 1); // 63 x 39

} // namespace drawpictures
