// SPDX-License-Identifier: GPL-3.0-or-later
// The chrono fed tick by tick in the window, and the pictures: a move repaints only what
// it changes, a change of look repaints everything and nothing else.
#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QTest>
#include <QTimer>

#include "GameWindow.h"
#include "Main.h"
#include "PictureBox.h"
#include "Settings.h"

using namespace Qt::StringLiterals;
using namespace uitest;

Q_DECLARE_METATYPE(BoardAnswer)

namespace {

enum class Look { Board, Marbles };

std::array<int, 46> holeCounts(GameWindow &w) {
    std::array<int, 46> c{};
    for (int n = 1; n <= 45; ++n) {
        c[n] = w->images_trous[n]->assignments();
    }
    return c;
}

std::array<int, 45> trayCounts(GameWindow &w) {
    std::array<int, 45> c{};
    for (int i = 1; i <= 44; ++i) {
        c[i] = w->images_bac[i]->assignments();
    }
    return c;
}

// A click on the label, as the player gives the command.
void clickLook(GameWindow &w, Look look) {
    QTest::mouseClick(look == Look::Board ? w->texture_plateau : w->texture_bille, Qt::LeftButton);
}

int current(Look look) {
    return look == Look::Board ? SettingsRecord.boardTexture : SettingsRecord.marbleTexture;
}

void setCurrent(Look look, int value) {
    (look == Look::Board ? SettingsRecord.boardTexture : SettingsRecord.marbleTexture) =
        static_cast<std::int16_t>(value);
}

// Every box that shows a marble shows the sprite of the current look.
void checkSprites(GameWindow &w) {
    const QImage expected = sprite(SettingsRecord.boardTexture, SettingsRecord.marbleTexture);
    for (int n = 1; n <= 45; ++n) {
        if (w->images_trous[n]->hasPicture()) {
            QVERIFY2(samePicture(w->images_trous[n]->picture(), expected),
                     qPrintable(u"hole %1"_s.arg(n)));
        }
    }
    for (int i = 1; i <= 44; ++i) {
        if (w->images_bac[i]->hasPicture()) {
            QVERIFY2(samePicture(w->images_bac[i]->picture(), expected),
                     qPrintable(u"tray %1"_s.arg(i)));
        }
    }
}

void checkBoardPicture(GameWindow &w) {
    const QImage expected = boardTexture(SettingsRecord.boardTexture);
    if (expected.isNull()) {
        QVERIFY(!w->plateau->hasPicture());
    } else {
        QVERIFY(samePicture(w->plateau->picture(), expected));
    }
}

} // namespace

Q_DECLARE_METATYPE(Look)

class tst_chrono_looks : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { QApplication::setQuitOnLastWindowClosed(false); }
    void chronoKeptUntilFirstTick();
    void chronoRunsByItself();
    void chronoRunsUnderADialog();
    void jumpRepaintsThreeHolesAndOnePlace_data();
    void jumpRepaintsThreeHolesAndOnePlace();
    void lookDuringGame_data();
    void lookDuringGame();
    void lookAtRest_data();
    void lookAtRest();
    void lookCycles_data();
    void lookCycles();
    void lookAboveRange_data();
    void lookAboveRange();
    void unknownMarbleLookKeepsBoxes();
};

void tst_chrono_looks::chronoKeptUntilFirstTick() {
    GameWindow w;
    UITEST_CHECKED(w.startGame(BoardAnswer::Traditional));
    for (int i = 0; i < 67; ++i) {
        w->Timer1Timer();
    }
    QCOMPARE(w->chrono->text(), u"00:01:07"_s);
    UITEST_CHECKED(w.putBack());
    QCOMPARE(w->chrono->text(), u"00:01:07"_s);
    UITEST_CHECKED(w.startGame(BoardAnswer::Full));
    // The new game counts from zero but shows the old time until it ticks.
    QCOMPARE(w->chrono->text(), u"00:01:07"_s);
    QCOMPARE(w->heures + w->minutes + w->secondes, 0);
    QVERIFY(w->Timer1->isActive());
    w->Timer1Timer();
    QCOMPARE(w->chrono->text(), u"00:00:01"_s);
}

