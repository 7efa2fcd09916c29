// SPDX-License-Identifier: GPL-3.0-or-later
// The main window as the game builds it: its size and title, the labels over
// the painted buttons, the hole and tray pictures in their places and in
// their creation order, the end message, the cursors, the chrono timer and
// the state right after start-up.
#include <QDir>
#include <QLabel>
#include <QTest>
#include <QTimer>

#include "Cursors.h"
#include "EndMessage.h"
#include "GameWindow.h"
#include "Main.h"
#include "PictureBox.h"
#include "RecordFile.h"
#include "Settings.h"
#include "geometry.h"

using namespace Qt::StringLiterals;
using namespace uitest;

namespace {

QRect asRect(const veltrano::Box &box) {
    return {box.left, box.top, box.width, box.height};
}

const QStringList kCommandLabels = {
    u"charger"_s,       u"sauver"_s, u"scores"_s, u"etat_jeux"_s, u"texture_plateau"_s,
    u"texture_bille"_s, u"infos"_s,  u"aide"_s,   u"quitter"_s};

} // namespace

class tst_mainwindow_layout : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void window();
    void labels_data();
    void labels();
    void boardPicture();
    void creationOrder();
    void pictureBoxes_data();
    void pictureBoxes();
    void trayTakesNoMouse();
    void endMessage();
    void endMessageLeavesCommandsReadable_data();
    void endMessageLeavesCommandsReadable();
    void timerAndDirectory();
    void startUpState();
};

void tst_mainwindow_layout::window() {
    GameWindow w;
    QCOMPARE(w->windowTitle(), u"VELTRANO V2.32"_s);
    QCOMPARE(w->size(), QSize(640, 462));
    QCOMPARE(w->minimumSize(), QSize(640, 462));
    QCOMPARE(w->maximumSize(), QSize(640, 462));
    const Qt::WindowFlags flags = w->windowFlags();
    QVERIFY(!(flags & Qt::WindowMaximizeButtonHint));
    QVERIFY(flags & Qt::WindowMinimizeButtonHint);
    QVERIFY(flags & Qt::WindowSystemMenuHint);
    QCOMPARE(w->palette().color(QPalette::Window), QColor(0, 0, 128));
    QCOMPARE(w->font().family(), u"System"_s);
    QCOMPARE(w->font().pixelSize(), 13);
}

void tst_mainwindow_layout::labels_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QRect>("geometry");
    QTest::addColumn<QString>("family");
    QTest::addColumn<int>("pixelSize");
    QTest::addColumn<bool>("italic");
    QTest::addColumn<QColor>("colour");
    QTest::addColumn<QString>("hint");

    const QString tnr = u"Times New Roman"_s;
    const QString arial = u"Arial"_s;
    const QColor black = Qt::black;
    const QColor white = Qt::white;
    // The counter's design text is replaced at start-up by the marbles on
    // the board: none.
    QTest::newRow("billes_repos") << u"billes_repos"_s << u"0"_s << QRect(478, 40, 137, 44) << arial
                                  << 37 << false << black << QString();
    QTest::newRow("charger") << u"charger"_s << u"Charger"_s << QRect(526, 126, 91, 29) << tnr << 21
                             << true << white
                             << u"Cliquez, pour charger la dernière partie sauvegardée"_s;
    QTest::newRow("sauver") << u"sauver"_s << u"Sauver"_s << QRect(526, 192, 91, 29) << tnr << 21
                            << true << white << u"Cliquez, pour sauvegarder cette partie"_s;
    QTest::newRow("scores") << u"scores"_s << u"Scores"_s << QRect(526, 266, 91, 29) << tnr << 21
                            << true << white << u"Cliquez, pour afficher les 10 meilleurs scores"_s;
    QTest::newRow("etat_jeux") << u"etat_jeux"_s << u"Nouvelle Partie"_s << QRect(480, 336, 133, 43)
                               << tnr << 21 << true << black
                               << u"Cliquez, pour commencer une nouvelle partie"_s;
    QTest::newRow("chrono") << u"chrono"_s << u"00:00:00"_s << QRect(42, 408, 95, 27) << arial << 24
                            << false << black << QString();
    QTest::newRow("texture_plateau")
        << u"texture_plateau"_s << u"Plateau"_s << QRect(150, 410, 87, 23) << tnr << 19 << false
        << black << u"Cliquez, pour changer la texture du plateau"_s;
    QTest::newRow("texture_bille")
        << u"texture_bille"_s << u"Billes"_s << QRect(252, 410, 83, 23) << tnr << 19 << false
        << black << u"Cliquez, pour changer la texture des billes"_s;
    QTest::newRow("infos") << u"infos"_s << u"A propos"_s << QRect(348, 410, 85, 23) << tnr << 19
                           << false << black << u"Informations diverses"_s;
    QTest::newRow("aide") << u"aide"_s << u"Aide"_s << QRect(448, 410, 85, 23) << tnr << 19 << false
                          << black << u"Accès à la documentation"_s;
    QTest::newRow("quitter") << u"quitter"_s << u"Quitter"_s << QRect(544, 410, 61, 23) << tnr << 16
                             << false << white << u"Quitter ce logiciel"_s;
}

