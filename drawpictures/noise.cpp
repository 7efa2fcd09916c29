// SPDX-License-Identifier: GPL-3.0-or-later
#include "noise.h"

#include <cmath>
#include <initializer_list>

namespace drawpictures {
namespace {

std::uint32_t hash(std::uint32_t a, std::uint32_t b, std::uint32_t c, std::uint32_t seed) {
    std::uint32_t h = seed * 0x9E3779B1u;
    for (std::uint32_t v : {a, b, c}) {
        h ^= v + 0x7F4A7C15u + (h << 6) + (h >> 2);
        h *= 0x85EBCA6Bu;
        h ^= h >> 13;
    }
    h *= 0xC2B2AE35u;
    h ^= h >> 16;
    return h;
}

float fade(float t) {
    return t * t * t * (t * (t * 6 - 15) + 10);
}

float lerp(float a, float b, float t) {
    return a + (b - a) * t;
}

// Twelve edge directions of a cube for 3D, eight directions for 2D: few
// enough to stay isotropic, cheap to pick from a hash.
float grad2(std::uint32_t h, float x, float y) {
    static constexpr float kDir[8][2] = {{1, 0},
                                         {-1, 0},
                                         {0, 1},
                                         {0, -1},
                                         {0.7071f, 0.7071f},
                                         {-0.7071f, 0.7071f},
                                         {0.7071f, -0.7071f},
                                         {-0.7071f, -0.7071f}};
    const auto &d = kDir[h & 7u];
    return d[0] * x + d[1] * y;
}

float grad3(std::uint32_t h, float x, float y, float z) {
    switch (h % 12u) {
    case 0:
        return x + y;
    case 1:
        return -x + y;
    case 2:
        return x - y;
    case 3:
        return -x - y;
    case 4:
        return x + z;
    case 5:
        return -x + z;
    case 6:
        return x - z;
    case 7:
        return -x - z;
    case 8:
        return y + z;
    case 9:
        return -y + z;
    case 10:
        return y - z;
    default:
        return -y - z;
    }
}

} // namespace

float noise2(float x, float y, std::uint32_t seed) {
    const float fx = std::floor(x);
    const float fy = std::floor(y);
    const auto ix = std::uint32_t(std::int32_t(fx));
    const auto iy = std::uint32_t(std::int32_t(fy));
    const float tx = x - fx;
    const float ty = y - fy;
    const float n00 = grad2(hash(ix, iy, 0, seed), tx, ty);
    const float n10 = grad2(hash(ix + 1, iy, 0, seed), tx - 1, ty);
    const float n01 = grad2(hash(ix, iy + 1, 0, seed), tx, ty - 1);
    const float n11 = grad2(hash(ix + 1, iy + 1, 0, seed), tx - 1, ty - 1);
    const float u = fade(tx);
    return lerp(lerp(n00, n10, u), lerp(n01, n11, u), fade(ty)) * 1.4f;
}

float noise3(float x, float y, float z, std::uint32_t seed) {
    const float fx = std::floor(x);
    const float fy = std::floor(y);
    const float fz = std::floor(z);
    const auto ix = std::uint32_t(std::int32_t(fx));
    const auto iy = std::uint32_t(std::int32_t(fy));
    const auto iz = std::uint32_t(std::int32_t(fz));
    const float tx = x - fx;
    const float ty = y - fy;
    const float tz = z - fz;
    float corner[8];
    for (int i = 0; i < 8; ++i) {
        const std::uint32_t dx = i & 1;
        const std::uint32_t dy = (i >> 1) & 1;
        const std::uint32_t dz = (i >> 2) & 1;
        corner[i] = grad3(hash(ix + dx, iy + dy, iz + dz, seed), tx - float(dx), ty - float(dy),
                          tz - float(dz));
    }
    const float u = fade(tx);
    const float v = fade(ty);
    const float w = fade(tz);
    const float a = lerp(lerp(corner[0], corner[1], u), lerp(corner[2], corner[3], u), v);
    const float b = lerp(lerp(corner[4], corner[5], u), lerp(corner[6], corner[7], u), v);
    return lerp(a, b, w);
}

float hash01(int n, std::uint32_t seed) {
    return float(hash(std::uint32_t(n), 0, 0, seed) >> 8) / float(1u << 24);
}

float fbm2(float x, float y, int octaves, std::uint32_t seed) {
    float sum = 0;
    float amplitude = 0.5f;
    for (int i = 0; i < octaves; ++i) {
        sum += amplitude * noise2(x, y, seed + std::uint32_t(i) * 101u);
        x = x * 2.03f + 17.1f;
        y = y * 2.03f - 5.3f;
        amplitude *= 0.5f;
    }
    return sum * 1.6f;
}

float fbm3(float x, float y, float z, int octaves, std::uint32_t seed) {
    float sum = 0;
    float amplitude = 0.5f;
    for (int i = 0; i < octaves; ++i) {
        sum += amplitude * noise3(x, y, z, seed + std::uint32_t(i) * 101u);
        x = x * 2.03f + 17.1f;
        y = y * 2.03f - 5.3f;
        z = z * 2.03f + 3.7f;
        amplitude *= 0.5f;
    }
    return sum * 1.6f;
}

std::uint64_t Random::next() {
    // splitmix64: tiny, fast and the same everywhere.
    std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

float Random::uniform() {
    return float(next() >> 40) / float(1ull << 24);
}

} // namespace drawpictures
