// SPDX-License-Identifier: GPL-3.0-or-later
// The game's windows as a native Wayland client, on the private weston that
// tests/wayland/run.sh starts: the main window reaches the compositor with
// its board, the board choice is a dialog of the main window (the compositor
// places it, as Wayland lets no client place its windows), a marble's cursor
// is a picture the compositor can show, and a jump plays.
#include <QTest>

#include <QWindow>

#include "Cursors.h"
#include "GameWindow.h"
#include "Main.h"
#include "PictureBox.h"

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
};

QTEST_MAIN(tst_wayland)
#include "tst_wayland.moc"
