// SPDX-License-Identifier: GPL-3.0-or-later
// Asks the name of a player whose result enters the ten best.
#pragma once

#include "LateDialog.h"

namespace Ui {
class Fnom;
}

class Tsaisie_nom : public LateDialog {
    Q_OBJECT
public:
    explicit Tsaisie_nom(QWidget *parent = nullptr);
    ~Tsaisie_nom() override;

protected:
    void showEvent(QShowEvent *event) override;
    void createControls() override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void BitBtn1Click();

    Ui::Fnom *ui_ = nullptr;
};

extern Tsaisie_nom *saisie_nom;
