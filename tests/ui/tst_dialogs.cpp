// SPDX-License-Identifier: GPL-3.0-or-later
// The board choice, the name entry and the top ten on the real windows, with
// the settings file read back byte by byte rather than from memory.
#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QDir>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "../storage/StorageTest.h"
#include "Fmode.h"
#include "Fnom.h"
#include "GameWindow.h"
#include "Main.h"
#include "Placement.h"
#include "Player.h"
#include "Score.h"
#include "Settings.h"

using namespace Qt::StringLiterals;
using namespace uitest;
using namespace storagetest;
using L = QList<int>;

namespace {
template <typename T> T *child(QWidget *parent, const QString &name) {
    T *found = parent->findChild<T *>(name);
    if (!found) {
        qFatal("no child %s", qPrintable(name));
    }
    return found;
}

// Any character, as a keyboard that has it types it; QTest types Latin-1 only.
void type(QWidget *widget, const QString &text) {
    for (qsizetype i = 0; i < text.size(); i += text[i].isHighSurrogate() ? 2 : 1) {
        const QString one = text.mid(i, text[i].isHighSurrogate() ? 2 : 1);
        for (auto kind : {QEvent::KeyPress, QEvent::KeyRelease}) {
            QKeyEvent event(kind, Qt::Key_unknown, Qt::NoModifier, one);
            QApplication::sendEvent(widget, &event);
        }
    }
}
} // namespace

class tst_dialogs : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init() { recordFailures(); }
    void showing_data();
    void showing();
    void nameEntry_data();
    void nameEntry();
    void choicesOnDisk_data();
    void choicesOnDisk();
    void endOfGame_data();
    void endOfGame();
    void boardChoiceNotStored();
    void panelBevels_data();
    void panelBevels();
};

// Each dialog comes up complete, its first control focused, its texts whole,
// centred on the main window.
void tst_dialogs::showing_data() {
    QTest::addColumn<QString>("dialog");
    QTest::addColumn<QString>("focus");
    QTest::addColumn<QString>("label"); // a control and its text
    QTest::addColumn<QString>("text");
    QTest::addColumn<QSize>("size");
    QTest::newRow("board choice") << u"mode"_s << u"BitBtn1"_s << u"BitBtn2"_s
                                  << u"Mission Impossible (44 billes)"_s << QSize(262, 73);
    QTest::newRow("name entry") << u"saisie_nom"_s << u"Edit1"_s << u"Label1"_s << u"BRAVO !!!"_s
                                << QSize(388, 299);
    QTest::newRow("top ten") << u"meilleur_score"_s << u"BitBtn1"_s << u"Label2"_s
                             << u"LES 10 MEILLEURS SCORES"_s << QSize(320, 394);
}

void tst_dialogs::showing() {
    QFETCH(QString, dialog);
    QFETCH(QString, focus);
    QFETCH(QString, label);
    QFETCH(QString, text);
    QFETCH(QSize, size);

    GameWindow w;
    w->show();
    QVERIFY(QTest::qWaitForWindowExposed(w.form()));
    auto *d = child<QDialog>(w.form(), dialog);
    d->show();
    QVERIFY(QTest::qWaitForWindowActive(d));
    QCOMPARE(d->focusWidget(), child<QWidget>(d, focus));
    const QWidget *control = child<QWidget>(d, label);
    const QString shown = control->property("text").toString();
    QCOMPARE(shown, text);
    QVERIFY(control->fontMetrics().horizontalAdvance(shown) <= control->contentsRect().width());
    QCOMPARE(d->size(), size);
    // Centred on the main window as the game last placed it.
    const QPoint centre(MainWindowRect.left + MainWindowRect.width / 2,
                        MainWindowRect.top + MainWindowRect.height / 2);
    QVERIFY((d->frameGeometry().center() - centre).manhattanLength() <= 2);
    d->hide();
}