void tst_chrono_looks::chronoRunsByItself() {
    GameWindow w;
    UITEST_CHECKED(w.startGame(BoardAnswer::Traditional));
    QTRY_COMPARE_WITH_TIMEOUT(w->chrono->text(), u"00:00:01"_s, 3000);
    UITEST_CHECKED(w.putBack());
    QTest::qWait(1300);
    QCOMPARE(w->chrono->text(), u"00:00:01"_s);
}

void tst_chrono_looks::chronoRunsUnderADialog() {
    GameWindow w;
    UITEST_CHECKED(w.startGame(BoardAnswer::Traditional));
    w.modals().expect([&](QWidget *modal) {
        QCOMPARE(modal->objectName(), u"meilleur_score"_s);
        QTRY_COMPARE_WITH_TIMEOUT(w->chrono->text(), u"00:00:01"_s, 3000);
        qobject_cast<QDialog *>(modal)->accept();
    });
    w->scoresClick();
    QCOMPARE(w.modals().pending(), 0);
    QCOMPARE(w->chrono->text(), u"00:00:01"_s);
    QVERIFY(w->Timer1->isActive());
}

void tst_chrono_looks::jumpRepaintsThreeHolesAndOnePlace_data() {
    QTest::addColumn<BoardAnswer>("answer");
    QTest::newRow("traditional") << BoardAnswer::Traditional;
    QTest::newRow("45 holes") << BoardAnswer::Full;
}

void tst_chrono_looks::jumpRepaintsThreeHolesAndOnePlace() {
    QFETCH(BoardAnswer, answer);
    GameWindow w;
    UITEST_CHECKED(w.startGame(answer));
    BoardModel model(answer == BoardAnswer::Traditional ? 1 : 2);
    // A whole game by the first jump the model offers each time.
    while (!model.jumps().empty()) {
        const Jump j = model.jumps().front();
        const auto holes = holeCounts(w);
        const auto tray = trayCounts(w);
        w.hover(j.from);
        w.click(j.from);
        // Picking up changes no picture.
        QVERIFY(holeCounts(w) == holes);
        w.hover(j.to);
        w.click(j.to);
        model.play(j);
        const auto holesAfter = holeCounts(w);
        const auto trayAfter = trayCounts(w);
        for (int n = 1; n <= 45; ++n) {
            const bool changed = n == j.from || n == j.over || n == j.to;
            QVERIFY2(holesAfter[n] - holes[n] == (changed ? 1 : 0),
                     qPrintable(u"hole %1"_s.arg(n)));
        }
        for (int i = 1; i <= 44; ++i) {
            QVERIFY2(trayAfter[i] - tray[i] == (i == w->nb_repos ? 1 : 0),
                     qPrintable(u"tray %1"_s.arg(i)));
        }
    }
    QVERIFY(w->fin_annoncee);
}

void tst_chrono_looks::lookDuringGame_data() {
    QTest::addColumn<Look>("look");
    QTest::addColumn<BoardAnswer>("answer");
    QTest::newRow("Plateau, traditional") << Look::Board << BoardAnswer::Traditional;
    QTest::newRow("Plateau, 45 holes") << Look::Board << BoardAnswer::Full;
    QTest::newRow("Billes, traditional") << Look::Marbles << BoardAnswer::Traditional;
    QTest::newRow("Billes, 45 holes") << Look::Marbles << BoardAnswer::Full;
}

