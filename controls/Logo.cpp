// SPDX-License-Identifier: GPL-3.0-or-later
#include "Logo.h"

#include <QApplication>
#include <QPainter>
#include <QTimer>

#include <array>

#include "Pictures.h"

using namespace Qt::StringLiterals;

TLOGO::TLOGO(QWidget *owner) : QWidget(owner), frameTimer_(new QTimer(this)) {
    setGeometry(0, 0, 100, 100);
    frameTimer_->setInterval(100);
    connect(frameTimer_, &QTimer::timeout, this, &TLOGO::frameStep);
    picture_ = frame(1);
    frameShown_ = 1;
}

QPixmap TLOGO::frame(int n) {
    // Each frame is read once, at its first showing, and kept: the logo
    // turns only while the about box is open, and never at start-up.
    static std::array<QPixmap, 14> frames;
    if (n < 1 || n > 13) {
        return {};
    }
    if (frames[n].isNull()) {
        frames[n] = appearance::loadPicture(u":/logo/L%1.png"_s.arg(n), qApp->devicePixelRatio());
    }
    return frames[n];
}

void TLOGO::StartAnimation() {
    frameTimer_->start();
}

void TLOGO::StopAnimation() {
    frameTimer_->stop();
}

bool TLOGO::animating() const {
    return frameTimer_->isActive();
}

void TLOGO::frameStep() {
    ++frameCounter_;
    if (frameCounter_ >= 1 && frameCounter_ <= 13) {
        picture_ = frame(frameCounter_);
        frameShown_ = frameCounter_;
        update();
    }
    if (frameCounter_ >= 13) {
        frameCounter_ = 0;
    }
}

void TLOGO::setPicture(const QPixmap &picture) {
    picture_ = picture;
    frameShown_ = 0;
    update();
}

void TLOGO::paintEvent(QPaintEvent *) {
    QPainter p(this);
    p.drawPixmap(0, 0, picture_);
}