void tst_dialogs::nameEntry_data() {
    QTest::addColumn<QString>("typed"); // then pasted after a "|"
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("name"); // "before": closed without a name, or still open
    QTest::newRow("button") << u"Paul"_s << u"click"_s << u"Paul"_s;
    QTest::newRow("sixteenth refused")
        << u"ABCDEFGHIJKLMNOP"_s << u"click"_s << u"ABCDEFGHIJKLMNO"_s;
    QTest::newRow("blanks kept") << u"  Zoé  "_s << u"click"_s << u"  Zoé  "_s;
    QTest::newRow("empty") << QString() << u"click"_s << QString();
    QTest::newRow("Enter in the box") << u"Paul"_s << u"enter"_s << u"before"_s;
    QTest::newRow("Escape") << u"Paul"_s << u"escape"_s << u"before"_s;
    QTest::newRow("Alt+F4") << u"Paul"_s << u"close"_s << u"before"_s;
    QTest::newRow("Enter on the button") << u"Paul"_s << u"buttonEnter"_s << u"Paul"_s;
    QTest::newRow("Space on the button") << u"Paul"_s << u"buttonSpace"_s << u"Paul"_s;
    QTest::newRow("foreign typed") << u"Zoë中€"_s << u"click"_s << u"Zoë€"_s;
    QTest::newRow("foreign pasted") << u"ab|c😀dŒ"_s << u"click"_s << u"abcdŒ"_s;
}

void tst_dialogs::nameEntry() {
    QFETCH(QString, typed);
    QFETCH(QString, action);
    QFETCH(QString, name);

    playerName = u"before"_s;
    Tsaisie_nom dialog;
    dialog.buildControls();
    auto *edit = child<QLineEdit>(&dialog, u"Edit1"_s);
    auto *button = child<QPushButton>(&dialog, u"BitBtn1"_s);
    edit->setText(u"last time"_s);
    dialog.show();
    QCOMPARE(edit->text(), QString());
    QCOMPARE(dialog.focusWidget(), edit);

    type(edit, typed.section(u'|', 0, 0));
    if (typed.contains(u'|')) {
        QGuiApplication::clipboard()->setText(typed.section(u'|', 1));
        QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
    }
    if (action == u"click") {
        QTest::mouseClick(button, Qt::LeftButton);
    } else if (action == u"close") {
        dialog.close();
    } else if (action.startsWith(u"button")) {
        button->setFocus();
        QTest::keyClick(button, action == u"buttonEnter" ? Qt::Key_Return : Qt::Key_Space);
    } else {
        QTest::keyClick(edit, action == u"enter" ? Qt::Key_Return : Qt::Key_Escape);
    }
    QCOMPARE(dialog.isVisible(), action == u"enter" || action == u"escape");
    QCOMPARE(playerName, name);
}

// Each choice is in the file the moment it is made.
void tst_dialogs::choicesOnDisk_data() {
    QTest::addColumn<QStringList>("actions");
    QTest::addColumn<L>("stored"); // marble look, board picture, board
    QTest::newRow("first start") << QStringList{} << L{1, 1, 1};
    QTest::newRow("Plateau") << QStringList{u"Plateau"_s} << L{1, 2, 1};
    QTest::newRow("Plateau four times") << QStringList(4, u"Plateau"_s) << L{1, 1, 1};
    QTest::newRow("Billes twice") << QStringList(2, u"Billes"_s) << L{3, 1, 1};
    QTest::newRow("45 holes") << QStringList{u"Full"_s} << L{1, 1, 2};
    QTest::newRow("closed keeps the board")
        << QStringList{u"Full"_s, u"back"_s, u"Close"_s} << L{1, 1, 2};
    QTest::newRow("traditional again")
        << QStringList{u"Full"_s, u"back"_s, u"Traditional"_s, u"Billes"_s} << L{2, 1, 1};
}

