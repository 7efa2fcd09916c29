// The about box, opened by "A propos": the title, the turning logo and the
// author's lines over a picture. A click on the picture, the logo, the title
// or the first author line closes it.
#pragma once

#include <QDialog>

namespace Ui {
class a_propos;
}
class TLOGO;

class Ta_propos : public QDialog {
    Q_OBJECT
public:
    explicit Ta_propos(QWidget *parent = nullptr);
    ~Ta_propos() override;

    // The box's controls, built at the first use of any of them.
    Ui::a_propos *controls();
    TLOGO *LOGO1();

    void StartAnimation();
    void StopAnimation();

    void Image1Click();

    void setVisible(bool visible) override;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void FormCreate();
    void FormShow();

    Ui::a_propos *ui = nullptr;
};

extern Ta_propos *a_propos;
