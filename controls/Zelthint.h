// SPDX-License-Identifier: GPL-3.0-or-later
// The cartoon balloon that replaces the plain hint window of the whole
// application: a rounded yellow box with a black outline, a pointer whose tip
// sits next to the mouse and a dithered shadow. The window is rectangular; it
// looks shaped because it paints the balloon over a snapshot of the screen.
#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QObject>

#include <functional>

#include "HintService.h"

enum THintDirection : unsigned char { hdUpRight, hdUpLeft, hdDownRight, hdDownLeft };

// Lets the owner pick the direction of one showing.
using TOnSelectHintDirection =
    std::function<void(QWidget *HintControl, THintDirection &HintDirection)>;

// Everything a balloon is drawn with.
struct BalloonLook {
    THintDirection direction = hdUpRight;
    QColor color = QColor(255, 255, 0);
    QColor shadowColor = QColor(128, 0, 128);
    QFont font = defaultFont();
    QColor fontColor = QColor(0, 0, 255);

    static QFont defaultFont();
};

// The look of the balloon, owned by a window; creating it makes every hint of
// the application a balloon.
class TZeltHint : public QObject {
    Q_OBJECT
    // The stored settings, in the order a window description lists them.
    Q_PROPERTY(THintDirection HintDirection READ HintDirection WRITE setHintDirection)
    Q_PROPERTY(QColor HintColor READ HintColor WRITE setHintColor)
    Q_PROPERTY(QColor HintShadowColor READ HintShadowColor WRITE setHintShadowColor)
    Q_PROPERTY(QFont HintFont READ HintFont WRITE setHintFont)
    Q_PROPERTY(int HintPauseTime READ HintPauseTime WRITE setHintPauseTime)
public:
    explicit TZeltHint(QObject *owner);

    THintDirection HintDirection() const { return look_.direction; }
    void setHintDirection(THintDirection direction) { look_.direction = direction; }
    QColor HintColor() const { return look_.color; }
    void setHintColor(const QColor &color) { look_.color = color; }
    QColor HintShadowColor() const { return look_.shadowColor; }
    void setHintShadowColor(const QColor &color) { look_.shadowColor = color; }
    const QFont &HintFont() const { return look_.font; }
    const QColor &HintFontColor() const { return look_.fontColor; }
    void setHintFont(const QFont &font, const QColor &color);
    void setHintFont(const QFont &font) { setHintFont(font, look_.fontColor); }
    int HintPauseTime() const { return hintPauseTime_; }
    void setHintPauseTime(int ms);

    TOnSelectHintDirection OnSelectHintDirection;

    // To be called once the owner has set the stored values, so that a font
    // given there reaches the hint window.
    void Loaded();

    const BalloonLook &look() const { return look_; }

protected:
    bool event(QEvent *event) override;

private:
    void installBalloon();

    BalloonLook look_;
    int hintPauseTime_ = 600;
};

// Where a balloon stands: the direction that keeps it on the screen and its
// top-left corner. `text` is the size of the rectangle the hint service gives.
struct BalloonPlace {
    THintDirection direction;
    QPoint topLeft;
};
BalloonPlace placeBalloon(THintDirection first, QPoint mouse, QSize text, const QRect &screen);
QSize balloonSize(THintDirection direction, QSize text);

// Draws the balloon over `canvas`, which holds what lies beneath it and has
// the balloon's logical size at its device pixel ratio.
void paintBalloon(QImage &canvas, THintDirection direction, const BalloonLook &look,
                  const QString &text);

// The hint window of the application once a TZeltHint exists.
class TNewHint : public hints::HintWindow {
    Q_OBJECT
public:
    TNewHint();

    void ActivateHint(const QRect &rect, const QString &text) override;
    void ReleaseHint() override;

    THintDirection direction() const { return THintDirection(direction_); }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    unsigned char direction_ = 0;
    // What lay beneath the window when it was shown; kept until it is hidden
    // so that any later paint composes the same balloon again.
    QImage snapshot_;
    BalloonLook look_;
    // Where the window system can't copy the screen, the balloon is drawn on
    // a see-through window instead.
    bool translucent_ = false;
};
