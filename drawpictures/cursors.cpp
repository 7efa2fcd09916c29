// SPDX-License-Identifier: GPL-3.0-or-later
// The three cursors of the board. They are two-colour pictures, so they are
// drawn pixel by pixel rather than painted: each pixel belongs to the topmost
// part of a figure (palm, fingers, thumb, ball, ring) that covers its centre,
// and turns black on the figure's outline and where two parts that are not
// joined meet, white elsewhere inside.
//
// The hand lies along the diagonal, which gives clean one-pixel staircases.
// It is described in a turned frame: a = y - x runs along the fingers
// towards their tips, p = x + y across them; the index finger's tip is at
// (7, 23), the main cursor's hot spot.
#include "emblems.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <vector>

namespace drawpictures {
namespace {

constexpr int kSize = 32;

struct Part {
    std::function<bool(float, float)> covers; // pixel centre in the figure's frame
    unsigned group = 0;
};

// Parts of one group meet without a line. Bit 0 is the hand's body (palm
// and wrist); each finger has a bit of its own besides bit 0, so it joins
// the palm but is outlined against its neighbours.
bool joined(unsigned a, unsigned b) {
    const unsigned fa = a & ~1u;
    const unsigned fb = b & ~1u;
    if (fa == fb) {
        return true;
    }
    return (fa == 0 || fb == 0) && (a & b & 1u);
}

float segmentDistance(float x, float y, float ax, float ay, float bx, float by) {
    const float vx = bx - ax, vy = by - ay;
    const float t = std::clamp(((x - ax) * vx + (y - ay) * vy) / (vx * vx + vy * vy), 0.0f, 1.0f);
    return std::hypot(x - ax - vx * t, y - ay - vy * t);
}

// Where the hand is drawn: hand-frame pixel (hx, hy) lands at
// (ox + hx * scale, oy + hy * scale) in the cursor.
struct Placement {
    float ox = 0;
    float oy = 0;
    float scale = 1;
};

// Adds palm, wrist, fingers and thumb. `curl` pulls the fingertips back, for
// the hand that grips a marble.
void addHand(std::vector<Part> &parts, Placement at, float curl) {
    auto inHand = [at](auto shape) {
        return [at, shape](float x, float y) {
            const float hx = (x - at.ox) / at.scale - 0.5f;
            const float hy = (y - at.oy) / at.scale - 0.5f;
            return shape(hy - hx, hx + hy);
        };
    };
    parts.push_back({inHand([](float a, float p) {
                         return segmentDistance(a, p, -5, 32.5f, -5, 39) <= 6.5f ||
                                (a >= -9 && a <= 1 && p >= 27 && p <= 44);
                     }),
                     1});
    parts.push_back({inHand([](float a, float p) { return a <= -6 && p >= 28 && p <= 43; }), 1});
    // Index, middle, ring and little finger, side by side; a rounded tip.
    struct Finger {
        float across;
        float tip;
    };
    const Finger fingers[] = {{30, 16}, {34, 16}, {38, 14}, {42, 11}};
    unsigned bit = 1;
    for (const Finger &f : fingers) {
        bit <<= 1;
        const float tip = f.tip - curl;
        parts.push_back({inHand([f, tip](float a, float p) {
                             const float off = std::abs(p - f.across);
                             return off <= 2 && a >= -4 && a <= tip - off;
                         }),
                         bit | 1u});
    }
    parts.push_back({inHand([](float a, float p) {
                         return segmentDistance(a, p, -7, 28.5f, -2.5f, 15.5f) <= 3.1f;
                     }),
                     (1u << 6) | 1u});
}

// A marble: black with a white glint, so it stands out from the white hand.
void addBall(std::vector<Part> &parts, float cx, float cy, float r) {
    parts.push_back({[=](float x, float y) { return std::hypot(x - cx, y - cy) <= r; }, 1u << 8});
}

// `scale` pixels to each of the figure's 32 x 32, and outlines as thick.
QImage render(int scale, const std::vector<Part> &parts,
              const std::function<bool(float, float)> &blackFill = {},
              const std::function<bool(float, float)> &whiteFill = {}) {
    const int size = kSize * scale;
    const float k = float(scale);
    std::vector<int> owner(std::size_t(size) * size, -1);
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            for (int i = int(parts.size()) - 1; i >= 0; --i) {
                if (parts[i].covers((float(x) + 0.5f) / k, (float(y) + 0.5f) / k)) {
                    owner[std::size_t(y) * size + x] = i;
                    break;
                }
            }
        }
    }
    auto at = [&](int x, int y) {
        return (x < 0 || y < 0 || x >= size || y >= size) ? -1 : owner[std::size_t(y) * size + x];
    };
    QImage out(size, size, QImage::Format_ARGB32);
    out.fill(Qt::transparent);
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const int me = at(x, y);
            if (me < 0) {
                continue;
            }
            bool edge = false;
            const int steps[4][2] = {{1, 0}, {-1, 0}, {0, 1}, {0, -1}};
            for (const auto &s : steps) {
                for (int d = 1; d <= scale; ++d) {
                    const int other = at(x + s[0] * d, y + s[1] * d);
                    // The upper part draws the line between two parts.
                    if (other < 0 || (other < me && !joined(parts[me].group, parts[other].group))) {
                        edge = true;
                    }
                }
            }
            const float cx = (float(x) + 0.5f) / k, cy = (float(y) + 0.5f) / k;
            bool black = edge;
            if (blackFill && blackFill(cx, cy) && me >= 0 && (parts[me].group & (1u << 8))) {
                black = true;
            }
            if (whiteFill && whiteFill(cx, cy)) {
                black = false;
            }
            out.setPixel(x, y, black ? qRgba(0, 0, 0, 255) : qRgba(255, 255, 255, 255));
        }
    }
    return out;
}

} // namespace

