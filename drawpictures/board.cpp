// SPDX-License-Identifier: GPL-3.0-or-later
#include "board.h"

#include "layout.h"
#include "noise.h"

#include <array>
#include <cmath>
#include <vector>

namespace drawpictures {
namespace {

// Hole shape. The cavity and its chamfer stay inside the ball (radius about
// 10.3) so a marble hides them; the collar is flat far enough out to lie
// under the whole sprite rectangle and its edge, then melts into the grain.
constexpr float kCavityRadius = 8.2f;
constexpr float kChamferWidth = 1.3f;
constexpr float kCollarFlat = 16.2f;
constexpr float kCollarBlend = 20.0f;
constexpr float kCavityDepth = 7.0f;

// The carved circle around the cross: its floor reaches past the collars of
// the corner holes, which lie about 156 px from the centre.
constexpr float kCircleRadius = 178.0f;
constexpr float kCircleWall = 5.0f;
constexpr float kCircleDepth = 5.0f;

// Light from the upper left, as players expect on a screen.
constexpr float kLightX = -1.0f;
constexpr float kLightY = -1.2f;
constexpr float kLightZ = 1.6f;

struct Wood {
    Rgb early; // the light, soft wood of each growth ring
    Rgb late;  // the dark, dense band at its end
    Rgb pale;  // what the wooden buttons are stained towards
};

Wood wood(int set) {
    switch (set) {
    case 2: // olive green
        return {rgb(150, 156, 86), rgb(96, 104, 46), rgb(214, 218, 160)};
    case 3: // grey
        return {rgb(178, 176, 170), rgb(116, 114, 110), rgb(226, 224, 218)};
    case 4: // reddish brown
        return {rgb(170, 92, 62), rgb(112, 50, 32), rgb(226, 178, 150)};
    default: // light brown
        return {rgb(228, 180, 116), rgb(166, 108, 56), rgb(242, 214, 166)};
    }
}

// Grain of a flat-sawn plank: growth rings of a log lying slightly tilted
// under the surface show as long lines that close into arches, bent by a
// slow warp. Returns how far into the dark band of a ring the point is
// (0..1) and a small brightness variation for fibres and pores.
struct Grain {
    float late = 0;
    float fibre = 0;
};

Grain grainAt(float x, float y) {
    const std::uint32_t seed = 1723;
    const float axis = 250.0f + 70.0f * fbm2(x * 0.0021f, 3.1f, 3, seed);
    const float depth = 55.0f + 0.32f * x + 25.0f * fbm2(x * 0.003f, y * 0.003f, 2, seed + 5);
    const float dy = y - axis;
    const float d = std::sqrt(dy * dy + depth * depth);
    // Years of fast and slow growth: rings of uneven width...
    float ring = d * 0.1f + 1.6f * fbm2(d * 0.018f, 0.5f, 2, seed + 3);
    ring += 0.45f * fbm2(x * 0.004f, y * 0.011f, 3, seed + 11);
    const float f = ring - std::floor(ring);
    // ...and of uneven darkness.
    const float strength = 0.35f + 0.65f * hash01(int(std::floor(ring)), seed + 7);
    // Earlywood darkens slowly, latewood ends sharply at the next ring.
    float late = std::pow(smoothstep(0.3f, 0.93f, f), 1.6f);
    late *= (1.0f - smoothstep(0.93f, 1.0f, f)) * strength;
    Grain g;
    g.late = late;
    const float streak = noise2(x * 0.06f, y * 0.9f, seed + 17) * 0.6f +
                         noise2(x * 0.015f, y * 0.35f, seed + 19) * 0.4f;
    const float pores = std::max(0.0f, noise2(x * 0.22f, y * 1.7f, seed + 23) - 0.45f);
    const float cloud = fbm2(x * 0.006f, y * 0.008f, 3, seed + 29);
    g.fibre = 0.045f * streak - 0.25f * pores + 0.05f * cloud;
    return g;
}

Rgb woodColour(const Wood &w, float x, float y) {
    const Grain g = grainAt(x, y);
    return mix(w.early, w.late, g.late * 0.7f) * (1.0f + g.fibre);
}

// One value per pixel of the picture, whatever its scale.
struct Field {
    Field(int width, int height) : W(width), H(height), v(std::size_t(width) * height, 0.0f) {}
    int W;
    int H;
    std::vector<float> v;
    float &at(int x, int y) { return v[std::size_t(y) * W + x]; }
    float get(int x, int y) const {
        x = std::clamp(x, 0, W - 1);
        y = std::clamp(y, 0, H - 1);
        return v[std::size_t(y) * W + x];
    }
    float sample(float x, float y) const {
        const int x0 = int(std::floor(x));
        const int y0 = int(std::floor(y));
        const float tx = x - float(x0);
        const float ty = y - float(y0);
        const float a = get(x0, y0) + (get(x0 + 1, y0) - get(x0, y0)) * tx;
        const float b = get(x0, y0 + 1) + (get(x0 + 1, y0 + 1) - get(x0, y0 + 1)) * tx;
        return a + (b - a) * ty;
    }
};

// A V-shaped engraved line of the given half width along a distance field.
float vGroove(float distanceFromLine, float halfWidth, float depth) {
    return -depth * std::max(0.0f, 1.0f - std::abs(distanceFromLine) / halfWidth);
}

// Signed distance to a rectangle with rounded corners, negative inside.
float roundedRectDistance(float x, float y, float left, float top, float right, float bottom,
                          float radius) {
    const float cx = (left + right) / 2;
    const float cy = (top + bottom) / 2;
    const float hx = (right - left) / 2 - radius;
    const float hy = (bottom - top) / 2 - radius;
    const float qx = std::abs(x - cx) - hx;
    const float qy = std::abs(y - cy) - hy;
    const float outside = std::hypot(std::max(qx, 0.0f), std::max(qy, 0.0f));
    return outside + std::min(std::max(qx, qy), 0.0f) - radius;
}

Rgb paintOf(Finish f) {
    switch (f) {
    case Finish::Blue:
        return rgb(34, 72, 168);
    case Finish::Green:
        return rgb(112, 196, 82);
    case Finish::Red:
        return rgb(180, 32, 28);
    case Finish::Window:
        return rgb(238, 226, 192);
    case Finish::Wood:
        break;
    }
    return rgb(0, 0, 0);
}

} // namespace

Rgb collarColour(int set) {
    // The mean of the grain, so a collar reads as the same wood, sanded smooth.
    const Wood w = wood(set);
    Rgb sum;
    int n = 0;
    for (int y = 4; y < kBoardHeight; y += 9) {
        for (int x = 4; x < kBoardWidth; x += 9) {
            sum = sum + woodColour(w, float(x), float(y));
            ++n;
        }
    }
    return snapped(sum * (1.0f / float(n)));
}

QImage drawBoard(int set, int scale) {
    // Every shape is placed in the window's logical pixels; the picture has
    // `scale` pixels for each of them, and each pixel is shaded at its centre.
    const int W = kBoardWidth * scale;
    const int H = kBoardHeight * scale;
    const float k = float(scale);
    const Wood w = wood(set);
    const Rgb collar = collarColour(set);
    const std::vector<Point> holes = [] {
        auto all = holeCentres();
        const auto tray = trayCentres();
        all.insert(all.end(), tray.begin(), tray.end());
        return all;
    }();
    const auto &buttons = ovals();

    // Distance from every pixel centre to the nearest hole centre.
    Field nearest(W, H);
    std::fill(nearest.v.begin(), nearest.v.end(), 1e9f);
    for (const Point &p : holes) {
        const int r = (int(kCollarBlend) + 2) * scale;
        for (int y = int(p.y * k) - r; y <= int(p.y * k) + r; ++y) {
            for (int x = int(p.x * k) - r; x <= int(p.x * k) + r; ++x) {
                if (x < 0 || y < 0 || x >= W || y >= H) {
                    continue;
                }
                const float d =
                    std::hypot((float(x) + 0.5f) / k - p.x, (float(y) + 0.5f) / k - p.y);
                nearest.at(x, y) = std::min(nearest.at(x, y), d);
            }
        }
    }

    // Height of the carved surface, in pixels, 0 being the board's face.
    Field height(W, H);
    std::vector<Rgb> material(std::size_t(W) * H);
    std::vector<float> gloss(std::size_t(W) * H, 0.0f);
    constexpr float LW = kBoardWidth;
    constexpr float LH = kBoardHeight;
    for (int y = 0; y < H; ++y) {
        for (int x = 0; x < W; ++x) {
            const float px = (float(x) + 0.5f) / k;
            const float py = (float(y) + 0.5f) / k;
            float h = 0;
            Rgb m = woodColour(w, px, py);

            // Rounded edges of the board, and an engraved line following them.
            const float edge = std::min({px, py, LW - px, LH - py});
            const float e = 1.0f - smoothstep(0.0f, 6.0f, edge);
            h -= 4.0f * e * e;
            const float frame = roundedRectDistance(px, py, 11, 11, LW - 11, LH - 11, 9);
            h += vGroove(frame, 1.6f, 1.4f);

            // The carved circle, with an engraved ring just outside it.
            const float dc = std::hypot(px - kCrossCentreX, py - kCrossCentreY);
            h -= kCircleDepth * (1.0f - smoothstep(kCircleRadius, kCircleRadius + kCircleWall, dc));
            h += vGroove(dc - (kCircleRadius + 9.0f), 1.5f, 1.2f);

            // Buttons: lacquered or wooden domes in a carved channel, or a
            // sunken window with an ivory floor.
            for (const Oval &o : buttons) {
                if (std::abs(px - o.cx) > o.a + 6 || std::abs(py - o.cy) > o.b + 6) {
                    continue;
                }
                const float sd = ovalDistance(o, px, py);
                if (sd > 6) {
                    continue;
                }
                const float cover = clamp01(0.5f - sd);
                if (o.finish == Finish::Window) {
                    h -= 3.0f * smoothstep(-3.5f, 0.5f, -sd);
                    h += vGroove(sd - 3.5f, 1.3f, 0.8f);
                    m = mix(m, mix(paintOf(o.finish), m, 0.12f), cover);
                } else {
                    h += 2.6f * smoothstep(-0.5f, 4.0f, -sd);
                    h -= 1.3f * (1.0f - smoothstep(0.0f, 2.4f, std::abs(sd - 0.8f)));
                    Rgb paint;
                    if (o.finish == Finish::Wood) {
                        paint = mix(m, w.pale, 0.7f);
                    } else {
                        // Lacquer: lighter towards the top, as a dome catches
                        // the light, without washing out the label.
                        const float t = clamp01((py - (o.cy - o.b)) / (2 * o.b));
                        paint = paintOf(o.finish) * (1.22f - 0.42f * t);
                        gloss[std::size_t(y) * W + x] = cover;
                    }
                    m = mix(m, paint, cover);
                }
            }

            // Holes: a drilled cup with a small chamfer at its lip.
            const float dh = nearest.at(x, y);
            if (dh < kCavityRadius) {
                const float q = dh / kCavityRadius;
                h -= kCavityDepth * std::sqrt(1.0f - q * q) + 0.8f;
            } else if (dh < kCavityRadius + kChamferWidth) {
                h -= 0.8f * (1.0f - (dh - kCavityRadius) / kChamferWidth);
            }
            height.at(x, y) = h;
            material[std::size_t(y) * W + x] = m;
        }
    }

    // Soft occlusion: how much lower a pixel lies than its surroundings.
    const int reach = 3 * scale;
    const float taps = float(2 * reach + 1);
    Field blurred = height;
    for (int pass = 0; pass < 2; ++pass) {
        Field tmp = blurred;
        for (int y = 0; y < H; ++y) {
            for (int x = 0; x < W; ++x) {
                float s = 0;
                for (int t = -reach; t <= reach; ++t) {
                    s += tmp.get(x + t, y);
                }
                blurred.at(x, y) = s / taps;
            }
        }
        tmp = blurred;
        for (int y = 0; y < H; ++y) {
            for (int x = 0; x < W; ++x) {
                float s = 0;
                for (int t = -reach; t <= reach; ++t) {
                    s += tmp.get(x, y + t);
                }
                blurred.at(x, y) = s / taps;
            }
        }
    }

    const float ll = std::sqrt(kLightX * kLightX + kLightY * kLightY + kLightZ * kLightZ);
    const float lx = kLightX / ll;
    const float ly = kLightY / ll;
    const float lz = kLightZ / ll;
    // Half vector between the light and a viewer straight above.
    const float hl = std::sqrt(lx * lx + ly * ly + (lz + 1) * (lz + 1));
    const float hx = lx / hl;
    const float hy = ly / hl;
    const float hz = (lz + 1) / hl;
    const float rise = lz / std::hypot(lx, ly); // height gained per pixel towards the light
    const float stepX = lx / std::hypot(lx, ly);
    const float stepY = ly / std::hypot(lx, ly);

    QImage out(W, H, QImage::Format_RGB32);
    for (int y = 0; y < H; ++y) {
        auto *line = reinterpret_cast<QRgb *>(out.scanLine(y));
        for (int x = 0; x < W; ++x) {
            const std::size_t i = std::size_t(y) * W + x;
            const float h = height.at(x, y);
            // Slopes per logical pixel, as the heights are.
            const float gx = (height.get(x + 1, y) - height.get(x - 1, y)) / 2 * k;
            const float gy = (height.get(x, y + 1) - height.get(x, y - 1)) / 2 * k;
            const float nl = std::sqrt(gx * gx + gy * gy + 1);
            const float nx = -gx / nl;
            const float ny = -gy / nl;
            const float nz = 1 / nl;
            const float diffuse = std::max(0.0f, nx * lx + ny * ly + nz * lz);
            // Flat wood keeps its own colour; slopes turn lighter or darker.
            float light = 0.3f + 0.7f * diffuse / lz;

            // Cast shadow: does the surface towards the light rise above the ray?
            float shadow = 0;
            for (int t = 1; t <= 10 * scale; ++t) {
                const float above =
                    height.sample(float(x) + stepX * float(t), float(y) + stepY * float(t)) - h -
                    rise * float(t) / k;
                shadow = std::max(shadow, above);
            }
            light *= 1.0f - 0.45f * clamp01(shadow / 1.5f);
            light *= 1.0f - 0.06f * std::max(0.0f, blurred.at(x, y) - h);

            const float dh = nearest.at(x, y);
            Rgb m = material[i];
            if (dh < kCollarFlat) {
                // Inside the hole the wood is cut across: darker, and darker
                // still with depth.
                m = collar * (dh < kCavityRadius ? 0.78f : 1.0f);
                light *= 1.0f - 0.05f * std::max(0.0f, -h);
            }
            Rgb c = m * light;
            if (gloss[i] > 0) {
                const float specular = std::pow(std::max(0.0f, nx * hx + ny * hy + nz * hz), 30.0f);
                const float flat = std::pow(hz, 30.0f);
                c = c + Rgb{1, 1, 1} * (0.55f * gloss[i] * std::max(0.0f, specular - flat));
            }

            if (dh >= kCavityRadius + kChamferWidth + 0.3f && dh <= kCollarFlat) {
                c = collar; // exactly the sprites' corner colour
            } else if (dh > kCollarFlat && dh < kCollarBlend) {
                c = mix(collar, c, smoothstep(kCollarFlat, kCollarBlend, dh));
            }
            line[x] = toQRgb(c);
        }
    }
    return out;
}

} // namespace drawpictures
