// SPDX-License-Identifier: GPL-3.0-or-later
#include "Shared.h"

QString startDirectory;
WindowRect MainWindowRect;
QString playerName;

#include <QWidget>

void centreOnMainWindow(QWidget *dialog) {
    const QRect outer = dialog->frameGeometry();
    const int left = MainWindowRect.left + (MainWindowRect.width - outer.width()) / 2;
    const int top = MainWindowRect.top + (MainWindowRect.height - outer.height()) / 2;
    dialog->move(left, top);
}

#include <QGuiApplication>
#include <QScreen>

void centreOnScreen(QWidget *window) {
    if (QScreen *screen = QGuiApplication::primaryScreen()) {
        const QRect s = screen->geometry();
        window->move(s.left() + (s.width() - window->width()) / 2,
                     s.top() + (s.height() - window->height()) / 2);
    }
}

#include <QLabel>
#include <algorithm>

void squeezeToFit(QLabel *label) {
    QFont font = label->font();
    const QString text = label->text().trimmed();
    const int room = label->contentsRect().width();
    // Each stretch tried loads a font. The width grows with the stretch, so
    // the width at full stretch points close to the answer, and a step or two
    // from there finds the widest stretch that fits, as trying every one down
    // from 100 would.
    const auto width = [&](int stretch) {
        font.setStretch(stretch);
        return QFontMetrics(font).horizontalAdvance(text);
    };
    constexpr int kNarrowest = 51;
    int stretch = 100;
    const int full = width(stretch);
    if (full > room) {
        stretch = std::clamp(100 * room / full, kNarrowest, 99);
        while (stretch > kNarrowest && width(stretch) > room) {
            --stretch;
        }
        while (stretch < 99 && width(stretch + 1) <= room) {
            ++stretch;
        }
    }
    font.setStretch(stretch);
    label->setFont(font);
}

#include <QIcon>

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
    const QPixmap pixmap = withClearBackground(loadImage(resource, devicePixelRatio));
    QIcon icon;
    if (!pixmap.isNull()) {
        icon.addPixmap(pixmap);
    }
    return icon;
}
