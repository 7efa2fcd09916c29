// SPDX-License-Identifier: GPL-3.0-or-later
#include "Main.h"

#include <QCloseEvent>
#include <QDir>
#include <QShortcut>
#include <QTimer>

#include "About.h"
#include "ClickFilter.h"
#include "Cursors.h"
#include "EndMessage.h"
#include "Faces.h"
#include "Fmode.h"
#include "Fnom.h"
#include "FolderFile.h"
#include "HelpViewer.h"
#include "PictureBox.h"
#include "Pictures.h"
#include "Placement.h"
#include "Player.h"
#include "Questions.h"
#include "RecordFile.h"
#include "Score.h"
#include "Settings.h"
#include "WindowDescription.h"
#include "Zelthint.h"
#include "chrono.h"
#include "geometry.h"
#include "looks.h"
#include "rules.h"
#include "ui_Main.h"

using namespace Qt::StringLiterals;

namespace {

bool inRange(int value, int low, int high) {
    return value >= low && value <= high;
}

} // namespace

TForm1::TForm1(QWidget *parent) : QWidget(parent), ui(new Ui::Form1) {
    ui->setupUi(this);
    for (const veltrano::Label &label : veltrano::kLabels) {
        const veltrano::Box b = label.box;
        findChild<QLabel *>(QString::fromLatin1(label.name))
            ->setGeometry(b.left, b.top, b.width, b.height);
    }
    applyDescriptionFonts(this);
    plateau = ui->plateau;
    billes_repos = ui->billes_repos;
    charger = ui->charger;
    sauver = ui->sauver;
    scores = ui->scores;
    etat_jeux = ui->etat_jeux;
    chrono = ui->chrono;
    texture_plateau = ui->texture_plateau;
    texture_bille = ui->texture_bille;
    infos = ui->infos;
    aide = ui->aide;
    quitter = ui->quitter;

    // From here on every hint of the game is a balloon drawn with bulle's
    // settings; the labels keep their hint texts as their tooltips.
    bulle = new TZeltHint(this);
    bulle->setObjectName(u"bulle"_s);
    bulle->setHintDirection(hdDownRight);
    bulle->setHintShadowColor(Qt::black);
    QFont hintFont(appearance::installedFace(u"Arial"_s));
    hintFont.setPixelSize(11);
    bulle->setHintFont(hintFont, Qt::black);
    bulle->Loaded();

    Timer1 = new QTimer(this);
    Timer1->setObjectName(u"Timer1"_s);
    Timer1->setInterval(1000);
    connect(Timer1, &QTimer::timeout, this, &TForm1::Timer1Timer);

    // The commands are plain labels over buttons painted in the board.
    auto *clicks = new ClickFilter(this);
    for (const Command &command : commands()) {
        clicks->watch(command.label);
    }
    connect(clicks, &ClickFilter::clicked, this, [this](QWidget *label) {
        for (const Command &command : commands()) {
            if (label == command.label) {
                (this->*command.onClick)();
            }
        }
    });
    // The help key opens the help from anywhere in the main window.
    auto *help = new QShortcut(QKeySequence(Qt::Key_F1), this);
    connect(help, &QShortcut::activated, this, &TForm1::aideClick);

    FormCreate();
}

TForm1::~TForm1() {
    delete ui;
}

