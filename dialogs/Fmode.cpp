#include "Fmode.h"

#include "Settings.h"
#include "Shared.h"
#include "WindowDescription.h"
#include "ui_Fmode.h"

Tmode *mode = nullptr;

Tmode::Tmode(QWidget *parent)
    : LateDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                             Qt::WindowCloseButtonHint) {
    setObjectName(QStringLiteral("mode"));
}

Tmode::~Tmode() {
    delete ui;
}

void Tmode::createControls() {
    ui = new Ui::Fmode;
    ui->setupUi(this);
    applyDescriptionFonts(this);
    setFixedSize(size());
    connect(ui->BitBtn1, &QPushButton::clicked, this, &Tmode::BitBtn1Click);
    connect(ui->BitBtn2, &QPushButton::clicked, this, &Tmode::BitBtn2Click);
}

void Tmode::showEvent(QShowEvent *event) {
    centreOnMainWindow(this);
    QDialog::showEvent(event);
    ui->BitBtn1->setFocus();
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
