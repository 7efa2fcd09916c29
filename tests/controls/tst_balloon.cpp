// SPDX-License-Identifier: GPL-3.0-or-later
// The balloon hints: where a balloon goes at every screen edge, what it
// paints, when the hint service shows and hides it (on a clock the test
// steps), and how the settings component installs it.
#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QTest>

#include <map>

#include "HintService.h"
#include "Zelthint.h"

using namespace Qt::StringLiterals;
using hints::HintService;

namespace {

// A clock that moves only when the test says so.
class ManualClock : public hints::HintClock {
public:
    void callAfter(int ms, std::function<void()> due) override {
        due_ = std::move(due);
        at_ = now_ + ms;
    }
    void cancel() override { due_ = {}; }
    void advance(int ms) {
        const qint64 end = now_ + ms;
        while (due_ && at_ <= end) {
            now_ = at_;
            std::exchange(due_, {})();
        }
        now_ = end;
    }

private:
    qint64 now_ = 0;
    qint64 at_ = 0;
    std::function<void()> due_;
};

constexpr QRect kScreen(0, 0, 1024, 768);

} // namespace

class tst_balloon : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void placement_data();
    void placement();
    void painting_data();
    void painting();
    void timing_data();
    void timing();
    void installation();
};

void tst_balloon::placement_data() {
    QTest::addColumn<int>("first");
    QTest::addColumn<QPoint>("mouse");
    QTest::addColumn<QSize>("text");
    QTest::addColumn<QRect>("screen");
    QTest::addColumn<int>("direction");
    QTest::addColumn<QPoint>("topLeft");
    // A 100 x 20 text makes a balloon 116 wide, 40 tall upwards, 49 downwards.
    auto row = [](const char *name, THintDirection first, QPoint mouse, THintDirection direction,
                  QPoint topLeft, QSize text = {100, 20}, QRect screen = kScreen) {
        QTest::newRow(name) << int(first) << mouse << text << screen << int(direction) << topLeft;
    };
    row("down-right fits", hdDownRight, {500, 300}, hdDownRight, {500, 315});
    row("right edge exactly", hdDownRight, {908, 300}, hdDownRight, {908, 315});
    row("right edge, one over", hdDownRight, {909, 300}, hdDownLeft, {799, 315});
    row("bottom edge exactly", hdDownRight, {500, 704}, hdDownRight, {500, 719});
    row("bottom edge, one over", hdDownRight, {500, 705}, hdUpRight, {500, 660});
    row("bottom right corner", hdDownRight, {1000, 760}, hdUpLeft, {890, 715});
    row("top edge exactly", hdUpRight, {500, 45}, hdUpRight, {500, 0});
    row("top edge, one over", hdUpRight, {500, 44}, hdDownRight, {500, 59});
    row("left edge exactly", hdUpLeft, {110, 300}, hdUpLeft, {0, 255});
    row("left edge, one over", hdUpLeft, {109, 300}, hdUpRight, {109, 255});
    row("down-left at left edge", hdDownLeft, {5, 300}, hdDownRight, {5, 315});
    row("top left corner", hdUpLeft, {5, 5}, hdDownRight, {5, 20});
    // Wider than either side: up-right sends to up-left and back; the walk
    // stops there and keeps up-left, the last rule tried.
    row("too wide", hdUpRight, {500, 300}, hdUpLeft, {-510, 255}, {1000, 20});
    row("too tall", hdDownRight, {500, 300}, hdUpRight, {500, -425}, {100, 700});
    row("second screen", hdDownRight, {1024 + 909, 300}, hdDownLeft, {1024 + 799, 315}, {100, 20},
        QRect(1024, 0, 1024, 768));
}

