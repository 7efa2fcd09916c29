// Asks the name of a player whose result enters the ten best.
#pragma once

#include <QDialog>

namespace Ui {
class Fnom;
}

class Tsaisie_nom : public QDialog {
    Q_OBJECT
public:
    explicit Tsaisie_nom(QWidget *parent = nullptr);
    ~Tsaisie_nom() override;

    // The dialog's controls, built at its first showing.
    Ui::Fnom *controls();
    void setVisible(bool visible) override;

protected:
    void showEvent(QShowEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void BitBtn1Click();

    Ui::Fnom *ui = nullptr;
};

extern Tsaisie_nom *saisie_nom;
