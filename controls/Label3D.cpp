// SPDX-License-Identifier: GPL-3.0-or-later
#include "Label3D.h"

#include <QApplication>
#include <QPainter>

TLabel3D::TLabel3D(QWidget *owner)
    : QLabel(owner), shadowColor_(QApplication::palette().color(QPalette::Light)) {
    // One pixel larger each way than a plain label's 65 by 17, for the shadow.
    setGeometry(x(), y(), 66, 18);
}

void TLabel3D::setShadowColor(const QColor &colour) {
    if (colour != shadowColor_) {
        shadowColor_ = colour;
        update();
    }
}

void TLabel3D::setTransparent(bool on) {
    if (on != transparent_) {
        transparent_ = on;
        update();
    }
}

void TLabel3D::setShowAccelChar(bool on) {
    if (on != showAccelChar_) {
        showAccelChar_ = on;
        update();
    }
}

void TLabel3D::paintEvent(QPaintEvent *) {
    QPainter p(this);
    const QRect r = rect();
    if (!transparent_) {
        p.fillRect(r, palette().color(backgroundRole()));
    }
    // The text always wraps between words, whatever the label's own setting,
    // and starts at the top rather than in the middle.
    int flags = (alignment() & Qt::AlignHorizontal_Mask) | Qt::AlignTop | Qt::TextWordWrap |
                Qt::TextExpandTabs;
    if (showAccelChar_) {
        flags |= Qt::TextShowMnemonic;
    }
    const QString caption = text().left(255);
    p.setFont(font());
    // The shadow keeps its colour on a disabled label; only the face greys.
    p.setPen(shadowColor_);
    p.drawText(r.translated(1, 1), flags, caption);
    p.setPen(isEnabled() ? palette().color(QPalette::Active, foregroundRole())
                         : QApplication::palette().color(QPalette::Disabled, QPalette::Text));
    p.drawText(r, flags, caption);
}