void tst_balloon::placement() {
    QFETCH(int, first);
    QFETCH(QPoint, mouse);
    QFETCH(QSize, text);
    QFETCH(QRect, screen);
    QFETCH(int, direction);
    QFETCH(QPoint, topLeft);
    const BalloonPlace place = placeBalloon(THintDirection(first), mouse, text, screen);
    QCOMPARE(int(place.direction), direction);
    QCOMPARE(place.topLeft, topLeft);
    // The pointer's tip lies 5 above or 15 below the mouse, on its column.
    const QSize size = balloonSize(place.direction, text);
    const bool up = place.direction == hdUpRight || place.direction == hdUpLeft;
    const bool right = place.direction == hdUpRight || place.direction == hdDownRight;
    const QPoint tip = place.topLeft + QPoint(right ? 0 : size.width() - 6, up ? size.height() : 0);
    QCOMPARE(tip, mouse + QPoint(0, up ? -5 : 15));
}

void tst_balloon::painting_data() {
    QTest::addColumn<int>("direction");
    QTest::addColumn<QString>("text");
    QTest::newRow("up-right") << int(hdUpRight) << u"Quitter ce logiciel"_s;
    QTest::newRow("up-left") << int(hdUpLeft) << u"Quitter ce logiciel"_s;
    QTest::newRow("down-right") << int(hdDownRight) << u"Quitter ce logiciel"_s;
    QTest::newRow("down-left, two lines") << int(hdDownLeft) << u"Deux\nlignes"_s;
}

void tst_balloon::painting() {
    QFETCH(int, direction);
    QFETCH(QString, text);
    const auto d = THintDirection(direction);
    const bool up = d == hdUpRight || d == hdUpLeft;
    const bool right = d == hdUpRight || d == hdDownRight;
    BalloonLook look; // yellow body, purple shadow, blue text
    const QRect box = QFontMetrics(look.font).boundingRect(QRect(0, 0, 1024, 0),
                                                           Qt::AlignLeft | Qt::TextWordWrap, text);
    const QSize size = balloonSize(d, box.size() + QSize(6, 2));
    const QRgb beneath = qRgb(10, 200, 10);
    QImage canvas(size, QImage::Format_RGB32);
    canvas.fill(beneath);
    paintBalloon(canvas, d, look, text);
    const int w = size.width(), h = size.height();
    const QRgb yellow = qRgb(255, 255, 0), black = qRgb(0, 0, 0), purple = qRgb(128, 0, 128);

    // The body's outline and inside; the pointer's tip, its inside, and its
    // base opening the body's outline; a shadow column beside the body.
    const int top = up ? 0 : 15, bottom = up ? h - 15 : h - 9, mid = (top + bottom) / 2;
    const int base = up ? h - 15 : 15, t1 = right ? 10 : w - 26;
    const QPoint t3(right ? 0 : w - 6, up ? h : 0);
    const int even = mid + ((w ^ mid) & 1);
    const std::pair<QPoint, QRgb> expected[] = {
        {{w / 2, top}, black},
        {{w / 2, bottom}, black},
        {{0, mid}, black},
        {{w - 7, mid}, black},
        {{3, mid}, yellow},
        {{right ? w - 1 : 0, top}, beneath},
        {up ? QPoint(right ? 1 : w - 7, h - 2) : t3, black},
        {{(t1 + t1 + 10 + t3.x()) / 3, (base + base + t3.y()) / 3}, yellow},
        {{t1 + 1, base}, yellow},
        {{t1 + 9, base}, yellow},
        {{w - 2, even}, purple},
        {{w - 3, even}, beneath},
    };
    for (const auto &[at, colour] : expected) {
        QVERIFY2(canvas.pixel(at) == colour, qPrintable(u"at %1,%2"_s.arg(at.x()).arg(at.y())));
    }

    // The shadow: a checkerboard, on the right and bottom strips only.
    int shadowPixels = 0;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            if (canvas.pixel(x, y) == purple) {
                ++shadowPixels;
                QVERIFY2(((x ^ y) & 1) == 0, qPrintable(u"shadow at %1,%2"_s.arg(x).arg(y)));
            }
        }
    }
    QVERIFY(shadowPixels > w / 2);
    // The shadow's own corners are rounded too.
    const int shadowEnd = up ? h - 9 : h - 2;
    for (const QPoint corner : {QPoint(w - 1, shadowEnd - 1), QPoint(w - 2, shadowEnd - 1),
                                QPoint(w - 1, shadowEnd - 2)}) {
        QVERIFY(canvas.pixel(corner) != purple);
    }

    // Text in the font's colour inside the body.
    bool blue = false;
    for (int y = top + 2; y < bottom && !blue; ++y) {
        for (int x = 8; x < w - 8 && !blue; ++x) {
            blue = qBlue(canvas.pixel(x, y)) > 200 && qRed(canvas.pixel(x, y)) < 60;
        }
    }
    QVERIFY(blue);
}

