// SPDX-License-Identifier: GPL-3.0-or-later
#include "emblems.h"

#include "layout.h"
#include "marbles.h"

#include "geometry.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <cmath>
#include <vector>

using namespace Qt::StringLiterals;

namespace drawpictures {
namespace {

// ------------------------------------------------------------------ logo

float logoAngle(int frame) {
    // Quarter turns in two frames, then the next quarter in four: the ring
    // swings edge-on in L3 and L9 and comes back face-on in L7 and L13.
    static constexpr float kDegrees[kLogoFrames] = {0,   45,  90,     112.5f, 135,    157.5f, 180,
                                                    225, 270, 292.5f, 315,    337.5f, 360};
    return kDegrees[std::clamp(frame, 1, kLogoFrames) - 1] * float(M_PI) / 180.0f;
}

QPainterPath starPath(float outer, float inner) {
    QPainterPath path;
    for (int i = 0; i < 10; ++i) {
        const float a = float(M_PI) * (float(i) / 5.0f) - float(M_PI) / 2;
        const float r = (i % 2) ? inner : outer;
        const QPointF p(r * std::cos(a), r * std::sin(a));
        if (i == 0) {
            path.moveTo(p);
        } else {
            path.lineTo(p);
        }
    }
    path.closeSubpath();
    return path;
}

void drawMarbleDisc(QPainter &p, QPointF centre, float radius) {
    QRadialGradient body(centre + QPointF(-radius * 0.35, -radius * 0.45), radius * 1.45);
    body.setColorAt(0.0, QColor(120, 180, 255));
    body.setColorAt(0.45, QColor(30, 90, 230));
    body.setColorAt(0.85, QColor(10, 36, 140));
    body.setColorAt(1.0, QColor(6, 20, 90));
    p.setPen(Qt::NoPen);
    p.setBrush(body);
    p.drawEllipse(centre, radius, radius);
    // Light passing through the glass, at the bottom.
    QRadialGradient glow(centre + QPointF(radius * 0.2, radius * 0.5), radius * 0.6);
    glow.setColorAt(0.0, QColor(110, 170, 255, 140));
    glow.setColorAt(1.0, QColor(110, 170, 255, 0));
    p.setBrush(glow);
    p.drawEllipse(centre, radius, radius);
    // The white highlight above the centre.
    QRadialGradient spot(centre + QPointF(-radius * 0.12, -radius * 0.5), radius * 0.42);
    spot.setColorAt(0.0, QColor(255, 255, 255, 255));
    spot.setColorAt(0.35, QColor(255, 255, 255, 230));
    spot.setColorAt(1.0, QColor(255, 255, 255, 0));
    p.setBrush(spot);
    p.drawEllipse(centre + QPointF(-radius * 0.12, -radius * 0.5), radius * 0.5, radius * 0.34);
}

void drawStar(QPainter &p, QPointF at, float size, float widthScale, bool back) {
    p.save();
    p.translate(at);
    p.scale(widthScale, 1.0);
    QLinearGradient gold(QPointF(-size, -size), QPointF(size, size));
    if (back) {
        gold.setColorAt(0.0, QColor(214, 160, 40));
        gold.setColorAt(1.0, QColor(130, 84, 10));
    } else {
        gold.setColorAt(0.0, QColor(255, 244, 150));
        gold.setColorAt(0.5, QColor(250, 200, 40));
        gold.setColorAt(1.0, QColor(180, 112, 10));
    }
    p.setBrush(gold);
    p.setPen(QPen(QColor(110, 66, 0), 0.7 / std::max(widthScale, 0.35f)));
    p.drawPath(starPath(size, size * 0.45f));
    p.restore();
}

// ------------------------------------------------------------ backgrounds

void drawBanner(QPainter &p, QRectF area) {
    // Two gold bars with the studio's name between them.
    auto bar = [&p](QRectF r) {
        QLinearGradient g(r.topLeft(), r.bottomLeft());
        g.setColorAt(0.0, QColor(255, 236, 140));
        g.setColorAt(0.5, QColor(224, 170, 30));
        g.setColorAt(1.0, QColor(140, 90, 10));
        p.setPen(Qt::NoPen);
        p.setBrush(g);
        p.drawRoundedRect(r, 1.5, 1.5);
    };
    bar(QRectF(area.left(), area.top(), area.width(), 4));
    bar(QRectF(area.left(), area.bottom() - 4, area.width(), 4));

    QFont name(u"Times New Roman"_s);
    name.setPixelSize(25);
    name.setBold(true);
    name.setLetterSpacing(QFont::AbsoluteSpacing, 2);
    p.setFont(name);
    const QRectF nameBox(area.left(), area.top() + 8, area.width(), 30);
    p.setPen(QColor(0, 0, 40));
    p.drawText(nameBox.translated(1, 1), Qt::AlignCenter, u"VELTRANO"_s);
    p.setPen(QColor(255, 226, 120));
    p.drawText(nameBox, Qt::AlignCenter, u"VELTRANO"_s);

    QFont studio(u"Times New Roman"_s);
    studio.setPixelSize(13);
    studio.setBold(true);
    studio.setLetterSpacing(QFont::AbsoluteSpacing, 4);
    p.setFont(studio);
    p.setPen(QColor(235, 240, 255));
    p.drawText(QRectF(area.left(), area.top() + 37, area.width(), 16), Qt::AlignCenter,
               u"STUDIO"_s);

    QFont motto(u"Times New Roman"_s);
    motto.setPixelSize(13);
    motto.setItalic(true);
    p.setFont(motto);
    p.setPen(QColor(190, 210, 255));
    p.drawText(QRectF(area.left(), area.top() + 52, area.width(), 16), Qt::AlignCenter,
               u"jeux de patience et de r\u00e9flexion"_s);
}

QImage background(int height, bool withLogo, int scale) {
    QImage out(324 * scale, height * scale, QImage::Format_RGB32);
    out.fill(fieldBlue());
    QPainter p(&out);
    p.scale(scale, scale);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    if (withLogo) {
        QImage logo = drawLogoFrame(1, scale);
        logo.setDevicePixelRatio(scale);
        p.drawImage(12, 4, logo);
    }
    drawBanner(p, QRectF(124, 12, 190, 76));
    return out;
}

} // namespace

QImage drawIcon(const QImage &board, int size) {
    // A square of the first board around one hole, a little reduced so the
    // grain shows round the collar, with a red marble in it and a bevel, so
    // it reads as a piece of the board. The board may be drawn at any scale.
    const double k = double(board.width()) / kBoardWidth;
    const veltrano::Box box = veltrano::hole_box(23);
    const double cx = box.left + kBallCentreX;
    const double cy = box.top + kBallCentreY;
    const int side = int(std::lround(44 * k));
    QImage out =
        board.copy(int(std::lround((cx - 22) * k)), int(std::lround((cy - 22) * k)), side, side)
            .scaled(size, size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
            .convertToFormat(QImage::Format_ARGB32);
    QPainter p(&out);
    const int ball = int(std::lround(18.0 * size / 32));
    const int at = (size - ball) / 2;
    p.drawImage(at, at, drawBall(1, ball));
    // The bevel keeps its proportion: one pixel of 32.
    const int w = std::max(1, size / 32);
    p.fillRect(0, 0, size, w, QColor(255, 236, 200));
    p.fillRect(0, 0, w, size, QColor(255, 236, 200));
    p.fillRect(size - w, w, w, size - w, QColor(96, 60, 28));
    p.fillRect(w, size - w, size - w, w, QColor(96, 60, 28));
    p.fillRect(size - 2 * w, 2 * w, w, size - 3 * w, QColor(128, 84, 44));
    p.fillRect(2 * w, size - 2 * w, size - 3 * w, w, QColor(128, 84, 44));
    return out;
}

QRgb fieldBlue() {
    return qRgb(22, 46, 148);
}

QImage drawLogoFrame(int frame, int scale) {
    QImage out(kLogoSize * scale, kLogoSize * scale, QImage::Format_RGB32);
    out.fill(fieldBlue());
    QPainter p(&out);
    p.scale(scale, scale);
    p.setRenderHint(QPainter::Antialiasing);
    const float phi = logoAngle(frame);
    const float cosPhi = std::cos(phi), sinPhi = std::sin(phi);
    const QPointF centre(50, 50);
    const float ring = 38.0f;
    struct Star {
        QPointF at;
        float depth;
    };
    std::vector<Star> stars;
    for (int i = 0; i < 12; ++i) {
        const float theta = float(i) * float(M_PI) / 6.0f;
        const float x = ring * std::cos(theta);
        const float y = ring * std::sin(theta);
        stars.push_back({centre + QPointF(x * cosPhi, y), x * sinPhi});
    }
    // A star edge-on still shows as a thin sliver, not as nothing.
    const float width = std::max(std::abs(cosPhi), 0.22f);
    const bool back = cosPhi < 0;
    auto drawStars = [&](bool front) {
        for (const Star &s : stars) {
            if ((s.depth > 0.01f) == front || (front && std::abs(s.depth) <= 0.01f)) {
                const float size = 7.0f * (1.0f + 0.12f * s.depth / ring);
                drawStar(p, s.at, size, width, back);
            }
        }
    };
    drawStars(false);
    drawMarbleDisc(p, centre, 21.0f);
    drawStars(true);
    return out;
}

QImage drawSplash(int scale) {
    return background(200, true, scale);
}

QImage drawAbout(int scale) {
    return background(215, false, scale);
}

QImage drawOkButton(int scale) {
    QImage out(63 * scale, 39 * scale, QImage::Format_RGB32);
    out.fill(qRgb(212, 210, 204));
    QPainter p(&out);
    p.scale(scale, scale);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath check;
    check.moveTo(6, 20);
    check.lineTo(13, 28);
    check.lineTo(27, 9);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(20, 90, 20), 7.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(check);
    p.setPen(QPen(QColor(40, 170, 40), 4.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(check);
    QFont font(u"Arial"_s);
    font.setPixelSize(20);
    font.setBold(true);
    p.setFont(font);
    p.setPen(Qt::black);
    p.drawText(QRectF(29, 0, 32, 39), Qt::AlignCenter, u"OK"_s);
    return out;
}

} // namespace drawpictures
