// SPDX-License-Identifier: GPL-3.0-or-later
// The saved game's bytes as the tests see them, written and read here by
// hand rather than through the game's own codec: 16-byte name, 11-byte
// chrono, the tray count at 27, then the grid as 16-bit little-endian values,
// column slowest.
#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

#include "grille.h"
#include "rules.h"

namespace uitest {

inline int gridAt(int c, int l, int d) {
    return 29 + 72 * (c - 1) + 8 * (l - 1) + 2 * (d - 1);
}

inline int int16At(const QByteArray &bytes, int offset) {
    const auto low = static_cast<unsigned char>(bytes[offset]);
    const auto high = static_cast<unsigned char>(bytes[offset + 1]);
    return static_cast<qint16>(static_cast<quint16>(low | high << 8));
}

inline void putInt16(QByteArray &bytes, int offset, int value) {
    bytes[offset] = static_cast<char>(value & 0xff);
    bytes[offset + 1] = static_cast<char>((value >> 8) & 0xff);
}

// `name` and `chrono` are raw bytes, copied as far as their field allows;
// whatever is left of a field stays zero.
inline QByteArray savedRecord(const QByteArray &name, const QByteArray &chrono, int tray,
                              const veltrano::Grille &g) {
    QByteArray r(677, '\0');
    r.replace(0, qMin<qsizetype>(name.size(), 16), name.left(16));
    r.replace(16, qMin<qsizetype>(chrono.size(), 11), chrono.left(11));
    putInt16(r, 27, tray);
    for (int c = 1; c <= 9; ++c) {
        for (int l = 1; l <= 9; ++l) {
            for (int d = 1; d <= 4; ++d) {
                putInt16(r, gridAt(c, l, d), g.get(c, l, d));
            }
        }
    }
    return r;
}

// The 45-hole board after its first jump, (5, 3) into the centre.
inline veltrano::Grille afterFirstJump() {
    veltrano::Grille g;
    veltrano::reset_plateau(g, veltrano::kFullBoard);
    veltrano::etat_plateau(g);
    veltrano::apply_jump(g, 5, 3, 5, 5);
    veltrano::etat_plateau(g);
    return g;
}

// The 45-hole board with marbles only on the given cells.
inline veltrano::Grille onlyMarbles(std::initializer_list<veltrano::Cell> cells) {
    veltrano::Grille g;
    veltrano::reset_plateau(g, veltrano::kFullBoard);
    for (int x = 1; x <= 9; ++x) {
        for (int y = 1; y <= 9; ++y) {
            const bool keep =
                std::find(cells.begin(), cells.end(), veltrano::Cell{x, y}) != cells.end();
            for (int d = 1; d <= 4; ++d) {
                if (g.get(x, y, d) != veltrano::saut_interdit) {
                    g.set(x, y, d, keep ? veltrano::saut_bloque : veltrano::trou_vide);
                }
            }
        }
    }
    return g;
}

inline bool writeBytes(const QString &path, const QByteArray &bytes) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
}

inline QByteArray readBytes(const QString &path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace uitest
