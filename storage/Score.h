// The ten best results: the dialog that shows them and the insertion of a
// finished game.
#pragma once

#include <QDialog>

class QLabel;

class Tmeilleur_score : public QDialog {
    Q_OBJECT
public:
    explicit Tmeilleur_score(QWidget *parent = nullptr);

protected:
    void showEvent(QShowEvent *event) override;

private:
    void BitBtn1Click();
};

extern Tmeilleur_score *meilleur_score;

// Offers a finished game to the table: marbles left and the chrono's text.
void InsertScore(int nb_repos, const QString &chrono);