void tst_chrono_looks::lookDuringGame() {
    QFETCH(Look, look);
    QFETCH(BoardAnswer, answer);
    GameWindow w;
    UITEST_CHECKED(w.startGame(answer));
    BoardModel model(answer == BoardAnswer::Traditional ? 1 : 2);
    for (int k = 0; k < 2; ++k) {
        const Jump j = model.jumps().front();
        UITEST_CHECKED(w.playJump(j));
        model.play(j);
    }
    for (int i = 0; i < 3; ++i) {
        w->Timer1Timer();
    }
    w->Timer1->start(); // no real tick during the check
    const veltrano::Grille grille = w->grille;
    const int nb_repos = w->nb_repos;
    const int nb_mobiles = w->nb_mobiles;
    const QString chrono = w->chrono->text();
    const int seconds = w->heures * 3600 + w->minutes * 60 + w->secondes;
    const auto holes = holeCounts(w);
    const auto tray = trayCounts(w);

    UITEST_CHECKED(clickLook(w, look));
    QCOMPARE(current(look), 2);
    QCOMPARE(current(look == Look::Board ? Look::Marbles : Look::Board), 1);
    // Every box is set again, marble or not, and only once.
    const auto holesAfter = holeCounts(w);
    const auto trayAfter = trayCounts(w);
    for (int n = 1; n <= 45; ++n) {
        QCOMPARE(holesAfter[n] - holes[n], 1);
        QCOMPARE(w->etat_affiche_trous[n], model.filled(n) ? 1 : 0);
        QCOMPARE(w->images_trous[n]->hasPicture(), model.filled(n));
    }
    for (int i = 1; i <= 44; ++i) {
        QCOMPARE(trayAfter[i] - tray[i], 1);
    }
    QVERIFY(w.trayFilledUpTo(nb_repos));
    UITEST_CHECKED(checkSprites(w));
    UITEST_CHECKED(checkBoardPicture(w));
    // The game itself is untouched.
    QVERIFY(w->grille == grille);
    QCOMPARE(w->nb_repos, nb_repos);
    QCOMPARE(w->nb_mobiles, nb_mobiles);
    QCOMPARE(w->chrono->text(), chrono);
    QCOMPARE(w->heures * 3600 + w->minutes * 60 + w->secondes, seconds);
    QVERIFY(w->Timer1->isActive());
    QVERIFY(!w->au_repos);
    // And goes on in the new look.
    const Jump j = model.jumps().front();
    UITEST_CHECKED(w.playJump(j));
    UITEST_CHECKED(checkSprites(w));
    QVERIFY(w->images_trous[j.to]->hasPicture());
}

void tst_chrono_looks::lookAtRest_data() {
    QTest::addColumn<Look>("look");
    QTest::newRow("Plateau") << Look::Board;
    QTest::newRow("Billes") << Look::Marbles;
}

void tst_chrono_looks::lookAtRest() {
    QFETCH(Look, look);
    GameWindow w;
    const auto holes = holeCounts(w);
    const auto tray = trayCounts(w);
    UITEST_CHECKED(clickLook(w, look));
    QCOMPARE(current(look), 2);
    // The 44 tray marbles are drawn again; the empty board is left alone.
    QVERIFY(holeCounts(w) == holes);
    const auto trayAfter = trayCounts(w);
    for (int i = 1; i <= 44; ++i) {
        QCOMPARE(trayAfter[i] - tray[i], 1);
    }
    QCOMPARE(w->nb_repos, 44);
    QVERIFY(w.trayFilledUpTo(44));
    UITEST_CHECKED(checkSprites(w));
    UITEST_CHECKED(checkBoardPicture(w));
    QVERIFY(w->au_repos);
    QVERIFY(!w->Timer1->isActive());
    // The next game shows its marbles in the new look.
    UITEST_CHECKED(w.startGame(BoardAnswer::Full));
    const BoardModel model(2);
    for (int n = 1; n <= 45; ++n) {
        QCOMPARE(w.shows(n), model.filled(n));
        QCOMPARE(w->etat_affiche_trous[n], model.filled(n) ? 1 : 0);
    }
    UITEST_CHECKED(checkSprites(w));
}

void tst_chrono_looks::lookCycles_data() {
    QTest::addColumn<Look>("look");
    QTest::addColumn<int>("clicks");
    QTest::newRow("Plateau") << Look::Board << 4;
    QTest::newRow("Billes") << Look::Marbles << 7;
}

