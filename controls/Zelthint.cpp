// SPDX-License-Identifier: GPL-3.0-or-later
#include "Zelthint.h"

#include <QApplication>
#include <QCursor>
#include <QPainter>
#include <QPainterPath>
#include <QScreen>

using namespace Qt::StringLiterals;

QFont BalloonLook::defaultFont() {
    QFont f(u"MS Sans Serif"_s);
    f.setPointSize(12);
    f.setBold(true);
    f.setItalic(true);
    return f;
}

// ---- TZeltHint -------------------------------------------------------------

TZeltHint::TZeltHint(QObject *owner) : QObject(owner) {
    hints::hintService().setHintPause(hintPauseTime_);
    installBalloon();
}

void TZeltHint::setHintFont(const QFont &font, const QColor &color) {
    look_.font = font;
    look_.fontColor = color;
    installBalloon();
}

void TZeltHint::setHintPauseTime(int ms) {
    if (ms != hintPauseTime_) {
        hintPauseTime_ = ms;
        hints::hintService().setHintPause(ms);
    }
}

void TZeltHint::Loaded() {
    installBalloon();
}

bool TZeltHint::event(QEvent *event) {
    if (event->type() == QEvent::FontChange) {
        const bool handled = QObject::event(event);
        installBalloon();
        return handled;
    }
    return QObject::event(event);
}

void TZeltHint::installBalloon() {
    hints::HintService &service = hints::hintService();
    service.setHintWindowClass<TNewHint>();
    // Flipping the switch twice puts a balloon window in place of whatever
    // window the service held.
    service.setShowHint(!service.showHint());
    service.setShowHint(!service.showHint());
    if (auto *window = qobject_cast<TNewHint *>(service.hintWindow())) {
        window->canvasFont = look_.font;
        window->canvasFontColor = look_.fontColor;
    }
}

// ---- Placement -------------------------------------------------------------

namespace {

bool upward(THintDirection d) {
    return d == hdUpRight || d == hdUpLeft;
}

} // namespace

QSize balloonSize(THintDirection direction, QSize text) {
    return {text.width() + 16, text.height() + (upward(direction) ? 20 : 29)};
}

BalloonPlace placeBalloon(THintDirection first, QPoint mouse, QSize text, const QRect &screen) {
    const int w = text.width() + 16;
    const int up = text.height() + 20;
    const int down = text.height() + 29;
    const int px = mouse.x() - screen.left();
    const int py = mouse.y() - screen.top();
    const int sw = screen.width();
    const int sh = screen.height();
    const bool rightFails = sw < px + w;
    const bool leftFails = px + 6 - w < 0;
    const bool aboveFails = py - 5 - up < 0;
    const bool belowFails = sh < py + 15 + down;

    // Each rule sends a failure on to another rule. A balloon that fits
    // nowhere would go round for ever, so the walk stops at the first rule
    // it comes back to and keeps the last one tried.
    bool tried[4] = {};
    THintDirection d = first;
    for (;;) {
        tried[d] = true;
        THintDirection next = d;
        switch (d) {
        case hdUpRight:
            next = rightFails ? hdUpLeft : aboveFails ? hdDownRight : d;
            break;
        case hdUpLeft:
            next = leftFails ? hdUpRight : aboveFails ? hdDownLeft : d;
            break;
        case hdDownRight:
            next = rightFails ? hdDownLeft : belowFails ? hdUpRight : d;
            break;
        case hdDownLeft:
            next = leftFails ? hdDownRight : belowFails ? hdUpLeft : d;
            break;
        }
        if (next == d || tried[next]) {
            break;
        }
        d = next;
    }
    const int x = (d == hdUpRight || d == hdDownRight) ? px : px + 6 - w;
    const int y = upward(d) ? py - 5 - up : py + 15;
    return {d, QPoint(x + screen.left(), y + screen.top())};
}

// ---- Painting --------------------------------------------------------------

