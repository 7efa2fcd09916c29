// SPDX-License-Identifier: GPL-3.0-or-later
// Small helpers shared by every picture: a floating-point colour, the usual
// easing functions, and the conversion to Qt's 8-bit pixels. Pictures are
// computed in floats so that shading and blending don't band before the
// final reduction to a palette.
#pragma once

#include <QImage>

#include <algorithm>
#include <cmath>
#include <vector>

namespace drawpictures {

struct Rgb {
    float r = 0;
    float g = 0;
    float b = 0;
};

constexpr Rgb operator+(Rgb a, Rgb b) {
    return {a.r + b.r, a.g + b.g, a.b + b.b};
}
constexpr Rgb operator-(Rgb a, Rgb b) {
    return {a.r - b.r, a.g - b.g, a.b - b.b};
}
constexpr Rgb operator*(Rgb a, float k) {
    return {a.r * k, a.g * k, a.b * k};
}
constexpr Rgb operator*(Rgb a, Rgb b) {
    return {a.r * b.r, a.g * b.g, a.b * b.b};
}

constexpr Rgb mix(Rgb a, Rgb b, float t) {
    return a + (b - a) * t;
}

// Colours are written as 0..255 triples, as a painter picks them.
constexpr Rgb rgb(int r, int g, int b) {
    return {r / 255.0f, g / 255.0f, b / 255.0f};
}

inline float clamp01(float v) {
    return std::clamp(v, 0.0f, 1.0f);
}

inline float smoothstep(float e0, float e1, float x) {
    const float t = clamp01((x - e0) / (e1 - e0));
    return t * t * (3 - 2 * t);
}

inline float luminance(Rgb c) {
    return 0.299f * c.r + 0.587f * c.g + 0.114f * c.b;
}

inline int toByte(float v) {
    return std::clamp(int(std::lround(v * 255.0f)), 0, 255);
}

inline QRgb toQRgb(Rgb c, float alpha = 1.0f) {
    return qRgba(toByte(c.r), toByte(c.g), toByte(c.b), toByte(alpha));
}

inline Rgb fromQRgb(QRgb c) {
    return rgb(qRed(c), qGreen(c), qBlue(c));
}

// A colour rounded to what the final picture can hold, so that a colour
// shared by two pictures (a sprite's corners and the board under them) is
// exactly the same in both.
inline Rgb snapped(Rgb c) {
    return fromQRgb(toQRgb(c));
}

} // namespace drawpictures
