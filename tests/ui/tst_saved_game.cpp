// SPDX-License-Identifier: GPL-3.0-or-later
// "Sauver" and "Charger" on the real window: the questions asked, a game
// taken up again where it was left with its bytes read back by hand, stuck
// positions, and files that are too short, damaged or crafted.
#include <QAbstractButton>
#include <QLabel>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include "EndMessage.h"
#include "GameWindow.h"
#include "Main.h"
#include "Player.h"
#include "RecordFile.h"
#include "SavedRecord.h"
#include "Settings.h"

using namespace Qt::StringLiterals;
using namespace uitest;

Q_DECLARE_METATYPE(BoardAnswer)

namespace {

QStringList reported;
void recordFailure(const QString &text) {
    reported << text;
}

const QString kDamaged = u"La partie sauvegardée est endommagée"_s;
const QString kShort = u"Lecture au delà de la fin de fichier"_s;
const QString kOverwrite = u"Vous allez écraser la dernière partie sauvegardée"_s;
const QString kCancelGame = u"Vous allez annuler la partie en cour"_s;

// Answers the next box: "Title|Text|Button".
void expectBox(GameWindow &w, const QString &expected) {
    const QStringList parts = expected.split(u'|');
    w.modals().expect([parts](QWidget *modal) {
        auto *box = qobject_cast<QMessageBox *>(modal);
        QVERIFY(box);
        QCOMPARE(box->windowTitle(), parts[0]);
        QCOMPARE(box->text(), parts[1]);
        for (QAbstractButton *button : box->buttons()) {
            if (button->text() == parts[2]) {
                button->click();
                return;
            }
        }
        QFAIL("no such button");
    });
}

void expectNoOtherWindow(GameWindow &w) {
    QCOMPARE(w.modals().pending(), 0);
    // A finished game may ask a name; nothing else may show unasked.
    for (const QString &name : w.modals().unexpected()) {
        QCOMPARE(name, u"saisie_nom"_s);
    }
}

void playJumps(GameWindow &w, BoardModel &model, int count) {
    for (int i = 0; i < count; ++i) {
        const Jump jump = model.jumps().front();
        UITEST_CHECKED(w.playJump(jump));
        model.play(jump);
    }
}

QString gamePath(GameWindow &w) {
    return w.directory() + u"/GAME"_s;
}

// The part of the window's state a refused or cancelled command must leave.
struct Snapshot {
    veltrano::Grille grille;
    int nb_repos, heures;
    bool au_repos, timer;
    QString name, message;
    explicit Snapshot(GameWindow &w)
        : grille(w->grille), nb_repos(w->nb_repos), heures(w->heures), au_repos(w->au_repos),
          timer(w->Timer1->isActive()), name(playerName), message(w->message_fin->text()) {}
    bool operator==(const Snapshot &) const = default;
};

void checkShows(GameWindow &w, const veltrano::Grille &g, int tray) {
    for (int n = 1; n <= 45; ++n) {
        const veltrano::Cell c = veltrano::hole_cell(n);
        QVERIFY2(w.shows(n) == veltrano::holds_marble(g, c.x, c.y), qPrintable(QString::number(n)));
    }
    QVERIFY(w.trayFilledUpTo(tray));
    QCOMPARE(w->billes_repos->text(), QString::number(44 - tray));
}

} // namespace

class tst_saved_game : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { setIoFailureReporter(recordFailure); }
    void init() { reported.clear(); }
    void questions_data();
    void questions();
    void takenUpAgain_data();
    void takenUpAgain();
    void stuckPositionsEndAtNextClick();
    void damagedFiles_data();
    void damagedFiles();
};

