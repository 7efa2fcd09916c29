// The board choice, the name entry and the top ten, on the real windows,
// with the settings file read back byte by byte rather than from memory.
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "../storage/StorageTest.h"
#include "Fnom.h"
#include "GameWindow.h"
#include "Main.h"
#include "Score.h"
#include "Settings.h"
#include "Shared.h"

using namespace Qt::StringLiterals;
using namespace uitest;
using namespace storagetest;

Q_DECLARE_METATYPE(BoardAnswer)

namespace {
QString cfg(GameWindow &w) {
    return w.directory() + u"/VELTRANO.CFG"_s;
}

// A settings file whose ranks hold the given marble counts, named P1..P10,
// with junk in its reserved bytes to show whether it gets rewritten.
QByteArray table(const QList<int> &marbles) {
    QByteArray bytes(368, '\0');
    bytes[0] = 'J';
    bytes[43] = bytes[45] = bytes[47] = 1;
    for (int r = 1; r <= 10; ++r) {
        bytes[nameAt(r)] = 2;
        bytes[nameAt(r) + 1] = 'P';
        bytes[nameAt(r) + 2] = static_cast<char>('0' + r % 10);
        bytes[marblesAt(r)] = static_cast<char>(marbles[r - 1]);
    }
    return bytes;
}

// Typed one character at a time, whatever the keyboard: QTest only types
// Latin-1.
void type(QWidget *widget, const QString &text) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        const qsizetype n = text[i].isHighSurrogate() ? 2 : 1;
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, text.mid(i, n));
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, text.mid(i, n));
        QApplication::sendEvent(widget, &press);
        QApplication::sendEvent(widget, &release);
        i += n - 1;
    }
}

template <typename T> T *child(QWidget *parent, const QString &name) {
    T *found = parent->findChild<T *>(name);
    if (!found) {
        qFatal("no child %s", qPrintable(name));
    }
    return found;
}
} // namespace

class tst_dialogs : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init() { recordFailures(); }
    void nameEntry_data();
    void nameEntry();
    void scoreTable();
    void fileFollowsThePlayer_data();
    void fileFollowsThePlayer();
    void endOfGame_data();
    void endOfGame();
    void boardChoiceNotStored();
};

void tst_dialogs::nameEntry_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("pasted");
    QTest::addColumn<QString>("action");
    QTest::addColumn<bool>("closes");
    QTest::addColumn<QString>("name");
    QTest::newRow("button") << u"Paul"_s << QString() << u"click"_s << true << u"Paul"_s;
    QTest::newRow("sixteenth refused")
        << u"ABCDEFGHIJKLMNOP"_s << QString() << u"click"_s << true << u"ABCDEFGHIJKLMNO"_s;
    QTest::newRow("blanks kept") << u"  Zoé  "_s << QString() << u"click"_s << true << u"  Zoé  "_s;
    QTest::newRow("empty") << QString() << QString() << u"click"_s << true << QString();
    QTest::newRow("Enter in the box")
        << u"Paul"_s << QString() << u"enter"_s << false << u"before"_s;
    QTest::newRow("Escape") << u"Paul"_s << QString() << u"escape"_s << false << u"before"_s;
    QTest::newRow("Alt+F4") << u"Paul"_s << QString() << u"close"_s << true << u"before"_s;
    QTest::newRow("Enter on the button")
        << u"Paul"_s << QString() << u"buttonEnter"_s << true << u"Paul"_s;
    QTest::newRow("Space on the button")
        << u"Paul"_s << QString() << u"buttonSpace"_s << true << u"Paul"_s;
    QTest::newRow("foreign typed") << u"Zoë中€"_s << QString() << u"click"_s << true << u"Zoë€"_s;
    QTest::newRow("foreign pasted") << u"ab"_s << u"c😀dŒ"_s << u"click"_s << true << u"abcdŒ"_s;
}

