// SPDX-License-Identifier: GPL-3.0-or-later
// State that the windows of the game pass to each other rather than through
// return values: where the game keeps its files, where the main window stands
// (the dialogs centre themselves on it) and the current player's name.
#pragma once

#include <QString>

// The working directory at start-up with "/" appended; the prefix of every
// file name the game opens. It is deliberately not the executable's directory.
extern QString startDirectory;

struct WindowRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

// Outer rectangle of the main window, recorded just before a dialog opens.
extern WindowRect MainWindowRect;

// The current player's name, at most 15 characters.
extern QString playerName;
inline constexpr int kPlayerNameLength = 15;

class QWidget;

// Moves a dialog so that it stands centred on MainWindowRect. Each half
// difference is truncated toward zero, so an odd difference loses its half
// pixel on the same side whichever window is the larger.
void centreOnMainWindow(QWidget *dialog);
// Moves a window so that it stands centred on the primary screen, truncating
// the same way.
void centreOnScreen(QWidget *window);

class QLabel;

// Narrows the label's font, keeping its height, until its text fits the
// label's width: a heading of the game's own size may be wider than the box
// it was laid out in with the faces this platform offers.
void squeezeToFit(QLabel *label);

class QIcon;

// A button's picture with its background colour, the colour of its bottom
// left pixel, left out, so that the button's own face shows through; drawn
// for a screen of `devicePixelRatio`.
QIcon buttonGlyph(const QString &resource, qreal devicePixelRatio);
