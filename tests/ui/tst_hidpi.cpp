// SPDX-License-Identifier: GPL-3.0-or-later
// On a screen with two device pixels to a pixel (run with QT_SCALE_FACTOR=2):
// the board, the marbles and the cursors come from the twice-as-large
// drawings, in the same logical places, and a screenshot of the window shows
// those drawings pixel for pixel rather than the small ones stretched; the
// balloon hint is drawn at the screen's resolution.
#include <QBitmap>
#include <QPainter>
#include <QTest>

#include <QAbstractButton>
#include <QLabel>

#include "About.h"
#include "Cursors.h"
#include "GameWindow.h"
#include "Logo.h"
#include "Main.h"
#include "PictureBox.h"
#include "Score.h"
#include "Splash.h"
#include "Zelthint.h"

using namespace Qt::StringLiterals;
using namespace uitest;

namespace {

QImage resource(const QString &name) {
    return QImage(u":/pictures/"_s + name).convertToFormat(QImage::Format_RGB32);
}

// 2 x 2 blocks of one colour everywhere is what stretching leaves behind.
int blocksWithDetail(const QImage &image) {
    int detailed = 0;
    for (int y = 0; y + 1 < image.height(); y += 2) {
        for (int x = 0; x + 1 < image.width(); x += 2) {
            const QRgb c = image.pixel(x, y);
            detailed += image.pixel(x + 1, y) != c || image.pixel(x, y + 1) != c ||
                        image.pixel(x + 1, y + 1) != c;
        }
    }
    return detailed;
}

} // namespace

class tst_hidpi : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() {
        QCOMPARE(qApp->devicePixelRatio(), 2.0);
        window_ = std::make_unique<GameWindow>();
        UITEST_CHECKED(window_->startGame(BoardAnswer::Traditional));
    }
    void cleanupTestCase() { window_.reset(); }

    void picturesShownSharp_data() {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("drawing");
        // Logical part of the box to look at: for the board, a patch that
        // nothing lies over.
        QTest::addColumn<QRect>("area");
        QTest::newRow("board") << u"plateau"_s << u"plateau1@2x.bmp"_s << QRect(190, 380, 60, 20);
        QTest::newRow("marble on the board")
            << u"trou4"_s << u"bille11@2x.png"_s << QRect(0, 0, 21, 22);
        QTest::newRow("marble in the tray")
            << u"bac12"_s << u"bille11@2x.png"_s << QRect(0, 0, 21, 22);
    }

    void picturesShownSharp() {
        QFETCH(QString, box);
        QFETCH(QString, drawing);
        QFETCH(QRect, area);
        auto *shown = window_->form()->findChild<PictureBox *>(box);
        QVERIFY(shown && shown->hasPicture());
        const QPixmap &picture = shown->picture();
        QCOMPARE(picture.devicePixelRatio(), 2.0);
        const QImage fine = resource(drawing);
        QCOMPARE(picture.size(), fine.size());
        // Same logical room as the plain drawing, at the same logical place.
        QCOMPARE(picture.deviceIndependentSize().toSize(), fine.size() / 2);

        // What the window paints there, at the screen's own resolution.
        const QPixmap grabbed =
            window_->form()->grab(area.translated(shown->mapTo(window_->form(), QPoint(0, 0))));
        QCOMPARE(grabbed.devicePixelRatio(), 2.0);
        const QImage screen = grabbed.toImage().convertToFormat(QImage::Format_RGB32);
        QCOMPARE(screen, fine.copy(QRect(area.topLeft() * 2, area.size() * 2)));
        QVERIFY(blocksWithDetail(screen) > blocksWithDetail(screen.scaled(screen.size() / 2)));
    }

    // The dialogs' pictures: each shown from its twice-as-large drawing.
    void dialogPicturesSharp_data() {
        QTest::addColumn<QString>("picture");
        QTest::addColumn<QSize>("logical");
        QTest::newRow("about box") << u"about"_s << QSize(324, 215);
        QTest::newRow("splash") << u"splash"_s << QSize(324, 200);
        QTest::newRow("logo frame") << u"logo"_s << QSize(100, 100);
        QTest::newRow("OK button") << u"ok"_s << QSize(63, 39);
        // The text's box; the balloon around it is larger.
        QTest::newRow("balloon") << u"balloon"_s << QSize(60, 15);
    }

    void dialogPicturesSharp() {
        QFETCH(QString, picture);
        QFETCH(QSize, logical);
        QPixmap shown;
        TSplashForm splash;
        if (picture == u"about"_s) {
            a_propos->LOGO1();
            shown = a_propos->findChild<QLabel *>(u"Image1"_s)->pixmap();
        } else if (picture == u"splash"_s) {
            shown = splash.findChild<QLabel *>(u"Image1"_s)->pixmap();
        } else if (picture == u"balloon"_s) {
            TNewHint hint;
            hint.ActivateHint(QRect(QPoint(0, 0), logical), u"Sautez !"_s);
            logical = hint.size();
            shown = hint.grab();
            // Its text and what lies beneath it in device pixels: a balloon
            // drawn at one pixel to a pixel and stretched is all 2 x 2 blocks.
            QVERIFY(blocksWithDetail(shown.toImage().convertToFormat(QImage::Format_RGB32)) > 0);
        } else if (picture == u"logo"_s) {
            shown = TLOGO::frame(1);
        } else {
            meilleur_score->buildControls();
            const QIcon icon = meilleur_score->findChild<QAbstractButton *>(u"BitBtn1"_s)->icon();
            shown = icon.pixmap(logical, 2.0);
        }
        QCOMPARE(shown.devicePixelRatio(), 2.0);
        QCOMPARE(shown.size(), logical * 2);
    }

    void cursorsDoubled_data() {
        QTest::addColumn<int>("number");
        QTest::addColumn<QPoint>("hotSpot");
        QTest::newRow("main") << crMain << QPoint(14, 46);
        QTest::newRow("deplace") << crDeplace << QPoint(16, 50);
        QTest::newRow("impossible") << crImpossible << QPoint(18, 26);
    }

    void cursorsDoubled() {
        QFETCH(int, number);
        QFETCH(QPoint, hotSpot);
        QWidget probe;
        setCursorNumber(&probe, number);
        const QCursor cursor = probe.cursor();
        QCOMPARE(cursor.bitmap().size(), QSize(64, 64));
        QCOMPARE(cursor.hotSpot(), hotSpot);
    }

private:
    std::unique_ptr<GameWindow> window_;
};

QTEST_MAIN(tst_hidpi)
#include "tst_hidpi.moc"
