// SPDX-License-Identifier: GPL-3.0-or-later
// Games played through the mouse on the real window: the cursors over the
// holes, picking up, putting back and jumping, the tray and the counter, the
// end of a game and putting the marbles back. Every step is checked against
// an independent model of the board.
#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "Cursors.h"
#include "EndMessage.h"
#include "GameWindow.h"
#include "Main.h"
#include "PictureBox.h"
#include "Placement.h"
#include "Settings.h"

using namespace Qt::StringLiterals;
using namespace uitest;

Q_DECLARE_METATYPE(BoardAnswer)
Q_DECLARE_METATYPE(uitest::Jump)

namespace {

int kindOf(BoardAnswer answer) {
    return answer == BoardAnswer::Traditional ? 1 : 2;
}

// The window shows and counts what the model holds.
void checkAgainst(GameWindow &w, const BoardModel &model) {
    for (int n = 1; n <= 45; ++n) {
        QVERIFY2(w.gameHolds(n) == model.filled(n), qPrintable(u"hole %1"_s.arg(n)));
        QVERIFY2(w.shows(n) == model.filled(n), qPrintable(u"picture of hole %1"_s.arg(n)));
        QCOMPARE(w->etat_affiche_trous[n], model.filled(n) ? 1 : 0);
    }
    QCOMPARE(w->nb_repos, model.tray());
    QCOMPARE(w->nb_mobiles, model.movableCount());
    QVERIFY(w.trayFilledUpTo(model.tray()));
    QCOMPARE(w->billes_repos->text(), QString::number(model.marbles()));
}

void checkAllCursors(GameWindow &w, int expected) {
    for (int n = 1; n <= 45; ++n) {
        QVERIFY2(w.cursorOf(n) == expected, qPrintable(u"hole %1"_s.arg(n)));
    }
    QCOMPARE(w.plateauCursor(), expected);
}

// With no marble held, the hand shows exactly over the marbles that can jump.
void sweepFree(GameWindow &w, const BoardModel &model, int kind) {
    for (int n = 1; n <= 45; ++n) {
        w.hover(n);
        QCOMPARE(w->trou_courant, n);
        const int expected = model.movable(n) ? crMain : crDefault;
        QVERIFY2(w.cursorOf(n) == expected, qPrintable(u"hole %1"_s.arg(n)));
        if (kind == 1 && isArmEnd(n)) {
            QCOMPARE(w.cursorOf(n), crDefault);
        }
    }
}

// With a marble held, the moving hand shows where it may land and the
// forbidden sign everywhere else, its own hole included.
void sweepHeld(GameWindow &w, const BoardModel &model, int kind, int held) {
    for (int n = 1; n <= 45; ++n) {
        w.hover(n);
        const int expected = model.canLand(held, n) ? crDeplace : crImpossible;
        QVERIFY2(w.cursorOf(n) == expected, qPrintable(u"hole %1"_s.arg(n)));
        if (kind == 1 && isArmEnd(n)) {
            QCOMPARE(w.cursorOf(n), crImpossible);
        }
        QCOMPARE(w.plateauCursor(), crDeplace);
        QVERIFY(w->bille_prise);
    }
}

// One jump played with full checks of every cursor before and after the
// pick-up, and of the whole window after the jump.
void playChecked(GameWindow &w, BoardModel &model, int kind, const Jump &jump) {
    UITEST_CHECKED(sweepFree(w, model, kind));
    w.click(jump.from);
    QVERIFY(w->bille_prise);
    QCOMPARE(w.cursorOf(jump.from), crDeplace);
    QCOMPARE(w.plateauCursor(), crDeplace);
    UITEST_CHECKED(sweepHeld(w, model, kind, jump.from));
    w.hover(jump.to);
    w.click(jump.to);
    model.play(jump);
    QVERIFY(!w->bille_prise);
    UITEST_CHECKED(checkAllCursors(w, crDefault));
    UITEST_CHECKED(checkAgainst(w, model));
}

QPoint centreOf(GameWindow &w, int hole) {
    return w->images_trous[hole]->geometry().center();
}

} // namespace

class tst_play : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { QApplication::setQuitOnLastWindowClosed(false); }
    void nothingAtRest_data();
    void nothingAtRest();
    void startPosition_data();
    void startPosition();
    void cursorsAtStart_data();
    void cursorsAtStart();
    void holdingAndJumping_data();
    void holdingAndJumping();
    void putBack_data();
    void putBack();
    void oddClicks();
    void clickLandingAgain_data();
    void clickLandingAgain();
    void wholeTraditionalGame();
    void wholeFullGameByRule();
    void endOfGameRunsOnce();
    void endMessageTakesTheMouse();
    void marblesBackMidGame();
};

