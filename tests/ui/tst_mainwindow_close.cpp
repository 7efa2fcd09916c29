// SPDX-License-Identifier: GPL-3.0-or-later
// Closing the main window always asks first, whichever way it is asked
// for, and only "OK" lets it close; a running game survives any other answer.
#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include "GameWindow.h"
#include "Main.h"
#include "PictureBox.h"

using namespace Qt::StringLiterals;
using namespace uitest;

namespace {

enum class Trigger { CloseBox, Quitter, QuitterLabel };
enum class Reply { Ok, Annuler, Escape, DismissBox };

// What a question must leave untouched in a running game.
struct GameState {
    veltrano::Grille grille;
    int nb_repos, nb_mobiles, heures, minutes, secondes;
    bool bille_prise, timer;
    QString chrono, counter;
    std::array<int, 46> holes;
    std::array<int, 45> tray;
    int assignments;

    static GameState of(GameWindow &w) {
        return {w->grille,
                w->nb_repos,
                w->nb_mobiles,
                w->heures,
                w->minutes,
                w->secondes,
                w->bille_prise,
                w->Timer1->isActive(),
                w->chrono->text(),
                w->billes_repos->text(),
                w->etat_affiche_trous,
                w->etat_affiche_bac,
                w.holeAssignments() + w.trayAssignments()};
    }
    bool operator==(const GameState &) const = default;
};

} // namespace

Q_DECLARE_METATYPE(Trigger)
Q_DECLARE_METATYPE(Reply)

class tst_mainwindow_close : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { QApplication::setQuitOnLastWindowClosed(false); }
    void question_data();
    void question();
    void pressOnQuitterReleasedElsewhere();
};

void tst_mainwindow_close::question_data() {
    QTest::addColumn<Trigger>("trigger");
    QTest::addColumn<Reply>("reply");
    QTest::addColumn<bool>("closes");
    const struct {
        const char *name;
        Trigger trigger;
    } triggers[] = {{"close box", Trigger::CloseBox},
                    {"quitterClick", Trigger::Quitter},
                    {"click on Quitter", Trigger::QuitterLabel}};
    const struct {
        const char *name;
        Reply reply;
        bool closes;
    } replies[] = {{"OK", Reply::Ok, true},
                   {"Annuler", Reply::Annuler, false},
                   {"Escape", Reply::Escape, false},
                   {"box dismissed", Reply::DismissBox, false}};
    for (const auto &t : triggers) {
        for (const auto &r : replies) {
            QTest::addRow("%s, %s", t.name, r.name) << t.trigger << r.reply << r.closes;
        }
    }
}

void tst_mainwindow_close::question() {
    QFETCH(Trigger, trigger);
    QFETCH(Reply, reply);
    QFETCH(bool, closes);

    GameWindow w;
    // A game under way: one jump made, a few seconds on the chrono and a
    // marble in the hand.
    UITEST_CHECKED(w.startGame(BoardAnswer::Traditional));
    UITEST_CHECKED(w.playJump({8, 14, 23}));
    for (int i = 0; i < 5; ++i) {
        w->Timer1Timer();
    }
    w.click(32);
    QVERIFY(w->bille_prise);
    // Re-arm the chrono so that no real tick lands while the question is up.
    w->Timer1->start();
    const GameState before = GameState::of(w);

    bool asked = false;
    w.modals().expect([&](QWidget *modal) {
        auto *box = qobject_cast<QMessageBox *>(modal);
        QVERIFY(box);
        asked = true;
        QCOMPARE(box->windowTitle(), u"Confirmation"_s);
        QCOMPARE(box->icon(), QMessageBox::Question);
        QCOMPARE(box->text(), u"Désirez-vous quitter Veltrano"_s);
        QStringList captions;
        QAbstractButton *ok = nullptr;
        QAbstractButton *annuler = nullptr;
        for (QAbstractButton *b : box->buttons()) {
            captions << b->text();
            (b->text() == u"OK"_s ? ok : annuler) = b;
        }
        captions.sort();
        QCOMPARE(captions, QStringList({u"Annuler"_s, u"OK"_s}));
        switch (reply) {
        case Reply::Ok:
            QTest::mouseClick(ok, Qt::LeftButton);
            break;
        case Reply::Annuler:
            QTest::mouseClick(annuler, Qt::LeftButton);
            break;
        case Reply::Escape:
            QTest::keyClick(box, Qt::Key_Escape);
            break;
        case Reply::DismissBox:
            box->close();
            break;
        }
        QVERIFY2(!box->isVisible(), "the answer must close the question");
    });

    switch (trigger) {
    case Trigger::CloseBox:
        w->close();
        break;
    case Trigger::Quitter:
        w->quitterClick();
        break;
    case Trigger::QuitterLabel:
        QTest::mouseClick(w->quitter, Qt::LeftButton);
        break;
    }
    QVERIFY(asked);
    QVERIFY(w.modals().unexpected().isEmpty());
    QCOMPARE(w->isVisible(), !closes);
    if (!closes) {
        QVERIFY(GameState::of(w) == before);
        // The game carries on where it was: the held marble still jumps.
        w.hover(14);
        w.click(14);
        QCOMPARE(w->nb_repos, before.nb_repos + 1);
    }
}

void tst_mainwindow_close::pressOnQuitterReleasedElsewhere() {
    GameWindow w;
    QWindow *window = w->windowHandle();
    const QPoint onQuitter = w->quitter->geometry().center();
    QTest::mousePress(window, Qt::LeftButton, {}, onQuitter);
    QTest::mouseRelease(window, Qt::LeftButton, {}, onQuitter + QPoint(0, 30));
    QVERIFY(w.modals().seen().isEmpty());
    QVERIFY(w->isVisible());
}

QTEST_MAIN(tst_mainwindow_close)
#include "tst_mainwindow_close.moc"
