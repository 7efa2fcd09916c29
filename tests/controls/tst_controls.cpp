// SPDX-License-Identifier: GPL-3.0-or-later
// The shadowed label's two passes, the logo's frames across stops and
// starts, and the about box: where it opens, what a click on each of its
// controls does, and its logo turning only while it is open.
#include <QLabel>
#include <QPainter>
#include <QTest>

#include "About.h"
#include "GameWindow.h"
#include "Label3D.h"
#include "Logo.h"
#include "Main.h"
#include "Placement.h"

using namespace Qt::StringLiterals;

namespace {

QImage logoFrame(int n) {
    return QImage(u":/logo/L%1.png"_s.arg(n)).convertToFormat(QImage::Format_RGB32);
}

QImage shown(QWidget &w) {
    return w.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

} // namespace

class tst_controls : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void label3D_data();
    void label3D();
    void logoFrames_data();
    void logoFrames();
    void aboutCentres_data();
    void aboutCentres();
    void aboutClicks_data();
    void aboutClicks();
    void aboutFromMainWindow();
};

void tst_controls::label3D_data() {
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<bool>("transparent");
    QTest::newRow("enabled, transparent") << true << true;
    QTest::newRow("enabled, opaque") << true << false;
    QTest::newRow("disabled, transparent") << false << true;
}

void tst_controls::label3D() {
    QFETCH(bool, enabled);
    QFETCH(bool, transparent);
    const QRgb beneath = qRgb(0, 160, 0), fill = qRgb(0, 0, 128), face = qRgb(255, 255, 255);
    const QRgb shadow = qRgb(255, 0, 0);
    const QRgb grey = QApplication::palette().color(QPalette::Disabled, QPalette::Text).rgb();

    QWidget parent;
    QPalette back = parent.palette();
    back.setColor(QPalette::Window, QColor(beneath));
    parent.setPalette(back);
    parent.setAutoFillBackground(true);
    auto *label = new TLabel3D(&parent);
    QCOMPARE(label->size(), QSize(66, 18));
    label->setGeometry(0, 0, 120, 60);
    parent.resize(label->size());
    QFont font(u"Arial"_s);
    font.setPixelSize(40);
    font.setBold(true);
    font.setStyleStrategy(QFont::NoAntialias);
    label->setFont(font);
    label->setText(u"IL"_s);
    QPalette p = label->palette();
    p.setColor(QPalette::WindowText, QColor(face));
    p.setColor(QPalette::Window, QColor(fill));
    label->setPalette(p);
    label->setShadowColor(QColor(shadow));
    label->setTransparent(transparent);
    label->setEnabled(enabled);

    // What the caption covers, drawn once alone.
    QImage mask(label->size(), QImage::Format_ARGB32);
    mask.fill(Qt::transparent);
    {
        QPainter m(&mask);
        m.setFont(font);
        m.setPen(Qt::black);
        m.drawText(mask.rect(), Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, label->text());
    }
    auto covered = [&mask](int x, int y) { return mask.valid(x, y) && qAlpha(mask.pixel(x, y)); };

    const QImage image = shown(parent);
    int faces = 0, shadows = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            QRgb expected = transparent ? beneath : fill;
            if (covered(x, y)) {
                expected = enabled ? face : grey;
                ++faces;
            } else if (covered(x - 1, y - 1)) {
                expected = shadow;
                ++shadows;
            }
            QVERIFY2(image.pixel(x, y) == expected, qPrintable(u"at %1,%2"_s.arg(x).arg(y)));
        }
    }
    QVERIFY(faces > 100 && shadows > 20);
}

void tst_controls::logoFrames_data() {
    QTest::addColumn<QString>("script");
    QTest::addColumn<int>("frame");
    QTest::addColumn<int>("counter");
    QTest::newRow("created") << u""_s << 1 << 0;
    QTest::newRow("first tick shows L1 again") << u"start tick"_s << 1 << 1;
    QTest::newRow("second tick") << u"start tick tick"_s << 2 << 2;
    QTest::newRow("thirteen ticks") << u"start"_s + u" tick"_s.repeated(13) << 13 << 0;
    QTest::newRow("fourteen ticks") << u"start"_s + u" tick"_s.repeated(14) << 1 << 1;
    QTest::newRow("stopped after five")
        << u"start"_s + u" tick"_s.repeated(5) + u" stop"_s << 5 << 5;
    QTest::newRow("started again goes on")
        << u"start"_s + u" tick"_s.repeated(5) + u" stop start tick"_s << 6 << 6;
}

