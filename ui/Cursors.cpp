// SPDX-License-Identifier: GPL-3.0-or-later
#include "Cursors.h"

#include <QBitmap>
#include <QCursor>
#include <QGuiApplication>
#include <QHash>
#include <QImage>
#include <QWidget>

#include "Pictures.h"

using namespace Qt::StringLiterals;

namespace {

struct CursorSource {
    int number;
    const char *name;
    int hotX;
    int hotY;
};

// "main_haut" has no picture among the resources, so 103 shows the arrow.
constexpr CursorSource kSources[] = {
    {crMainHaut, "main_haut", 0, 0},
    {crMain, "main", 7, 23},
    {crDeplace, "deplace", 8, 25},
    {crImpossible, "impossible", 9, 13},
};

QHash<int, QCursor> &registry() {
    static QHash<int, QCursor> cursors;
    return cursors;
}

// The pictures hold only black, white and transparent pixels; they become a
// true two-colour cursor with a mask, which every X server shows crisply.
bool loadCursor(const char *name, int hotX, int hotY, qreal ratio, QCursor *out) {
    const QString path = u":/cursors/"_s + QString::fromLatin1(name).toLower() + u".png"_s;
    const QImage image = appearance::loadImage(path, ratio);
    if (image.isNull()) {
        return false;
    }
    if (QGuiApplication::platformName().startsWith(u"wayland"_s)) {
        // A Wayland compositor is handed a picture for the cursor and shows
        // nothing for a two-colour one; the hot spot is in logical pixels.
        *out = QCursor(QPixmap::fromImage(image), hotX, hotY);
        return true;
    }
    QImage bits(image.size(), QImage::Format_MonoLSB);
    QImage mask(image.size(), QImage::Format_MonoLSB);
    bits.setColorCount(2);
    mask.setColorCount(2);
    bits.setColor(0, qRgb(255, 255, 255));
    bits.setColor(1, qRgb(0, 0, 0));
    mask.setColor(0, qRgb(255, 255, 255));
    mask.setColor(1, qRgb(0, 0, 0));
    bits.fill(0);
    mask.fill(0);
    // Read and written a row at a time: pixel() and setPixel() cost a
    // thousand times a cursor's pixels at every start.
    const QImage argb = image.format() == QImage::Format_ARGB32
                            ? image
                            : image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < argb.height(); ++y) {
        const auto *row = reinterpret_cast<const QRgb *>(argb.constScanLine(y));
        uchar *bitsRow = bits.scanLine(y);
        uchar *maskRow = mask.scanLine(y);
        for (int x = 0; x < argb.width(); ++x) {
            const QRgb px = row[x];
            if (qAlpha(px) < 128) {
                continue;
            }
            const auto bit = static_cast<uchar>(1U << (x & 7));
            maskRow[x >> 3] |= bit;
            if (qGray(px) < 128) {
                bitsRow[x >> 3] |= bit;
            }
        }
    }
    // The window system takes a cursor in device pixels, hot spot included.
    const int k = qRound(image.devicePixelRatio());
    *out = QCursor(QBitmap::fromImage(bits), QBitmap::fromImage(mask), hotX * k, hotY * k);
    return true;
}

} // namespace

void registerCursors(qreal devicePixelRatio) {
    auto &cursors = registry();
    cursors.insert(crDefault, QCursor(Qt::ArrowCursor));
    for (const CursorSource &s : kSources) {
        QCursor cursor;
        if (loadCursor(s.name, s.hotX, s.hotY, devicePixelRatio, &cursor)) {
            cursors.insert(s.number, cursor);
        }
    }
}

void setCursorNumber(QWidget *widget, int number) {
    if (widget->property("cursorNumber").toInt() == number &&
        widget->property("cursorNumber").isValid()) {
        return;
    }
    widget->setProperty("cursorNumber", number);
    const auto &cursors = registry();
    const auto it = cursors.constFind(number);
    if (it == cursors.constEnd() || number == crDefault) {
        widget->unsetCursor();
    } else {
        widget->setCursor(*it);
    }
}

int cursorNumber(const QWidget *widget) {
    return widget->property("cursorNumber").toInt();
}
