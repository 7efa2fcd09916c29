// SPDX-License-Identifier: GPL-3.0-or-later
// Reduction of a true-colour picture to an 8-bit palette picture. The game's
// pictures are 256-colour bitmaps; Qt's own conversion uses a fixed palette
// that turns wood grain and shaded buttons into blotches, so the palette is
// chosen from the picture itself.
#pragma once

#include <QImage>
#include <QList>

namespace drawpictures {

struct Palettise {
    int colours = 256;
    // Colours that must come out exactly as given wherever the picture holds
    // them, such as the flat collar around each hole that the marble sprites'
    // corners have to match. They take palette entries of their own and are
    // never dithered.
    QList<QRgb> exact;
    // Floyd-Steinberg strength, 0 for none. Gradients over large areas want a
    // little; small sprites and icons look cleaner without.
    float dither = 0;
};

// Returns a Format_Indexed8 picture with at most `colours` entries. Pixels
// whose alpha is below one half become one fully transparent entry.
QImage palettise(const QImage &picture, const Palettise &how);

} // namespace drawpictures
