// SPDX-License-Identifier: GPL-3.0-or-later
// The saved game, loaded through "Charger" into the real main window: a
// record is either refused with the game left exactly as it was, answered by
// the notice that no game was saved, or loaded as a sound position that the
// window shows and counts as the rules do.
#include <QApplication>
#include <QDir>
#include <QLabel>
#include <cstdlib>
#include <sys/stat.h>

#include "FuzzTarget.h"
#include "GameWindow.h"
#include "Main.h"
#include "RecordFile.h"
#include "position.h"

using namespace fuzztarget;

namespace {

int failures = 0;

QApplication &application() {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    static int argc = 1;
    static char name[] = "fuzz_saved_game";
    static char *argv[] = {name, nullptr};
    // Never destroyed: at exit it would outlive parts of Qt it needs.
    static QApplication &app = *new QApplication(argc, argv);
    setIoFailureReporter([](const QString &) { ++failures; });
    return app;
}

// A pipe and then a folder in the file's place: each told at once, never
// waited on, and the game left alone.
void checkNoOrdinaryFile(uitest::GameWindow &w) {
    const QString path = w.directory() + QStringLiteral("/GAME");
    require(::mkfifo(QFile::encodeName(path).constData(), 0600) == 0, "a pipe in place");
    w->chargerClick();
    require(QFile::remove(path) && QDir().mkdir(path), "a folder in place");
    w->chargerClick();
    require(QDir().rmdir(path), "the folder gone");
    require(failures == 2 && w->au_repos, "a pipe and a folder told, and nothing loaded");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    static const QApplication &app = application();
    (void)app;
    // The window makes its own scratch folder and plays in it. Like the
    // application it lives as long as the process; only its folder is
    // removed at exit.
    static uitest::GameWindow &w = *new uitest::GameWindow;
    static const QString folder = w.directory();
    static const int removed = std::atexit([] { QDir(folder).removeRecursively(); });
    (void)removed;
    static int loaded = 0;
    static const bool checked = (checkNoOrdinaryFile(w), true);
    (void)checked;

    writeFile(w.directory() + QStringLiteral("/GAME"), data, size);
    if (!w->au_repos) {
        w->etat_jeuxClick(); // put the marbles back; asks nothing
    }
    const veltrano::Grille before = w->grille;
    const int failuresBefore = failures;
    const qsizetype noticesBefore = w.modals().unexpected().size();
    w->chargerClick();

    if (failures != failuresBefore || w.modals().unexpected().size() != noticesBefore) {
        require(failures + w.modals().unexpected().size() == failuresBefore + noticesBefore + 1,
                "one failure or one notice for a record not loaded");
        require(w->au_repos && w->grille == before && w->nb_repos == 44,
                "a record not loaded leaves the game as it was");
        return 0;
    }
    require(!w->au_repos, "a record loaded is a game under way");
    require(veltrano::check_position(w->grille, w->nb_repos) == veltrano::PositionFault::none,
            "a loaded position is sound");
    require(w->nb_mobiles == veltrano::nb_mobiles(w->grille), "the moves counted as the rules do");
    require(w->billes_repos->text() == QString::number(44 - w->nb_repos),
            "the tray count shown as loaded");
    require(w->heures >= 0 && w->minutes < 60 && w->secondes < 60, "a sound chrono");
    if (++loaded % 16 == 0) {
        // The pointer over every hole judges each against the loaded board.
        for (int n = 1; n <= 45; ++n) {
            w->pmove(n);
        }
    }
    return 0;
}
