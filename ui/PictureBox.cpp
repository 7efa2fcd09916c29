#include "PictureBox.h"

#include <QMouseEvent>
#include <QPainter>

PictureBox::PictureBox(QWidget *parent) : QWidget(parent) {}

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

void PictureBox::mousePressEvent(QMouseEvent *event) {
    if (event->button() == Qt::LeftButton) {
        pressed_ = true;
    }
    QWidget::mousePressEvent(event);
}

void PictureBox::mouseReleaseEvent(QMouseEvent *event) {
    const bool click = pressed_ && event->button() == Qt::LeftButton &&
                       rect().contains(event->position().toPoint());
    if (event->button() == Qt::LeftButton) {
        pressed_ = false;
    }
    QWidget::mouseReleaseEvent(event);
    if (click) {
        Q_EMIT clicked();
    }
}
