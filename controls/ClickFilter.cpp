// SPDX-License-Identifier: GPL-3.0-or-later
#include "ClickFilter.h"

#include <QMouseEvent>
#include <QWidget>

ClickFilter::ClickFilter(QObject *parent) : QObject(parent) {}

void ClickFilter::watch(QWidget *widget) {
    widget->installEventFilter(this);
}

bool ClickFilter::eventFilter(QObject *watched, QEvent *event) {
    const bool press = event->type() == QEvent::MouseButtonPress ||
                       (doubleClickPresses_ && event->type() == QEvent::MouseButtonDblClick);
    if (press) {
        if (static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton) {
            pressed_ = watched;
        }
    } else if (event->type() == QEvent::MouseButtonRelease) {
        auto *mouse = static_cast<QMouseEvent *>(event);
        auto *widget = qobject_cast<QWidget *>(watched);
        if (mouse->button() == Qt::LeftButton) {
            const bool click = pressed_ == watched && widget &&
                               widget->rect().contains(mouse->position().toPoint());
            pressed_ = nullptr;
            if (click) {
                Q_EMIT clicked(widget);
                return swallow_;
            }
        }
    }
    return QObject::eventFilter(watched, event);
}
