// SPDX-License-Identifier: GPL-3.0-or-later
#include "Fnom.h"

#include <QKeyEvent>
#include <QStringEncoder>
#include <QValidator>

#include "ButtonGlyph.h"
#include "LabelFit.h"
#include "Placement.h"
#include "Player.h"
#include "Settings.h"
#include "WindowDescription.h"
#include "ui_Fnom.h"

using namespace Qt::StringLiterals;

Tsaisie_nom *saisie_nom = nullptr;

namespace {
// The settings file keeps names in Windows-1252: a character it can't hold
// would come back from the file as something else, so it never gets in.
// Typed, it is refused; pasted with others, it is left out of the paste.
class Windows1252Validator : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString &input, int &pos) const override {
        QString kept;
        int keptPos = pos;
        for (qsizetype i = 0; i < input.size();) {
            const bool pair =
                input[i].isHighSurrogate() && i + 1 < input.size() && input[i + 1].isLowSurrogate();
            const QStringView character = QStringView(input).mid(i, pair ? 2 : 1);
            QStringEncoder encoder("windows-1252");
            const QByteArray encoded = encoder.encode(character);
            if (!encoder.hasError()) {
                kept += character;
            } else if (i < pos) {
                keptPos -= static_cast<int>(character.size());
            }
            i += character.size();
        }
        if (kept.size() != input.size()) {
            input = kept;
            pos = keptPos;
        }
        return Acceptable;
    }
};
} // namespace

Tsaisie_nom::Tsaisie_nom(QWidget *parent)
    : LateDialog(parent, Qt::Dialog | Qt::FramelessWindowHint) {
    setObjectName(u"saisie_nom"_s);
}

Tsaisie_nom::~Tsaisie_nom() {
    delete ui_;
}

void Tsaisie_nom::createControls() {
    ui_ = new Ui::Fnom;
    ui_->setupUi(this);
    applyDescriptionFonts(this);
    squeezeToFit(ui_->Label2);
    setFixedSize(size());
    ui_->Edit1->setMaxLength(kNameCapacity);
    ui_->Edit1->setValidator(new Windows1252Validator(ui_->Edit1));
    ui_->BitBtn1->setIcon(buttonGlyph(u":/pictures/ok.png"_s, devicePixelRatioF()));
    connect(ui_->BitBtn1, &QPushButton::clicked, this, &Tsaisie_nom::BitBtn1Click);
}

void Tsaisie_nom::showEvent(QShowEvent *event) {
    centreOnMainWindow(this);
    ui_->Edit1->clear();
    QDialog::showEvent(event);
    ui_->Edit1->setFocus();
}

// Only the button confirms: Enter presses it when it has the focus, and
// does nothing in the text box; Escape does nothing at all.
void Tsaisie_nom::keyPressEvent(QKeyEvent *event) {
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (focusWidget() == ui_->BitBtn1) {
            ui_->BitBtn1->click();
        }
        return;
    case Qt::Key_Escape:
        return;
    default:
        QDialog::keyPressEvent(event);
    }
}

void Tsaisie_nom::BitBtn1Click() {
    playerName = ui_->Edit1->text().left(kNameCapacity);
    accept();
}