void tst_play::nothingAtRest_data() {
    QTest::addColumn<bool>("afterAGame");
    QTest::newRow("before the first game") << false;
    QTest::newRow("after the marbles were put back") << true;
}

void tst_play::nothingAtRest() {
    QFETCH(bool, afterAGame);
    GameWindow w;
    if (afterAGame) {
        UITEST_CHECKED(w.startGame(BoardAnswer::Full));
        UITEST_CHECKED(w.playJump({8, 14, 23}));
        w.click(32); // a marble in the hand when the game stops
        UITEST_CHECKED(w.putBack());
    }
    const veltrano::Grille before = w->grille;
    const int trou = w->trou_courant;
    const int assignments = w.holeAssignments() + w.trayAssignments();
    for (int n = 1; n <= 45; ++n) {
        w.hover(n);
        w.click(n);
        w.click(n);
    }
    QCOMPARE(w->trou_courant, trou);
    QVERIFY(w->grille == before);
    QVERIFY(!w->bille_prise);
    QCOMPARE(w->nb_repos, 44);
    QCOMPARE(w.holeAssignments() + w.trayAssignments(), assignments);
    UITEST_CHECKED(checkAllCursors(w, crDefault));
    QVERIFY(!w->message_fin->isEnabled());
    QVERIFY(w.modals().unexpected().isEmpty());
}

void tst_play::startPosition_data() {
    QTest::addColumn<QList<BoardAnswer>>("earlier");
    QTest::addColumn<BoardAnswer>("answer");
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("onBoard");
    using L = QList<BoardAnswer>;
    QTest::newRow("traditional") << L{} << BoardAnswer::Traditional << 1 << 32;
    QTest::newRow("45 holes") << L{} << BoardAnswer::Full << 2 << 44;
    QTest::newRow("dialog closed, first start") << L{} << BoardAnswer::CloseDialog << 1 << 32;
    QTest::newRow("dialog closed after 45 holes")
        << L{BoardAnswer::Full} << BoardAnswer::CloseDialog << 2 << 44;
    QTest::newRow("dialog closed after traditional")
        << L{BoardAnswer::Full, BoardAnswer::Traditional} << BoardAnswer::CloseDialog << 1 << 32;
    QTest::newRow("45 holes after traditional")
        << L{BoardAnswer::Traditional} << BoardAnswer::Full << 2 << 44;
}

void tst_play::startPosition() {
    QFETCH(QList<BoardAnswer>, earlier);
    QFETCH(BoardAnswer, answer);
    QFETCH(int, kind);
    QFETCH(int, onBoard);

    GameWindow w;
    for (BoardAnswer e : earlier) {
        UITEST_CHECKED(w.startGame(e));
        UITEST_CHECKED(w.playJump({21, 22, 23}));
        UITEST_CHECKED(w.putBack());
    }
    UITEST_CHECKED(w.startGame(answer));
    QCOMPARE(SettingsRecord.boardKind, kind);
    const BoardModel model(kind);
    QCOMPARE(model.marbles(), onBoard);
    UITEST_CHECKED(checkAgainst(w, model));
    QCOMPARE(w->nb_mobiles, 4);
    QCOMPARE(w->etat_jeux->text(), u"Reposer les billes"_s);
    QCOMPARE(w->etat_jeux->toolTip(), u"Cliquez, pour arrêter cette partie"_s);
    QVERIFY(w->Timer1->isActive());
    QVERIFY(!w->message_fin->isEnabled());
    QVERIFY(w->message_fin->text().isEmpty());
    QVERIFY(!w->bille_prise);
    for (int n = 1; n <= 45; ++n) {
        if (model.filled(n)) {
            QVERIFY(samePicture(w->images_trous[n]->picture(), sprite(1, 1)));
        }
    }
    // The dialogs centre on where the main window stood when it was asked.
    const QRect frame = w->frameGeometry();
    QCOMPARE(MainWindowRect.left, frame.left());
    QCOMPARE(MainWindowRect.top, frame.top());
    QCOMPARE(MainWindowRect.width, frame.width());
    QCOMPARE(MainWindowRect.height, frame.height());
    QVERIFY(w.modals().unexpected().isEmpty());
}