void tst_saved_game::questions_data() {
    QTest::addColumn<bool>("save");
    QTest::addColumn<bool>("running");
    QTest::addColumn<bool>("saved");  // a game is on file
    QTest::addColumn<QString>("box"); // "" when nothing is asked
    QTest::addColumn<bool>("loads");

    const QString rest = u"Information|Les billes sont reposées|OK"_s;
    QTest::newRow("save at rest") << true << false << true << rest << false;
    QTest::newRow("save cancelled")
        << true << true << true << u"Confirmation|"_s + kOverwrite + u"|Annuler"_s << false;
    QTest::newRow("load, no file")
        << false << false << false << u"Information|Aucune partie n'a été sauvegardée|OK"_s
        << false;
    QTest::newRow("load at rest asks nothing") << false << false << true << QString() << true;
    QTest::newRow("load cancelled")
        << false << true << true << u"Confirmation|"_s + kCancelGame + u"|Annuler"_s << false;
}

void tst_saved_game::questions() {
    QFETCH(bool, save);
    QFETCH(bool, running);
    QFETCH(bool, saved);
    QFETCH(QString, box);
    QFETCH(bool, loads);

    GameWindow w;
    if (running) {
        UITEST_CHECKED(w.startGame(BoardAnswer::Traditional));
    }
    const QByteArray game = savedRecord("Ana", "00:07:30", 1, afterFirstJump());
    if (saved) {
        QVERIFY(writeBytes(gamePath(w), game));
    }
    const Snapshot before(w);
    if (!box.isEmpty()) {
        expectBox(w, box);
    }
    save ? w->sauverClick() : w->chargerClick();
    expectNoOtherWindow(w);
    QCOMPARE(reported, QStringList());

    const QByteArray after = readBytes(gamePath(w));
    if (saved) {
        QCOMPARE(after, game);
    } else { // created, marked as holding no game
        QCOMPARE(after.size(), 677);
        QCOMPARE(int16At(after, 27), -1);
    }
    if (loads) {
        QCOMPARE(w->grille, afterFirstJump());
        QCOMPARE(playerName, u"Ana"_s);
        QVERIFY(!w->au_repos && w->Timer1->isActive());
    } else {
        QVERIFY(Snapshot(w) == before);
    }
}

enum Then { PlayOn, PutBack, SwitchBoard };

void tst_saved_game::takenUpAgain_data() {
    QTest::addColumn<BoardAnswer>("board");
    QTest::addColumn<int>("jumps");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("nameBytes"); // as the file holds it
    QTest::addColumn<int>("heures");           // the chrono before one tick
    QTest::addColumn<int>("minutes");
    QTest::addColumn<int>("secondes");
    QTest::addColumn<QString>("caption"); // after that tick
    QTest::addColumn<QString>("next");    // one tick after the load
    QTest::addColumn<int>("then");

    QTest::newRow("traditional, played on, board kind switched")
        << BoardAnswer::Traditional << 5 << u"Marc"_s << QByteArray("Marc") << 0 << 1 << 9
        << u"00:01:10"_s << u"00:01:11"_s << +SwitchBoard;
    QTest::newRow("full, 15-character name, put back")
        << BoardAnswer::Full << 3 << u"Éloïse Dupont-Ç"_s << QByteArray("\xC9lo\xEFse Dupont-\xC7")
        << 2 << 59 << 59 << u"03:00:00"_s << u"03:00:01"_s << +PutBack;
    QTest::newRow("a hundred hours, played on")
        << BoardAnswer::Full << 1 << u"Zoé"_s << QByteArray("Zo\xE9") << 99 << 59 << 59
        << u"100:00:00"_s << u"100:00:01"_s << +PlayOn;
}

