// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QLabel;

// Narrows the label's font, keeping its height, until its text fits the
// label's width: a heading of the game's own size may be wider than the box
// it was laid out in with the faces this platform offers.
void squeezeToFit(QLabel *label);
