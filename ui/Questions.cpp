#include "Questions.h"

#include <QMessageBox>
#include <QPushButton>

#include "MessageIcon.h"

using namespace Qt::StringLiterals;

bool confirm(QWidget *parent, const QString &text) {
    QMessageBox box(QMessageBox::Question, u"Confirmation"_s, text, QMessageBox::NoButton, parent);
    keepMessageIconSize(box);
    box.setTextFormat(Qt::PlainText);
    QPushButton *ok = box.addButton(u"OK"_s, QMessageBox::AcceptRole);
    QPushButton *cancel = box.addButton(u"Annuler"_s, QMessageBox::RejectRole);
    box.setDefaultButton(ok);
    box.setEscapeButton(cancel);
    box.exec();
    return box.clickedButton() == ok;
}

void inform(QWidget *parent, const QString &text) {
    QMessageBox box(QMessageBox::Information, u"Information"_s, text, QMessageBox::NoButton,
                    parent);
    keepMessageIconSize(box);
    box.setTextFormat(Qt::PlainText);
    box.addButton(u"OK"_s, QMessageBox::AcceptRole);
    box.exec();
}