void tst_play::cursorsAtStart_data() {
    QTest::addColumn<BoardAnswer>("answer");
    QTest::newRow("traditional") << BoardAnswer::Traditional;
    QTest::newRow("45 holes") << BoardAnswer::Full;
}

void tst_play::cursorsAtStart() {
    QFETCH(BoardAnswer, answer);
    GameWindow w;
    UITEST_CHECKED(w.startGame(answer));
    // Before the pointer has moved, no hole has a cursor of its own.
    UITEST_CHECKED(checkAllCursors(w, crDefault));
    for (int n = 1; n <= 45; ++n) {
        w.hover(n);
        const bool movable = n == 8 || n == 21 || n == 25 || n == 38;
        QVERIFY2(w.cursorOf(n) == (movable ? crMain : crDefault), qPrintable(QString::number(n)));
    }
    QCOMPARE(w.plateauCursor(), crDefault);
    // Clicking anything but those four does nothing.
    const veltrano::Grille before = w->grille;
    for (int n = 1; n <= 45; ++n) {
        if (n == 8 || n == 21 || n == 25 || n == 38) {
            continue;
        }
        w.click(n);
        QVERIFY(!w->bille_prise);
        QCOMPARE(w.cursorOf(n), crDefault);
    }
    QVERIFY(w->grille == before);
    QCOMPARE(w->nb_repos, BoardModel(kindOf(answer)).tray());
}

void tst_play::holdingAndJumping_data() {
    cursorsAtStart_data();
}

void tst_play::holdingAndJumping() {
    QFETCH(BoardAnswer, answer);
    const int kind = kindOf(answer);
    GameWindow w;
    UITEST_CHECKED(w.startGame(answer));
    BoardModel model(kind);
    for (int n = 1; n <= 45; ++n) {
        w.hover(n);
    }
    // A click picks the marble up without a move of the pointer first.
    w.click(38);
    QVERIFY(w->bille_prise);
    QCOMPARE(w.cursorOf(38), crDeplace);
    QCOMPARE(w.plateauCursor(), crDeplace);
    // The other movable marbles keep the hand until the pointer comes back.
    QCOMPARE(w.cursorOf(8), crMain);
    UITEST_CHECKED(sweepHeld(w, model, kind, 38));
    QCOMPARE(w.cursorOf(38), crImpossible); // judged again: no landing there
    QCOMPARE(w.cursorOf(23), crDeplace);
    // Put back by a second click on it: every cursor is the arrow again.
    w.click(38);
    QVERIFY(!w->bille_prise);
    UITEST_CHECKED(checkAllCursors(w, crDefault));
    UITEST_CHECKED(checkAgainst(w, model));
    // And the jump itself.
    w.click(38);
    w.click(23);
    model.play({38, 32, 23});
    UITEST_CHECKED(checkAllCursors(w, crDefault));
    UITEST_CHECKED(checkAgainst(w, model));
    QCOMPARE(w->nb_repos, kind == 1 ? 13 : 1);
    QCOMPARE(w->nb_mobiles, kind == 1 ? 3 : 4);
}

void tst_play::putBack_data() {
    QTest::addColumn<BoardAnswer>("answer");
    QTest::addColumn<QList<Jump>>("before");
    QTest::addColumn<int>("held");
    QTest::addColumn<int>("clicked");
    using L = QList<Jump>;
    const auto T = BoardAnswer::Traditional;
    const auto F = BoardAnswer::Full;
    QTest::newRow("own hole") << T << L{} << 8 << 8;
    QTest::newRow("marble next to it") << T << L{} << 8 << 14;
    QTest::newRow("marble two away") << F << L{} << 8 << 2;
    QTest::newRow("arm end two away") << T << L{} << 8 << 2;
    QTest::newRow("empty hole, not in line") << T << L{{8, 14, 23}} << 12 << 8;
    QTest::newRow("empty hole three away") << T << L{{8, 14, 23}} << 32 << 8;
    QTest::newRow("empty hole beyond an empty one")
        << T << L{{21, 22, 23}, {24, 23, 22}, {8, 14, 23}} << 23 << 8;
    QTest::newRow("empty hole beyond an empty one, 45 holes")
        << F << L{{21, 22, 23}, {19, 20, 21}, {7, 13, 22}} << 22 << 7;
}

