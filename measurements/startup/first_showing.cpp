// SPDX-License-Identifier: GPL-3.0-or-later
// How long each dialog built at its first showing takes to come up, from
// show() to its first picture painted: the controls, the fonts, the button's
// drawing and the window. Only the first showing in a process is the one a
// player waits for, so each run measures that once per dialog, after the
// main window is up as in the game; run it a few times and read the spread.
//
//   cmake --build <dir> --target first_showing && <dir>/measurements/startup/first_showing
//
// Offscreen by default; QT_QPA_PLATFORM=xcb with a DISPLAY measures the
// window server too.
#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QTest>
#include <cstdio>

#include "Fmode.h"
#include "Fnom.h"
#include "Main.h"
#include "OffscreenGame.h"
#include "Score.h"
#include "Settings.h"
#include "Startup.h"

namespace {

double firstShowingMs(QDialog *dialog) {
    QElapsedTimer timer;
    timer.start();
    dialog->show();
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
    dialog->repaint();
    const double ms = static_cast<double>(timer.nsecsElapsed()) / 1e6;
    dialog->hide();
    QCoreApplication::processEvents();
    return ms;
}

} // namespace

int main(int argc, char **argv) {
    OffscreenGame game(argc, argv);
    game.moveToOwnFolder();
    SetDefaultSettings();
    createApplicationWindows();
    Form1->show();
    if (!QTest::qWaitForWindowExposed(Form1)) {
        std::fprintf(stderr, "the main window did not show\n");
        return 1;
    }
    const struct {
        const char *name;
        QDialog *dialog;
    } dialogs[] = {{"board choice", mode}, {"name entry", saisie_nom}, {"top ten", meilleur_score}};
    for (const auto &d : dialogs) {
        std::printf("%-13s first showing %6.2f ms\n", d.name, firstShowingMs(d.dialog));
    }
    delete Form1;
    return 0;
}