void tst_mainwindow_layout::labels() {
    QFETCH(QString, name);
    QFETCH(QString, caption);
    QFETCH(QRect, geometry);
    QFETCH(QString, family);
    QFETCH(int, pixelSize);
    QFETCH(bool, italic);
    QFETCH(QColor, colour);
    QFETCH(QString, hint);

    GameWindow w;
    auto *label = w->findChild<QLabel *>(name, Qt::FindDirectChildrenOnly);
    QVERIFY(label);
    QCOMPARE(label->text(), caption);
    QCOMPARE(label->geometry(), geometry);
    QCOMPARE(label->font().family(), family);
    QCOMPARE(label->font().pixelSize(), pixelSize);
    QVERIFY(label->font().bold());
    QCOMPARE(label->font().italic(), italic);
    QCOMPARE(label->palette().color(QPalette::WindowText), colour);
    QCOMPARE(label->alignment(), Qt::AlignCenter);
    QCOMPARE(label->toolTip(), hint);
    // Transparent over the painted button, and not sized to its text.
    QVERIFY(!label->autoFillBackground());
    QCOMPARE(label->geometry().size(), geometry.size());
    QVERIFY(label->isVisible());
    QCOMPARE(cursorNumber(label), kCommandLabels.contains(name) ? crMainHaut : crDefault);
}

void tst_mainwindow_layout::boardPicture() {
    GameWindow w;
    QCOMPARE(w->plateau->geometry(), QRect(0, 0, 640, 462));
    QVERIFY(samePicture(w->plateau->picture(), boardTexture(1)));
    QCOMPARE(cursorNumber(w->plateau), crDefault);
    // Where nothing else lies, the board picture is what the mouse meets.
    QCOMPARE(w->childAt(5, 5), w->plateau);
    QCOMPARE(w->childAt(630, 450), w->plateau);
}

void tst_mainwindow_layout::creationOrder() {
    GameWindow w;
    QList<QWidget *> widgets;
    for (QObject *child : w->children()) {
        auto *widget = qobject_cast<QWidget *>(child);
        if (widget && !widget->isWindow()) {
            widgets << widget;
        }
    }
    // Design time: the board picture at the bottom, then the eleven labels.
    QVERIFY(widgets.size() >= 1 + 11 + 45 + 44 + 1);
    QCOMPARE(widgets[0], w->plateau);
    QStringList labels;
    for (int i = 1; i <= 11; ++i) {
        labels << widgets[i]->objectName();
    }
    labels.sort();
    QStringList expected = kCommandLabels;
    expected << u"billes_repos"_s << u"chrono"_s;
    expected.sort();
    QCOMPARE(labels, expected);
    // Then the holes in hole order, the tray in place order, the message.
    int next = 12;
    for (int n = 1; n <= 45; ++n, ++next) {
        QCOMPARE(widgets[next], w->images_trous[n]);
    }
    for (int i = 1; i <= 44; ++i, ++next) {
        QCOMPARE(widgets[next], w->images_bac[i]);
    }
    QCOMPARE(widgets[next], w->message_fin);
    // Anything above the message only paints: the mouse goes through it.
    for (++next; next < widgets.size(); ++next) {
        QVERIFY2(widgets[next]->testAttribute(Qt::WA_TransparentForMouseEvents),
                 qPrintable(widgets[next]->objectName()));
    }
}

