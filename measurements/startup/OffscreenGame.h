// SPDX-License-Identifier: GPL-3.0-or-later
// The start of the programs that show the game's windows without a player:
// the application made as the game makes it, offscreen unless another
// platform is asked for, and run in a folder of its own so that no file of
// the folder it was started from is read or written.
#pragma once

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>

#include "Faces.h"

class OffscreenGame {
public:
    OffscreenGame(int &argc, char **argv) : platformChosen_(chooseOffscreen()), app_(argc, argv) {
        QApplication::setQuitOnLastWindowClosed(false);
        appearance::mapWindowsFaces();
        appearance::keepApplicationFontProportional();
    }

    // Names given on the command line are read before this.
    void moveToOwnFolder() { QDir::setCurrent(folder_.path()); }

private:
    static bool chooseOffscreen() {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
            qputenv("QT_QPA_PLATFORM", "offscreen");
        }
        return true;
    }

    [[maybe_unused]] bool platformChosen_;
    QApplication app_;
    QTemporaryDir folder_;
};
