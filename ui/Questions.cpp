// SPDX-License-Identifier: GPL-3.0-or-later
#include "Questions.h"

#include <QPushButton>

#include "MessageIcon.h"

using namespace Qt::StringLiterals;

bool confirm(QWidget *parent, const QString &text) {
    GameMessageBox box(QMessageBox::Question, u"Confirmation"_s, text, parent);
    QPushButton *cancel = box.addButton(u"Annuler"_s, QMessageBox::RejectRole);
    box.setDefaultButton(box.okButton());
    box.setEscapeButton(cancel);
    box.exec();
    return box.clickedButton() == box.okButton();
}

void inform(QWidget *parent, const QString &text) {
    GameMessageBox box(QMessageBox::Information, u"Information"_s, text, parent);
    box.exec();
}
