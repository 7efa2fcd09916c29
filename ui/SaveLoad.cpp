// SPDX-License-Identifier: GPL-3.0-or-later
// "Sauver" and "Charger": the main window's side of the saved game.
#include <QLabel>
#include <QTimer>

#include "EndMessage.h"
#include "Main.h"
#include "Player.h"
#include "Questions.h"
#include "RecordFile.h"
#include "SavedGame.h"

using namespace Qt::StringLiterals;

void TForm1::sauverClick() {
    if (au_repos) {
        inform(this, u"Les billes sont reposées"_s);
        return;
    }
    // Asked every time, even when nothing was saved before.
    if (!confirm(this, u"Vous allez écraser la dernière partie sauvegardée"_s)) {
        return;
    }
    // A file that cannot be read whole (too short) stops the save here and
    // is left as it is.
    if (OpenSavedGame() == SavedGameFile::Failed) {
        return;
    }
    fillSavedGameRecord(playerName, chrono->text(), nb_repos, grille);
    // Each failure is told by the file layer; the game goes on either way.
    WriteSavedGame();
    CloseSavedGame();
}

void TForm1::chargerClick() {
    const SavedGameFile found = OpenSavedGame();
    if (found == SavedGameFile::Failed || !CloseSavedGame()) {
        return;
    }
    if (found == SavedGameFile::NoGame) {
        inform(this, u"Aucune partie n'a été sauvegardée"_s);
        return;
    }
    if (!au_repos && !confirm(this, u"Vous allez annuler la partie en cour"_s)) {
        return;
    }
    // The record is read and checked whole before the game on the board is
    // touched: a damaged file is refused and the current game goes on.
    const SavedGameFile again = OpenSavedGame();
    if (again == SavedGameFile::Failed) {
        return;
    }
    const bool read = ReadSavedGame();
    if (!CloseSavedGame() || !read) {
        return;
    }
    if (again == SavedGameFile::NoGame) {
        // Replaced by an empty one while the question was open.
        inform(this, u"Aucune partie n'a été sauvegardée"_s);
        return;
    }
    SavedGame game;
    const QString refusal = decodeSavedGame(SavedGameRecord, game);
    if (!refusal.isEmpty()) {
        reportFileFailure(refusal);
        return;
    }
    resumeSavedGame(game);
}

// A held marble stays held: the next click judges it against the loaded
// board. The chrono's caption is left for the next tick to rewrite.
void TForm1::resumeSavedGame(const SavedGame &game) {
    message_fin->setActive(false);
    message_fin->setMessage(QString());
    playerName = game.name;
    nb_repos = game.nb_repos;
    grille = game.grille;
    au_repos = false;
    // A loaded game is a new game for its ending: a stuck position ends at
    // the first click, even if the game it replaces had already ended.
    fin_annoncee = false;
    jeux_repos(nb_repos);
    place_bille_plateau();
    showGameRunning();
    affiche_score();
    heures = game.heures;
    minutes = game.minutes;
    secondes = game.secondes;
    Timer1->start();
}
