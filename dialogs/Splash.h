// The window shown while the game builds its windows at start-up.
#pragma once

#include <QWidget>

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

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void FormCreate();

    Ui::SplashForm *ui;
    bool painted_ = false;
};
