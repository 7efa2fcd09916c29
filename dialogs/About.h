// SPDX-License-Identifier: GPL-3.0-or-later
// The about box, opened by "A propos": the title, the turning logo and the
// author's lines over a picture. A click on the picture, the logo, the title
// or the first author line closes it.
#pragma once

#include "LateDialog.h"

namespace Ui {
class a_propos;
}
class TLOGO;

class Ta_propos : public LateDialog {
    Q_OBJECT
public:
    explicit Ta_propos(QWidget *parent = nullptr);
    ~Ta_propos() override;

    TLOGO *LOGO1();

    void StartAnimation();
    void StopAnimation();

    void Image1Click();

protected:
    void showEvent(QShowEvent *event) override;
    void createControls() override;

private:
    void FormShow();

    Ui::a_propos *ui_ = nullptr;
};

extern Ta_propos *a_propos;
