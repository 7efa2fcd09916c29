// The about box, opened by "A propos"; a click on it closes it.
#pragma once

#include <QDialog>

class Ta_propos : public QDialog {
    Q_OBJECT
public:
    explicit Ta_propos(QWidget *parent = nullptr);

    void StartAnimation() {}
    void StopAnimation() {}

protected:
    void showEvent(QShowEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    QPixmap background_;
};

extern Ta_propos *a_propos;
