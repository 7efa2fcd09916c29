// SPDX-License-Identifier: GPL-3.0-or-later
// The current player's name: asked for at the start of a game, written into
// the top ten and into a saved game, and read back from one.
#pragma once

#include <QString>

extern QString playerName;
inline constexpr int kPlayerNameLength = 15; // at most, in characters
