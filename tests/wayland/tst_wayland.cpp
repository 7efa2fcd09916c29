// The game's windows as a native Wayland client, on the private weston that
// tests/wayland/run.sh starts: the main window reaches the compositor with
// its board, the board choice is a dialog of the main window (the compositor
// places it, as Wayland lets no client place its windows), a marble's cursor
// is a picture the compositor can show, and a jump plays; every other window
// reaches the compositor too, the dialogs tied to the main window.
#include <QTest>

#include <QDialog>
#include <QHash>
#include <QMessageBox>
#include <QWindow>

#include "About.h"
#include "Cursors.h"
#include "Fmode.h"
#include "Fnom.h"
#include "GameWindow.h"
#include "HelpViewer.h"
#include "Main.h"
#include "PictureBox.h"
#include "Score.h"
#include "Splash.h"

using namespace Qt::StringLiterals;
using namespace uitest;

class tst_wayland : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { QCOMPARE(QGuiApplication::platformName(), u"wayland"_s); }

    void playedOnWayland() {
        GameWindow w;
        QVERIFY(w->windowHandle() && w->windowHandle()->isExposed());
        QVERIFY(w->plateau->hasPicture());

        QWindow *dialogParent = nullptr;
        bool dialogExposed = false;
        w.modals().expect([&](QWidget *modal) {
            dialogExposed = QTest::qWaitForWindowExposed(modal);
            dialogParent = modal->windowHandle()->transientParent();
            QTest::mouseClick(modal->findChild<QWidget *>(u"BitBtn1"_s), Qt::LeftButton);
        });
        w->etat_jeuxClick();
        QVERIFY(dialogExposed);
        QCOMPARE(dialogParent, w->windowHandle());
        QVERIFY(!w->au_repos);

        // 8 over 14 into the empty centre, 23, of the traditional cross,
        // through the window as the compositor delivers the pointer: no
        // client may move the pointer itself on Wayland.
        QWindow *window = w->windowHandle();
        const auto centreOf = [&](int hole) {
            PictureBox *box = w->images_trous[hole];
            return box->mapTo(w.form(), box->rect().center());
        };
        QTest::mouseMove(window, centreOf(8));
        QCOMPARE(w.cursorOf(8), crMain);
        QVERIFY(!w->images_trous[8]->cursor().pixmap().isNull());
        for (int hole : {8, 23}) {
            QTest::mouseMove(window, centreOf(hole));
            QTest::mouseClick(window, Qt::LeftButton, {}, centreOf(hole));
        }
        QVERIFY(!w.gameHolds(8) && !w.gameHolds(14) && w.gameHolds(23));
        QVERIFY(!w.shows(8) && !w.shows(14) && w.shows(23));
    }

    void windowsShow_data() {
        QTest::addColumn<QString>("window");
        for (const char *name : {"splash", "help", "about", "top ten", "name", "message"}) {
            QTest::newRow(name) << QString::fromLatin1(name);
        }
    }

    // The splash and the help stand alone; every dialog, shown as the game
    // shows it from its own loop, is tied to the main window.
    void windowsShow() {
        QFETCH(QString, window);
        GameWindow w;
        TSplashForm splash;
        QMessageBox box(QMessageBox::Question, u"Confirmation"_s,
                        u"Désirez-vous quitter Veltrano"_s, QMessageBox::Ok | QMessageBox::Cancel,
                        w.form());
        platform::HelpViewer *help = platform::HelpViewer::instance();
        const QHash<QString, QWidget *> windows{
            {u"splash"_s, &splash},         {u"help"_s, help},       {u"about"_s, a_propos},
            {u"top ten"_s, meilleur_score}, {u"name"_s, saisie_nom}, {u"message"_s, &box}};
        if (auto *dialog = qobject_cast<QDialog *>(windows[window])) {
            QWindow *parent = nullptr;
            w.modals().expect([&](QWidget *up) {
                QVERIFY(QTest::qWaitForWindowExposed(up));
                parent = up->windowHandle()->transientParent();
            });
            dialog->exec();
            QCOMPARE(parent, w->windowHandle());
            return;
        }
        if (window == u"help"_s) {
            help->open(w.directory() + u"/DOC.HLP"_s, 1, w.form());
        } else {
            splash.show();
        }
        QVERIFY(QTest::qWaitForWindowExposed(windows[window]));
        QCOMPARE(windows[window]->windowHandle()->transientParent(), nullptr);
    }
};

QTEST_MAIN(tst_wayland)
#include "tst_wayland.moc"