void tst_chrono_looks::lookCycles() {
    QFETCH(Look, look);
    QFETCH(int, clicks);
    GameWindow w;
    UITEST_CHECKED(w.startGame(BoardAnswer::Traditional));
    const QImage board = w->plateau->picture().toImage();
    const QImage marble = w->images_trous[8]->picture().toImage();
    const QImage inTray = w->images_bac[1]->picture().toImage();
    for (int k = 1; k <= clicks; ++k) {
        UITEST_CHECKED(clickLook(w, look));
        QCOMPARE(current(look), k == clicks ? 1 : k + 1);
        UITEST_CHECKED(checkSprites(w));
        UITEST_CHECKED(checkBoardPicture(w));
    }
    QCOMPARE(current(look == Look::Board ? Look::Marbles : Look::Board), 1);
    QVERIFY(samePicture(w->plateau->picture(), board));
    QVERIFY(samePicture(w->images_trous[8]->picture(), marble));
    QVERIFY(samePicture(w->images_bac[1]->picture(), inTray));
}

void tst_chrono_looks::lookAboveRange_data() {
    QTest::addColumn<Look>("look");
    QTest::addColumn<int>("stored");
    QTest::newRow("Plateau 5") << Look::Board << 5;
    QTest::newRow("Plateau 9") << Look::Board << 9;
    QTest::newRow("Plateau 32767") << Look::Board << 32767;
    QTest::newRow("Billes 8") << Look::Marbles << 8;
    QTest::newRow("Billes 9") << Look::Marbles << 9;
    QTest::newRow("Billes 32767") << Look::Marbles << 32767;
}

void tst_chrono_looks::lookAboveRange() {
    QFETCH(Look, look);
    QFETCH(int, stored);
    GameWindow w;
    UITEST_CHECKED(w.startGame(BoardAnswer::Full));
    setCurrent(look, stored);
    UITEST_CHECKED(clickLook(w, look));
    QCOMPARE(current(look), 1);
    UITEST_CHECKED(checkSprites(w));
    UITEST_CHECKED(checkBoardPicture(w));
    QCOMPARE(w->nb_mobiles, 4);
}

void tst_chrono_looks::unknownMarbleLookKeepsBoxes() {
    GameWindow w;
    const QImage first = sprite(1, 1);
    SettingsRecord.marbleTexture = 9;
    // No sprite for that look: the tray keeps what it showed...
    UITEST_CHECKED(clickLook(w, Look::Board));
    QCOMPARE(SettingsRecord.boardTexture, 2);
    for (int i = 1; i <= 44; ++i) {
        QCOMPARE(w->etat_affiche_bac[i], 1);
        QVERIFY(samePicture(w->images_bac[i]->picture(), first));
    }
    // ...and the board marbles are counted and played, but not drawn.
    UITEST_CHECKED(w.startGame(BoardAnswer::Traditional));
    const BoardModel model(1);
    for (int n = 1; n <= 45; ++n) {
        QCOMPARE(w->etat_affiche_trous[n], model.filled(n) ? 1 : 0);
        QVERIFY(!w->images_trous[n]->hasPicture());
    }
    QCOMPARE(w->nb_mobiles, 4);
    UITEST_CHECKED(w.playJump({8, 14, 23}));
    QCOMPARE(w->billes_repos->text(), u"31"_s);
    // The next "Billes" comes back to the first look and draws everything.
    UITEST_CHECKED(clickLook(w, Look::Marbles));
    QCOMPARE(SettingsRecord.marbleTexture, 1);
    for (int n = 1; n <= 45; ++n) {
        QCOMPARE(w->images_trous[n]->hasPicture(), w.gameHolds(n));
    }
    QVERIFY(w.trayFilledUpTo(13));
    UITEST_CHECKED(checkSprites(w));
}

QTEST_MAIN(tst_chrono_looks)
#include "tst_chrono_looks.moc"
