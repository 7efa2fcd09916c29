// SPDX-License-Identifier: GPL-3.0-or-later
// The pictures as the game uses them: the boards under the hole and tray
// boxes, the marble sprites laid unscaled at the top-left of those boxes,
// the labels over the painted buttons, the two-colour cursors, the logo.
#include "probe.h"

#include "geometry.h"

#include <QTest>

#include <cmath>
#include <utility>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

constexpr int kSpriteW = 21;
constexpr int kSpriteH = 22;

QImage picture(const QString &name) {
    return probe::picture(u":/"_s + name);
}

QImage board(int set) {
    return picture(u"pictures/plateau%1.bmp"_s.arg(set));
}

QImage sprite(int set, int look) {
    return picture(u"pictures/bille%1%2.png"_s.arg(set).arg(look));
}

int gap(QRgb a, QRgb b) {
    return std::max({std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)),
                     std::abs(qBlue(a) - qBlue(b))});
}

int luma(QRgb c) {
    return qGray(c);
}

// All 89 boxes a sprite can be drawn in: the holes, then the tray places.
std::vector<veltrano::Box> boxes() {
    std::vector<veltrano::Box> all;
    for (int n = 1; n <= veltrano::kHoleCount; ++n) {
        all.push_back(veltrano::hole_box(n));
    }
    for (int i = 1; i <= veltrano::kTrayCount; ++i) {
        all.push_back(veltrano::tray_box(i));
    }
    return all;
}

QString where(const veltrano::Box &b) {
    return u"box at %1,%2"_s.arg(b.left).arg(b.top);
}

} // namespace

class PicturesTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void sizesAndPalettes_data();
    void sizesAndPalettes();
    void spritesAreOpaqueWithOneCornerColourPerSet();
    void boardColoursFollowTheirNames();
    void spritesBlendIntoEveryBoxOfTheirBoard();
    void everyBoxLiesOverACarvedHoleUnderTheBall();
    void labelsLieOnTheirButtons_data();
    void labelsLieOnTheirButtons();
    void cursorsAreTwoColourWithTheirHotSpotOnTheFigure();
    void logoRingTurnsEdgeOnInFramesThreeAndNine();
    void logoSitsOnTheBackgroundsWithoutASquare();
};

void PicturesTest::sizesAndPalettes_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<int>("maxColours");
    QTest::addColumn<int>("scale");
    // Each picture, then its twice-as-large drawing beside it.
    auto row = [](const QString &tag, const QString &name, QSize size, int colours) {
        QTest::newRow(qPrintable(tag)) << name << size << colours << 1;
        const qsizetype dot = name.lastIndexOf(u'.');
        QTest::newRow(qPrintable(tag + u"@2x"_s))
            << name.left(dot) + u"@2x"_s + name.mid(dot) << size * 2 << colours << 2;
    };
    for (int set = 1; set <= 4; ++set) {
        row(u"plateau%1"_s.arg(set), u"pictures/plateau%1.bmp"_s.arg(set), QSize(640, 462), 256);
        for (int look = 1; look <= 7; ++look) {
            row(u"bille%1%2"_s.arg(set).arg(look), u"pictures/bille%1%2.png"_s.arg(set).arg(look),
                QSize(kSpriteW, kSpriteH), 256);
        }
    }
    for (int frame = 1; frame <= 13; ++frame) {
        row(u"L%1"_s.arg(frame), u"logo/L%1.png"_s.arg(frame), QSize(100, 100), 256);
    }
    row(u"splash"_s, u"pictures/splash.png"_s, QSize(324, 200), 256);
    row(u"apropos"_s, u"pictures/apropos.png"_s, QSize(324, 215), 256);
    row(u"ok"_s, u"pictures/ok.png"_s, QSize(63, 39), 16);
    row(u"icon"_s, u"icon/veltrano.png"_s, QSize(32, 32), 16);
}