namespace {

void setPixel(QImage &image, int x, int y, QRgb colour) {
    if (x >= 0 && y >= 0 && x < image.width() && y < image.height()) {
        image.setPixel(x, y, colour);
    }
}

// A one-pixel line without its end point, so that joined lines never paint a
// corner twice and the pointer's outline leaves the body's outline open.
void line(QImage &image, QPoint from, QPoint to, QRgb colour) {
    int x = from.x(), y = from.y();
    const int dx = std::abs(to.x() - x), dy = -std::abs(to.y() - y);
    const int sx = x < to.x() ? 1 : -1, sy = y < to.y() ? 1 : -1;
    int error = dx + dy;
    while (x != to.x() || y != to.y()) {
        setPixel(image, x, y, colour);
        const int e2 = 2 * error;
        if (e2 >= dy) {
            error += dy;
            x += sx;
        }
        if (e2 <= dx) {
            error += dx;
            y += sy;
        }
    }
}

bool inside(const QPainterPath &area, int x, int y) {
    return area.contains(QPointF(x + 0.5, y + 0.5));
}

// Sets every pixel of the box that lies in `area` and whose x and y share
// their parity: a checkerboard through which half the snapshot shows.
void dither(QImage &image, const QPainterPath &area, QRect box, QRgb colour) {
    for (int y = box.top(); y <= box.bottom(); ++y) {
        for (int x = box.left() + ((box.left() ^ y) & 1); x <= box.right(); x += 2) {
            if (inside(area, x, y)) {
                setPixel(image, x, y, colour);
            }
        }
    }
}

QPainterPath triangle(QPoint a, QPoint b, QPoint c) {
    QPainterPath path;
    path.setFillRule(Qt::WindingFill);
    path.moveTo(a);
    path.lineTo(b);
    path.lineTo(c);
    path.closeSubpath();
    return path;
}

void paintShape(QImage &canvas, THintDirection d, const BalloonLook &look);

} // namespace

void paintBalloon(QImage &canvas, THintDirection d, const BalloonLook &look, const QString &text) {
    // The outline, the pointer and the dithered shadow are a pattern of
    // whole pixels, drawn on a layer of the balloon's logical size; on a
    // finer screen each of its pixels covers a block of device pixels, while
    // the text is drawn at the device's own resolution.
    const QSize size = canvas.deviceIndependentSize().toSize();
    QImage shape(size, QImage::Format_ARGB32_Premultiplied);
    shape.fill(Qt::transparent);
    paintShape(shape, d, look);

    QPainter p(&canvas);
    p.drawImage(QRect(QPoint(0, 0), size), shape);
    p.setFont(look.font);
    p.setPen(look.fontColor);
    const int textTop = upward(d) ? 3 : 18;
    p.drawText(QRect(8, textTop, size.width() - 8, size.height() - textTop),
               Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, text.left(255));
}

namespace {

void paintShape(QImage &canvas, THintDirection d, const BalloonLook &look) {
    const int w = canvas.width();
    const int h = canvas.height();
    const bool up = upward(d);
    const bool right = d == hdUpRight || d == hdDownRight;
    const QRgb shadow = look.shadowColor.rgb();
    const QRgb fill = look.color.rgb();

    // The body's shadow, limited to the right and bottom strips so that the
    // work grows with the outline rather than the area.
    const int shadowTop = up ? 8 : 23;
    const int shadowBottom = up ? h - 9 : h - 2;
    QPainterPath shadowArea;
    shadowArea.addRoundedRect(QRectF(10, shadowTop, w - 10, shadowBottom - shadowTop), 4, 4);
    const int strip = up ? h - 14 : h - 8;
    dither(canvas, shadowArea, QRect(QPoint(w - 14, shadowTop), QPoint(w, strip)), shadow);
    dither(canvas, shadowArea, QRect(QPoint(10, strip), QPoint(w, shadowBottom)), shadow);

    if (up) {
        const QPoint q1 = right ? QPoint(12, h - 15) : QPoint(w - 33, h - 15);
        const QPoint q2 = right ? QPoint(25, h - 15) : QPoint(w - 11, h - 15);
        const QPoint q3 = right ? QPoint(12, h) : QPoint(w - 6, h);
        dither(canvas, triangle(q1, q2, q3), QRect(QPoint(q1.x(), h - 15), QPoint(q2.x(), h)),
               shadow);
    }

    {
        QPainter p(&canvas);
        p.setRenderHint(QPainter::Antialiasing, false);
        p.setPen(QPen(Qt::black, 0));
        p.setBrush(look.color);
        const int top = up ? 0 : 15;
        const int bottom = up ? h - 14 : h - 8;
        // The outline runs on the rectangle's last column and row inclusive.
        p.drawRoundedRect(QRect(0, top, w - 7, bottom - top - 1), 4, 4);
    }

    const int base = up ? h - 15 : 15;
    const int tipY = up ? h : 0;
    const QPoint t1 = right ? QPoint(10, base) : QPoint(w - 26, base);
    const QPoint t2 = right ? QPoint(20, base) : QPoint(w - 16, base);
    const QPoint t3 = right ? QPoint(0, tipY) : QPoint(w - 6, tipY);
    line(canvas, t1, t2, fill);
    const QPainterPath pointer = triangle(t1, t2, t3);
    const QRect box = pointer.boundingRect().toAlignedRect();
    for (int y = box.top(); y <= box.bottom(); ++y) {
        for (int x = box.left(); x <= box.right(); ++x) {
            if (inside(pointer, x, y)) {
                setPixel(canvas, x, y, fill);
            }
        }
    }
    line(canvas, t2, t3, qRgb(0, 0, 0));
    line(canvas, t3, t1, qRgb(0, 0, 0));
}

} // namespace

