// SPDX-License-Identifier: GPL-3.0-or-later
#include "Fmode.h"

#include "Placement.h"
#include "Settings.h"
#include "WindowDescription.h"
#include "ui_Fmode.h"

Tmode *mode = nullptr;

Tmode::Tmode(QWidget *parent)
    : LateDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                             Qt::WindowCloseButtonHint) {
    setObjectName(QStringLiteral("mode"));
}

Tmode::~Tmode() {
    delete ui_;
}

void Tmode::createControls() {
    ui_ = new Ui::Fmode;
    ui_->setupUi(this);
    applyDescriptionFonts(this);
    setFixedSize(size());
    // The panel's raised outer and lowered inner bevels are the box's two
    // lines; between them its middle line is the border, in the face colour
    // rather than the box's own shade.
    QPalette panel = ui_->Panel1->palette();
    panel.setColor(QPalette::Mid, panel.color(QPalette::Window));
    ui_->Panel1->setPalette(panel);
    connect(ui_->BitBtn1, &QPushButton::clicked, this, &Tmode::BitBtn1Click);
    connect(ui_->BitBtn2, &QPushButton::clicked, this, &Tmode::BitBtn2Click);
}

void Tmode::showEvent(QShowEvent *event) {
    centreOnMainWindow(this);
    QDialog::showEvent(event);
    ui_->BitBtn1->setFocus();
}

void Tmode::BitBtn1Click() {
    choose(1);
}

void Tmode::BitBtn2Click() {
    choose(2);
}

// The choice goes to the settings before the dialog closes; the new game
// reads it back from there. When it could not be stored the player has been
// told, and the dialog stays for another try or for its close box.
void Tmode::choose(int kind) {
    SettingsRecord.boardKind = static_cast<std::int16_t>(kind);
    OpenSettings();
    WriteSettings();
    if (CloseSettings()) {
        accept();
    }
}