QImage drawCursor(CursorKind kind, int scale) {
    std::vector<Part> parts;
    switch (kind) {
    case CursorKind::Hand:
        addHand(parts, {}, 0);
        return render(scale, parts);
    case CursorKind::HandWithBall: {
        // The fingers close over a marble; the hot spot is on the marble.
        const float bx = 8.0f, by = 26.0f, r = 4.7f;
        addBall(parts, bx, by, r);
        addHand(parts, {1, -1, 1}, 2);
        auto ball = [=](float x, float y) { return std::hypot(x - bx, y - by) <= r; };
        auto glint = [=](float x, float y) {
            return std::hypot(x - (bx - 1.6f), y - (by - 1.2f)) <= 1.1f;
        };
        return render(scale, parts, ball, glint);
    }
    case CursorKind::Forbidden: {
        // The same hand and marble, smaller, inside a crossed-out circle.
        const float cx = 15.5f, cy = 15.5f;
        const float s = 0.85f;
        const float bx = 10.0f, by = 15.5f, r = 3.8f;
        std::vector<Part> inner;
        addBall(inner, bx, by, r);
        addHand(inner, {bx - 7.0f * s, by - 27.0f * s, s}, 2);
        for (Part &part : inner) {
            part.covers = [c = part.covers, cx, cy](float x, float y) {
                return c(x, y) && std::hypot(x - cx, y - cy) <= 12.5f;
            };
            parts.push_back(part);
        }
        auto ring = [=](float x, float y) {
            return std::abs(std::hypot(x - cx, y - cy) - 13.6f) <= 1.9f;
        };
        auto bar = [=](float x, float y) {
            return std::hypot(x - cx, y - cy) <= 13.5f && std::abs((x - cx) - (y - cy)) <= 2.9f;
        };
        parts.push_back({ring, 1u << 9});
        parts.push_back({bar, 1u << 9});
        auto ball = [=](float x, float y) { return std::hypot(x - bx, y - by) <= r; };
        auto glint = [=](float x, float y) {
            return std::hypot(x - (bx - 1.4f), y - (by - 1.1f)) <= 0.9f;
        };
        return render(scale, parts, ball, glint);
    }
    }
    return {};
}

} // namespace drawpictures