void tst_balloon::timing_data() {
    QTest::addColumn<QString>("script");
    QTest::newRow("hint pause") << u"enter a; wait 599; hidden; wait 1; shown a"_s;
    QTest::newRow("hide pause") << u"enter a; wait 600; wait 2499; shown a; wait 1; hidden; "
                                   u"wait 9000; hidden"_s;
    QTest::newRow("straight to another") << u"enter a; wait 600; leave a; hidden; enter b; "
                                            u"wait 49; hidden; wait 1; shown b"_s;
    QTest::newRow("after the hide pause") << u"enter a; wait 3100; hidden; leave a; enter b; "
                                             u"wait 50; shown b"_s;
    QTest::newRow("over a place without") << u"enter a; wait 600; leave a; enter n; leave n; "
                                             u"enter b; wait 50; hidden; wait 550; shown b"_s;
    QTest::newRow("not yet shown") << u"enter a; wait 300; leave a; enter b; wait 50; hidden; "
                                      u"wait 550; shown b"_s;
    QTest::newRow("child of a control")
        << u"enter a; wait 600; shown a; enter c; shown a; leave c; shown a"_s;
    QTest::newRow("key") << u"enter a; wait 600; key; hidden; wait 5000; hidden"_s;
    QTest::newRow("key while waiting") << u"enter a; wait 300; key; wait 5000; hidden"_s;
    QTest::newRow("button") << u"enter a; wait 600; press; hidden"_s;
    QTest::newRow("window frame") << u"enter a; wait 600; frame; hidden"_s;
    QTest::newRow("activation") << u"enter a; wait 600; activate; hidden"_s;
    QTest::newRow("full pause after a key") << u"enter a; wait 600; key; leave a; enter b; "
                                               u"wait 50; hidden; wait 550; shown b"_s;
    QTest::newRow("switched off") << u"enter a; off; wait 5000; hidden"_s;
}

