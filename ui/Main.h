// SPDX-License-Identifier: GPL-3.0-or-later
// The main window: the board picture, its command labels, the 45 holes and
// the 44 tray places, and the whole course of a game played with the mouse.
#pragma once

#include <QHash>
#include <QPixmap>
#include <QWidget>
#include <array>

#include "grille.h"

namespace Ui {
class Form1;
}
class EndMessage;
class PictureBox;
class QLabel;
class QTimer;
class TZeltHint;
struct SavedGame;

class TForm1 : public QWidget {
    Q_OBJECT
public:
    explicit TForm1(QWidget *parent = nullptr);
    ~TForm1() override;

    // Design-time controls, built from the window description.
    Ui::Form1 *ui;
    PictureBox *plateau;
    QLabel *billes_repos, *charger, *sauver, *scores, *etat_jeux, *chrono, *texture_plateau,
        *texture_bille, *infos, *aide, *quitter;
    QTimer *Timer1;
    TZeltHint *bulle;

    // Game fields, 1-based like everything on the board; index 0 unused.
    std::array<PictureBox *, 46> images_trous{};
    std::array<PictureBox *, 45> images_bac{};
    EndMessage *message_fin = nullptr;
    std::array<int, 46> etat_affiche_trous{}; // 0 no picture, 1 marble, -1 stale
    std::array<int, 45> etat_affiche_bac{};
    veltrano::Grille grille;
    int heures = 0, minutes = 0, secondes = 0;
    int colonne = 0, ligne = 0, colonne_prise = 0, ligne_prise = 0, trou_courant = 0;
    int nb_repos = 0, nb_mobiles = 0;
    bool au_repos = false, choix_valide = false, bille_prise = false;
    // The end of the current game has been told and offered to the top ten:
    // later clicks on a finished game must not offer the same result again.
    bool fin_annoncee = false;

    void position_main();

    // Commands.
    void infosClick();
    void aideClick();
    void scoresClick();
    void quitterClick();
    void etat_jeuxClick();
    void chargerClick();
    void sauverClick();
    void texture_plateauClick();
    void texture_billeClick();

    // Course of a game.
    void reset_plateau();
    void jeux_repos(int n);
    void affiche_score();
    void Timer1Timer();
    void fin_de_partie();

    // Pictures.
    void place_bille_plateau();
    void retire_bille_plateau();

    // Mouse over and clicks on the holes.
    void pmove(int trou);
    void coordonnees(int trou, int x, int y);
    void test_etat();
    void deplacement(int trou);

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    // The nine command labels and what a click on each does.
    struct Command {
        QLabel *label;
        void (TForm1::*onClick)();
    };
    std::array<Command, 9> commands() const;

    void FormCreate();
    bool FormCloseQuery();
    void showMarble(PictureBox *box, int &state);
    void emptyBox(PictureBox *box, int &state);
    void markAllStale();
    void redrawAfterLookChange();
    void saveSettings();
    void resumeSavedGame(const SavedGame &game);
    void showGameRunning();
    QPixmap picture(const QString &name);

    QHash<QString, QPixmap> pictures_;
};
