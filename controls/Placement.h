// SPDX-License-Identifier: GPL-3.0-or-later
// Where the windows stand: the dialogs centre themselves on the main window,
// whose outer rectangle is recorded just before one of them opens, and the
// splash and the main window centre themselves on the screen.
#pragma once

class QWidget;

struct WindowRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

// Outer rectangle of the main window, recorded just before a dialog opens.
extern WindowRect MainWindowRect;

// Moves a dialog so that it stands centred on MainWindowRect. Each half
// difference is truncated toward zero, so an odd difference loses its half
// pixel on the same side whichever window is the larger.
void centreOnMainWindow(QWidget *dialog);
// Moves a window so that it stands centred on the primary screen, truncating
// the same way.
void centreOnScreen(QWidget *window);
