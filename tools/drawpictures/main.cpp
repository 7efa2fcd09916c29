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

using namespace Qt::StringLiterals;
using namespace drawpictures;

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

bool drawAll(const QDir &root) {
    bool ok = true;
    QImage firstBoard;
    for (int set = 1; set <= kBoardSets; ++set) {
        const QRgb collar = toQRgb(collarColour(set));
        const QImage board = drawBoard(set);
        if (set == 1) {
            firstBoard = board;
        }
        // A touch of dithering keeps the shaded buttons and the grain from
        // banding; the collars are exempt so they stay one exact colour.
        // The boards are stored as uncompressed 8-bit bitmaps: the main window
        // shows one before it is first mapped, and a bitmap is read several
        // times faster than a PNG has to be decoded.
        ok &= save(root, u"pictures/plateau%1.bmp"_s.arg(set),
                   palettise(board, {256, {collar}, 0.75f}));
        for (int look = 1; look <= kMarbleLooks; ++look) {
            ok &= save(root, u"pictures/bille%1%2.png"_s.arg(set).arg(look),
                       palettise(drawMarble(set, look), {256, {collar}, 0}));
        }
    }
    ok &= save(root, u"cursors/main.png"_s, drawCursor(CursorKind::Hand));
    ok &= save(root, u"cursors/deplace.png"_s, drawCursor(CursorKind::HandWithBall));
    ok &= save(root, u"cursors/impossible.png"_s, drawCursor(CursorKind::Forbidden));
    ok &= save(root, u"icon/veltrano.png"_s, palettise(drawIcon(firstBoard, 32), {16, {}, 0}));
    for (const int size : kIconThemeSizes) {
        ok &= save(root, u"hicolor/%1x%1/veltrano.png"_s.arg(size), drawIcon(firstBoard, size));
    }
    for (int frame = 1; frame <= kLogoFrames; ++frame) {
        ok &= save(root, u"logo/L%1.png"_s.arg(frame),
                   palettise(drawLogoFrame(frame), {256, {fieldBlue()}, 0.5f}));
    }
    // The shared blue stays exact, so the logo sits on the about box unseen.
    ok &= save(root, u"pictures/splash.png"_s, palettise(drawSplash(), {256, {fieldBlue()}, 0.5f}));
    ok &= save(root, u"pictures/apropos.png"_s, palettise(drawAbout(), {256, {fieldBlue()}, 0.5f}));
    ok &= save(root, u"pictures/ok.png"_s, palettise(drawOkButton(), {16, {}, 0}));
    return ok;
}

} // namespace

int main(int argc, char **argv) {
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
