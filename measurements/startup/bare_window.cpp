// SPDX-License-Identifier: GPL-3.0-or-later
// The least a Qt Widgets program does to put a window on screen: the yardstick
// for the game's own start-up. Same size as the game's main window.
#include <QApplication>
#include <QWidget>

int main(int argc, char *argv[]) {
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("bare Qt window"));
    window.setFixedSize(640, 462);
    window.show();
    return QApplication::exec();
}
