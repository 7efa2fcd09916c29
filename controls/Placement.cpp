// SPDX-License-Identifier: GPL-3.0-or-later
#include "Placement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

WindowRect MainWindowRect;

void centreOnMainWindow(QWidget *dialog) {
    const QRect outer = dialog->frameGeometry();
    const int left = MainWindowRect.left + (MainWindowRect.width - outer.width()) / 2;
    const int top = MainWindowRect.top + (MainWindowRect.height - outer.height()) / 2;
    dialog->move(left, top);
}

void centreOnScreen(QWidget *window) {
    if (QScreen *screen = QGuiApplication::primaryScreen()) {
        const QRect s = screen->geometry();
        window->move(s.left() + (s.width() - window->width()) / 2,
                     s.top() + (s.height() - window->height()) / 2);
    }
}