void tst_balloon::timing() {
    QFETCH(QString, script);
    auto *clock = new ManualClock;
    HintService service{std::unique_ptr<hints::HintClock>(clock)};
    service.setHintPause(600);
    QWidget window;
    window.resize(300, 200);
    std::map<QString, QWidget *> widgets;
    for (const QString &name : {u"a"_s, u"b"_s, u"n"_s}) {
        auto *w = new QLabel(name, &window);
        w->setToolTip(name == u"n"_s ? QString() : u"hint "_s + name);
        widgets[name] = w;
    }
    widgets[u"c"_s] = new QLabel(widgets[u"a"_s]);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    for (const QString &raw : script.split(u';')) {
        const QStringList step = raw.trimmed().split(u' ');
        const QString &verb = step[0];
        const QString arg = step.value(1);
        if (verb == u"enter"_s) {
            QEnterEvent e(QPointF(1, 1), QPointF(1, 1), QPointF(1, 1));
            QApplication::sendEvent(widgets.at(arg), &e);
        } else if (verb == u"leave"_s) {
            QEvent e(QEvent::Leave);
            QApplication::sendEvent(widgets.at(arg), &e);
        } else if (verb == u"wait"_s) {
            clock->advance(arg.toInt());
        } else if (verb == u"key"_s) {
            QKeyEvent e(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, u"a"_s);
            QApplication::sendEvent(&window, &e);
        } else if (verb == u"press"_s) {
            QMouseEvent e(QEvent::MouseButtonPress, QPointF(1, 1), QPointF(1, 1), Qt::LeftButton,
                          Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(widgets.at(u"b"_s), &e);
        } else if (verb == u"frame"_s) {
            QMouseEvent e(QEvent::NonClientAreaMouseMove, QPointF(1, 1), QPointF(1, 1),
                          Qt::NoButton, Qt::NoButton, Qt::NoModifier);
            QApplication::sendEvent(&window, &e);
        } else if (verb == u"activate"_s) {
            QEvent e(QEvent::WindowDeactivate);
            QApplication::sendEvent(&window, &e);
        } else if (verb == u"off"_s) {
            service.setShowHint(false);
        } else if (verb == u"hidden"_s) {
            QVERIFY2(!service.hintShown(), qPrintable(raw));
            QVERIFY(!service.hintWindow() || !service.hintWindow()->isVisible());
        } else if (verb == u"shown"_s) {
            QVERIFY2(service.hintShown(), qPrintable(raw));
            hints::HintWindow *hint = service.hintWindow();
            QVERIFY(hint->isVisible());
            QCOMPARE(hint->caption(), u"hint "_s + arg);
            // The window is given the text's box measured in its own font.
            QCOMPARE(hint->size(), service.hintRect(hint->caption(), 100000).size());
        } else {
            QFAIL(qPrintable(u"unknown step "_s + raw));
        }
    }
}

void tst_balloon::installation() {
    HintService &service = hints::hintService();
    QWidget main;
    service.setMainWindow(&main);
    service.setHintPause(123);
    auto *bulle = new TZeltHint(&main);
    // The settings' defaults; the balloon is the application's hint window,
    // with the owner's pause.
    QCOMPARE(bulle->HintDirection(), hdUpRight);
    QCOMPARE(bulle->HintColor(), QColor(255, 255, 0));
    QCOMPARE(bulle->HintShadowColor(), QColor(128, 0, 128));
    QCOMPARE(service.hintPause(), 600);
    auto *window = qobject_cast<TNewHint *>(service.hintWindow());
    QVERIFY(window);
    QCOMPARE(int(window->direction()), 0);

    // The same pause leaves the service alone; another one reaches it.
    service.setHintPause(123);
    bulle->setHintPauseTime(600);
    QCOMPARE(service.hintPause(), 123);
    bulle->setHintPauseTime(700);
    QCOMPARE(service.hintPause(), 700);

    // A new font, and a font-change notice, each put a fresh balloon window
    // in place, measuring in the component's font.
    QFont arial(u"Arial"_s);
    arial.setPixelSize(11);
    QPointer<hints::HintWindow> before = window;
    bulle->setHintFont(arial, Qt::black);
    QVERIFY(!before);
    before = service.hintWindow();
    QEvent fontChange(QEvent::FontChange);
    QCoreApplication::sendEvent(bulle, &fontChange);
    QVERIFY(!before);
    window = qobject_cast<TNewHint *>(service.hintWindow());
    QVERIFY(window);
    QCOMPARE(window->canvasFont, arial);
    const QString two = u"Cliquez, pour commencer une nouvelle partie"_s;
    const QRect one = service.hintRect(two, 1000);
    QVERIFY(qAbs(one.width() - QFontMetrics(arial).horizontalAdvance(two) - 6) <= 1);
    QVERIFY(service.hintRect(two, one.width() / 2).height() > one.height());

    // An activation takes the owner's settings, and a handler's direction
    // holds for that showing only.
    bulle->setHintDirection(hdDownRight);
    bulle->OnSelectHintDirection = [](QWidget *, THintDirection &d) { d = hdUpLeft; };
    QCursor::setPos(500, 400);
    window->ActivateHint(QRect(0, 0, 60, 15), u"Texte"_s);
    QCOMPARE(int(window->direction()), int(hdUpLeft));
    QCOMPARE(bulle->HintDirection(), hdDownRight);
    QCOMPARE(window->size(), QSize(76, 35));
    window->ReleaseHint();
    QVERIFY(!window->isVisible());

    // Without a component on the main window, the defaults serve.
    delete bulle;
    window->ActivateHint(QRect(0, 0, 60, 15), u"Texte"_s);
    QCOMPARE(int(window->direction()), int(hdUpRight));
    window->ReleaseHint();
    service.setMainWindow(nullptr);
}

QTEST_MAIN(tst_balloon)
#include "tst_balloon.moc"