void PicturesTest::sizesAndPalettes() {
    QFETCH(QString, name);
    QFETCH(QSize, size);
    QFETCH(int, maxColours);
    QFETCH(int, scale);
    const QImage image = picture(name);
    QVERIFY2(!image.isNull(), qPrintable(name));
    QCOMPARE(image.size(), size);
    QCOMPARE(image.format(), QImage::Format_Indexed8);
    QVERIFY(image.colorCount() >= 2);
    QVERIFY(image.colorCount() <= maxColours);
    if (scale == 2) {
        // The same picture, finer: brought down to the plain one's size it
        // differs from it only by the palettes' dithering.
        const QImage plain =
            picture(name.replace(u"@2x"_s, QString())).convertToFormat(QImage::Format_RGB32);
        const QImage reduced =
            image.convertToFormat(QImage::Format_RGB32)
                .scaled(plain.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        double difference = 0;
        for (int y = 0; y < plain.height(); ++y) {
            for (int x = 0; x < plain.width(); ++x) {
                const QRgb a = plain.pixel(x, y), b = reduced.pixel(x, y);
                difference += std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b)) +
                              std::abs(qBlue(a) - qBlue(b));
            }
        }
        const double mean = difference / (3.0 * plain.width() * plain.height());
        QVERIFY2(mean < 7, qPrintable(QString::number(mean)));
    }
}

void PicturesTest::spritesAreOpaqueWithOneCornerColourPerSet() {
    std::vector<QRgb> corners;
    for (int set = 1; set <= 4; ++set) {
        const QRgb corner = sprite(set, 1).pixel(0, 0);
        for (int look = 1; look <= 7; ++look) {
            const QImage s = sprite(set, look);
            for (int y = 0; y < s.height(); ++y) {
                for (int x = 0; x < s.width(); ++x) {
                    QCOMPARE(qAlpha(s.pixel(x, y)), 255);
                }
            }
            QCOMPARE(s.pixel(kSpriteW - 1, 0), corner);
            QCOMPARE(s.pixel(0, kSpriteH - 1), corner);
            QCOMPARE(s.pixel(kSpriteW - 1, kSpriteH - 1), corner);
            QCOMPARE(s.pixel(0, 0), corner);
            // A shaded ball with a highlight: dark and bright parts, inside
            // the corners.
            int darkest = 255, brightest = 0;
            for (int y = 4; y < kSpriteH - 4; ++y) {
                for (int x = 4; x < kSpriteW - 4; ++x) {
                    darkest = std::min(darkest, luma(s.pixel(x, y)));
                    brightest = std::max(brightest, luma(s.pixel(x, y)));
                }
            }
            QVERIFY(brightest - darkest > 100);
            QVERIFY(brightest > 200);
        }
        for (QRgb other : corners) {
            QVERIFY(gap(other, corner) > 20);
        }
        corners.push_back(corner);
    }
    // Seven looks are seven different marbles.
    for (int a = 1; a <= 7; ++a) {
        for (int b = a + 1; b <= 7; ++b) {
            QVERIFY(sprite(1, a) != sprite(1, b));
        }
    }
}

void PicturesTest::boardColoursFollowTheirNames() {
    // Light brown wood, olive green, grey, reddish brown: judged on the
    // colour the boards share with their sprites.
    const QRgb brown = sprite(1, 1).pixel(0, 0);
    QVERIFY(qRed(brown) > qGreen(brown) + 20 && qGreen(brown) > qBlue(brown) + 20);
    QVERIFY(luma(brown) > 130);
    const QRgb olive = sprite(2, 1).pixel(0, 0);
    QVERIFY(qGreen(olive) >= qRed(olive) && qGreen(olive) > qBlue(olive) + 40);
    const QRgb grey = sprite(3, 1).pixel(0, 0);
    QVERIFY(gap(grey, qRgb(qGray(grey), qGray(grey), qGray(grey))) < 12);
    const QRgb red = sprite(4, 1).pixel(0, 0);
    QVERIFY(qRed(red) > qGreen(red) + 50 && qRed(red) > qBlue(red) + 50);
    for (int a = 1; a <= 4; ++a) {
        for (int b = a + 1; b <= 4; ++b) {
            QVERIFY(board(a) != board(b));
        }
    }
}

void PicturesTest::spritesBlendIntoEveryBoxOfTheirBoard() {
    // Wherever a sprite shows its flat corner colour, and on the ring of
    // board pixels just outside it, the board must be that colour too, or
    // the sprite's rectangle shows.
    for (int set = 1; set <= 4; ++set) {
        const QImage b = board(set);
        const QImage s = sprite(set, 1);
        const QRgb corner = s.pixel(0, 0);
        for (const veltrano::Box &box : boxes()) {
            for (int y = -1; y <= kSpriteH; ++y) {
                for (int x = -1; x <= kSpriteW; ++x) {
                    const bool outside = x < 0 || y < 0 || x >= kSpriteW || y >= kSpriteH;
                    if (!outside && s.pixel(x, y) != corner) {
                        continue; // the ball covers the board here
                    }
                    const QRgb under = b.pixel(box.left + x, box.top + y);
                    if (gap(under, corner) > 4) {
                        QFAIL(qPrintable(u"set %1, %2: board differs from the sprite's corner at "
                                         "%3,%4"_s.arg(set)
                                             .arg(where(box))
                                             .arg(x)
                                             .arg(y)));
                    }
                }
            }
        }
    }
}

