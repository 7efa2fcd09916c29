#include "WindowDescription.h"

#include <QLabel>
#include <QWidget>

#include "Pictures.h"

void applyPixelFonts(QWidget *root) {
    auto apply = [](QWidget *w) {
        const QVariant size = w->property("pixelSize");
        if (size.isValid()) {
            QFont f = w->font();
            f.setPixelSize(size.toInt());
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
        label->setPixmap(loadPicture(resource, ratio));
    }
}
