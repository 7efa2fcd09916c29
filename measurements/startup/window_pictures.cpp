// SPDX-License-Identifier: GPL-3.0-or-later
// Pictures of every window, as the game draws them, so that a change meant
// to make start-up cheaper can be shown to change nothing the player sees:
// run it before and after, then compare the two folders file by file.
//
//   cmake --build <dir> --target window_pictures
//   <dir>/measurements/startup/window_pictures OUTDIR HELPFILE
//
// It starts as the game does (face mapping), then grabs
// the splash, the main window, the cursors, the about box, the three dialogs, a question,
// a balloon and the help window into OUTDIR as PNG files.
#include <QApplication>
#include <QDir>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <cstdio>
#include <utility>

#include "About.h"
#include "Cursors.h"
#include "Fmode.h"
#include "Fnom.h"
#include "HelpViewer.h"
#include "HintService.h"
#include "Main.h"
#include "OffscreenGame.h"
#include "Questions.h"
#include "Score.h"
#include "Settings.h"
#include "Splash.h"
#include "Startup.h"

namespace {

QString outDir;
int failures = 0;

void save(QWidget *window, const char *name) {
    window->show();
    if (!QTest::qWaitForWindowExposed(window)) {
        std::fprintf(stderr, "%s did not show\n", name);
        ++failures;
        return;
    }
    QCoreApplication::processEvents();
    const QString path = outDir + QLatin1Char('/') + QLatin1String(name) + QStringLiteral(".png");
    if (!window->grab().save(path)) {
        std::fprintf(stderr, "could not write %s\n", qPrintable(path));
        ++failures;
    }
}

} // namespace

int main(int argc, char **argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: window_pictures OUTDIR HELPFILE\n");
        return 2;
    }
    OffscreenGame game(argc, argv);
    outDir = QDir(QString::fromLocal8Bit(argv[1])).absolutePath();
    const QString help = QDir(QString::fromLocal8Bit(argv[2])).absolutePath();
    QDir().mkpath(outDir);
    game.moveToOwnFolder();

    auto *splash = new TSplashForm;
    save(splash, "splash");
    delete splash;

    SetDefaultSettings();
    createApplicationWindows();
    save(Form1, "main");
    // The cursors as the window system gets them: picture and mask.
    for (const auto &[number, name] : {std::pair{crMain, "main"}, std::pair{crDeplace, "deplace"},
                                       std::pair{crImpossible, "impossible"}}) {
        QWidget probe;
        setCursorNumber(&probe, number);
        const QCursor cursor = probe.cursor();
        const QString stem = outDir + QStringLiteral("/cursor_") + QLatin1String(name);
        if (cursor.bitmap().isNull() ||
            !cursor.bitmap().toImage().save(stem + QStringLiteral("_bits.png")) ||
            !cursor.mask().toImage().save(stem + QStringLiteral("_mask.png"))) {
            std::fprintf(stderr, "no two-colour cursor %s\n", name);
            ++failures;
        }
    }
    // The balloon shows a copy of the screen beneath it, which only a real
    // window server has; offscreen that copy is whatever the memory held.
    if (QGuiApplication::platformName() != QStringLiteral("offscreen")) {
        hints::HintService &service = hints::hintService();
        const QString hint = QStringLiteral("Informations diverses");
        service.hintWindow()->ActivateHint(service.hintRect(hint, 1024).translated(40, 40), hint);
        save(service.hintWindow(), "balloon");
        service.hintWindow()->ReleaseHint();
    }

    const struct {
        QWidget *window;
        const char *name;
    } dialogs[] = {{a_propos, "about"},
                   {mode, "board_choice"},
                   {saisie_nom, "name_entry"},
                   {meilleur_score, "top_ten"}};
    for (const auto &d : dialogs) {
        save(d.window, d.name);
        d.window->hide();
    }

    // The question is modal: grabbed and answered from inside its own loop.
    QTimer::singleShot(0, [] {
        if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
            save(box, "question");
            box->reject();
        }
    });
    confirm(Form1, QStringLiteral("Désirez-vous quitter Veltrano"));

    help::showHelp(help, 1, Form1);
    save(help::HelpViewer::instance(), "help");

    delete Form1;
    return failures == 0 ? 0 : 1;
}
