// SPDX-License-Identifier: GPL-3.0-or-later
#include "WindowDescription.h"

#include <QLabel>
#include <QWidget>

#include "Faces.h"
#include "Pictures.h"

void applyDescriptionFonts(QWidget *root) {
    auto apply = [](QWidget *w) {
        const QVariant size = w->property("pixelSize");
        if (!size.isValid() && !w->testAttribute(Qt::WA_SetFont)) {
            return;
        }
        QFont f = w->font();
        if (size.isValid()) {
            f.setPixelSize(size.toInt());
        }
        const QString face = appearance::installedFace(f.family());
        if (face != f.family()) {
            f.setFamilies({face});
        }
        if (f != w->font()) {
            w->setFont(f);
        }
    };
    apply(root);
    for (QWidget *child : root->findChildren<QWidget *>()) {
        apply(child);
    }
}

void useSharpPicture(QLabel *label, const QString &resource) {
    const qreal ratio = label->devicePixelRatioF();
    if (ratio > 1) {
        label->setPixmap(appearance::loadPicture(resource, ratio));
    }
}