void TForm1::FormCreate() {
    // A fixed window with a system menu and a minimize button, never resized;
    // the board picture covers it all, so its background is never erased.
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    setFixedSize(640, 462);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    centreOnScreen(this);

    // The data files are reached through a handle on this folder, taken
    // now: its name is only for show and for the help, and may be neither
    // valid text nor short enough to be asked for.
    startDirectory = QDir::currentPath() + u'/';
    takeStartDirectory();

    OpenSettings();
    ReadSettings();
    CloseSettings();

    registerCursors(devicePixelRatioF());
    for (const Command &command : commands()) {
        setCursorNumber(command.label, crMainHaut);
    }

    for (int n = 1; n <= veltrano::kHoleCount; ++n) {
        const veltrano::Box b = veltrano::hole_box(n);
        auto *box = new PictureBox(this);
        box->setObjectName(u"trou%1"_s.arg(n));
        box->setGeometry(b.left, b.top, b.width, b.height);
        box->setMouseTracking(true);
        connect(box, &PictureBox::mouseMoved, this, [this, n] { pmove(n); });
        connect(box, &PictureBox::clicked, this, [this, n] { deplacement(n); });
        images_trous[n] = box;
    }
    for (int i = 1; i <= veltrano::kTrayCount; ++i) {
        const veltrano::Box b = veltrano::tray_box(i);
        auto *box = new PictureBox(this);
        box->setObjectName(u"bac%1"_s.arg(i));
        box->setGeometry(b.left, b.top, b.width, b.height);
        // Tray places only show; clicks on them reach the board beneath.
        box->setAttribute(Qt::WA_TransparentForMouseEvents);
        images_bac[i] = box;
    }

    message_fin = new EndMessage(this);
    message_fin->setObjectName(u"message_fin"_s);
    message_fin->setGeometry(156, 130, 365, 151);
    message_fin->setAlignment(Qt::AlignCenter);
    QFont big(appearance::installedFace(u"Times New Roman"_s));
    big.setPixelSize(67); // 50 points on a 96 dpi screen
    big.setBold(true);
    message_fin->setFont(big);
    QPalette yellow = message_fin->palette();
    for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        yellow.setColor(group, QPalette::WindowText, Qt::yellow);
    }
    message_fin->setPalette(yellow);
    message_fin->setActive(false);
    // Too wide for its box, the message stays on the board itself: clear of
    // the tray at the left, of the command column at the right and of the
    // row of commands below, so every command still reads.
    int trayRight = 0;
    for (int i = 1; i <= veltrano::kTrayCount; ++i) {
        trayRight = qMax(trayRight, images_bac[i]->geometry().right());
    }
    constexpr int kGap = 6;
    message_fin->setClearArea(QRect(QPoint(trayRight + kGap, kGap),
                                    QPoint(billes_repos->x() - kGap, texture_plateau->y() - kGap)));

    position_main();

    au_repos = true;
    bille_prise = false;
    nb_repos = veltrano::kMarbleTotal;
    jeux_repos(nb_repos);
    reset_plateau();
    affiche_score();

    playerName.clear();

    if (inRange(SettingsRecord.boardTexture, 1, veltrano::kBoardLooks)) {
        plateau->setPicture(picture(u"plateau%1.bmp"_s.arg(SettingsRecord.boardTexture)));
    }
}

QPixmap TForm1::picture(const QString &name) {
    auto it = pictures_.find(name);
    if (it == pictures_.end()) {
        it = pictures_.insert(
            name, appearance::loadPicture(u":/pictures/"_s + name, devicePixelRatioF()));
    }
    return *it;
}

void TForm1::position_main() {
    const QRect r = frameGeometry();
    MainWindowRect = {r.left(), r.top(), r.width(), r.height()};
}

// ---- Simple commands -----------------------------------------------------

std::array<TForm1::Command, 9> TForm1::commands() const {
    return {{{etat_jeux, &TForm1::etat_jeuxClick},
             {charger, &TForm1::chargerClick},
             {sauver, &TForm1::sauverClick},
             {scores, &TForm1::scoresClick},
             {texture_plateau, &TForm1::texture_plateauClick},
             {texture_bille, &TForm1::texture_billeClick},
             {infos, &TForm1::infosClick},
             {aide, &TForm1::aideClick},
             {quitter, &TForm1::quitterClick}}};
}

void TForm1::infosClick() {
    position_main();
    a_propos->StartAnimation();
    a_propos->exec();
    a_propos->StopAnimation();
}

void TForm1::aideClick() {
    // Through the folder's handle, like the data files: its name may be no
    // valid text, or too long to be asked for, so without the handle there
    // is no help to read either (the player is told once, as for the files).
    if (reportIfFailed(ensureStartDirectory())) {
        return;
    }
    help::showHelp(startDirectory + u"DOC.HLP"_s, 1, this, storage::heldFolder());
}

void TForm1::scoresClick() {
    position_main();
    meilleur_score->exec();
}

