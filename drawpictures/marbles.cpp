// SPDX-License-Identifier: GPL-3.0-or-later
#include "marbles.h"

#include "board.h"
#include "layout.h"
#include "noise.h"
#include "raster.h"

#include <cmath>

namespace drawpictures {
namespace {

struct Surface {
    Rgb colour;
    float shine = 0.9f;   // strength of the sharp highlight
    float sharpness = 70; // its exponent: glass is sharp, stone is soft
    float glow = 0;       // light scattered through glass, opposite the highlight
};

// Stone and wood patterns are drawn on the sphere itself, so they wrap round
// the ball instead of lying flat over it.
Surface surfaceAt(int look, float x, float y, float z) {
    Surface s;
    switch (look) {
    case 1:
        s.colour = rgb(204, 22, 26);
        s.glow = 0.55f;
        break;
    case 2:
        s.colour = rgb(28, 64, 206);
        s.glow = 0.55f;
        break;
    case 3:
        s.colour = rgb(22, 150, 48);
        s.glow = 0.55f;
        break;
    case 4: {
        // Amber wood: rings round an axis through the ball, a little warped.
        const float warp = 0.35f * fbm3(x * 1.3f, y * 1.3f, z * 1.3f, 3, 401);
        const float r = std::sqrt((x + 0.9f) * (x + 0.9f) + (z - 1.4f) * (z - 1.4f)) * 5.5f + warp;
        const float f = r - std::floor(r);
        const float late = std::pow(smoothstep(0.3f, 0.95f, f), 1.5f);
        s.colour = mix(rgb(232, 150, 42), rgb(150, 72, 18), late * 0.9f);
        s.colour = s.colour * (1.0f + 0.06f * noise3(x * 9, y * 2, z * 9, 403));
        s.shine = 0.65f;
        s.sharpness = 45;
        break;
    }
    case 5: {
        // Grey marble stone with dark, branching veins.
        const float t = fbm3(x * 1.6f, y * 1.6f, z * 1.6f, 4, 501);
        const float vein = std::abs(std::sin((x * 2.2f + y * 1.3f + t * 3.2f) * 2.4f));
        const float fine = std::abs(std::sin((x * -1.4f + y * 2.6f + t * 4.0f) * 4.0f));
        Rgb c = mix(rgb(196, 196, 192), rgb(150, 150, 150), clamp01(0.5f + 0.5f * t));
        c = mix(rgb(58, 58, 64), c, smoothstep(0.02f, 0.3f, vein));
        c = mix(rgb(96, 96, 100), c, 0.3f + 0.7f * smoothstep(0.0f, 0.16f, fine));
        s.colour = c;
        s.shine = 0.45f;
        s.sharpness = 35;
        break;
    }
    case 6: {
        // Green-yellow mottled stone: blotches of two greens and a yellow.
        const float a = fbm3(x * 2.2f, y * 2.2f, z * 2.2f, 4, 601);
        const float b = fbm3(x * 4.5f + 7, y * 4.5f, z * 4.5f, 3, 607);
        Rgb c = mix(rgb(88, 132, 38), rgb(206, 196, 66), smoothstep(-0.25f, 0.35f, a));
        c = mix(c, rgb(52, 96, 30), smoothstep(0.3f, 0.6f, b) * 0.7f);
        s.colour = c;
        s.shine = 0.45f;
        s.sharpness = 35;
        break;
    }
    default: {
        // Brown-red granite: a warm ground with dark and light grains.
        const float t = fbm3(x * 2.0f, y * 2.0f, z * 2.0f, 3, 701);
        Rgb c = mix(rgb(150, 58, 38), rgb(118, 44, 30), clamp01(0.5f + 0.6f * t));
        const float dark = noise3(x * 14, y * 14, z * 14, 703);
        const float pale = noise3(x * 12 + 5, y * 12, z * 12, 709);
        c = mix(c, rgb(40, 18, 12), smoothstep(0.22f, 0.36f, dark));
        c = mix(c, rgb(236, 190, 160), smoothstep(0.3f, 0.42f, pale));
        s.colour = c;
        s.shine = 0.5f;
        s.sharpness = 40;
        break;
    }
    }
    return s;
}

// Colour of the ball at a point of its disc, (u, v) from -1 to 1, or nothing
// outside it. `ground` is what the ball's lower rim reflects.
bool shadeBall(int look, float u, float v, Rgb ground, Rgb *out) {
    const float rr = u * u + v * v;
    if (rr >= 1) {
        return false;
    }
    const float nz = std::sqrt(1 - rr);
    const float nx = u;
    const float ny = v;
    // Light from the upper left, viewer straight in front.
    const float lx = -0.48f, ly = -0.58f, lz = 0.66f;
    const Surface s = surfaceAt(look, nx, ny, nz);
    const float diffuse = std::max(0.0f, nx * lx + ny * ly + nz * lz);
    Rgb c = s.colour * (0.22f + 0.85f * diffuse);
    if (s.glow > 0) {
        // Glass lets light through: it gathers on the side away from the lamp.
        const float gd = std::hypot(u - 0.38f, v - 0.42f);
        const float glow = std::exp(-gd * gd * 5.0f);
        c = c + (s.colour * 0.9f + Rgb{0.25f, 0.25f, 0.25f}) * (s.glow * glow);
    }
    // Fresnel: the rim mirrors the board below it.
    const float fresnel = std::pow(1 - nz, 3.0f);
    c = mix(c, ground * 0.8f, fresnel * 0.45f * clamp01(0.5f + v));
    // Highlight: reflection of the lamp, and a soft sheen around it.
    const float hx = lx, hy = ly, hz = lz + 1;
    const float hl = std::sqrt(hx * hx + hy * hy + hz * hz);
    const float nh = std::max(0.0f, (nx * hx + ny * hy + nz * hz) / hl);
    c = c + Rgb{1, 1, 1} * (s.shine * std::pow(nh, s.sharpness));
    c = c + Rgb{1, 1, 1} * (0.12f * s.shine * std::pow(nh, 6.0f));
    *out = Rgb{clamp01(c.r), clamp01(c.g), clamp01(c.b)};
    return true;
}

constexpr int kSamples = 6; // per pixel and axis

// Supersamples pixel (x, y) of a ball centred on (cx, cy), in a picture of
// `scale` pixels per unit of the centre and radius: adds the shade of every
// sample that falls on the ball to *sum and returns how many did.
int samplePixel(int look, int x, int y, float cx, float cy, float radius, Rgb ground, Rgb *sum,
                int scale = 1) {
    int inside = 0;
    for (int sy = 0; sy < kSamples; ++sy) {
        for (int sx = 0; sx < kSamples; ++sx) {
            const float px = (float(x) + (float(sx) + 0.5f) / kSamples) / float(scale);
            const float py = (float(y) + (float(sy) + 0.5f) / kSamples) / float(scale);
            Rgb c;
            if (shadeBall(look, (px - cx) / radius, (py - cy) / radius, ground, &c)) {
                *sum = *sum + c;
                ++inside;
            }
        }
    }
    return inside;
}

} // namespace

QImage drawMarble(int set, int look, int scale) {
    const Rgb ground = collarColour(set);
    const float radius = 10.3f;
    QImage out(kSpriteWidth * scale, kSpriteHeight * scale, QImage::Format_RGB32);
    for (int y = 0; y < out.height(); ++y) {
        for (int x = 0; x < out.width(); ++x) {
            Rgb sum;
            const int inside =
                samplePixel(look, x, y, kBallCentreX, kBallCentreY, radius, ground, &sum, scale);
            const int all = kSamples * kSamples;
            // Pixels the ball doesn't touch are exactly the collar colour.
            const Rgb c =
                inside == 0 ? ground : (sum + ground * float(all - inside)) * (1.0f / float(all));
            reinterpret_cast<QRgb *>(out.scanLine(y))[x] = toQRgb(c);
        }
    }
    return out;
}

QImage drawBall(int look, int diameter) {
    QImage out(diameter, diameter, QImage::Format_ARGB32);
    const float radius = float(diameter) / 2;
    for (int y = 0; y < diameter; ++y) {
        for (int x = 0; x < diameter; ++x) {
            Rgb sum;
            const int inside =
                samplePixel(look, x, y, radius, radius, radius, rgb(200, 150, 100), &sum);
            const float cover = float(inside) / float(kSamples * kSamples);
            const Rgb c = inside ? sum * (1.0f / float(inside)) : Rgb{};
            reinterpret_cast<QRgb *>(out.scanLine(y))[x] = toQRgb(c, cover);
        }
    }
    return out;
}

} // namespace drawpictures