void tst_play::putBack() {
    QFETCH(BoardAnswer, answer);
    QFETCH(QList<Jump>, before);
    QFETCH(int, held);
    QFETCH(int, clicked);

    GameWindow w;
    UITEST_CHECKED(w.startGame(answer));
    BoardModel model(kindOf(answer));
    for (const Jump &j : before) {
        UITEST_CHECKED(w.playJump(j));
        model.play(j);
    }
    QVERIFY(model.movable(held));
    QVERIFY(!model.canLand(held, clicked));
    const veltrano::Grille grille = w->grille;
    const int assignments = w.holeAssignments() + w.trayAssignments();
    w.hover(held);
    w.click(held);
    QVERIFY(w->bille_prise);
    w.hover(clicked);
    QCOMPARE(w.cursorOf(clicked), crImpossible);
    w.click(clicked);
    QVERIFY(!w->bille_prise);
    QVERIFY(w->grille == grille);
    QCOMPARE(w.holeAssignments() + w.trayAssignments(), assignments);
    UITEST_CHECKED(checkAllCursors(w, crDefault));
    UITEST_CHECKED(checkAgainst(w, model));
}

void tst_play::oddClicks() {
    GameWindow w;
    UITEST_CHECKED(w.startGame(BoardAnswer::Traditional));
    const BoardModel model(1);
    QWindow *window = w->windowHandle();

    // The right button picks nothing up.
    QTest::mouseClick(w->images_trous[8], Qt::RightButton);
    QVERIFY(!w->bille_prise);

    // Pressed on a marble, released over another hole: no click at all.
    QTest::mousePress(window, Qt::LeftButton, {}, centreOf(w, 8));
    QTest::mouseRelease(window, Qt::LeftButton, {}, centreOf(w, 23));
    QVERIFY(!w->bille_prise);
    QCOMPARE(w->nb_repos, 12);

    // A double click picks the marble up and puts it back, and never
    // takes a marble off.
    QTest::mouseDClick(window, Qt::LeftButton, {}, centreOf(w, 8));
    QVERIFY(!w->bille_prise);
    UITEST_CHECKED(checkAgainst(w, model));

    // Held, then a press on the landing hole released elsewhere: still held,
    // nothing jumped.
    w.click(8);
    QVERIFY(w->bille_prise);
    QTest::mousePress(window, Qt::LeftButton, {}, centreOf(w, 23));
    QTest::mouseRelease(window, Qt::LeftButton, {}, QPoint(5, 5));
    QVERIFY(w->bille_prise);
    UITEST_CHECKED(checkAgainst(w, model));
    // A click on the board picture between the holes changes nothing either.
    QTest::mouseClick(window, Qt::LeftButton, {}, QPoint(320, 60));
    QVERIFY(w->bille_prise);
    // Through the window the jump is made like any other.
    QTest::mouseClick(window, Qt::LeftButton, {}, centreOf(w, 23));
    QVERIFY(!w->bille_prise);
    QCOMPARE(w->nb_repos, 13);

    // Clicks on the tray reach nothing.
    const veltrano::Grille grille = w->grille;
    for (int i = 1; i <= 44; ++i) {
        QTest::mouseClick(window, Qt::LeftButton, {}, w->images_bac[i]->geometry().center());
    }
    QVERIFY(w->grille == grille);
    QVERIFY(w.modals().unexpected().isEmpty());
}

void tst_play::clickLandingAgain_data() {
    QTest::addColumn<QList<Jump>>("jumps");
    QTest::addColumn<bool>("picksUp");
    using L = QList<Jump>;
    QTest::newRow("landed marble that can't jump") << L{{8, 14, 23}} << false;
    QTest::newRow("landed marble that can jump")
        << L{{21, 22, 23}, {24, 23, 22}, {8, 14, 23}} << true;
}

void tst_play::clickLandingAgain() {
    QFETCH(QList<Jump>, jumps);
    QFETCH(bool, picksUp);
    GameWindow w;
    UITEST_CHECKED(w.startGame(BoardAnswer::Traditional));
    BoardModel model(1);
    for (const Jump &j : jumps) {
        UITEST_CHECKED(w.playJump(j));
        model.play(j);
    }
    const int landed = jumps.last().to;
    QCOMPARE(model.movable(landed), picksUp);
    // The pointer still stands on the landing hole; a second click there.
    w.click(landed);
    QCOMPARE(w->bille_prise, picksUp);
    QCOMPARE(w.cursorOf(landed), picksUp ? crDeplace : crDefault);
    QCOMPARE(w.plateauCursor(), picksUp ? crDeplace : crDefault);
    UITEST_CHECKED(checkAgainst(w, model));
}

