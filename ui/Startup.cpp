// SPDX-License-Identifier: GPL-3.0-or-later
#include "Startup.h"

#include "About.h"
#include "Fmode.h"
#include "Fnom.h"
#include "HintService.h"
#include "Main.h"
#include "Score.h"

TForm1 *Form1 = nullptr;

void createApplicationWindows() {
    // Created first, the main window is the one whose closing ends the game.
    Form1 = new TForm1;
    Form1->setObjectName(QStringLiteral("Form1"));
    // The balloon takes its settings from the main window's bulle.
    hints::hintService().setMainWindow(Form1);
    a_propos = new Ta_propos(Form1);
    mode = new Tmode(Form1);
    saisie_nom = new Tsaisie_nom(Form1);
    meilleur_score = new Tmeilleur_score(Form1);
}
