// SPDX-License-Identifier: GPL-3.0-or-later
// A picture control: shows one picture unscaled at its top-left corner and
// is transparent wherever it holds none, so whatever lies beneath shows
// through. Holes, tray places and the board itself are PictureBoxes.
#pragma once

#include <QPixmap>
#include <QWidget>

class PictureBox : public QWidget {
    Q_OBJECT
public:
    explicit PictureBox(QWidget *parent = nullptr);

    void setPicture(const QPixmap &picture);
    void clearPicture();
    bool hasPicture() const { return !picture_.isNull(); }
    const QPixmap &picture() const { return picture_; }

    // How many times a picture was put into or taken out of this box: lets a
    // test check that a move repaints only what it changes.
    int assignments() const { return assignments_; }

Q_SIGNALS:
    void mouseMoved();
    // Left button pressed and released over the box.
    void clicked();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;

private:
    QPixmap picture_;
    int assignments_ = 0;
};