void TForm1::quitterClick() {
    close();
}

void TForm1::closeEvent(QCloseEvent *event) {
    if (FormCloseQuery()) {
        event->accept();
    } else {
        event->ignore();
    }
}

bool TForm1::FormCloseQuery() {
    return confirm(this, u"Désirez-vous quitter Veltrano"_s);
}

// chargerClick and sauverClick live in SaveLoad.cpp, beside the saved game.

// ---- Course of a game ----------------------------------------------------

void TForm1::reset_plateau() {
    veltrano::reset_plateau(grille, SettingsRecord.boardKind);
}

// The command's caption while a game runs, whether started or loaded.
void TForm1::showGameRunning() {
    etat_jeux->setText(u"Reposer les billes"_s);
    etat_jeux->setToolTip(u"Cliquez, pour arrêter cette partie"_s);
}

void TForm1::etat_jeuxClick() {
    message_fin->setActive(false);
    message_fin->setMessage(QString());
    if (au_repos) {
        position_main();
        mode->exec();
        OpenSettings();
        ReadSettings();
        CloseSettings();
        reset_plateau();
        showGameRunning();
        au_repos = false;
        fin_annoncee = false;
        nb_repos = veltrano::start_tray_count(SettingsRecord.boardKind);
        jeux_repos(nb_repos);
        place_bille_plateau();
        affiche_score();
        // The chrono's text keeps the last game's time until the first tick.
        heures = minutes = secondes = 0;
        Timer1->start();
        return;
    }
    // Putting the marbles back asks nothing and records nothing.
    etat_jeux->setText(u"Nouvelle Partie"_s);
    etat_jeux->setToolTip(u"Cliquez, pour commencer une nouvelle partie"_s);
    for (int n = 1; n <= veltrano::kHoleCount; ++n) {
        setCursorNumber(images_trous[n], crDefault);
    }
    setCursorNumber(plateau, crDefault);
    bille_prise = false;
    au_repos = true;
    Timer1->stop();
    nb_repos = veltrano::kMarbleTotal;
    jeux_repos(veltrano::kMarbleTotal);
    retire_bille_plateau();
    affiche_score();
    reset_plateau();
}

void TForm1::jeux_repos(int n) {
    for (int i = 1; i <= veltrano::kTrayCount; ++i) {
        if (i <= n) {
            showMarble(images_bac[i], etat_affiche_bac[i]);
        } else {
            emptyBox(images_bac[i], etat_affiche_bac[i]);
        }
    }
}

void TForm1::affiche_score() {
    billes_repos->setText(QString::number(veltrano::kMarbleTotal - nb_repos));
}

void TForm1::Timer1Timer() {
    const veltrano::Chrono now = veltrano::tick({heures, minutes, secondes});
    heures = now.heures;
    minutes = now.minutes;
    secondes = now.secondes;
    chrono->setText(QString::fromStdString(veltrano::chrono_text(now)));
}

void TForm1::fin_de_partie() {
    fin_annoncee = true;
    message_fin->setActive(true);
    const bool won = veltrano::outcome(veltrano::kMarbleTotal - nb_repos) == veltrano::Outcome::won;
    message_fin->setMessage(won ? u"VOUS AVEZ GAGNE"_s : u"PARTIE TERMINEE"_s);
    Timer1->stop();
    InsertScore(nb_repos, chrono->text(), [this] {
        position_main();
        saisie_nom->exec();
    });
}

// ---- Pictures ------------------------------------------------------------

void TForm1::showMarble(PictureBox *box, int &state) {
    if (state == 1) {
        return;
    }
    state = 1;
    const int board = SettingsRecord.boardTexture;
    const int look = SettingsRecord.marbleTexture;
    if (inRange(board, 1, veltrano::kBoardLooks) && inRange(look, 1, veltrano::kMarbleLooks)) {
        box->setPicture(picture(u"bille%1%2.png"_s.arg(board).arg(look)));
    }
}

void TForm1::emptyBox(PictureBox *box, int &state) {
    if (state == 0) {
        return;
    }
    box->clearPicture();
    state = 0;
}