void tst_mainwindow_layout::pictureBoxes_data() {
    QTest::addColumn<bool>("hole");
    QTest::addColumn<int>("number");
    QTest::addColumn<QRect>("box");
    // A few places written out by hand...
    QTest::newRow("hole 1") << true << 1 << QRect(289, 46, 27, 27);
    QTest::newRow("hole 10") << true << 10 << QRect(180, 160, 27, 27);
    QTest::newRow("hole 23, centre") << true << 23 << QRect(326, 198, 27, 27);
    QTest::newRow("hole 27") << true << 27 << QRect(471, 198, 27, 27);
    QTest::newRow("hole 45") << true << 45 << QRect(361, 350, 27, 27);
    QTest::newRow("tray 1") << false << 1 << QRect(23, 29, 27, 27);
    QTest::newRow("tray 10") << false << 10 << QRect(154, 68, 27, 27);
    QTest::newRow("tray 14") << false << 14 << QRect(121, 105, 27, 27);
    QTest::newRow("tray 15") << false << 15 << QRect(23, 143, 27, 27);
    QTest::newRow("tray 35") << false << 35 << QRect(23, 333, 27, 27);
    QTest::newRow("tray 44") << false << 44 << QRect(154, 369, 27, 27);
    // ...and every other one from the walks over the two lookup tables.
    for (int n = 1; n <= 45; ++n) {
        QTest::addRow("walk hole %d", n) << true << n << asRect(veltrano::hole_box(n));
    }
    for (int i = 1; i <= 44; ++i) {
        QTest::addRow("walk tray %d", i) << false << i << asRect(veltrano::tray_box(i));
    }
}

void tst_mainwindow_layout::pictureBoxes() {
    QFETCH(bool, hole);
    QFETCH(int, number);
    QFETCH(QRect, box);
    GameWindow w;
    PictureBox *picture = hole ? w->images_trous[number] : w->images_bac[number];
    QVERIFY(picture);
    QCOMPARE(picture->geometry(), box);
    QVERIFY(picture->isVisible());
    if (hole) {
        QCOMPARE(cursorNumber(picture), crDefault);
        // Nothing lies over a hole at rest: not even the end message.
        QCOMPARE(w->childAt(box.center()), picture);
    }
}

void tst_mainwindow_layout::trayTakesNoMouse() {
    GameWindow w;
    for (int i = 1; i <= 44; ++i) {
        QCOMPARE(w->childAt(w->images_bac[i]->geometry().center()), w->plateau);
    }
}

void tst_mainwindow_layout::endMessage() {
    GameWindow w;
    EndMessage *m = w->message_fin;
    QCOMPARE(m->geometry(), QRect(156, 130, 365, 151));
    QVERIFY(!m->isEnabled());
    QVERIFY(m->text().isEmpty());
    QCOMPARE(m->font().family(), u"Times New Roman"_s);
    QVERIFY(m->font().bold());
    // 50 points, however the size is held.
    QVERIFY(m->font().pointSize() == 50 || qAbs(m->font().pixelSize() - 67) <= 1);
    QCOMPARE(m->palette().color(QPalette::WindowText), QColor(Qt::yellow));
    QVERIFY(m->alignment() & Qt::AlignHCenter);
    QVERIFY(!m->wordWrap());
    QVERIFY(!m->autoFillBackground());
    // Disabled, it lets the mouse through: inside its box but between the
    // holes the board answers.
    QCOMPARE(w->childAt(160, 135), w->plateau);
    QCOMPARE(w->childAt(w->images_trous[14]->geometry().center()), w->images_trous[14]);
}

