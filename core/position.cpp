// SPDX-License-Identifier: GPL-3.0-or-later
#include "position.h"

namespace veltrano {
namespace {

bool forbidden_on(BoardKind kind, int x, int y, int d) {
    const int lx = x + 2 * kSteps[d].dx;
    const int ly = y + 2 * kSteps[d].dy;
    if (!is_hole(lx, ly)) {
        return true;
    }
    return kind == kTraditionalBoard && is_arm_end(lx, ly);
}

// Marbles on the board when g is a sound position of `kind`, or -1.
int marbles_on(const Grille &g, BoardKind kind) {
    int marbles = 0;
    for (int x = 1; x <= kGridSize; ++x) {
        for (int y = 1; y <= kGridSize; ++y) {
            if (!is_hole(x, y)) {
                continue;
            }
            if (kind == kTraditionalBoard && is_arm_end(x, y)) {
                // Empty for the whole game, trou_vide even towards the
                // directions that leave the grid: every traditional save
                // carries them so.
                for (int d = 1; d <= kDirectionCount; ++d) {
                    if (g.get(x, y, d) != trou_vide) {
                        return -1;
                    }
                }
                continue;
            }
            int empty = 0;
            int marble = 0;
            for (int d = 1; d <= kDirectionCount; ++d) {
                const Value v = g.get(x, y, d);
                if (forbidden_on(kind, x, y, d) != (v == saut_interdit)) {
                    return -1;
                }
                empty += v == trou_vide ? 1 : 0;
                marble += v == saut_bloque || v == saut_possible ? 1 : 0;
            }
            // Every hole in play has an open direction, so exactly one of the
            // two counts is non-zero for a sound cell.
            if (empty > 0 && marble > 0) {
                return -1;
            }
            marbles += marble > 0 ? 1 : 0;
        }
    }
    return marbles;
}

} // namespace

PositionFault check_position(const Grille &g, int tray_count, BoardKind *kind) {
    if (tray_count < 0 || tray_count > kMarbleTotal) {
        return PositionFault::tray_count;
    }
    for (const Value v : g.values()) {
        if (v < saut_interdit || v > trou_vide) {
            return PositionFault::value;
        }
    }
    for (int x = 1; x <= kGridSize; ++x) {
        for (int y = 1; y <= kGridSize; ++y) {
            if (!is_hole(x, y) && !is_no_hole(g, x, y)) {
                return PositionFault::not_a_hole;
            }
        }
    }
    for (const BoardKind k : {kFullBoard, kTraditionalBoard}) {
        const int marbles = marbles_on(g, k);
        if (marbles < 0) {
            continue;
        }
        if (kind != nullptr) {
            *kind = k;
        }
        const bool counted = marbles == kMarbleTotal - tray_count;
        const bool possible = marbles >= 1 && marbles <= kMarbleTotal - start_tray_count(k);
        return counted && possible ? PositionFault::none : PositionFault::marble_count;
    }
    return PositionFault::board;
}

} // namespace veltrano
