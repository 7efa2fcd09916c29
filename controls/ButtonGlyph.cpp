// SPDX-License-Identifier: GPL-3.0-or-later
#include "ButtonGlyph.h"

#include <QIcon>
#include <QImage>
#include <QPixmap>

#include "Pictures.h"

namespace {
QPixmap withClearBackground(const QImage &picture) {
    QImage image = picture.convertToFormat(QImage::Format_ARGB32);
    if (image.isNull()) {
        return {};
    }
    const QRgb background = image.pixel(0, image.height() - 1);
    for (int y = 0; y < image.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            if (line[x] == background) {
                line[x] = 0;
            }
        }
    }
    return QPixmap::fromImage(image);
}
} // namespace

QIcon buttonGlyph(const QString &resource, qreal devicePixelRatio) {
    // Only the drawing the screen needs is decoded: the plain one, or the
    // twice-as-large one where a pixel holds two device pixels.
    const QPixmap pixmap = withClearBackground(appearance::loadImage(resource, devicePixelRatio));
    QIcon icon;
    if (!pixmap.isNull()) {
        icon.addPixmap(pixmap);
    }
    return icon;
}
