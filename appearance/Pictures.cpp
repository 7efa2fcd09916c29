// SPDX-License-Identifier: GPL-3.0-or-later
#include "Pictures.h"

using namespace Qt::StringLiterals;

namespace appearance {

QString pictureFor(const QString &path, qreal devicePixelRatio) {
    const qsizetype dot = path.lastIndexOf(u'.');
    if (devicePixelRatio <= 1.0 || dot < 0) {
        return path;
    }
    return path.left(dot) + u"@2x"_s + path.mid(dot);
}

QImage loadImage(const QString &path, qreal devicePixelRatio) {
    const QString chosen = pictureFor(path, devicePixelRatio);
    if (chosen != path) {
        QImage fine(chosen);
        if (!fine.isNull()) {
            fine.setDevicePixelRatio(2);
            return fine;
        }
    }
    return QImage(path);
}

QPixmap loadPicture(const QString &path, qreal devicePixelRatio) {
    return QPixmap::fromImage(loadImage(path, devicePixelRatio));
}

} // namespace appearance