void tst_saved_game::takenUpAgain() {
    QFETCH(BoardAnswer, board);
    QFETCH(int, jumps);
    QFETCH(QString, name);
    QFETCH(QByteArray, nameBytes);
    QFETCH(int, heures);
    QFETCH(int, minutes);
    QFETCH(int, secondes);
    QFETCH(QString, caption);
    QFETCH(QString, next);
    QFETCH(int, then);

    GameWindow w;
    UITEST_CHECKED(w.startGame(board));
    BoardModel model(board == BoardAnswer::Traditional ? 1 : 2);
    UITEST_CHECKED(playJumps(w, model, jumps));
    playerName = name;
    w->Timer1->start();
    w->heures = heures, w->minutes = minutes, w->secondes = secondes;
    w->Timer1Timer();
    QCOMPARE(w->chrono->text(), caption);
    const Snapshot beforeSave(w);
    expectBox(w, u"Confirmation|"_s + kOverwrite + u"|OK"_s);
    w->sauverClick();
    QVERIFY(Snapshot(w) == beforeSave); // the game goes on untouched
    const veltrano::Grille saved = w->grille;
    const int tray = w->nb_repos;
    // Every field where the table puts it, read back by hand.
    const QByteArray f = readBytes(gamePath(w));
    QCOMPARE(f.size(), 677);
    QCOMPARE(f.left(16), nameBytes.leftJustified(16, '\0'));
    QCOMPARE(f.mid(16, 11), caption.toLatin1().leftJustified(11, '\0'));
    QCOMPARE(int16At(f, 27), tray);
    for (int c = 1; c <= 9; ++c) {
        for (int l = 1; l <= 9; ++l) {
            for (int d = 1; d <= 4; ++d) {
                QCOMPARE(int16At(f, gridAt(c, l, d)), saved.get(c, l, d));
            }
        }
    }

    playerName = u"Quelqu'un"_s;
    if (then == PutBack) {
        UITEST_CHECKED(w.putBack());
    } else {
        BoardModel on = model;
        UITEST_CHECKED(playJumps(w, on, 1));
        QVERIFY(w->grille != saved);
        for (int i = 0; i < 100; ++i) {
            w->Timer1Timer();
        }
        // A marble held at the load stays held.
        const Jump pick = on.jumps().front();
        w.hover(pick.from);
        w.click(pick.from);
        QVERIFY(w->bille_prise);
        expectBox(w, u"Confirmation|"_s + kCancelGame + u"|OK"_s);
    }
    if (then == SwitchBoard) {
        SettingsRecord.boardKind = 2;
    }
    const int kindBefore = SettingsRecord.boardKind;
    w->chargerClick();
    expectNoOtherWindow(w);
    QCOMPARE(reported, QStringList());

    QCOMPARE(w->grille, saved);
    QCOMPARE(w->nb_repos, tray);
    UITEST_CHECKED(checkShows(w, saved, tray));
    QCOMPARE(playerName, name);
    QCOMPARE(SettingsRecord.boardKind, kindBefore);
    QCOMPARE(w->bille_prise, then != PutBack);
    QVERIFY(!w->au_repos);
    QVERIFY(w->Timer1->isActive());
    QCOMPARE(w->etat_jeux->text(), u"Reposer les billes"_s);
    QCOMPARE(w->etat_jeux->toolTip(), u"Cliquez, pour arrêter cette partie"_s);
    QCOMPARE(w->nb_mobiles, model.movableCount());
    w->Timer1Timer();
    QCOMPARE(w->chrono->text(), next);
}

void tst_saved_game::stuckPositionsEndAtNextClick() {
    GameWindow w;
    UITEST_CHECKED(w.startGame(BoardAnswer::Full));
    const struct {
        veltrano::Grille grille;
        int tray;
        QString message;
    } rows[] = {
        {onlyMarbles({{5, 1}, {5, 9}}), 42, u"PARTIE TERMINEE"_s},
        // Loaded over a game that has just ended: the new one ends too.
        {onlyMarbles({{4, 4}}), 43, u"VOUS AVEZ GAGNE"_s},
    };
    for (const auto &row : rows) {
        QVERIFY(writeBytes(gamePath(w), savedRecord("", "00:00:05", row.tray, row.grille)));
        expectBox(w, u"Confirmation|"_s + kCancelGame + u"|OK"_s);
        w->chargerClick();
        QCOMPARE(w->nb_mobiles, 0);
        QCOMPARE(w->message_fin->text(), QString());
        QVERIFY(!w->message_fin->isEnabled());
        QVERIFY(w->Timer1->isActive());
        w.click(1);
        QCOMPARE(w->message_fin->text(), row.message);
        QVERIFY(!w->Timer1->isActive());
        QCOMPARE(w->billes_repos->text(), QString::number(44 - row.tray));
    }
    expectNoOtherWindow(w);
}

