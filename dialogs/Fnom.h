// Asks the name of a player whose result enters the ten best.
#pragma once

#include <QDialog>

class QLineEdit;

class Tsaisie_nom : public QDialog {
    Q_OBJECT
public:
    explicit Tsaisie_nom(QWidget *parent = nullptr);

protected:
    void showEvent(QShowEvent *event) override;

private:
    void BitBtn1Click();

    QLineEdit *Edit1;
};

extern Tsaisie_nom *saisie_nom;
