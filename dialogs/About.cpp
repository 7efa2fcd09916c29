// SPDX-License-Identifier: GPL-3.0-or-later
// The description names its window a_propos, like the global below, so it is
// read before that global is declared; the build compiles this file on its
// own, so that no other source can declare the global first.
#include "ui_About.h"

#include "About.h"

#include "ClickFilter.h"
#include "Logo.h"
#include "Placement.h"
#include "WindowDescription.h"

using namespace Qt::StringLiterals;

Ta_propos *a_propos = nullptr;

Ta_propos::Ta_propos(QWidget *parent) : LateDialog(parent, Qt::Dialog | Qt::FramelessWindowHint) {
    setObjectName(u"a_propos"_s);
    setWindowTitle(u"A propos d'VELTRANO"_s);
    setFixedSize(324, 215);
}

Ta_propos::~Ta_propos() {
    delete ui_;
}

TLOGO *Ta_propos::LOGO1() {
    buildControls();
    return ui_->LOGO1;
}

void Ta_propos::createControls() {
    ui_ = new Ui::a_propos;
    ui_->setupUi(this);
    applyDescriptionFonts(this);
    useSharpPicture(ui_->Image1, u":/pictures/apropos.png"_s);
    // The picture covers the box; no background is erased beneath it.
    setAttribute(Qt::WA_OpaquePaintEvent);
    ui_->Panel1->setAttribute(Qt::WA_OpaquePaintEvent);
    // The picture, the logo and the first and last author lines close the
    // box; the second and third author lines have no handler and keep their
    // clicks.
    auto *clicks = new ClickFilter(this);
    clicks->setSwallowClicks(true);
    for (QWidget *w :
         {static_cast<QWidget *>(ui_->Image1), static_cast<QWidget *>(ui_->LOGO1),
          static_cast<QWidget *>(ui_->Label3D2), static_cast<QWidget *>(ui_->Label4)}) {
        clicks->watch(w);
    }
    connect(clicks, &ClickFilter::clicked, this, &Ta_propos::Image1Click);
}

void Ta_propos::showEvent(QShowEvent *event) {
    FormShow();
    QDialog::showEvent(event);
}

void Ta_propos::FormShow() {
    centreOnMainWindow(this);
}

void Ta_propos::StartAnimation() {
    LOGO1()->StartAnimation();
}

void Ta_propos::StopAnimation() {
    LOGO1()->StopAnimation();
}

void Ta_propos::Image1Click() {
    done(QDialog::Accepted);
}
