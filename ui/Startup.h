// SPDX-License-Identifier: GPL-3.0-or-later
// The order in which the game builds its windows.
#pragma once

class TForm1;
extern TForm1 *Form1;

// Creates the main window, then the about box, the board choice, the name
// entry and the top ten, in that order; the dialogs are hidden and reused for
// every showing until exit.
void createApplicationWindows();
