// SPDX-License-Identifier: GPL-3.0-or-later
// Where the painted parts of the board lie. The hole and tray positions come
// from the game's own geometry; the buttons are placed around the text labels
// that the main window lays over the picture, so each label sits on its oval.
#pragma once

#include "raster.h"

#include <QRectF>

#include <vector>

namespace drawpictures {

inline constexpr int kBoardWidth = 640;
inline constexpr int kBoardHeight = 462;

// A marble sprite is 21 x 22 and drawn at the top-left of its 27 x 27 box;
// its ball is centred here, relative to the box.
inline constexpr float kBallCentreX = 10.5f;
inline constexpr float kBallCentreY = 11.0f;

// Centre of the 45 holes, and of the carved circle around them.
inline constexpr float kCrossCentreX = 336.0f;
inline constexpr float kCrossCentreY = 209.0f;

struct Point {
    float x = 0;
    float y = 0;
};

// Centres of the balls over the 45 holes, then over the 44 tray places.
std::vector<Point> holeCentres();
std::vector<Point> trayCentres();

enum class Finish {
    Blue,   // raised, lacquered blue: white text
    Green,  // raised, lacquered green: black text
    Red,    // raised, lacquered red: white text
    Wood,   // raised, pale wood: black text
    Window, // sunken, ivory floor: black text (counter and chrono)
};

struct Oval {
    QRectF label; // the label that sits on it, in window pixels
    float cx = 0, cy = 0;
    float a = 0, b = 0; // half width and half height
    float power = 2.6f; // 2 is an ellipse; more is squarer
    Finish finish = Finish::Wood;
};

const std::vector<Oval> &ovals();

// Signed distance to an oval's outline, negative inside; exact for an
// ellipse, a close estimate for the squarer ones.
float ovalDistance(const Oval &o, float x, float y);

} // namespace drawpictures
