// SPDX-License-Identifier: GPL-3.0-or-later
#include "preview.h"

#include "emblems.h"
#include "layout.h"
#include "marbles.h"

#include "geometry.h"

#include <QFont>
#include <QImage>
#include <QPainter>

#include <algorithm>
#include <cstdio>

using namespace Qt::StringLiterals;

namespace drawpictures {
namespace {

QImage load(const QDir &dir, const QString &name, bool *ok) {
    QImage image(dir.filePath(name));
    if (image.isNull()) {
        std::fprintf(stderr, "drawpictures: missing %s\n", qPrintable(dir.filePath(name)));
        *ok = false;
        return QImage(1, 1, QImage::Format_ARGB32);
    }
    return image.convertToFormat(QImage::Format_ARGB32);
}

QImage enlarged(const QImage &image, int factor) {
    return image.scaled(image.size() * factor, Qt::IgnoreAspectRatio, Qt::FastTransformation);
}

struct Label {
    QRect box;
    QString text;
    const char *family;
    int pixels;
    bool bold;
    bool italic;
    QColor colour;
};

// The main window's labels, with the texts a player sees during a game.
const Label kLabels[] = {
    {{478, 40, 137, 44}, u"29"_s, "Arial", 37, true, false, Qt::black},
    {{526, 126, 91, 29}, u"Charger"_s, "Times New Roman", 21, true, true, Qt::white},
    {{526, 192, 91, 29}, u"Sauver"_s, "Times New Roman", 21, true, true, Qt::white},
    {{526, 266, 91, 29}, u"Scores"_s, "Times New Roman", 21, true, true, Qt::white},
    {{480, 336, 133, 43}, u"Reposer les billes"_s, "Times New Roman", 21, true, true, Qt::black},
    {{42, 408, 95, 27}, u"00:03:27"_s, "Arial", 24, true, false, Qt::black},
    {{150, 410, 87, 23}, u"Plateau"_s, "Times New Roman", 19, true, false, Qt::black},
    {{252, 410, 83, 23}, u"Billes"_s, "Times New Roman", 19, true, false, Qt::black},
    {{348, 410, 85, 23}, u"A propos"_s, "Times New Roman", 19, true, false, Qt::black},
    {{448, 410, 85, 23}, u"Aide"_s, "Times New Roman", 19, true, false, Qt::black},
    {{544, 410, 61, 23}, u"Quitter"_s, "Times New Roman", 16, true, false, Qt::white},
};

void drawText(QPainter &p, const QRect &box, const QString &text, const char *family, int pixels,
              bool bold, bool italic, const QColor &colour) {
    QFont font(QString::fromLatin1(family));
    font.setPixelSize(pixels);
    font.setBold(bold);
    font.setItalic(italic);
    p.setFont(font);
    p.setPen(colour);
    p.drawText(box, Qt::AlignCenter, text);
}

// A board in the middle of a game: a few holes emptied, the tray filling.
QImage boardInPlay(const QImage &board, const QImage &sprite, bool labels) {
    QImage out = board;
    QPainter p(&out);
    const int empty[] = {5, 8, 12, 14, 23, 24, 30, 33, 38, 41, 44, 10, 19, 28, 18};
    for (int n = 1; n <= veltrano::kHoleCount; ++n) {
        if (std::find(std::begin(empty), std::end(empty), n) != std::end(empty)) {
            continue;
        }
        const veltrano::Box b = veltrano::hole_box(n);
        p.drawImage(b.left, b.top, sprite);
    }
    for (int i = 1; i <= 15; ++i) {
        const veltrano::Box b = veltrano::tray_box(i);
        p.drawImage(b.left, b.top, sprite);
    }
    if (labels) {
        p.setRenderHint(QPainter::TextAntialiasing);
        for (const Label &l : kLabels) {
            drawText(p, l.box, l.text, l.family, l.pixels, l.bold, l.italic, l.colour);
        }
    }
    return out;
}

} // namespace

bool drawPreviews(const QDir &out, const QDir &pictures) {
    bool ok = true;
    QDir().mkpath(out.path());
    auto save = [&](const QString &name, const QImage &image) {
        if (!image.save(out.filePath(name))) {
            std::fprintf(stderr, "drawpictures: cannot write %s\n", qPrintable(out.filePath(name)));
            ok = false;
        }
    };

    // Whole boards with marbles and labels, at the size the game shows them
    // and enlarged twice.
    const int pairs[][2] = {{1, 1}, {2, 2}, {3, 5}, {4, 7}, {1, 4}, {1, 6}};
    for (const auto &pair : pairs) {
        const QImage board = load(pictures, u"pictures/plateau%1.bmp"_s.arg(pair[0]), &ok);
        const QImage sprite =
            load(pictures, u"pictures/bille%1%2.png"_s.arg(pair[0]).arg(pair[1]), &ok);
        const QImage game = boardInPlay(board, sprite, true);
        save(u"game-%1-%2.png"_s.arg(pair[0]).arg(pair[1]), game);
        save(u"game-%1-%2-x2.png"_s.arg(pair[0]).arg(pair[1]), enlarged(game, 2));
    }

    // Every sprite of every set over a hole of its board and beside an empty
    // hole, enlarged four times.
    {
        const int cell = 34;
        QImage sheet(cell * 8, cell * 4, QImage::Format_ARGB32);
        sheet.fill(Qt::black);
        QPainter p(&sheet);
        const veltrano::Box hole = veltrano::hole_box(32);
        for (int set = 1; set <= 4; ++set) {
            const QImage board = load(pictures, u"pictures/plateau%1.bmp"_s.arg(set), &ok);
            const QRect crop(hole.left - 3, hole.top - 3, cell, cell);
            p.drawImage(0, (set - 1) * cell, board.copy(crop));
            for (int look = 1; look <= kMarbleLooks; ++look) {
                QImage piece = board.copy(crop);
                QPainter q(&piece);
                q.drawImage(3, 3,
                            load(pictures, u"pictures/bille%1%2.png"_s.arg(set).arg(look), &ok));
                q.end();
                p.drawImage(look * cell, (set - 1) * cell, piece);
            }
        }
        p.end();
        save(u"marbles-x4.png"_s, enlarged(sheet, 4));
    }

    // Cursors over the board, and enlarged on grey with the hot spot in red.
    {
        struct Hot {
            const char *name;
            int x, y;
        };
        const Hot cursors[] = {{"main", 7, 23}, {"deplace", 8, 25}, {"impossible", 9, 13}};
        QImage sheet(3 * 34 * 8, 34 * 8, QImage::Format_ARGB32);
        sheet.fill(qRgb(150, 150, 160));
        QPainter p(&sheet);
        for (int i = 0; i < 3; ++i) {
            QImage c =
                load(pictures, u"cursors/%1.png"_s.arg(QString::fromLatin1(cursors[i].name)), &ok);
            p.drawImage(i * 34 * 8 + 8, 8, enlarged(c, 8));
            p.setPen(QPen(Qt::red, 2));
            p.setBrush(Qt::NoBrush);
            p.drawRect(i * 34 * 8 + 8 + cursors[i].x * 8, 8 + cursors[i].y * 8, 8, 8);
        }
        p.end();
        save(u"cursors-x8.png"_s, sheet);
    }

    // The small pictures.
    {
        const QImage icon = load(pictures, u"icon/veltrano.png"_s, &ok);
        save(u"icon-x8.png"_s, enlarged(icon, 8));
        QImage strip(kLogoSize * 7, kLogoSize * 2, QImage::Format_ARGB32);
        strip.fill(Qt::black);
        QPainter p(&strip);
        for (int f = 1; f <= kLogoFrames; ++f) {
            p.drawImage(((f - 1) % 7) * kLogoSize, ((f - 1) / 7) * kLogoSize,
                        load(pictures, u"logo/L%1.png"_s.arg(f), &ok));
        }
        p.end();
        save(u"logo-frames.png"_s, strip);

        QImage splash = load(pictures, u"pictures/splash.png"_s, &ok);
        {
            QPainter q(&splash);
            q.setRenderHint(QPainter::TextAntialiasing);
            drawText(q, {36, 105, 253, 63}, u"Veltrano"_s, "Times New Roman", 56, true, true,
                     Qt::black);
            drawText(q, {35, 104, 253, 63}, u"Veltrano"_s, "Times New Roman", 56, true, true,
                     Qt::white);
            drawText(q, {68, 173, 189, 24}, u"Chargement en cours ..."_s, "Times New Roman", 19,
                     true, true, Qt::black);
            drawText(q, {67, 172, 189, 24}, u"Chargement en cours ..."_s, "Times New Roman", 19,
                     true, true, Qt::red);
        }
        save(u"splash-x2.png"_s, enlarged(splash, 2));

        QImage about = load(pictures, u"pictures/apropos.png"_s, &ok);
        {
            QPainter q(&about);
            q.drawImage(12, 4, load(pictures, u"logo/L1.png"_s, &ok));
            drawText(q, {27, 100, 271, 66}, u"Veltrano"_s, "Times New Roman", 59, true, true,
                     Qt::black);
            drawText(q, {26, 99, 271, 66}, u"Veltrano"_s, "Times New Roman", 59, true, true,
                     Qt::white);
            drawText(q, {107, 156, 111, 19}, u"Version 2.32"_s, "Times New Roman", 16, true, true,
                     Qt::white);
            drawText(q, {86, 182, 153, 15}, u"studio Veltrano"_s, "Arial", 12, true, false,
                     Qt::cyan);
            drawText(q, {11, 196, 303, 14}, u"Jeu de patience en solitaire"_s, "Arial", 11, true,
                     false, Qt::red);
        }
        save(u"apropos-x2.png"_s, enlarged(about, 2));
        save(u"ok-x4.png"_s, enlarged(load(pictures, u"pictures/ok.png"_s, &ok), 4));
    }
    return ok;
}

} // namespace drawpictures
