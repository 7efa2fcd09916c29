// SPDX-License-Identifier: GPL-3.0-or-later
// A click, as every control of the game takes it: the left button pressed
// over a widget and released over that same widget. Moving out and back in
// before releasing still clicks; releasing elsewhere does not.
#pragma once

#include <QObject>

class QWidget;

class ClickFilter : public QObject {
    Q_OBJECT
public:
    explicit ClickFilter(QObject *parent);

    // Watches a widget's mouse buttons. The widget still receives them,
    // unless swallowClicks: then the release that clicks stops here.
    void watch(QWidget *widget);
    void setSwallowClicks(bool swallow) { swallow_ = swallow; }
    // Whether the second press of a double click starts a click too, as it
    // does for the holes: a double click there is two clicks. For the
    // labels it is one.
    void setDoubleClickPresses(bool presses) { doubleClickPresses_ = presses; }

Q_SIGNALS:
    void clicked(QWidget *widget);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QObject *pressed_ = nullptr;
    bool swallow_ = false;
    bool doubleClickPresses_ = false;
};