void PicturesTest::everyBoxLiesOverACarvedHoleUnderTheBall() {
    for (int set = 1; set <= 4; ++set) {
        const QImage b = board(set);
        const int collar = luma(sprite(set, 1).pixel(0, 0));
        for (const veltrano::Box &box : boxes()) {
            // The bottom of the hole is dark, and the dark part is centred
            // where the ball's centre falls (10.5, 11 from the box corner).
            double sx = 0, sy = 0;
            int n = 0;
            for (int y = 0; y < kSpriteH; ++y) {
                for (int x = 0; x < kSpriteW; ++x) {
                    if (luma(b.pixel(box.left + x, box.top + y)) < collar - 40) {
                        sx += x + 0.5;
                        sy += y + 0.5;
                        ++n;
                    }
                }
            }
            QVERIFY2(luma(b.pixel(box.left + 10, box.top + 11)) < collar - 50,
                     qPrintable(where(box)));
            QVERIFY2(n > 40, qPrintable(where(box)));
            // The shading is lopsided (lit from the upper left), so allow a
            // little; a hole a pixel or two off would show round a marble.
            QVERIFY2(std::abs(sx / n - 10.5) < 1.5 && std::abs(sy / n - 11.0) < 1.5,
                     qPrintable(where(box)));
        }
    }
}

void PicturesTest::labelsLieOnTheirButtons_data() {
    QTest::addColumn<QRect>("label");
    QTest::addColumn<QString>("paint"); // blue, green, red or pale
    QTest::addColumn<bool>("whiteText");
    // Paint and text colour of each label's button, in the window's order.
    const std::pair<QString, bool> buttons[] = {
        {u"pale"_s, false},  {u"blue"_s, true},  {u"blue"_s, true},  {u"blue"_s, true},
        {u"green"_s, false}, {u"pale"_s, false}, {u"pale"_s, false}, {u"pale"_s, false},
        {u"pale"_s, false},  {u"pale"_s, false}, {u"red"_s, true}};
    static_assert(std::size(buttons) == veltrano::kLabels.size());
    for (std::size_t i = 0; i < std::size(buttons); ++i) {
        const veltrano::Box b = veltrano::kLabels[i].box;
        QTest::newRow(veltrano::kLabels[i].name)
            << QRect(b.left, b.top, b.width, b.height) << buttons[i].first << buttons[i].second;
    }
}

void PicturesTest::labelsLieOnTheirButtons() {
    QFETCH(QRect, label);
    QFETCH(QString, paint);
    QFETCH(bool, whiteText);
    for (int set = 1; set <= 4; ++set) {
        const QImage b = board(set);
        const int boardLuma = luma(sprite(set, 1).pixel(0, 0));
        int painted = 0;
        long lumaSum = 0;
        for (int y = label.top(); y <= label.bottom(); ++y) {
            for (int x = label.left(); x <= label.right(); ++x) {
                const QRgb c = b.pixel(x, y);
                const int r = qRed(c), g = qGreen(c), bl = qBlue(c);
                bool ok = false;
                if (paint == u"blue"_s) {
                    ok = bl > std::max(r, g) + 50;
                } else if (paint == u"green"_s) {
                    ok = g > std::max(r, bl) + 40;
                } else if (paint == u"red"_s) {
                    ok = r > std::max(g, bl) + 80;
                } else {
                    // Pale wood or ivory: clearly lighter than the board.
                    ok = luma(c) > boardLuma + 15 && luma(c) > 150;
                }
                painted += ok ? 1 : 0;
                lumaSum += luma(c);
            }
        }
        const int area = label.width() * label.height();
        QVERIFY2(painted * 100 >= area * 80,
                 qPrintable(u"set %1: %2% of the label on its button"_s.arg(set).arg(painted * 100 /
                                                                                     area)));
        // The label's text must stay legible on it.
        const long mean = lumaSum / area;
        if (whiteText) {
            QVERIFY2(mean < 110,
                     qPrintable(u"set %1: too light for white text: %2"_s.arg(set).arg(mean)));
        } else {
            QVERIFY2(mean > 140,
                     qPrintable(u"set %1: too dark for black text: %2"_s.arg(set).arg(mean)));
        }
    }
}