void tst_dialogs::choicesOnDisk() {
    QFETCH(QStringList, actions);
    QFETCH(L, stored);

    GameWindow w;
    for (const QString &action : actions) {
        if (action == u"Plateau" || action == u"Billes") {
            action == u"Plateau" ? w->texture_plateauClick() : w->texture_billeClick();
        } else if (action == u"back") {
            UITEST_CHECKED(w.putBack());
        } else {
            UITEST_CHECKED(w.startGame(action == u"Full"          ? BoardAnswer::Full
                                       : action == u"Traditional" ? BoardAnswer::Traditional
                                                                  : BoardAnswer::CloseDialog));
        }
    }
    const QByteArray b = readAll(w.directory() + u"/VELTRANO.CFG"_s);
    QCOMPARE(b.size(), 368);
    QCOMPARE(b.left(43), QByteArray(43, '\0'));
    QCOMPARE((L{int16At(b, 43), int16At(b, 45), int16At(b, 47)}), stored);
    for (int r = 1; r <= 10; ++r) {
        QCOMPARE(rowAt(b, r), u"/44/"_s);
    }
}

// The end of a game on the main window: the name asked or not, the file
// written back either way, and "Scores" showing what the file then holds.
void tst_dialogs::endOfGame_data() {
    QTest::addColumn<L>("before");
    QTest::addColumn<int>("left");
    QTest::addColumn<int>("rank"); // 0: not asked
    QTest::newRow("fresh table") << L(10, 44) << 1 << 1;
    QTest::newRow("middle") << L{1, 2, 3, 4, 5, 6, 7, 8, 9, 10} << 4 << 4;
    QTest::newRow("rank 10 beats it") << L{1, 1, 1, 1, 1, 1, 1, 1, 1, 2} << 3 << 0;
}

void tst_dialogs::endOfGame() {
    QFETCH(L, before);
    QFETCH(int, left);
    QFETCH(int, rank);

    GameWindow w;
    UITEST_CHECKED(w.startGame(BoardAnswer::Full));
    QByteArray file(368, '\0');
    file[0] = 'J';
    for (int r = 1; r <= 10; ++r) {
        file.replace(nameAt(r), 3, "\x02P" + QByteArray::number(r % 10));
        file[marblesAt(r)] = static_cast<char>(before[r - 1]);
    }
    const QString path = w.directory() + u"/VELTRANO.CFG"_s;
    QVERIFY(writeAll(path, file));
    w->nb_repos = 44 - left;
    w->chrono->setText(u"00:03:07"_s);
    if (rank > 0) {
        w.modals().expect([](QWidget *modal) {
            QCOMPARE(modal->objectName(), u"saisie_nom"_s);
            type(child<QLineEdit>(modal, u"Edit1"_s), u"Élise"_s);
            QTest::mouseClick(child<QPushButton>(modal, u"BitBtn1"_s), Qt::LeftButton);
        });
    }
    w->fin_de_partie();
    QVERIFY(w.modals().unexpected().isEmpty());
    QCOMPARE(readAll(path).at(0), '\0');
    SettingsRecord.scores[1].name = u"memory only"_s; // "Scores" shows the disk

    QStringList shown;
    w.modals().expect([&shown](QWidget *modal) {
        // Filled as it becomes active: the window system may report it active
        // a moment before the dialog hears of it.
        QVERIFY(QTest::qWaitForWindowActive(modal));
        QTRY_VERIFY(!child<QLabel>(modal, u"n1"_s)->text().isEmpty());
        for (int k = 1; k <= 10; ++k) {
            shown << child<QLabel>(modal, u"n%1"_s.arg(k))->text() + u'/' +
                         child<QLabel>(modal, u"b%1"_s.arg(k))->text() + u'/' +
                         child<QLabel>(modal, u"d%1"_s.arg(k))->text();
        }
        // The heading is whole; the button's picture lets its face through.
        auto *heading = child<QLabel>(modal, u"Label2"_s);
        QVERIFY(heading->fontMetrics().horizontalAdvance(heading->text()) <=
                heading->contentsRect().width());
        auto *button = child<QPushButton>(modal, u"BitBtn1"_s);
        const QImage glyph = button->icon().pixmap(63, 39).toImage();
        QCOMPARE((L{qAlpha(glyph.pixel(0, 38)), qAlpha(glyph.pixel(13, 27))}), (L{0, 255}));
        QTest::keyClick(button, Qt::Key_Return);
        QVERIFY(!modal->isVisible());
    });
    w->scoresClick();
    QCOMPARE(shown.size(), 10);
    for (int k = 1; k <= 10; ++k) {
        const int was = rank == 0 || k < rank ? k : k - 1;
        QCOMPARE(shown[k - 1], k == rank ? u"Élise/%1/00:03:07"_s.arg(left)
                                         : u"P%1/%2/"_s.arg(was % 10).arg(before[was - 1]));
        QCOMPARE(rowAt(readAll(path), k), shown[k - 1]);
    }
    QVERIFY(reported().isEmpty());
}

