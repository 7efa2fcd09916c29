// SPDX-License-Identifier: GPL-3.0-or-later
#include "PictureBox.h"

#include <QMouseEvent>
#include <QPainter>

#include "ClickFilter.h"

PictureBox::PictureBox(QWidget *parent) : QWidget(parent) {
    auto *clicks = new ClickFilter(this);
    clicks->setDoubleClickPresses(true);
    clicks->watch(this);
    connect(clicks, &ClickFilter::clicked, this, &PictureBox::clicked);
}

void PictureBox::setPicture(const QPixmap &picture) {
    picture_ = picture;
    ++assignments_;
    update();
}

void PictureBox::clearPicture() {
    picture_ = QPixmap();
    ++assignments_;
    update();
}

void PictureBox::paintEvent(QPaintEvent *) {
    if (picture_.isNull()) {
        return;
    }
    QPainter p(this);
    p.drawPixmap(0, 0, picture_);
}

void PictureBox::mouseMoveEvent(QMouseEvent *event) {
    Q_EMIT mouseMoved();
    QWidget::mouseMoveEvent(event);
}
