// SPDX-License-Identifier: GPL-3.0-or-later
#include "quantize.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <numeric>
#include <vector>

namespace drawpictures {
namespace {

// Channels are weighted roughly as the eye weighs them, so that the palette
// spends its entries where differences show.
constexpr std::array<float, 3> kWeight = {0.30f, 0.59f, 0.11f};

struct Colour {
    std::array<float, 3> c{};
};

float distance(const std::array<float, 3> &a, const std::array<float, 3> &b) {
    float d = 0;
    for (int k = 0; k < 3; ++k) {
        const float e = a[k] - b[k];
        d += kWeight[k] * e * e;
    }
    return d;
}

// One histogram cell: 6 bits per channel keeps gradients apart while merging
// the noise of the same colour.
struct Bin {
    std::array<double, 3> sum{};
    double count = 0;
    std::array<float, 3> mean() const {
        return {float(sum[0] / count), float(sum[1] / count), float(sum[2] / count)};
    }
};

struct Box {
    int begin = 0;
    int end = 0;
    double error = 0; // weighted squared error of the box around its mean
    int axis = 0;
    int split = 0;
};

// Best split of bins[begin, end) along each axis: the one that leaves the
// least squared error in the two halves. Fills error, axis and split.
void examine(std::vector<Bin> &bins, Box &box) {
    box.error = 0;
    box.split = -1;
    if (box.end - box.begin < 2) {
        return;
    }
    double bestGain = -1;
    for (int axis = 0; axis < 3; ++axis) {
        std::sort(bins.begin() + box.begin, bins.begin() + box.end,
                  [axis](const Bin &a, const Bin &b) {
                      return a.sum[axis] / a.count < b.sum[axis] / b.count;
                  });
        // Prefix sums of count, weighted sum and weighted square per channel.
        const int n = box.end - box.begin;
        std::vector<double> cnt(n + 1, 0);
        std::vector<std::array<double, 3>> s(n + 1), q(n + 1);
        s[0] = {0, 0, 0};
        q[0] = {0, 0, 0};
        for (int i = 0; i < n; ++i) {
            const Bin &b = bins[box.begin + i];
            cnt[i + 1] = cnt[i] + b.count;
            for (int k = 0; k < 3; ++k) {
                const double m = b.sum[k] / b.count;
                s[i + 1][k] = s[i][k] + b.sum[k];
                q[i + 1][k] = q[i][k] + b.count * m * m;
            }
        }
        auto sse = [&](int from, int to) {
            const double c = cnt[to] - cnt[from];
            if (c <= 0) {
                return 0.0;
            }
            double e = 0;
            for (int k = 0; k < 3; ++k) {
                const double sk = s[to][k] - s[from][k];
                e += kWeight[k] * ((q[to][k] - q[from][k]) - sk * sk / c);
            }
            return e;
        };
        const double whole = sse(0, n);
        box.error = whole;
        for (int i = 1; i < n; ++i) {
            const double gain = whole - sse(0, i) - sse(i, n);
            if (gain > bestGain) {
                bestGain = gain;
                box.axis = axis;
                box.split = i;
            }
        }
    }
    std::sort(bins.begin() + box.begin, bins.begin() + box.end,
              [axis = box.axis](const Bin &a, const Bin &b) {
                  return a.sum[axis] / a.count < b.sum[axis] / b.count;
              });
}

std::array<float, 3> channels(QRgb c) {
    return {float(qRed(c)), float(qGreen(c)), float(qBlue(c))};
}

} // namespace

QImage palettise(const QImage &input, const Palettise &how) {
    const QImage picture = input.convertToFormat(QImage::Format_ARGB32);
    const int w = picture.width();
    const int h = picture.height();

    std::vector<QRgb> exact;
    for (QRgb c : how.exact) {
        const QRgb opaque = c | 0xFF000000u;
        if (std::find(exact.begin(), exact.end(), opaque) == exact.end()) {
            exact.push_back(opaque);
        }
    }
    auto exactIndex = [&exact](QRgb c) {
        const auto it = std::find(exact.begin(), exact.end(), c);
        return it == exact.end() ? -1 : int(it - exact.begin());
    };

    // Histogram of the pixels that are free to move.
    std::vector<Bin> grid(1 << 18);
    bool transparent = false;
    for (int y = 0; y < h; ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(picture.constScanLine(y));
        for (int x = 0; x < w; ++x) {
            const QRgb c = line[x];
            if (qAlpha(c) < 128) {
                transparent = true;
                continue;
            }
            if (exactIndex(c | 0xFF000000u) >= 0) {
                continue;
            }
            Bin &b = grid[((qRed(c) >> 2) << 12) | ((qGreen(c) >> 2) << 6) | (qBlue(c) >> 2)];
            b.sum[0] += qRed(c);
            b.sum[1] += qGreen(c);
            b.sum[2] += qBlue(c);
            b.count += 1;
        }
    }
    std::vector<Bin> bins;
    for (const Bin &b : grid) {
        if (b.count > 0) {
            bins.push_back(b);
        }
    }

    const int room = std::max(0, how.colours - int(exact.size()) - (transparent ? 1 : 0));
    std::vector<std::array<float, 3>> free;
    if (int(bins.size()) <= room) {
        for (const Bin &b : bins) {
            free.push_back(b.mean());
        }
    } else if (room > 0) {
        // Split the box with the most error until the palette is full.
        std::vector<Box> boxes(1);
        boxes[0].begin = 0;
        boxes[0].end = int(bins.size());
        examine(bins, boxes[0]);
        while (int(boxes.size()) < room) {
            auto worst =
                std::max_element(boxes.begin(), boxes.end(), [](const Box &a, const Box &b) {
                    return (a.split < 0 ? -1 : a.error) < (b.split < 0 ? -1 : b.error);
                });
            if (worst->split < 0) {
                break;
            }
            Box upper;
            upper.begin = worst->begin + worst->split;
            upper.end = worst->end;
            worst->end = upper.begin;
            examine(bins, *worst);
            examine(bins, upper);
            boxes.push_back(upper);
        }
        for (const Box &box : boxes) {
            Bin total;
            for (int i = box.begin; i < box.end; ++i) {
                for (int k = 0; k < 3; ++k) {
                    total.sum[k] += bins[i].sum[k];
                }
                total.count += bins[i].count;
            }
            free.push_back(total.mean());
        }
        // A few rounds of k-means on the histogram polish the cut's choice.
        for (int round = 0; round < 6; ++round) {
            std::vector<Bin> acc(free.size());
            for (const Bin &b : bins) {
                const auto m = b.mean();
                int best = 0;
                float bestD = distance(m, free[0]);
                for (int i = 1; i < int(free.size()); ++i) {
                    const float d = distance(m, free[i]);
                    if (d < bestD) {
                        bestD = d;
                        best = i;
                    }
                }
                for (int k = 0; k < 3; ++k) {
                    acc[best].sum[k] += b.sum[k];
                }
                acc[best].count += b.count;
            }
            for (int i = 0; i < int(free.size()); ++i) {
                if (acc[i].count > 0) {
                    free[i] = acc[i].mean();
                }
            }
        }
    }

    // Palette: exact colours first, then the chosen ones, then transparency.
    QList<QRgb> table;
    std::vector<std::array<float, 3>> entries;
    for (QRgb c : exact) {
        table.append(c);
        entries.push_back(channels(c));
    }
    for (const auto &c : free) {
        const QRgb q = qRgb(std::clamp(int(std::lround(c[0])), 0, 255),
                            std::clamp(int(std::lround(c[1])), 0, 255),
                            std::clamp(int(std::lround(c[2])), 0, 255));
        table.append(q);
        entries.push_back(channels(q));
    }
    const int clear = transparent ? int(table.size()) : -1;
    if (transparent) {
        table.append(qRgba(0, 0, 0, 0));
    }
    if (table.isEmpty()) {
        table.append(qRgb(0, 0, 0));
        entries.push_back({0, 0, 0});
    }
    const int opaqueEntries = int(entries.size());

    auto nearest = [&](const std::array<float, 3> &c) {
        int best = 0;
        float bestD = distance(c, entries[0]);
        for (int i = 1; i < opaqueEntries; ++i) {
            const float d = distance(c, entries[i]);
            if (d < bestD) {
                bestD = d;
                best = i;
            }
        }
        return best;
    };
    // Large pictures ask for the same colours again and again: remember the
    // answers, by the 24-bit colour that is being looked up.
    std::vector<std::int16_t> known;
    if (std::size_t(w) * std::size_t(h) > 40000) {
        known.assign(std::size_t(1) << 24, -1);
    }
    auto lookUp = [&](const std::array<float, 3> &c) {
        if (known.empty()) {
            return nearest(c);
        }
        const int r = int(std::lround(c[0])), g = int(std::lround(c[1])),
                  b = int(std::lround(c[2]));
        std::int16_t &slot = known[(std::size_t(r) << 16) | (std::size_t(g) << 8) | std::size_t(b)];
        if (slot < 0) {
            slot = std::int16_t(nearest({float(r), float(g), float(b)}));
        }
        return int(slot);
    };

    // What each pixel is: free to take a palette colour, one of the exact
    // colours (its index + 1), or transparent (-1).
    std::vector<int> kind(std::size_t(w) * h, 0);
    for (int y = 0; y < h; ++y) {
        const auto *in = reinterpret_cast<const QRgb *>(picture.constScanLine(y));
        for (int x = 0; x < w; ++x) {
            const QRgb c = in[x];
            kind[std::size_t(y) * w + x] = qAlpha(c) < 128 ? -1 : exactIndex(c | 0xFF000000u) + 1;
        }
    }
    // Error goes only to neighbours that may take it: not to transparent
    // pixels nor to pixels of an exact colour.
    auto takes = [&](int x, int y) {
        return x >= 0 && x < w && y < h && kind[std::size_t(y) * w + x] == 0;
    };

    QImage out(w, h, QImage::Format_Indexed8);
    out.setColorTable(table);
    // Error rows for a serpentine Floyd-Steinberg pass.
    std::vector<std::array<float, 3>> errNow(w + 2), errNext(w + 2);
    for (int y = 0; y < h; ++y) {
        std::fill(errNext.begin(), errNext.end(), std::array<float, 3>{0, 0, 0});
        const auto *in = reinterpret_cast<const QRgb *>(picture.constScanLine(y));
        uchar *line = out.scanLine(y);
        const bool leftToRight = (y % 2) == 0;
        for (int i = 0; i < w; ++i) {
            const int x = leftToRight ? i : w - 1 - i;
            const int step = leftToRight ? 1 : -1;
            const int k0 = kind[std::size_t(y) * w + x];
            if (k0 < 0) {
                line[x] = uchar(clear);
                continue;
            }
            if (k0 > 0) {
                line[x] = uchar(k0 - 1);
                continue;
            }
            std::array<float, 3> want = channels(in[x]);
            for (int k = 0; k < 3; ++k) {
                want[k] = std::clamp(want[k] + errNow[x + 1][k], 0.0f, 255.0f);
            }
            const int index = lookUp(want);
            line[x] = uchar(index);
            if (how.dither <= 0) {
                continue;
            }
            const bool ahead = takes(x + step, y);
            const bool below = takes(x, y + 1);
            const bool belowBehind = takes(x - step, y + 1);
            const bool belowAhead = takes(x + step, y + 1);
            for (int k = 0; k < 3; ++k) {
                const float e = (want[k] - entries[index][k]) * how.dither;
                if (ahead) {
                    errNow[x + step + 1][k] += e * 7 / 16;
                }
                if (belowBehind) {
                    errNext[x - step + 1][k] += e * 3 / 16;
                }
                if (below) {
                    errNext[x + 1][k] += e * 5 / 16;
                }
                if (belowAhead) {
                    errNext[x + step + 1][k] += e * 1 / 16;
                }
            }
        }
        std::swap(errNow, errNext);
    }
    return out;
}

} // namespace drawpictures