// ---- TNewHint --------------------------------------------------------------

TNewHint::TNewHint() {
    translucent_ = QGuiApplication::platformName().startsWith(u"wayland"_s);
    setAttribute(Qt::WA_TranslucentBackground, translucent_);
    setAttribute(Qt::WA_OpaquePaintEvent, !translucent_);
    setAutoFillBackground(false);
    // The window's own background is the desktop's colour, which is also
    // what the service paints behind a hint from now on.
    const QColor desktop = QGuiApplication::palette().color(QPalette::Window);
    hints::hintService().hintColor = desktop;
    QPalette p = palette();
    p.setColor(QPalette::Window, desktop);
    setPalette(p);
}

void TNewHint::ActivateHint(const QRect &rect, const QString &text) {
    snapshot_ = QImage();
    caption_ = text;

    // The settings are looked up again at every showing; without them the
    // balloon keeps the component's own defaults.
    const TZeltHint *settings = nullptr;
    if (QWidget *main = hints::hintService().mainWindow()) {
        settings = main->findChild<TZeltHint *>(QString(), Qt::FindDirectChildrenOnly);
    }
    look_ = settings ? settings->look() : BalloonLook{};

    // The mouse as it is now, not where the service decided to show the hint.
    const QPoint mouse = QCursor::pos();
    THintDirection first = look_.direction;
    if (settings && settings->OnSelectHintDirection) {
        settings->OnSelectHintDirection(QApplication::widgetAt(mouse), first);
    }
    QScreen *screen = QGuiApplication::screenAt(mouse);
    if (!screen) {
        screen = QGuiApplication::primaryScreen();
    }
    const QRect area = screen->geometry();
    const BalloonPlace place = placeBalloon(first, mouse, rect.size(), area);
    direction_ = place.direction;
    const QRect bounds(place.topLeft, balloonSize(place.direction, rect.size()));
    setGeometry(bounds);

    // The copy of the screen keeps the screen's own resolution, so that what
    // lies beneath shows as sharp as around the balloon; the screen gives it
    // in device pixels for a rectangle in logical ones.
    const qreal ratio = screen->devicePixelRatio();
    const QSize device = (QSizeF(bounds.size()) * ratio).toSize();
    if (!translucent_) {
        snapshot_ = screen
                        ->grabWindow(0, bounds.x() - area.x(), bounds.y() - area.y(),
                                     bounds.width(), bounds.height())
                        .toImage()
                        .convertToFormat(QImage::Format_RGB32);
    }
    if (!snapshot_.isNull() && snapshot_.size() != device) {
        // A ratio the screen rounds differently: one device pixel at most.
        snapshot_ = snapshot_.scaled(device);
    }
    if (snapshot_.size() != device) {
        snapshot_ = QImage(device, translucent_ ? QImage::Format_ARGB32_Premultiplied
                                                : QImage::Format_RGB32);
        snapshot_.fill(translucent_ ? QColor(Qt::transparent) : palette().color(QPalette::Window));
    }
    snapshot_.setDevicePixelRatio(ratio);
    // A newly shown popup lies above every other window already.
    show();
    repaint();
}

void TNewHint::ReleaseHint() {
    hide();
    snapshot_ = QImage();
}

void TNewHint::paintEvent(QPaintEvent *) {
    if (snapshot_.isNull()) {
        return;
    }
    QImage canvas = snapshot_;
    paintBalloon(canvas, direction(), look_, caption_);
    QPainter p(this);
    p.setCompositionMode(QPainter::CompositionMode_Source);
    p.drawImage(0, 0, canvas);
}