void tst_play::wholeTraditionalGame() {
    const std::vector<Jump> solution = BoardModel(1).solveToOne();
    QCOMPARE(solution.size(), std::size_t{31});

    GameWindow w;
    UITEST_CHECKED(w.startGame(BoardAnswer::Traditional));
    BoardModel model(1);
    UITEST_CHECKED(checkAgainst(w, model));
    for (std::size_t i = 0; i < solution.size(); ++i) {
        UITEST_CHECKED(playChecked(w, model, 1, solution[i]));
        // The game ends in the very click of its last jump, not before.
        QCOMPARE(w->fin_annoncee, i + 1 == solution.size());
        QCOMPARE(w->Timer1->isActive(), i + 1 < solution.size());
    }
    QCOMPARE(w->message_fin->text(), u"VOUS AVEZ GAGNE"_s);
    QVERIFY(w->message_fin->isEnabled());
    QVERIFY(!w->Timer1->isActive());
    QCOMPARE(w->billes_repos->text(), u"1"_s);
    QCOMPARE(w->nb_mobiles, 0);
    // Over, but still counted as running.
    QVERIFY(!w->au_repos);
    QCOMPARE(w->etat_jeux->text(), u"Reposer les billes"_s);
    // The only window a finished game may open asks the player's name.
    for (const QString &name : w.modals().unexpected()) {
        QCOMPARE(name, u"saisie_nom"_s);
    }
    QVERIFY(w.modals().unexpected().size() <= 1);
}

void tst_play::wholeFullGameByRule() {
    // The rule: the lowest-numbered hole that shows the hand, then the
    // lowest-numbered hole that shows the moving hand. Only the cursors
    // tell the test where to click; the model checks what they said.
    GameWindow w;
    UITEST_CHECKED(w.startGame(BoardAnswer::Full));
    BoardModel model(2);
    int jumps = 0;
    while (!w->fin_annoncee) {
        QVERIFY(jumps < 43);
        UITEST_CHECKED(sweepFree(w, model, 2));
        int from = 0;
        for (int n = 1; n <= 45 && !from; ++n) {
            from = w.cursorOf(n) == crMain ? n : 0;
        }
        QVERIFY(from);
        w.click(from);
        UITEST_CHECKED(sweepHeld(w, model, 2, from));
        int to = 0;
        for (int n = 1; n <= 45 && !to; ++n) {
            to = w.cursorOf(n) == crDeplace ? n : 0;
        }
        QVERIFY(to);
        const GridCell a = cellOfHole(from);
        const GridCell b = cellOfHole(to);
        const Jump jump{from, holeAt((a.x + b.x) / 2, (a.y + b.y) / 2), to};
        w.hover(to);
        w.click(to);
        model.play(jump);
        ++jumps;
        UITEST_CHECKED(checkAgainst(w, model));
        QCOMPARE(w->fin_annoncee, model.movableCount() == 0);
    }
    QVERIFY(model.marbles() > 1);
    QCOMPARE(w->message_fin->text(),
             model.marbles() == 1 ? u"VOUS AVEZ GAGNE"_s : u"PARTIE TERMINEE"_s);
    QVERIFY(w->message_fin->isEnabled());
    QVERIFY(!w->Timer1->isActive());
    QCOMPARE(w->billes_repos->text(), QString::number(model.marbles()));
    QVERIFY(w.modals().unexpected().size() <= 1);
}

void tst_play::endOfGameRunsOnce() {
    GameWindow w;
    UITEST_CHECKED(w.startGame(BoardAnswer::Traditional));
    for (const Jump &j : BoardModel(1).solveToOne()) {
        UITEST_CHECKED(w.playJump(j));
    }
    QVERIFY(w->fin_annoncee);
    const int dialogs = static_cast<int>(w.modals().seen().size());
    // A second run would stop the chrono again; set it going to see.
    w->Timer1->start();
    // Holes outside the message's box still take clicks.
    for (int n : {1, 2, 3, 4, 5, 6, 40, 41, 42, 43, 44, 45}) {
        w.hover(n);
        QCOMPARE(w->trou_courant, n);
        w.click(n);
    }
    QVERIFY(w->Timer1->isActive());
    QCOMPARE(w->message_fin->text(), u"VOUS AVEZ GAGNE"_s);
    QCOMPARE(w.modals().seen().size(), dialogs);
    // Putting the marbles back clears the message; the next game can end
    // again.
    w->Timer1->stop();
    UITEST_CHECKED(w.putBack());
    QVERIFY(!w->message_fin->isEnabled());
    QVERIFY(w->message_fin->text().isEmpty());
    UITEST_CHECKED(w.startGame(BoardAnswer::Traditional));
    QVERIFY(!w->fin_annoncee);
    for (const Jump &j : BoardModel(1).solveToOne()) {
        UITEST_CHECKED(w.playJump(j));
    }
    QVERIFY(w->fin_annoncee);
    QCOMPARE(w->message_fin->text(), u"VOUS AVEZ GAGNE"_s);
    QVERIFY(!w->Timer1->isActive());
}