void tst_mainwindow_layout::endMessageLeavesCommandsReadable_data() {
    QTest::addColumn<QString>("text");
    QTest::newRow("won") << u"VOUS AVEZ GAGNE"_s;
    QTest::newRow("over") << u"PARTIE TERMINEE"_s;
}

// Whole, large, and not a pixel of it over a command label or the tray.
void tst_mainwindow_layout::endMessageLeavesCommandsReadable() {
    QFETCH(QString, text);
    GameWindow w;
    const QImage before = w->grab().toImage();
    w->message_fin->setMessage(text);
    const QImage after = w->grab().toImage();
    QRegion drawn;
    for (int y = 0; y < after.height(); ++y) {
        for (int x = 0; x < after.width(); ++x) {
            if (after.pixel(x, y) != before.pixel(x, y)) {
                drawn += QRect(x, y, 1, 1);
            }
        }
    }
    QVERIFY(!drawn.isEmpty());
    const QList<QLabel *> labels = w->findChildren<QLabel *>(Qt::FindDirectChildrenOnly);
    for (const QLabel *label : labels) {
        if (label != w->message_fin) {
            QVERIFY2(!drawn.intersects(label->geometry()), qPrintable(label->objectName()));
        }
    }
    for (int i = 1; i <= 44; ++i) {
        QVERIFY(!drawn.intersects(w->images_bac[i]->geometry()));
    }
    const EndMessage::Layout layout = w->message_fin->layout();
    QCOMPARE(layout.lines.join(u' '), text);
    QVERIFY(layout.font.pixelSize() >= 40);
}

void tst_mainwindow_layout::timerAndDirectory() {
    GameWindow w;
    QCOMPARE(w->Timer1->interval(), 1000);
    QVERIFY(!w->Timer1->isActive());
    QVERIFY(!w->Timer1->isSingleShot());
    // The directory the game was started from, not the executable's.
    QVERIFY(startDirectory.endsWith(u'/'));
    QCOMPARE(startDirectory, QDir::currentPath() + u'/');
    QCOMPARE(QDir(startDirectory).canonicalPath(), QDir(w.directory()).canonicalPath());
    QVERIFY(QDir(startDirectory).canonicalPath() !=
            QDir(QCoreApplication::applicationDirPath()).canonicalPath());
}

void tst_mainwindow_layout::startUpState() {
    GameWindow w;
    QVERIFY(w->au_repos);
    QVERIFY(!w->bille_prise);
    QCOMPARE(w->nb_repos, 44);
    QCOMPARE(w->billes_repos->text(), u"0"_s);
    QCOMPARE(w->chrono->text(), u"00:00:00"_s);
    QCOMPARE(w->etat_jeux->text(), u"Nouvelle Partie"_s);
    QVERIFY(w.trayFilledUpTo(44));
    for (int i = 1; i <= 44; ++i) {
        QVERIFY(samePicture(w->images_bac[i]->picture(), sprite(1, 1)));
    }
    for (int n = 1; n <= 45; ++n) {
        QVERIFY(!w->images_trous[n]->hasPicture());
        QCOMPARE(w->etat_affiche_trous[n], 0);
    }
    // The model already holds the start position of the stored board,
    // although the board shows none of it.
    const BoardModel start(SettingsRecord.boardKind);
    for (int n = 1; n <= 45; ++n) {
        QCOMPARE(w.gameHolds(n), start.filled(n));
    }
    QVERIFY(w.modals().seen().isEmpty());
}

QTEST_MAIN(tst_mainwindow_layout)
#include "tst_mainwindow_layout.moc"
