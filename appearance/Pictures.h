// SPDX-License-Identifier: GPL-3.0-or-later
// The game's pictures for the screen they are shown on. Every picture of the
// resources has a twice-as-large drawing beside it ("plateau1@2x.bmp"); on a
// screen with more than one device pixel to a pixel that one is used, marked
// so that it takes the same room in the window as the plain one.
#pragma once

#include <QImage>
#include <QPixmap>
#include <QString>

namespace appearance {

// The resource to read for `path` (":/pictures/ok.png") at the given ratio.
QString pictureFor(const QString &path, qreal devicePixelRatio);

QImage loadImage(const QString &path, qreal devicePixelRatio);
QPixmap loadPicture(const QString &path, qreal devicePixelRatio);

} // namespace appearance