void tst_saved_game::damagedFiles_data() {
    QTest::addColumn<bool>("save");
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("refusal"); // "" when the game loads
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("heures");

    const veltrano::Grille g = afterFirstJump();
    const QByteArray good = savedRecord("L\xE9"
                                        "a",
                                        "00:07:30", 1, g);
    const auto withChrono = [&](const QByteArray &chrono) {
        return savedRecord("L\xE9"
                           "a",
                           chrono, 1, g);
    };
    const auto patched = [&](int offset, int value) {
        QByteArray r = good;
        putInt16(r, offset, value);
        return r;
    };
    const QString lea = u"Léa"_s;

    QTest::newRow("short, load") << false << good.left(676) << kShort << QString() << 0;
    QTest::newRow("short, save") << true << good.left(676) << kShort << QString() << 0;
    QTest::newRow("empty file") << false << QByteArray("") << kShort << QString() << 0;
    QTest::newRow("overlong") << false << good + QByteArray(100, 'x') << QString() << lea << 0;
    QTest::newRow("chrono with a letter")
        << false << withChrono("12:3a:00") << u"'3a' n'est pas une valeur entière correcte"_s
        << QString() << 0;
    QTest::newRow("chrono as markup")
        << false << withChrono("<b>1</b>") << u"'<b' n'est pas une valeur entière correcte"_s
        << QString() << 0;
    QTest::newRow("chrono without colons")
        << false << withChrono("0012a4") << u"'2a' n'est pas une valeur entière correcte"_s
        << QString() << 0;
    QTest::newRow("chrono with a letter in the seconds")
        << false << withChrono("12:34:5x") << u"'5x' n'est pas une valeur entière correcte"_s
        << QString() << 0;
    QTest::newRow("chrono of two counters")
        << false << withChrono("12:34") << u"'' n'est pas une valeur entière correcte"_s
        << QString() << 0;
    QTest::newRow("chrono with dashes")
        << false << withChrono("12-34-56") << QString() << lea << 12;
    QTest::newRow("chrono at 61 minutes")
        << false << withChrono("00:61:00") << kDamaged << QString() << 0;
    QTest::newRow("chrono of 100 hours")
        << false << withChrono("100:00:00") << QString() << lea << 100;
    QTest::newRow("value 3") << false << patched(gridAt(5, 2, 3), 3) << kDamaged << QString() << 0;
    QTest::newRow("jump off the grid")
        << false << patched(gridAt(4, 1, 1), 0) << kDamaged << QString() << 0;
    QByteArray noZero = good;
    noZero.replace(0, 16, QByteArray(16, 'A'));
    QTest::newRow("name without zero") << false << noZero << QString() << QString(15, u'A') << 0;
}

void tst_saved_game::damagedFiles() {
    QFETCH(bool, save);
    QFETCH(QByteArray, file);
    QFETCH(QString, refusal);
    QFETCH(QString, name);
    QFETCH(int, heures);

    GameWindow w;
    UITEST_CHECKED(w.startGame(BoardAnswer::Traditional));
    BoardModel model(1);
    UITEST_CHECKED(playJumps(w, model, 2));
    playerName = u"Avant"_s;
    QVERIFY(writeBytes(gamePath(w), file));
    const Snapshot before(w);
    // A file too short is refused before any question.
    if (save || refusal != kShort) {
        expectBox(w, u"Confirmation|"_s + (save ? kOverwrite : kCancelGame) + u"|OK"_s);
    }
    save ? w->sauverClick() : w->chargerClick();
    expectNoOtherWindow(w);
    QCOMPARE(readBytes(gamePath(w)), file);
    if (!refusal.isEmpty()) {
        QCOMPARE(reported, QStringList{refusal});
        QVERIFY(Snapshot(w) == before);
        return;
    }
    QCOMPARE(reported, QStringList());
    QCOMPARE(playerName, name);
    QCOMPARE(w->grille, afterFirstJump());
    QCOMPARE(w->heures, heures);
}

QTEST_MAIN(tst_saved_game)
#include "tst_saved_game.moc"
