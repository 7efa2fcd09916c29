// The game's windows as a native Wayland client, on the private weston that
// tests/wayland/run.sh starts: the main window reaches the compositor with
// its board, the board choice is a dialog of the main window (the compositor
// places it, as Wayland lets no client place its windows), a marble's cursor
// is a picture the compositor can show, and a jump plays; every other window
// reaches the compositor too, the dialogs tied to the main window.
#include <QTest>

#include <QDialog>
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
        QTest::newRow("splash") << u"splash"_s;
        QTest::newRow("about box") << u"about"_s;
        QTest::newRow("top ten") << u"top ten"_s;
        QTest::newRow("name entry") << u"name"_s;
        QTest::newRow("message box") << u"message"_s;
        QTest::newRow("help") << u"help"_s;
    }

    void windowsShow() {
        QFETCH(QString, window);
        GameWindow w;
        std::unique_ptr<QWidget> own;
        QWidget *shown = nullptr;
        if (window == u"splash"_s) {
            own = std::make_unique<TSplashForm>();
        } else if (window == u"message"_s) {
            own = std::make_unique<QMessageBox>(QMessageBox::Question, u"Confirmation"_s,
                                                u"Désirez-vous quitter Veltrano"_s,
                                                QMessageBox::Ok | QMessageBox::Cancel, w.form());
        } else if (window == u"help"_s) {
            platform::HelpViewer::instance()->open(w.directory() + u"/DOC.HLP"_s, 1, w.form());
            shown = platform::HelpViewer::instance();
        } else {
            shown = window == u"about"_s     ? static_cast<QWidget *>(a_propos)
                    : window == u"top ten"_s ? static_cast<QWidget *>(meilleur_score)
                                             : saisie_nom;
        }
        if (!shown) {
            shown = own.get();
        }
        if (auto *modal = qobject_cast<QDialog *>(shown)) {
            // As the game shows them: modal, answered from their own loop.
            bool exposed = false;
            QWindow *parent = nullptr;
            w.modals().expect([&](QWidget *up) {
                exposed = QTest::qWaitForWindowExposed(up);
                parent = up->windowHandle()->transientParent();
            });
            modal->exec();
            QVERIFY(exposed);
            QCOMPARE(parent, w->windowHandle());
            return;
        }
        shown->show();
        QVERIFY(QTest::qWaitForWindowExposed(shown));
        QCOMPARE(shown->windowHandle()->transientParent(), nullptr);
        shown->close();
        QTRY_VERIFY(!shown->windowHandle() || !shown->windowHandle()->isExposed());
    }
};

QTEST_MAIN(tst_wayland)
#include "tst_wayland.moc"
