#include "WindowDescription.h"

#include <QWidget>

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