void tst_play::endMessageTakesTheMouse() {
    GameWindow w;
    UITEST_CHECKED(w.startGame(BoardAnswer::Traditional));
    QWindow *window = w->windowHandle();
    const std::vector<Jump> solution = BoardModel(1).solveToOne();
    // During the game the holes under the message's box answer the mouse.
    QCOMPARE(w->childAt(centreOf(w, 23)), w->images_trous[23]);
    QTest::mouseMove(window, centreOf(w, 22));
    QCOMPARE(w->trou_courant, 22);
    for (const Jump &j : solution) {
        UITEST_CHECKED(w.playJump(j));
    }
    QVERIFY(w->message_fin->isEnabled());
    // Over: the message's box takes the mouse over every hole it covers.
    for (int n = 1; n <= 45; ++n) {
        const bool covered = w->message_fin->geometry().contains(centreOf(w, n));
        QCOMPARE(w->childAt(centreOf(w, n)) == w->message_fin, covered);
    }
    w.hover(1);
    QCOMPARE(w->trou_courant, 1);
    for (int n : {13, 22, 23, 24, 31}) {
        QTest::mouseMove(window, centreOf(w, n));
        QTest::mouseClick(window, Qt::LeftButton, {}, centreOf(w, n));
        QCOMPARE(w->trou_courant, 1);
    }
    // Outside it the board still answers.
    QTest::mouseMove(window, centreOf(w, 41));
    QCOMPARE(w->trou_courant, 41);
}

void tst_play::marblesBackMidGame() {
    GameWindow w;
    UITEST_CHECKED(w.startGame(BoardAnswer::Traditional));
    for (const Jump &j : {Jump{21, 22, 23}, Jump{24, 23, 22}, Jump{8, 14, 23}}) {
        UITEST_CHECKED(w.playJump(j));
    }
    for (int i = 0; i < 5; ++i) {
        w->Timer1Timer();
    }
    w.click(23); // holding a marble
    QVERIFY(w->bille_prise);
    UITEST_CHECKED(w.putBack());
    QVERIFY(!w->bille_prise);
    QVERIFY(!w->Timer1->isActive());
    QCOMPARE(w->chrono->text(), u"00:00:05"_s);
    QCOMPARE(w->billes_repos->text(), u"0"_s);
    QCOMPARE(w->nb_repos, 44);
    QVERIFY(w.trayFilledUpTo(44));
    for (int n = 1; n <= 45; ++n) {
        QVERIFY(!w->images_trous[n]->hasPicture());
        QCOMPARE(w->etat_affiche_trous[n], 0);
    }
    UITEST_CHECKED(checkAllCursors(w, crDefault));
    QCOMPARE(w->etat_jeux->text(), u"Nouvelle Partie"_s);
    QCOMPARE(w->etat_jeux->toolTip(), u"Cliquez, pour commencer une nouvelle partie"_s);
    // The model is back at the start, shown at the next game.
    const BoardModel start(1);
    for (int n = 1; n <= 45; ++n) {
        QCOMPARE(w.gameHolds(n), start.filled(n));
    }
    QVERIFY(w.modals().unexpected().isEmpty());

    // The next game, on the other board, through the label itself.
    w.modals().expect([](QWidget *modal) {
        QTest::mouseClick(modal->findChild<QPushButton *>(u"BitBtn2"_s), Qt::LeftButton);
    });
    QTest::mouseClick(w->etat_jeux, Qt::LeftButton);
    QCOMPARE(w.modals().pending(), 0);
    QVERIFY(!w->au_repos);
    BoardModel full(2);
    UITEST_CHECKED(checkAgainst(w, full));
    UITEST_CHECKED(playChecked(w, full, 2, {38, 32, 23}));
}

QTEST_MAIN(tst_play)
#include "tst_play.moc"
