#include "Score.h"

#include <QLabel>
#include <QPushButton>

#include "Shared.h"

using namespace Qt::StringLiterals;

Tmeilleur_score *meilleur_score = nullptr;

// A plain first version of the table: the heading and the button that closes
// it. The rows and their insertion come with the settings file.
Tmeilleur_score::Tmeilleur_score(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint) {
    setObjectName(u"meilleur_score"_s);
    setWindowTitle(u"LES 10 MEILLEURS SCORES"_s);
    setFixedSize(320, 394);
    auto *title = new QLabel(u"LES 10 MEILLEURS SCORES"_s, this);
    title->setGeometry(10, 12, 300, 53);
    title->setAlignment(Qt::AlignCenter);
    QFont f(u"Times New Roman"_s);
    f.setPixelSize(24);
    f.setBold(true);
    title->setFont(f);
    title->setStyleSheet(u"color: red;"_s);
    auto *ok = new QPushButton(u"OK"_s, this);
    ok->setObjectName(u"BitBtn1"_s);
    ok->setGeometry(114, 336, 89, 49);
    connect(ok, &QPushButton::clicked, this, &Tmeilleur_score::BitBtn1Click);
}

void Tmeilleur_score::showEvent(QShowEvent *event) {
    centreOnMainWindow(this);
    QDialog::showEvent(event);
}

void Tmeilleur_score::BitBtn1Click() {
    accept();
}

void InsertScore(int nb_repos, const QString &chrono) {
    // The top ten is kept with the settings file; until then a finished game
    // is only shown, not recorded.
    Q_UNUSED(nb_repos);
    Q_UNUSED(chrono);
}