// The choice can't reach the file: the player is told, the dialog stays,
// and once it is closed the game starts all the same, on the board clicked.
void tst_dialogs::boardChoiceNotStored() {
    GameWindow w;
    const QString path = w.directory() + u"/VELTRANO.CFG"_s;
    QVERIFY(QFile::remove(path) && QDir().mkdir(path));
    bool stayed = false;
    w.modals().expect([&stayed](QWidget *modal) {
        QTest::mouseClick(child<QPushButton>(modal, u"BitBtn2"_s), Qt::LeftButton);
        stayed = modal->isVisible();
        modal->close();
    });
    w->etat_jeuxClick();
    QVERIFY(stayed);
    QCOMPARE(reported(), QStringList(2, u"Accès au fichier refusé"_s)); // the choice, the reload
    QVERIFY(!w->au_repos);
    QCOMPARE(w->nb_repos, 0);
}

// The top ten's title and the board choice's buttons sit in a raised outer
// and a lowered inner bevel, one pixel each, the board choice's with a border
// of two between them: lit, shaded, then the face.
void tst_dialogs::panelBevels_data() {
    QTest::addColumn<QString>("dialog");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QPoint>("from"); // steps in from this point of an edge
    QTest::addColumn<QPoint>("step");
    QTest::addColumn<QList<int>>("roles"); // from the edge inward
    const int face = QPalette::Window;
    QTest::newRow("top ten, top left") << u"meilleur_score"_s << QSize(300, 53) << QPoint(0, 0)
                                       << QPoint(1, 1) << L{QPalette::Light, QPalette::Dark};
    QTest::newRow("top ten, bottom right")
        << u"meilleur_score"_s << QSize(300, 53) << QPoint(299, 52) << QPoint(-1, -1)
        << L{QPalette::Dark, QPalette::Light};
    QTest::newRow("board choice, left")
        << u"mode"_s << QSize(262, 73) << QPoint(0, 36) << QPoint(1, 0)
        << L{QPalette::Light, face, face, QPalette::Dark};
    QTest::newRow("board choice, right")
        << u"mode"_s << QSize(262, 73) << QPoint(261, 36) << QPoint(-1, 0)
        << L{QPalette::Dark, face, face, QPalette::Light};
}

void tst_dialogs::panelBevels() {
    QFETCH(QString, dialog);
    QFETCH(QSize, size);
    QFETCH(QPoint, from);
    QFETCH(QPoint, step);
    QFETCH(QList<int>, roles);
    GameWindow w;
    meilleur_score->buildControls();
    mode->buildControls();
    QWidget *panel = child<QWidget>(child<QWidget>(w.form(), dialog), u"Panel1"_s);
    QCOMPARE(panel->size(), size);
    const QImage picture = panel->grab().toImage();
    for (int i = 0; i < roles.size(); ++i) {
        const QPoint at = from + step * i;
        const QColor wanted = panel->palette().color(QPalette::ColorRole(roles[i]));
        QCOMPARE(picture.pixelColor(at).rgb(), wanted.rgb());
    }
}

QTEST_MAIN(tst_dialogs)
#include "tst_dialogs.moc"
