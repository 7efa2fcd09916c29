// SPDX-License-Identifier: GPL-3.0-or-later
// The about box's logo: a blue marble in a ring of twelve gold stars that
// turns about the vertical axis, 13 frames of 100 by 100 every 100 ms.
#pragma once

#include <QPixmap>
#include <QWidget>

class QTimer;

class TLOGO : public QWidget {
    Q_OBJECT
public:
    explicit TLOGO(QWidget *owner = nullptr);

    void StartAnimation();
    // The picture stays on the frame shown last and the counter keeps its
    // value, so the next start goes on from there.
    void StopAnimation();

    // One tick of the frame timer: the next frame, after 13 the first again.
    void frameStep();

    int frameCounter() const { return frameCounter_; }
    bool animating() const;
    // The frame on show, 1 to 13, or 0 while a picture set from outside
    // stands in for it.
    int frameShown() const { return frameShown_; }
    // A picture set by the owner replaces the frame until the next tick.
    void setPicture(const QPixmap &picture);

    // Frame "L1" .. "L13" among the game's pictures.
    static QPixmap frame(int n);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QTimer *frameTimer_;
    int frameCounter_ = 0;
    int frameShown_ = 0;
    QPixmap picture_;
};