void tst_dialogs::nameEntry() {
    QFETCH(QString, typed);
    QFETCH(QString, pasted);
    QFETCH(QString, action);
    QFETCH(bool, closes);
    QFETCH(QString, name);

    playerName = u"before"_s;
    Tsaisie_nom dialog;
    auto *edit = child<QLineEdit>(&dialog, u"Edit1"_s);
    auto *button = child<QPushButton>(&dialog, u"BitBtn1"_s);
    edit->setText(u"last time"_s);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QCOMPARE(edit->text(), QString());
    QCOMPARE(dialog.focusWidget(), edit);

    type(edit, typed);
    if (!pasted.isEmpty()) {
        QGuiApplication::clipboard()->setText(pasted);
        QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
    }
    if (action == u"click") {
        QTest::mouseClick(button, Qt::LeftButton);
    } else if (action == u"enter") {
        QTest::keyClick(edit, Qt::Key_Return);
    } else if (action == u"escape") {
        QTest::keyClick(edit, Qt::Key_Escape);
    } else if (action == u"close") {
        dialog.close();
    } else {
        button->setFocus();
        QTest::keyClick(button, action == u"buttonEnter" ? Qt::Key_Return : Qt::Key_Space);
    }
    QCOMPARE(dialog.isVisible(), !closes);
    QCOMPARE(playerName, name);
}

// Laid out as the game's own, and filled from the disk at each showing.
void tst_dialogs::scoreTable() {
    QTemporaryDir dir;
    startDirectory = dir.path() + u'/';
    QList<int> marbles{1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
    QVERIFY(writeAll(startDirectory + u"VELTRANO.CFG"_s, table(marbles)));

    Tmeilleur_score dialog;
    auto *heading = child<QLabel>(&dialog, u"Label2"_s);
    QCOMPARE(heading->font().pixelSize(), 24);
    QVERIFY(heading->fontMetrics().horizontalAdvance(heading->text()) <=
            heading->contentsRect().width());
    const int tops[] = {100, 122, 144, 166, 188, 210, 232, 254, 278, 300};
    for (int k = 1; k <= 10; ++k) {
        for (const QString &column : {u"n"_s, u"b"_s, u"d"_s}) {
            QCOMPARE(child<QLabel>(&dialog, column + QString::number(k))->y(), tops[k - 1]);
        }
    }
    QCOMPARE(child<QLabel>(&dialog, u"n3"_s)->x(), 19);
    auto *button = child<QPushButton>(&dialog, u"BitBtn1"_s);
    // The picture's grey background gives way to the button's face.
    const QImage glyph = button->icon().pixmap(63, 39).toImage();
    QCOMPARE(glyph.size(), QSize(63, 39));
    QCOMPARE(qAlpha(glyph.pixel(0, 38)), 0);
    QCOMPARE(qAlpha(glyph.pixel(13, 27)), 255);

    for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Space}) {
        dialog.show();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        for (int k = 1; k <= 10; ++k) {
            QCOMPARE(child<QLabel>(&dialog, u"b%1"_s.arg(k))->text(),
                     QString::number(marbles[k - 1]));
        }
        QCOMPARE(child<QLabel>(&dialog, u"n10"_s)->text(), u"P0"_s);
        QTest::keyClick(button, key);
        QVERIFY(!dialog.isVisible());
        // Somebody else changes the file between two showings.
        marbles[9] = 44;
        QVERIFY(writeAll(startDirectory + u"VELTRANO.CFG"_s, table(marbles)));
    }
    QVERIFY(reported().isEmpty());
}

