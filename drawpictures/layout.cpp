// SPDX-License-Identifier: GPL-3.0-or-later
#include "layout.h"

#include "geometry.h"

#include <cmath>

namespace drawpictures {

std::vector<Point> holeCentres() {
    std::vector<Point> centres;
    for (int n = 1; n <= veltrano::kHoleCount; ++n) {
        const veltrano::Box box = veltrano::hole_box(n);
        centres.push_back({float(box.left) + kBallCentreX, float(box.top) + kBallCentreY});
    }
    return centres;
}

std::vector<Point> trayCentres() {
    std::vector<Point> centres;
    for (int i = 1; i <= veltrano::kTrayCount; ++i) {
        const veltrano::Box box = veltrano::tray_box(i);
        centres.push_back({float(box.left) + kBallCentreX, float(box.top) + kBallCentreY});
    }
    return centres;
}

namespace {

// An oval around one of the window's labels (in their order), with margins;
// bottom-row ovals are tighter because their labels almost touch.
Oval around(int label, float padX, float padY, Finish finish, float power = 2.6f) {
    const veltrano::Box &box = veltrano::kLabels[std::size_t(label)].box;
    Oval o;
    o.label = QRectF(box.left, box.top, box.width, box.height);
    o.cx = float(box.left) + float(box.width) / 2;
    o.cy = float(box.top) + float(box.height) / 2;
    o.a = float(box.width) / 2 + padX;
    o.b = float(box.height) / 2 + padY;
    o.power = power;
    o.finish = finish;
    return o;
}

} // namespace

const std::vector<Oval> &ovals() {
    static const std::vector<Oval> all = {
        around(0, 10, 7, Finish::Window),       // marble counter
        around(1, 9, 5, Finish::Blue),          // Charger
        around(2, 9, 5, Finish::Blue),          // Sauver
        around(3, 9, 5, Finish::Blue),          // Scores
        around(4, 9, 5, Finish::Green),         // Nouvelle Partie
        around(5, 6, 4, Finish::Window, 4),     // chrono groove
        around(6, 3.5f, 6, Finish::Wood, 3.2f), // Plateau
        around(7, 4, 6, Finish::Wood, 3.2f),    // Billes
        around(8, 4, 6, Finish::Wood, 3.2f),    // A propos
        around(9, 3, 6, Finish::Wood, 3.2f),    // Aide
        around(10, 5, 6, Finish::Red, 3.2f),    // Quitter
    };
    return all;
}

float ovalDistance(const Oval &o, float x, float y) {
    // Distance estimate of a level set: (s - 1) / |grad s|, with s the
    // oval's "radius" that is 1 on the outline.
    const float u = std::abs(x - o.cx) / o.a;
    const float v = std::abs(y - o.cy) / o.b;
    const float p = o.power;
    const float up = std::pow(u, p);
    const float vp = std::pow(v, p);
    const float sum = up + vp;
    if (sum <= 1e-12f) {
        return -std::min(o.a, o.b);
    }
    const float s = std::pow(sum, 1 / p);
    // ds/dx = s^(1-p) u^(p-1) / a, same for y.
    const float k = std::pow(s, 1 - p);
    const float gx = k * (u > 0 ? std::pow(u, p - 1) : 0) / o.a;
    const float gy = k * (v > 0 ? std::pow(v, p - 1) : 0) / o.b;
    const float g = std::sqrt(gx * gx + gy * gy);
    return (s - 1) / std::max(g, 1e-6f);
}

} // namespace drawpictures