void PicturesTest::cursorsAreTwoColourWithTheirHotSpotOnTheFigure() {
    struct Cursor {
        const char *name;
        QPoint hot;
    };
    const Cursor cursors[] = {{"main", {7, 23}}, {"deplace", {8, 25}}, {"impossible", {9, 13}}};
    std::vector<QImage> seen;
    for (const Cursor &c : cursors) {
        const QImage image = picture(u"cursors/%1.png"_s.arg(QLatin1String(c.name)))
                                 .convertToFormat(QImage::Format_ARGB32);
        QCOMPARE(image.size(), QSize(32, 32));
        int black = 0, white = 0;
        for (int y = 0; y < 32; ++y) {
            for (int x = 0; x < 32; ++x) {
                const QRgb p = image.pixel(x, y);
                if (qAlpha(p) == 0) {
                    continue;
                }
                QCOMPARE(qAlpha(p), 255);
                const bool isBlack = (p & 0xFFFFFFu) == 0;
                const bool isWhite = (p & 0xFFFFFFu) == 0xFFFFFFu;
                QVERIFY2(isBlack || isWhite, c.name);
                black += isBlack;
                white += isWhite;
            }
        }
        // An outlined figure: plenty of both, and not a filled square.
        QVERIFY(black > 60 && white > 60 && black + white < 32 * 32 * 3 / 4);
        QVERIFY2(qAlpha(image.pixel(c.hot)) == 255, c.name);
        for (const QImage &other : seen) {
            QVERIFY(other != image);
        }
        seen.push_back(image);
    }
}

void PicturesTest::logoRingTurnsEdgeOnInFramesThreeAndNine() {
    // Width of the gold of the stars in each frame.
    auto goldWidth = [](int frame) {
        const QImage f =
            picture(u"logo/L%1.png"_s.arg(frame)).convertToFormat(QImage::Format_RGB32);
        int left = 100, right = -1;
        for (int y = 0; y < f.height(); ++y) {
            for (int x = 0; x < f.width(); ++x) {
                const QRgb c = f.pixel(x, y);
                if (qRed(c) > 170 && qGreen(c) > 110 && qBlue(c) < 100) {
                    left = std::min(left, x);
                    right = std::max(right, x);
                }
            }
        }
        return right - left + 1;
    };
    const int faceOn = goldWidth(1);
    QVERIFY(faceOn > 75);
    for (int frame : {7, 13}) {
        QVERIFY(goldWidth(frame) > 75);
    }
    for (int frame : {3, 9}) {
        QVERIFY2(goldWidth(frame) < 20, qPrintable(u"L%1"_s.arg(frame)));
    }
    // Narrowing, then opening again.
    QVERIFY(goldWidth(2) < faceOn && goldWidth(2) > goldWidth(3));
    QVERIFY(goldWidth(4) < goldWidth(5) && goldWidth(5) < goldWidth(6));
    QVERIFY(goldWidth(8) < faceOn && goldWidth(8) > goldWidth(9));
    QVERIFY(goldWidth(10) < goldWidth(11) && goldWidth(11) < goldWidth(12));
}

void PicturesTest::logoSitsOnTheBackgroundsWithoutASquare() {
    // The about box shows the logo at 12, 4 over its background: the
    // frames' plain blue must be the background's own blue there.
    const QRgb field = picture(u"logo/L1.png"_s).pixel(0, 0);
    for (int frame = 1; frame <= 13; ++frame) {
        const QImage f = picture(u"logo/L%1.png"_s.arg(frame));
        QCOMPARE(f.pixel(0, 0), field);
        QCOMPARE(f.pixel(99, 99), field);
        QCOMPARE(f.pixel(99, 0), field);
    }
    const QImage about = picture(u"pictures/apropos.png"_s);
    for (const QPoint p : {QPoint(12, 4), QPoint(111, 103), QPoint(12, 103), QPoint(60, 8)}) {
        QCOMPARE(about.pixel(p), field);
    }
    // The splash carries the first frame itself at the same place.
    const QImage splash = picture(u"pictures/splash.png"_s);
    const QImage first = picture(u"logo/L1.png"_s);
    int close = 0;
    for (int y = 0; y < 100; ++y) {
        for (int x = 0; x < 100; ++x) {
            close += gap(splash.pixel(12 + x, 4 + y), first.pixel(x, y)) <= 12;
        }
    }
    QVERIFY(close > 9500);
}

QTEST_GUILESS_MAIN(PicturesTest)
#include "tst_pictures.moc"