// Each choice of the player is in the file the moment it is made.
void tst_dialogs::fileFollowsThePlayer_data() {
    QTest::addColumn<QStringList>("actions");
    QTest::addColumn<QList<int>>("stored"); // marble look, board picture, board
    using L = QList<int>;
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

void tst_dialogs::fileFollowsThePlayer() {
    QFETCH(QStringList, actions);
    QFETCH(QList<int>, stored);

    GameWindow w;
    for (const QString &action : actions) {
        if (action == u"Plateau") {
            w->texture_plateauClick();
        } else if (action == u"Billes") {
            w->texture_billeClick();
        } else if (action == u"back") {
            UITEST_CHECKED(w.putBack());
        } else {
            UITEST_CHECKED(w.startGame(action == u"Full"          ? BoardAnswer::Full
                                       : action == u"Traditional" ? BoardAnswer::Traditional
                                                                  : BoardAnswer::CloseDialog));
        }
    }
    const QByteArray bytes = readAll(cfg(w));
    QCOMPARE(bytes.size(), 368);
    QCOMPARE(bytes.left(43), QByteArray(43, '\0'));
    QCOMPARE((QList<int>{int16At(bytes, 43), int16At(bytes, 45), int16At(bytes, 47)}), stored);
    for (int r = 1; r <= 10; ++r) {
        QCOMPARE(int16At(bytes, marblesAt(r)), 44);
    }
    QVERIFY(reported().isEmpty());
}

// The end of a game through the main window: the name asked or not, the
// file rewritten either way, and "Scores" showing what the file holds.
void tst_dialogs::endOfGame_data() {
    QTest::addColumn<QList<int>>("before");
    QTest::addColumn<int>("left");
    QTest::addColumn<int>("rank"); // 0: not asked
    using L = QList<int>;
    QTest::newRow("fresh table") << L(10, 44) << 1 << 1;
    QTest::newRow("middle") << L{1, 2, 3, 4, 5, 6, 7, 8, 9, 10} << 4 << 4;
    QTest::newRow("rank 10 beats it") << L{1, 1, 1, 1, 1, 1, 1, 1, 1, 2} << 3 << 0;
}

void tst_dialogs::endOfGame() {
    QFETCH(QList<int>, before);
    QFETCH(int, left);
    QFETCH(int, rank);

    GameWindow w;
    UITEST_CHECKED(w.startGame(BoardAnswer::Full));
    QVERIFY(writeAll(cfg(w), table(before)));
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
    QCOMPARE(w.modals().pending(), 0);
    QVERIFY(w.modals().unexpected().isEmpty());

    const QByteArray bytes = readAll(cfg(w));
    QCOMPARE(bytes.at(0), '\0'); // rewritten
    QStringList shown;
    w.modals().expect([&shown](QWidget *modal) {
        QCOMPARE(modal->objectName(), u"meilleur_score"_s);
        QVERIFY(QTest::qWaitForWindowActive(modal)); // filled as it becomes active
        for (int k = 1; k <= 10; ++k) {
            shown << child<QLabel>(modal, u"n%1"_s.arg(k))->text() + u'/' +
                         child<QLabel>(modal, u"b%1"_s.arg(k))->text() + u'/' +
                         child<QLabel>(modal, u"d%1"_s.arg(k))->text();
        }
        QTest::mouseClick(child<QPushButton>(modal, u"BitBtn1"_s), Qt::LeftButton);
    });
    w->scoresClick();
    QCOMPARE(shown.size(), 10);
    for (int k = 1; k <= 10; ++k) {
        const int was = k < rank || rank == 0 ? k : k - 1;
        const QString expected = k == rank ? u"Élise/%1/00:03:07"_s.arg(left)
                                           : u"P%1/%2/"_s.arg(was % 10).arg(before[was - 1]);
        QCOMPARE(shown[k - 1], expected);
        QCOMPARE(stringAt(bytes, nameAt(k)), shown[k - 1].section(u'/', 0, 0));
    }
    QVERIFY(reported().isEmpty());
}

// The board choice can't reach the file: the player is told, the dialog
// stays, and once it is closed the game starts all the same.
void tst_dialogs::boardChoiceNotStored() {
    GameWindow w;
    QVERIFY(QFile::remove(cfg(w)));
    QVERIFY(QDir().mkdir(cfg(w)));
    bool stayed = false;
    w.modals().expect([&stayed](QWidget *modal) {
        QTest::mouseClick(child<QPushButton>(modal, u"BitBtn2"_s), Qt::LeftButton);
        stayed = modal->isVisible();
        modal->close();
    });
    w->etat_jeuxClick();
    QVERIFY(stayed);
    const QString denied = u"Accès au fichier refusé"_s;
    QCOMPARE(reported(), (QStringList{denied, denied}));
    QVERIFY(!w->au_repos);
    QCOMPARE(w->nb_repos, 0); // the 45-hole board, as clicked
}

QTEST_MAIN(tst_dialogs)
#include "tst_dialogs.moc"
