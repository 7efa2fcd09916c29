// SPDX-License-Identifier: GPL-3.0-or-later
#include <QApplication>
#include <QIcon>

#include "Faces.h"
#include "Main.h"
#include "Splash.h"
#include "Startup.h"

using namespace Qt::StringLiterals;

int main(int argc, char *argv[]) {
    QApplication app(argc, argv);
    QCoreApplication::setOrganizationName(u"Veltrano"_s);
    // Ties the windows to the menu entry: the Wayland app id, and the hint
    // the X11 window class is matched by.
    QGuiApplication::setDesktopFileName(QStringLiteral(VELTRANO_APP_ID));
    appearance::mapWindowsFaces();

    // The splash goes up and is painted before anything else is built, so the
    // player sees at once that the game is loading.
    auto *splash = new TSplashForm;
    splash->show();
    // Showing it usually paints it already; otherwise it is painted now,
    // before the event loop runs.
    if (!splash->painted()) {
        splash->repaint();
    }
    // On Wayland it is on screen only once the compositor has taken a frame.
    splash->waitUntilOnScreen();

    QCoreApplication::setApplicationName(u"VELTRANO 2.32"_s);
    QApplication::setWindowIcon(QIcon(u":/icon/veltrano.png"_s));

    // Before the first window that uses the application's font is laid out.
    appearance::keepApplicationFontProportional();
    createApplicationWindows();

    splash->hide();
    delete splash;

    Form1->show();
    const int result = QApplication::exec();
    delete Form1;
    return result;
}
