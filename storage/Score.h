// SPDX-License-Identifier: GPL-3.0-or-later
// The ten best results: the dialog that shows them and the insertion of a
// finished game.
#pragma once

#include "LateDialog.h"
#include <functional>

namespace Ui {
class Score;
}

class Tmeilleur_score : public LateDialog {
    Q_OBJECT
public:
    explicit Tmeilleur_score(QWidget *parent = nullptr);
    ~Tmeilleur_score() override;

protected:
    void showEvent(QShowEvent *event) override;
    void createControls() override;
    bool event(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void FormActivate();
    void BitBtn1Click();

    Ui::Score *ui_ = nullptr;
    bool returningFromFailure_ = false;
};

extern Tmeilleur_score *meilleur_score;

// Offers a finished game to the table: the marbles in the tray and the
// chrono's text. askName shows the name entry when the result ranks; it
// leaves the name in playerName.
void InsertScore(int nb_repos, const QString &chrono, const std::function<void()> &askName);