void TForm1::place_bille_plateau() {
    veltrano::etat_plateau(grille);
    nb_mobiles = 0;
    for (int n = 1; n <= veltrano::kHoleCount; ++n) {
        const veltrano::Cell c = veltrano::hole_cell(n);
        if (veltrano::holds_marble(grille, c.x, c.y)) {
            if (veltrano::can_pick(grille, c.x, c.y)) {
                ++nb_mobiles;
            }
            showMarble(images_trous[n], etat_affiche_trous[n]);
        } else {
            emptyBox(images_trous[n], etat_affiche_trous[n]);
        }
    }
}

void TForm1::retire_bille_plateau() {
    for (int n = 1; n <= veltrano::kHoleCount; ++n) {
        emptyBox(images_trous[n], etat_affiche_trous[n]);
    }
}

void TForm1::markAllStale() {
    etat_affiche_trous.fill(-1);
    etat_affiche_bac.fill(-1);
}

void TForm1::redrawAfterLookChange() {
    if (au_repos) {
        // The holes are empty at rest and stay stale until the next game.
        nb_repos = veltrano::kMarbleTotal;
        jeux_repos(veltrano::kMarbleTotal);
    } else {
        jeux_repos(nb_repos);
        place_bille_plateau();
    }
}

void TForm1::texture_plateauClick() {
    SettingsRecord.boardTexture = static_cast<std::int16_t>(
        veltrano::next_look(SettingsRecord.boardTexture, veltrano::kBoardLooks));
    plateau->setPicture(picture(u"plateau%1.bmp"_s.arg(SettingsRecord.boardTexture)));
    markAllStale();
    redrawAfterLookChange();
    saveSettings();
}

void TForm1::texture_billeClick() {
    markAllStale();
    SettingsRecord.marbleTexture = static_cast<std::int16_t>(
        veltrano::next_look(SettingsRecord.marbleTexture, veltrano::kMarbleLooks));
    redrawAfterLookChange();
    saveSettings();
}

// A change of look is written to the settings at once.
void TForm1::saveSettings() {
    OpenSettings();
    WriteSettings();
    CloseSettings();
}

// ---- Mouse over and clicks on the holes ----------------------------------

void TForm1::pmove(int trou) {
    const veltrano::Cell c = veltrano::hole_cell(trou);
    coordonnees(trou, c.x, c.y);
}

void TForm1::coordonnees(int trou, int x, int y) {
    if (au_repos) {
        return;
    }
    trou_courant = trou;
    colonne = x;
    ligne = y;
    test_etat();
}

void TForm1::test_etat() {
    PictureBox *box = images_trous[trou_courant];
    if (bille_prise) {
        choix_valide = veltrano::can_land(grille, colonne_prise, ligne_prise, colonne, ligne);
        setCursorNumber(box, choix_valide ? crDeplace : crImpossible);
    } else {
        choix_valide = veltrano::can_pick(grille, colonne, ligne);
        setCursorNumber(box, choix_valide ? crMain : crDefault);
    }
}

void TForm1::deplacement(int trou) {
    if (au_repos) {
        return;
    }
    pmove(trou);
    if (bille_prise) {
        if (choix_valide &&
            veltrano::apply_jump(grille, colonne_prise, ligne_prise, colonne, ligne)) {
            place_bille_plateau();
            ++nb_repos;
            jeux_repos(nb_repos);
            affiche_score();
        }
        bille_prise = false;
        setCursorNumber(plateau, crDefault);
        for (int n = 1; n <= veltrano::kHoleCount; ++n) {
            setCursorNumber(images_trous[n], crDefault);
        }
    } else if (choix_valide) {
        setCursorNumber(images_trous[trou_courant], crDeplace);
        setCursorNumber(plateau, crDeplace);
        bille_prise = true;
        colonne_prise = colonne;
        ligne_prise = ligne;
    } else {
        setCursorNumber(images_trous[trou_courant], crDefault);
        setCursorNumber(plateau, crDefault);
        bille_prise = false;
    }
    if (nb_mobiles == 0 && !au_repos && !fin_annoncee) {
        fin_de_partie();
    }
}
