// SPDX-License-Identifier: GPL-3.0-or-later
// Draws every picture of the game into a directory, laid out as the game's
// resources expect them:
//
//   drawpictures OUT              pictures/, cursors/, icon/ and logo/ under OUT
//   drawpictures --preview OUT IN  inspection sheets built from the pictures in IN
//
// The output depends on nothing but this code (no clock, no randomness that
// isn't seeded), so a build draws the same bytes every time.
#include "board.h"
#include "emblems.h"
#include "marbles.h"
#include "preview.h"
#include "quantize.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QImageWriter>
#include <QStringList>

#include <cstdio>
#include <future>
#include <vector>

using namespace Qt::StringLiterals;
namespace drawpictures {
namespace {

bool save(const QDir &root, const QString &name, const QImage &image) {
    const QString path = root.filePath(name);
    if (!QDir().mkpath(QFileInfo(path).path())) {
        std::fprintf(stderr, "drawpictures: cannot create the folder of %s\n", qPrintable(path));
        return false;
    }
    QImageWriter writer(path, QFileInfo(path).suffix().toLatin1());
    if (!writer.write(image)) {
        std::fprintf(stderr, "drawpictures: cannot write %s: %s\n", qPrintable(path),
                     qPrintable(writer.errorString()));
        return false;
    }
    return true;
}

// A board and its seven marbles, drawn and reduced to their palettes.
struct BoardSet {
    QImage board; // true colour, for the icon
    QImage stored;
    std::vector<QImage> marbles;
};

BoardSet drawBoardSet(int set, int scale) {
    BoardSet out;
    const QRgb collar = toQRgb(collarColour(set));
    out.board = drawBoard(set, scale);
    // A touch of dithering keeps the shaded buttons and the grain from
    // banding; the collars are exempt so they stay one exact colour.
    out.stored = palettise(out.board, {256, {collar}, 0.75f});
    for (int look = 1; look <= kMarbleLooks; ++look) {
        out.marbles.push_back(palettise(drawMarble(set, look, scale), {256, {collar}, 0}));
    }
    return out;
}

// Every picture twice: as the game shows it, and at twice the size beside it
// ("name@2x.png") for screens with two device pixels to a pixel.
bool drawAll(const QDir &root) {
    // The boards are most of the work and need nothing from each other.
    std::future<BoardSet> sets[3][kBoardSets + 1];
    for (const int scale : {1, 2}) {
        for (int set = 1; set <= kBoardSets; ++set) {
            sets[scale][set] = std::async(std::launch::async, drawBoardSet, set, scale);
        }
    }
    bool ok = true;
    QImage firstBoard[3];
    for (const int scale : {1, 2}) {
        const QString x = scale == 1 ? QString() : u"@%1x"_s.arg(scale);
        for (int set = 1; set <= kBoardSets; ++set) {
            const BoardSet drawn = sets[scale][set].get();
            if (set == 1) {
                firstBoard[scale] = drawn.board;
            }
            // The boards are stored as uncompressed 8-bit bitmaps: the main
            // window shows one before it is first mapped, and a bitmap is read
            // several times faster than a PNG has to be decoded.
            ok &= save(root, u"pictures/plateau%1%2.bmp"_s.arg(set).arg(x), drawn.stored);
            for (int look = 1; look <= kMarbleLooks; ++look) {
                ok &= save(root, u"pictures/bille%1%2%3.png"_s.arg(set).arg(look).arg(x),
                           drawn.marbles[std::size_t(look - 1)]);
            }
        }
        ok &= save(root, u"cursors/main%1.png"_s.arg(x), drawCursor(CursorKind::Hand, scale));
        ok &= save(root, u"cursors/deplace%1.png"_s.arg(x),
                   drawCursor(CursorKind::HandWithBall, scale));
        ok &= save(root, u"cursors/impossible%1.png"_s.arg(x),
                   drawCursor(CursorKind::Forbidden, scale));
        ok &= save(root, u"icon/veltrano%1.png"_s.arg(x),
                   palettise(drawIcon(firstBoard[scale], 32 * scale), {16, {}, 0}));
        for (int frame = 1; frame <= kLogoFrames; ++frame) {
            ok &= save(root, u"logo/L%1%2.png"_s.arg(frame).arg(x),
                       palettise(drawLogoFrame(frame, scale), {256, {fieldBlue()}, 0.5f}));
        }
        // The shared blue stays exact, so the logo sits on the about box unseen.
        ok &= save(root, u"pictures/splash%1.png"_s.arg(x),
                   palettise(drawSplash(scale), {256, {fieldBlue()}, 0.5f}));
        ok &= save(root, u"pictures/apropos%1.png"_s.arg(x),
                   palettise(drawAbout(scale), {256, {fieldBlue()}, 0.5f}));
        ok &=
            save(root, u"pictures/ok%1.png"_s.arg(x), palettise(drawOkButton(scale), {16, {}, 0}));
    }
    // The desktop's icon theme: the larger sizes are cut from the finer board.
    for (const int size : kIconThemeSizes) {
        ok &= save(root, u"hicolor/%1x%1/veltrano.png"_s.arg(size),
                   drawIcon(firstBoard[size > 32 ? 2 : 1], size));
    }
    return ok;
}

} // namespace
} // namespace drawpictures

int main(int argc, char **argv) {
    using namespace drawpictures;
    // Text needs a platform; the build runs this with the offscreen one.
    QGuiApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments().mid(1);
    if (args.size() == 1) {
        return drawAll(QDir(args[0])) ? 0 : 1;
    }
    if (args.size() == 3 && args[0] == u"--preview"_s) {
        return drawPreviews(QDir(args[1]), QDir(args[2])) ? 0 : 1;
    }
    std::fprintf(stderr, "usage: drawpictures OUT\n       drawpictures --preview OUT IN\n");
    return 2;
}
