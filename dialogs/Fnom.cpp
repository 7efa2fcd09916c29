#include "Fnom.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "Shared.h"

using namespace Qt::StringLiterals;

Tsaisie_nom *saisie_nom = nullptr;

Tsaisie_nom::Tsaisie_nom(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint), Edit1(new QLineEdit(this)) {
    setObjectName(u"saisie_nom"_s);
    setWindowTitle(u"BIEN JOUER !!!"_s);
    setFixedSize(388, 299);
    auto *bravo = new QLabel(u"BRAVO !!!"_s, this);
    bravo->setGeometry(18, 6, 357, 83);
    Edit1->setObjectName(u"Edit1"_s);
    Edit1->setGeometry(12, 172, 365, 40);
    Edit1->setMaxLength(kPlayerNameLength);
    auto *ok = new QPushButton(u"OK"_s, this);
    ok->setObjectName(u"BitBtn1"_s);
    ok->setGeometry(149, 238, 89, 45);
    ok->setAutoDefault(false);
    connect(ok, &QPushButton::clicked, this, &Tsaisie_nom::BitBtn1Click);
}

void Tsaisie_nom::showEvent(QShowEvent *event) {
    centreOnMainWindow(this);
    Edit1->clear();
    QDialog::showEvent(event);
    Edit1->setFocus();
}

void Tsaisie_nom::BitBtn1Click() {
    playerName = Edit1->text().left(kPlayerNameLength);
    accept();
}
