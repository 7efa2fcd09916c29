// SPDX-License-Identifier: GPL-3.0-or-later
// The board choice asked at the start of every new game.
#pragma once

#include "LateDialog.h"

namespace Ui {
class Fmode;
}

class Tmode : public LateDialog {
    Q_OBJECT
public:
    explicit Tmode(QWidget *parent = nullptr);
    ~Tmode() override;

protected:
    void showEvent(QShowEvent *event) override;
    void createControls() override;

private:
    void BitBtn1Click();
    void BitBtn2Click();
    void choose(int kind);

    Ui::Fmode *ui_ = nullptr;
};

extern Tmode *mode;