void tst_controls::logoFrames() {
    QFETCH(QString, script);
    QFETCH(int, frame);
    QFETCH(int, counter);
    TLOGO logo;
    QCOMPARE(logo.geometry(), QRect(0, 0, 100, 100));
    bool running = false;
    for (const QString &step : script.split(u' ', Qt::SkipEmptyParts)) {
        if (step == u"start"_s) {
            logo.StartAnimation();
            running = true;
        } else if (step == u"stop"_s) {
            logo.StopAnimation();
            running = false;
        } else {
            logo.frameStep();
        }
    }
    QCOMPARE(logo.animating(), running);
    QCOMPARE(logo.frameShown(), frame);
    QCOMPARE(logo.frameCounter(), counter);
    QCOMPARE(shown(logo), logoFrame(frame));
}

void tst_controls::aboutCentres_data() {
    QTest::addColumn<QRect>("main");
    QTest::addColumn<QPoint>("at");
    QTest::newRow("game window") << QRect(100, 50, 646, 491) << QPoint(261, 188);
    QTest::newRow("moved") << QRect(300, 200, 646, 491) << QPoint(461, 338);
    QTest::newRow("3 narrower, 3 lower") << QRect(100, 50, 321, 212) << QPoint(99, 49);
    QTest::newRow("3 wider, 3 taller") << QRect(100, 50, 327, 218) << QPoint(101, 51);
}

void tst_controls::aboutCentres() {
    QFETCH(QRect, main);
    QFETCH(QPoint, at);
    MainWindowRect = {main.left(), main.top(), main.width(), main.height()};
    Ta_propos box;
    box.show();
    QCOMPARE(box.pos(), at);
}

void tst_controls::aboutClicks_data() {
    QTest::addColumn<QPoint>("point");
    QTest::addColumn<QString>("control");
    QTest::addColumn<bool>("closes");
    QTest::newRow("background") << QPoint(220, 40) << u"Image1"_s << true;
    QTest::newRow("logo") << QPoint(60, 50) << u"LOGO1"_s << true;
    QTest::newRow("title") << QPoint(60, 130) << u"Label3D2"_s << true;
    QTest::newRow("first author line") << QPoint(160, 165) << u"Label4"_s << true;
    QTest::newRow("second author line") << QPoint(160, 190) << u"Label3D3"_s << false;
    QTest::newRow("third author line") << QPoint(160, 205) << u"Label3D1"_s << false;
}

void tst_controls::aboutClicks() {
    QFETCH(QPoint, point);
    QFETCH(QString, control);
    QFETCH(bool, closes);
    Ta_propos box;
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    QWidget *target = box.childAt(point);
    QVERIFY(target);
    QCOMPARE(target->objectName(), control);
    QTest::mouseClick(target, Qt::LeftButton, {}, target->mapFrom(&box, point));
    QCOMPARE(box.isVisible(), !closes);
}

void tst_controls::aboutFromMainWindow() {
    uitest::GameWindow w;
    w->move(40, 30);
    bool turning = false;
    QPoint at;
    w.modals().expect([&](QWidget *modal) {
        at = modal->pos();
        turning = a_propos->LOGO1()->animating();
        QTest::mouseClick(modal->findChild<TLabel3D *>(u"Label3D2"_s), Qt::LeftButton);
    });
    QVERIFY(!a_propos->LOGO1()->animating());
    w->infosClick();
    QCOMPARE(w.modals().seen(), QStringList{u"a_propos"_s});
    QVERIFY(turning);
    QVERIFY(!a_propos->LOGO1()->animating());
    const QRect main = w->frameGeometry();
    QCOMPARE(at, main.topLeft() + QPoint((main.width() - 324) / 2, (main.height() - 215) / 2));
}

QTEST_MAIN(tst_controls)
#include "tst_controls.moc"
