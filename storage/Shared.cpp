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

#include <QLabel>

void squeezeToFit(QLabel *label) {
    QFont font = label->font();
    const QString text = label->text().trimmed();
    const int room = label->contentsRect().width();
    for (int stretch = 100; stretch > 50; stretch -= 1) {
        font.setStretch(stretch);
        if (QFontMetrics(font).horizontalAdvance(text) <= room) {
            break;
        }
    }
    label->setFont(font);
}

#include <QIcon>

#include "Pictures.h"

namespace {
QPixmap withClearBackground(const QString &resource) {
    QImage image = QImage(resource).convertToFormat(QImage::Format_ARGB32);
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

QIcon buttonGlyph(const QString &resource) {
    // Both drawings go into the icon; the button shows the twice-as-large one
    // on a screen with two device pixels to a pixel.
    QIcon icon;
    for (const QString &path : {resource, pictureFor(resource, 2)}) {
        const QPixmap pixmap = withClearBackground(path);
        if (!pixmap.isNull()) {
            icon.addPixmap(pixmap);
        }
    }
    return icon;
}
