#include "Shared.h"

QString startDirectory;
WindowRect MainWindowRect;
QString playerName;

#include <QWidget>

void centreOnMainWindow(QWidget *dialog) {
    const QRect outer = dialog->frameGeometry();
    const int left = MainWindowRect.left + (MainWindowRect.width - outer.width()) / 2;
    const int top = MainWindowRect.top + (MainWindowRect.height - outer.height()) / 2;
    dialog->move(left, top);
}
