// The board choice asked at the start of every new game.
#pragma once

#include <QDialog>

namespace Ui {
class Fmode;
}

class Tmode : public QDialog {
    Q_OBJECT
public:
    explicit Tmode(QWidget *parent = nullptr);
    ~Tmode() override;

    // The dialog's controls, built at its first showing.
    Ui::Fmode *controls();
    void setVisible(bool visible) override;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void BitBtn1Click();
    void BitBtn2Click();
    void choose(int kind);

    Ui::Fmode *ui = nullptr;
};

extern Tmode *mode;
