// SPDX-License-Identifier: GPL-3.0-or-later
// Deterministic noise for wood grain, stone and speckles. Everything is
// derived from integer hashes of the lattice and a fixed seed, so every build
// draws the very same pictures.
#pragma once

#include <cstdint>

namespace drawpictures {

// Gradient noise in about -1..1, smooth, with features about one unit apart.
float noise2(float x, float y, std::uint32_t seed);
float noise3(float x, float y, float z, std::uint32_t seed);

// A value in 0..1 for each integer, the same on every run.
float hash01(int n, std::uint32_t seed);

// Sums of octaves of the above, each half the size and half the strength.
float fbm2(float x, float y, int octaves, std::uint32_t seed);
float fbm3(float x, float y, float z, int octaves, std::uint32_t seed);

// A small seeded generator for placing things at random (speckles, stars).
class Random {
public:
    explicit Random(std::uint64_t seed) : state_(seed) {}
    std::uint64_t next();
    float uniform(); // 0..1
    float uniform(float lo, float hi) { return lo + (hi - lo) * uniform(); }

private:
    std::uint64_t state_;
};

} // namespace drawpictures
