// SPDX-License-Identifier: GPL-3.0-or-later
// Cost of the recount that follows every move: etat_plateau, then the count
// of movable marbles over the 45 holes, on a start position and on a position
// half way through a game, for both boards.
#include <benchmark/benchmark.h>

#include "rules.h"

namespace {

using namespace veltrano;

// The start position of a board after `jumps` jumps, each the first possible
// one in hole order then direction order.
Grille played(BoardKind kind, int jumps) {
    Grille g;
    reset_plateau(g, kind);
    etat_plateau(g);
    for (int done = 0; done < jumps; ++done) {
        bool moved = false;
        for (int n = 1; n <= kHoleCount && !moved; ++n) {
            const Cell c = hole_cell(n);
            for (int d = 1; d <= kDirectionCount && !moved; ++d) {
                if (g.get(c.x, c.y, d) == saut_possible) {
                    moved = apply_jump(g, c.x, c.y, c.x + 2 * kSteps[d].dx, c.y + 2 * kSteps[d].dy);
                }
            }
        }
        if (!moved) {
            break;
        }
        etat_plateau(g);
    }
    return g;
}

void recount(benchmark::State &state, BoardKind kind, int jumps) {
    Grille g = played(kind, jumps);
    int marbles = 0;
    for (int n = 1; n <= kHoleCount; ++n) {
        marbles += holds_marble(g, hole_cell(n).x, hole_cell(n).y) ? 1 : 0;
    }
    state.counters["marbles"] = marbles;
    state.counters["mobiles"] = nb_mobiles(g);
    for (auto _ : state) {
        etat_plateau(g);
        benchmark::DoNotOptimize(nb_mobiles(g));
        benchmark::ClobberMemory();
    }
}

void etat_only(benchmark::State &state, BoardKind kind, int jumps) {
    Grille g = played(kind, jumps);
    for (auto _ : state) {
        etat_plateau(g);
        benchmark::ClobberMemory();
    }
}

void count_only(benchmark::State &state, BoardKind kind, int jumps) {
    const Grille g = played(kind, jumps);
    for (auto _ : state) {
        benchmark::DoNotOptimize(nb_mobiles(g));
    }
}

// Half way: 15 of the 31 jumps of a traditional game, 21 on the 45-hole board.
BENCHMARK_CAPTURE(recount, traditional_start, kTraditionalBoard, 0);
BENCHMARK_CAPTURE(recount, traditional_midgame, kTraditionalBoard, 15);
BENCHMARK_CAPTURE(recount, full_start, kFullBoard, 0);
BENCHMARK_CAPTURE(recount, full_midgame, kFullBoard, 21);
BENCHMARK_CAPTURE(etat_only, traditional_start, kTraditionalBoard, 0);
BENCHMARK_CAPTURE(etat_only, traditional_midgame, kTraditionalBoard, 15);
BENCHMARK_CAPTURE(etat_only, full_start, kFullBoard, 0);
BENCHMARK_CAPTURE(etat_only, full_midgame, kFullBoard, 21);
BENCHMARK_CAPTURE(count_only, traditional_start, kTraditionalBoard, 0);
BENCHMARK_CAPTURE(count_only, traditional_midgame, kTraditionalBoard, 15);
BENCHMARK_CAPTURE(count_only, full_start, kFullBoard, 0);
BENCHMARK_CAPTURE(count_only, full_midgame, kFullBoard, 21);

} // namespace
