// SPDX-License-Identifier: GPL-3.0-or-later
// The large yellow message that tells the outcome of a game.
//
// Its box is 365 x 151 over the centre of the board and only that box takes
// the mouse once a game is over, but at its size neither message fits in
// it. The label itself therefore draws nothing; a companion layer that
// covers the whole window and lets every mouse event through draws the text
// whole, centred on the box, and kept within the clear area of the board
// (off the tray and the command labels), on two lines if that keeps it
// larger.
#pragma once

#include <QLabel>
#include <QStringList>

class EndMessageText;

class EndMessage : public QLabel {
    Q_OBJECT
public:
    explicit EndMessage(QWidget *parent);

    void setMessage(const QString &text);

    // Disabled, the box lets the mouse through to the holes beneath it;
    // enabled, it keeps the clicks over it for itself.
    void setActive(bool active);

    // The part of the window the text may cover, in the window's pixels.
    void setClearArea(const QRect &area);

    // How the current text is laid out: its font and its lines, each with
    // the rectangle it is drawn in.
    struct Layout {
        QFont font;
        QStringList lines;
        QList<QRect> boxes;
    };
    Layout layout() const;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    EndMessageText *text_;
    QRect clearArea_;
};
