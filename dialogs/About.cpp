#include "About.h"

#include <QLabel>
#include <QMouseEvent>
#include <QPainter>

#include "Shared.h"

using namespace Qt::StringLiterals;

Ta_propos *a_propos = nullptr;

Ta_propos::Ta_propos(QWidget *parent) : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint) {
    setObjectName(u"a_propos"_s);
    setWindowTitle(u"A propos d'VELTRANO"_s);
    setFixedSize(324, 215);
    auto *title = new QLabel(u"Veltrano"_s, this);
    title->setGeometry(26, 99, 271, 66);
    QFont f(u"Times New Roman"_s);
    f.setPixelSize(59);
    f.setBold(true);
    f.setItalic(true);
    title->setFont(f);
    QPalette p = title->palette();
    p.setColor(QPalette::WindowText, Qt::white);
    title->setPalette(p);
    title->setAttribute(Qt::WA_TransparentForMouseEvents);
}

void Ta_propos::showEvent(QShowEvent *event) {
    // Read at the first showing rather than at start-up, where every
    // millisecond keeps the player waiting for the board.
    if (background_.isNull()) {
        background_ = QPixmap(u":/pictures/apropos.png"_s);
    }
    centreOnMainWindow(this);
    QDialog::showEvent(event);
}

void Ta_propos::paintEvent(QPaintEvent *) {
    QPainter p(this);
    p.fillRect(rect(), QColor(0, 0, 128));
    if (!background_.isNull()) {
        p.drawPixmap(0, 0, background_);
    }
}

void Ta_propos::mouseReleaseEvent(QMouseEvent *event) {
    if (rect().contains(event->position().toPoint())) {
        accept();
    }
}
