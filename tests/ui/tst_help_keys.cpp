// SPDX-License-Identifier: GPL-3.0-or-later
// The help as the real main window asks for it: F1 and "Aide" open the
// DOC.HLP of the directory the game was started from, at its contents, in a
// window that stands beside the game and stays where the player leaves it.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>

#include "GameWindow.h"
#include "HelpViewer.h"
#include "Main.h"

using namespace Qt::StringLiterals;
using help::HelpViewer;
using uitest::GameWindow;

namespace {

void writeHelp(const QString &directory) {
    QFile file(QDir(directory).filePath(u"DOC.HLP"_s));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(u"<a name=\"sujet-2\"></a><h1>Les règles</h1>"
               u"<a name=\"sujet-1\"></a><h1>Aide du dossier de départ</h1>"_s.toUtf8());
}

enum class Request { Key, Label };

void askForHelp(GameWindow &game, Request request) {
    QWindow *window = game->windowHandle();
    if (request == Request::Key) {
        QTest::keyClick(window, Qt::Key_F1);
    } else {
        QTest::mouseClick(window, Qt::LeftButton, {}, game->aide->geometry().center());
    }
}

} // namespace

class tst_help_keys : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void cleanup() { HelpViewer::instance()->close(); }
    // First: the window is placed the first time it opens.
    void standsBesideTheGameAndStays();
    void opensTheStartDirectorysHelp_data();
    void opensTheStartDirectorysHelp();
};

void tst_help_keys::standsBesideTheGameAndStays() {
    GameWindow game;
    UITEST_CHECKED(writeHelp(game.directory()));
    askForHelp(game, Request::Key);
    HelpViewer *viewer = HelpViewer::instance();
    QVERIFY(viewer->isVisible());

    const QRect help = viewer->frameGeometry();
    const QRect board = game->frameGeometry();
    QVERIFY2(!help.intersects(board), "the help covers the board");
    QVERIFY(help.left() > board.right());
    QVERIFY(game->screen()->availableGeometry().contains(help));

    // Moved by the player, closed, asked for again: it comes back there.
    viewer->move(50, 60);
    viewer->close();
    askForHelp(game, Request::Label);
    QVERIFY(viewer->isVisible());
    QCOMPARE(viewer->pos(), QPoint(50, 60));
}

void tst_help_keys::opensTheStartDirectorysHelp_data() {
    QTest::addColumn<Request>("request");
    QTest::newRow("F1") << Request::Key;
    QTest::newRow("Aide") << Request::Label;
}

void tst_help_keys::opensTheStartDirectorysHelp() {
    QFETCH(Request, request);
    GameWindow game;
    UITEST_CHECKED(writeHelp(game.directory()));
    // The viewer still shows the last help read; the request must read anew.
    HelpViewer *viewer = HelpViewer::instance();
    viewer->followLink(QUrl(u"#sujet-2"_s));

    askForHelp(game, request);
    QVERIFY(viewer->isVisible());
    QVERIFY2(!viewer->hasError(), qPrintable(viewer->errorText()));
    QCOMPARE(QFileInfo(viewer->helpFile()).canonicalFilePath(),
             QFileInfo(QDir(game.directory()).filePath(u"DOC.HLP"_s)).canonicalFilePath());
    QVERIFY(QFileInfo(viewer->helpFile()).absolutePath() != QApplication::applicationDirPath());
    QCOMPARE(viewer->currentContext(), 1);
    QCOMPARE(viewer->currentTitle(), u"Aide du dossier de départ"_s);
}

// A screen wide enough for the game and its help side by side.
int main(int argc, char **argv) {
    QTemporaryDir dir;
    QFile config(dir.filePath(u"ecran.json"_s));
    const char *screens = R"({"screens": [{"name": "ecran", "x": 0, "y": 0, "width": 1920,
                         "height": 1080, "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})";
    if (!config.open(QIODevice::WriteOnly) || config.write(screens) < 0) {
        return 2;
    }
    config.close();
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + QFile::encodeName(config.fileName()));
    QApplication app(argc, argv);
    tst_help_keys test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_help_keys.moc"
