// SPDX-License-Identifier: GPL-3.0-or-later
// The window shown while the game builds its windows at start-up.
#pragma once

#include <QWidget>

class QEventLoop;

namespace Ui {
class SplashForm;
}

class TSplashForm : public QWidget {
    Q_OBJECT
public:
    explicit TSplashForm(QWidget *parent = nullptr);
    ~TSplashForm() override;

    // Whether the window has been painted since it was created.
    bool painted() const { return painted_; }

    // Once shown: on Wayland, waits until the compositor has taken the
    // window's first frame, for a bounded time. Elsewhere showing and
    // painting it has put it on screen already, and this returns at once.
    void waitUntilOnScreen();

protected:
    void paintEvent(QPaintEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void FormCreate();
    void askForUpdate();

    Ui::SplashForm *ui_;
    bool painted_ = false;
    // While waiting for the compositor, and once the first frame is sent.
    QEventLoop *waitLoop_ = nullptr;
    bool frameSent_ = false;
};
