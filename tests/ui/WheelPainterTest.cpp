#include "ui/chart/WheelPainter.h"

#include "core/Appearance.h"
#include "core/Numbers.h"
#include "resources/VelmoraResources.h"
#include "ui/common/Platform.h"

#include <QFile>
#include <QFontInfo>
#include <QGuiApplication>
#include <QPainter>
#include <QPainterPath>
#include <QRawFont>
#include <QTest>
#include <QtMath>

#include <cmath>
#include <functional>

using namespace velmora;
using namespace velmora::ui;

namespace {

const ColorValue kHouseMagenta = 0xFF00FF;

// Every point hidden at longitude 0, equal houses from 0 Aries, Aries at 9 o'clock, the
// dialog's initial colours but magenta houses, which no other part of the wheel shares.
ChartState quietChart()
{
    ChartState state;
    copySwatchColors(state, initialSwatchColors());
    state.ColorHouses = kHouseMagenta;
    state.PlanetShown.fill(kFalse);
    state.PlanetInAspects.fill(kTrue);
    setOrbs(state, defaultAspectOrbs());
    state.ZodiacAsPictures = kTrue;
    for (int cusp = 0; cusp < 24; ++cusp)
        state.HouseCusps[cusp] = 30.0f * (cusp % 12);
    return state;
}

// A chart with every point shown and some retrograde, as a transit wheel shows it.
ChartState busyChart()
{
    ChartState state = quietChart();
    state.PlanetShown.fill(kTrue);
    for (int slot = 0; slot < kSlotCount; ++slot) {
        state.Planets[slot].Longitude = std::fmod(37.0f * slot + 11.0f, 360.0f);
        state.Planets[slot].Speed = slot % 5 == 0 ? -0.1f : 1.0f;
    }
    state.HouseCusps[0] = 17.0f;
    state.OrientOnAscendant = kTrue;
    state.ShowHouses = kTrue;
    return state;
}

QImage paint(int side, const std::function<void(QPainter&)>& draw)
{
    QImage image(side, side, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    draw(painter);
    return image;
}

QImage renderWheel(ChartState& state, ChartKind kind, int side,
                   const QString& caption = QStringLiteral("هيئة ميلاد ل2000/3/1   0:15"))
{
    WheelPainter wheel(state, chartKindDescription(kind), {}, side);
    return paint(side, [&](QPainter& p) { wheel.draw(p, QSizeF(side, side), caption); });
}

// How far a pixel is from white: 0 for white, 1 for black.
double darkness(QRgb pixel)
{
    return 1.0 - (qRed(pixel) + qGreen(pixel) + qBlue(pixel)) / 765.0;
}

// How strongly a pixel leans to magenta (red and blue over green), 0 to 255.
int magenta(QRgb pixel)
{
    return qMin(qRed(pixel), qBlue(pixel)) - qGreen(pixel);
}

// The drawing on white of a region: its darkness-weighted centre, spread and bounding box.
struct Ink {
    double mass = 0.0;
    QPointF centre;
    QPointF spread;
    QRect box;
};

Ink inkOf(const QImage& image, QRect region = {})
{
    if (region.isNull())
        region = image.rect();
    Ink ink;
    double sx = 0, sy = 0, sxx = 0, syy = 0;
    for (int y = region.top(); y <= region.bottom(); ++y) {
        for (int x = region.left(); x <= region.right(); ++x) {
            const double w = darkness(image.pixel(x, y));
            if (w <= 0.02)
                continue;
            ink.mass += w;
            sx += w * (x + 0.5);
            sy += w * (y + 0.5);
            sxx += w * (x + 0.5) * (x + 0.5);
            syy += w * (y + 0.5) * (y + 0.5);
            ink.box |= QRect(x, y, 1, 1);
        }
    }
    if (ink.mass > 0) {
        ink.centre = {sx / ink.mass, sy / ink.mass};
        ink.spread = {std::sqrt(sxx / ink.mass - ink.centre.x() * ink.centre.x()),
                      std::sqrt(syy / ink.mass - ink.centre.y() * ink.centre.y())};
    }
    return ink;
}

// A symbol-font letter drawn on its own at a pixel size from the font file itself, its text
// corner at the same fraction of a pixel as `corner`.
QImage referenceGlyph(QChar letter, double pixels, const QPointF& corner)
{
    QFile file(kSymbolFontFile);
    file.open(QIODevice::ReadOnly);
    const QRawFont font(file.readAll(), pixels);
    const auto glyphs = font.glyphIndexesForString(QString(letter));
    const QPointF phase(corner.x() - std::floor(corner.x()), corner.y() - std::floor(corner.y()));
    return paint(static_cast<int>(pixels * 2), [&](QPainter& p) {
        p.setRenderHint(QPainter::Antialiasing);
        p.fillPath(font.pathForGlyph(glyphs.value(0)).translated(phase + QPointF(4, 4 + font.ascent())),
                   Qt::black);
    });
}

// How unlike two ink crops are, aligned on their top-left corners: the darkness that differs as
// a share of the ink, 1 when their boxes differ by more than a pixel.
double shapeDifference(const QImage& a, const QRect& boxA, const QImage& b, const QRect& boxB)
{
    if (std::abs(boxA.width() - boxB.width()) > 1 || std::abs(boxA.height() - boxB.height()) > 1)
        return 1.0;
    double differing = 0, inked = 0;
    for (int y = 0; y < qMin(boxA.height(), boxB.height()); ++y) {
        for (int x = 0; x < qMin(boxA.width(), boxB.width()); ++x) {
            const double inA = darkness(a.pixel(boxA.topLeft() + QPoint(x, y)));
            const double inB = darkness(b.pixel(boxB.topLeft() + QPoint(x, y)));
            inked += qMax(inA, inB);
            differing += std::abs(inA - inB);
        }
    }
    return differing / inked;
}

} // namespace

class WheelPainterTest final : public QObject {
    Q_OBJECT

private slots:
    void glyphsComeFromTheEmbeddedFontAndTheCaptionFromAFontWithArabic()
    {
        QCOMPARE(QFontInfo(WheelPainter::glyphFont()).family(), kSymbolFontFamily);
        const QString caption = QFontInfo(WheelPainter::captionFont()).family();
        QVERIFY2(caption == QStringLiteral("DejaVu Sans") ||
                     caption == QStringLiteral("Noto Sans Arabic"),
                 qPrintable(caption));
    }

    void rotationIsWrittenRoundedHalfToEven_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<float>("ascendant");
        QTest::addColumn<bool>("oriented");
        QTest::addColumn<int>("rotation");
        QTest::newRow("270 - 15.5 = 254.5 goes to even") << int(ChartKind::Natal) << 15.5f << true << 254;
        QTest::newRow("270 - 15.7 = 254.3") << int(ChartKind::Transits) << 15.7f << true << 254;
        QTest::newRow("270 - 16.5 = 253.5 goes to even") << int(ChartKind::Natal) << 16.5f << true << 254;
        QTest::newRow("started at Aries") << int(ChartKind::Natal) << 15.7f << false << 270;
        QTest::newRow("solar ignores the orientation") << int(ChartKind::Solar) << 15.7f << true << 270;
    }

    void rotationIsWrittenRoundedHalfToEven()
    {
        QFETCH(int, kind);
        QFETCH(float, ascendant);
        QFETCH(bool, oriented);
        QFETCH(int, rotation);
        ChartState state = busyChart();
        state.HouseCusps[0] = ascendant;
        state.OrientOnAscendant = toFlag(oriented);
        renderWheel(state, static_cast<ChartKind>(kind), 200);
        QCOMPARE(int(state.WheelRotation), rotation);
    }

    // Longitude 0 at rotation 270 is 9 o'clock, 90 is 6 o'clock: the marker between the
    // zodiac ring and the glyph lies on the horizontal, then the vertical, through the centre.
    void pointMarkersFollowTheAngleConvention_data()
    {
        QTest::addColumn<float>("longitude");
        QTest::addColumn<QRect>("segment");
        QTest::addColumn<bool>("horizontal");
        // S = 600, centre 300: the ring ends at r = 187.5, the glyph box begins near r = 228.
        QTest::newRow("0 left of the centre") << 0.0f << QRect(92, 290, 15, 20) << true;
        QTest::newRow("90 below the centre") << 90.0f << QRect(290, 492, 20, 15) << false;
    }

    void pointMarkersFollowTheAngleConvention()
    {
        QFETCH(float, longitude);
        QFETCH(QRect, segment);
        QFETCH(bool, horizontal);
        ChartState state = quietChart();
        state.PlanetShown[0] = kTrue;
        state.Planets[0].Longitude = longitude;
        WheelPainter wheel(state, chartKindDescription(ChartKind::Natal), {}, 600);
        wheel.updateRotation();
        QCOMPARE(int(state.WheelRotation), 270);
        const Ink ink = inkOf(paint(600, [&](QPainter& p) { wheel.drawPoints(p); }), segment);
        QVERIFY(ink.mass > 10);
        QCOMPARE_LT(std::abs((horizontal ? ink.centre.y() : ink.centre.x()) - 300.0), 0.05);
        QCOMPARE_LT(horizontal ? ink.spread.y() : ink.spread.x(), 0.6);
    }

    // The glyph's text starts at the same corner; the retrograde mark comes before the letter.
    void retrogradeMarkOnlyForANegativeSpeed()
    {
        auto pointWithSpeed = [](float speed) {
            ChartState state = quietChart();
            state.PlanetShown[1] = kTrue;
            state.Planets[1].Longitude = 90.0f;
            state.Planets[1].Speed = speed;
            WheelPainter wheel(state, chartKindDescription(ChartKind::Natal), {}, 600);
            wheel.updateRotation();
            return paint(600, [&](QPainter& p) { wheel.drawPoints(p); });
        };
        const QImage direct = pointWithSpeed(0.5f);
        QCOMPARE(pointWithSpeed(0.0f), direct);
        const QRect glyphArea(250, 532, 150, 68); // below the marker's end at y = 530.8
        const QRect withMark = inkOf(pointWithSpeed(-0.01f), glyphArea).box;
        const QRect plain = inkOf(direct, glyphArea).box;
        QVERIFY(!plain.isEmpty());
        QCOMPARE_LE(withMark.left(), plain.left() + 3);
        QCOMPARE_GT(withMark.right(), plain.right() + 20);
    }

    void hiddenPointLeavesNoMarkerAndNoGlyph_data()
    {
        QTest::addColumn<int>("slot");
        QTest::newRow("first chart's Sun") << 0;
        QTest::newRow("second chart's black moon") << 23;
    }

    void hiddenPointLeavesNoMarkerAndNoGlyph()
    {
        QFETCH(int, slot);
        ChartState state = quietChart();
        state.Planets[slot].Longitude = 123.0f;
        WheelPainter wheel(state, chartKindDescription(ChartKind::Transits), {}, 400);
        wheel.updateRotation();
        auto points = [&] { return paint(400, [&](QPainter& p) { wheel.drawPoints(p); }); };
        QCOMPARE(inkOf(points()).mass, 0.0);
        state.PlanetShown[slot] = kTrue;
        QCOMPARE_GT(inkOf(points()).mass, 100.0);
    }

    // Aries's glyph, alone in its sector, is letter A at S/19 as pictures and M at S/16 as
    // symbols.
    void signStyleChangesLettersAndSize_data()
    {
        QTest::addColumn<bool>("pictures");
        QTest::addColumn<QChar>("letter");
        QTest::addColumn<double>("pixels");
        QTest::newRow("pictures") << true << QChar(u'A') << 600.0 / 19;
        QTest::newRow("symbols") << false << QChar(u'M') << 600.0 / 16;
    }

    void signStyleChangesLettersAndSize()
    {
        QFETCH(bool, pictures);
        QFETCH(QChar, letter);
        QFETCH(double, pixels);
        ChartState state = quietChart();
        state.ZodiacAsPictures = toFlag(pictures);
        WheelPainter wheel(state, chartKindDescription(ChartKind::Natal), {}, 600);
        wheel.updateRotation();
        const QImage signs = paint(600, [&](QPainter& p) { wheel.drawSignGlyphs(p); });
        // Aries's text corner: radius S/3.8 at 285 degrees, less S/50.
        const QPointF corner = wheel.at(600 / 3.8, 285) - QPointF(12, 12);
        const Ink aries = inkOf(signs, QRectF(corner, QSizeF(pixels, pixels)).toAlignedRect()
                                           .adjusted(-4, -4, 4, 4));
        const QImage reference = referenceGlyph(letter, pixels, corner);
        QCOMPARE_LT(shapeDifference(signs, aries.box, reference, inkOf(reference).box), 0.05);
    }

    // Everything but the houses in greys: without houses, or on the solar wheel, not one pixel
    // leans to their magenta, and what they add changes nothing but the pixels they cover.
    void houseMarksOnlyWhereAsked_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<bool>("showHouses");
        QTest::addColumn<bool>("drawn");
        QTest::newRow("natal with houses") << int(ChartKind::Natal) << true << true;
        QTest::newRow("transits with houses") << int(ChartKind::Transits) << true << true;
        QTest::newRow("natal without houses") << int(ChartKind::Natal) << false << false;
        QTest::newRow("solar even with houses") << int(ChartKind::Solar) << true << false;
    }

    void houseMarksOnlyWhereAsked()
    {
        QFETCH(int, kind);
        QFETCH(bool, showHouses);
        QFETCH(bool, drawn);
        ChartState state = busyChart();
        SwatchColors greys;
        greys.fill(0x808080);
        greys[0] = 0xFFFFFF; // background
        greys[1] = 0xE0E0E0; // zodiac
        copySwatchColors(state, greys);
        state.ColorHouses = kHouseMagenta;
        state.ShowHouses = toFlag(showHouses);
        const QImage image = renderWheel(state, static_cast<ChartKind>(kind), 500);
        state.ShowHouses = kFalse;
        const QImage without = renderWheel(state, static_cast<ChartKind>(kind), 500);

        int leaning = 0, leaningWithout = 0, changedOtherwise = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                const QRgb pixel = image.pixel(x, y);
                const QRgb under = without.pixel(x, y);
                leaning += magenta(pixel) >= 40;
                leaningWithout += magenta(under) >= 40;
                changedOtherwise += pixel != under && magenta(pixel) < magenta(under);
            }
        }
        QCOMPARE(leaningWithout, 0);
        QCOMPARE(changedOtherwise, 0);
        QCOMPARE(leaning > 500, drawn);
        QCOMPARE(image == without, !drawn);
    }

    // Ascendant at 30 on a wheel oriented on it: its axis runs left along the horizontal and its
    // chevrons open rightwards from a tip at the left edge.
    void ascendantAxisPointsLeft()
    {
        ChartState state = quietChart();
        for (int cusp = 0; cusp < 12; ++cusp)
            state.HouseCusps[cusp] = 30.0f + 30.0f * cusp;
        state.OrientOnAscendant = kTrue;
        state.ShowHouses = kTrue;
        WheelPainter wheel(state, chartKindDescription(ChartKind::Natal), {}, 600);
        wheel.updateRotation();
        const QImage houses = paint(600, [&](QPainter& p) { wheel.drawHouses(p); });

        const Ink axis = inkOf(houses, QRect(60, 280, 110, 40)); // S/2.2 to S/5.2 left
        QCOMPARE_LT(std::abs(axis.centre.y() - 300.0), 0.05);
        QCOMPARE_GT(axis.box.width(), 105);
        const Ink tip = inkOf(houses, QRect(0, 250, 6, 100));
        const Ink arms = inkOf(houses, QRect(38, 250, 4, 100));
        QCOMPARE_LT(tip.box.left(), 2);
        QCOMPARE_LT(tip.box.height(), 8);
        QCOMPARE_GT(arms.box.height(), 30);
        QCOMPARE_LT(std::abs(arms.centre.y() - 300.0), 0.5);
    }

    // Lower heaven at 9 o'clock, midheaven at 3 o'clock, drawn with a margin around the wheel:
    // the ring's outermost point is empty for the lower heaven and drawn for the midheaven;
    // both rings are drawn at their sides.
    void lowerHeavenRingOpenOutsideMidheavenClosed_data()
    {
        QTest::addColumn<int>("cusp");
        QTest::addColumn<bool>("closedOutside");
        QTest::newRow("lower heaven") << 3 << false;
        QTest::newRow("midheaven") << 9 << true;
    }

    void lowerHeavenRingOpenOutsideMidheavenClosed()
    {
        QFETCH(int, cusp);
        QFETCH(bool, closedOutside);
        ChartState state = quietChart();
        state.ShowHouses = kTrue;
        state.HouseCusps.fill(45.0f); // the other marks out of the way, lower left
        state.HouseCusps[3] = 0.0f;   // at 270 + 0: 9 o'clock
        state.HouseCusps[9] = 180.0f; // at 270 + 180: 3 o'clock
        WheelPainter wheel(state, chartKindDescription(ChartKind::Natal), {}, 600);
        wheel.updateRotation();
        const QImage houses = paint(700, [&](QPainter& p) {
            p.translate(50, 50);
            wheel.drawHouses(p);
        });
        const double a = 270.0 + state.HouseCusps[cusp];
        const QPointF ring = wheel.at(600 / 2.15, a) + QPointF(50, 50);
        auto inkAt = [&](double angle) {
            const QPointF p = ring + QPointF(std::sin(qDegreesToRadians(angle)),
                                             std::cos(qDegreesToRadians(angle))) * 30.0;
            return inkOf(houses, QRect(p.toPoint() - QPoint(2, 2), QSize(5, 5))).mass;
        };
        QCOMPARE(inkAt(a) > 0.5, closedOutside);
        QCOMPARE_GT(inkAt(a + 90), 0.5);
        QCOMPARE_GT(inkAt(a - 90), 0.5);
    }

    // Each chord alone: the conjunction 8 pixels wide, the others one pixel (square dashed,
    // opposition dotted: less ink per length); a cleared box draws nothing, yet lists the line.
    void chordsByKindAndBox_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<float>("separation");
        QTest::addColumn<QColor>("colour"); // the dialog's initial swatch of the kind
        QTest::addColumn<double>("minWidth");
        QTest::addColumn<double>("maxWidth");
        QTest::newRow("conjunction") << int(AspectKind::Conjunction) << 9.0f << QColor(192, 0, 0) << 7.0 << 9.0;
        QTest::newRow("sextile") << int(AspectKind::Sextile) << 62.0f << QColor(0, 255, 0) << 0.7 << 1.0;
        QTest::newRow("square") << int(AspectKind::Square) << 91.0f << QColor(255, 0, 0) << 0.45 << 0.65;
        QTest::newRow("opposition") << int(AspectKind::Opposition) << 178.0f << QColor(128, 64, 0) << 0.25 << 0.42;
        QTest::newRow("trine") << int(AspectKind::Trine) << 236.0f << QColor(0, 0, 255) << 0.7 << 1.0;
    }

    void chordsByKindAndBox()
    {
        QFETCH(int, kind);
        QFETCH(float, separation);
        QFETCH(QColor, colour);
        QFETCH(double, minWidth);
        QFETCH(double, maxWidth);
        ChartState state = quietChart();
        state.PlanetShown[0] = state.PlanetShown[1] = kTrue;
        state.Planets[0].Longitude = 10.0f;
        state.Planets[1].Longitude = 10.0f + separation;
        for (bool shown : {true, false}) {
            WheelAppearance appearance;
            appearance.chords[kind] = shown;
            WheelPainter wheel(state, chartKindDescription(ChartKind::Natal), appearance, 600);
            wheel.updateRotation();
            std::vector<Aspect> aspects;
            const QImage chord = paint(600, [&](QPainter& p) { aspects = wheel.drawAspects(p); });
            QCOMPARE(aspects.size(), std::size_t(1));
            QCOMPARE(int(aspects[0].kind), kind);
            QCOMPARE(state.AspectLines.size(), std::size_t(1));
            QCOMPARE(int(state.AspectLineCount), 1);

            const Ink ink = inkOf(chord);
            if (!shown) {
                QCOMPARE(ink.mass, 0.0);
                continue;
            }
            const double length = 2 * 600 / 5.2 * std::sin(qDegreesToRadians(separation / 2));
            const double width = ink.mass / length / darkness(colour.rgb());
            QCOMPARE_GE(width, minWidth);
            QCOMPARE_LE(width, maxWidth);
            // Every drawn pixel lies between white and the kind's colour.
            for (int y = ink.box.top(); y <= ink.box.bottom(); ++y) {
                for (int x = ink.box.left(); x <= ink.box.right(); ++x) {
                    const QRgb pixel = chord.pixel(x, y);
                    const double share = darkness(pixel) / darkness(colour.rgb());
                    const QColor expected(255 - share * (255 - colour.red()),
                                          255 - share * (255 - colour.green()),
                                          255 - share * (255 - colour.blue()));
                    QCOMPARE_LE(std::abs(qRed(pixel) - expected.red()), 12);
                    QCOMPARE_LE(std::abs(qGreen(pixel) - expected.green()), 12);
                    QCOMPARE_LE(std::abs(qBlue(pixel) - expected.blue()), 12);
                }
            }
        }
    }

    // Every part of the wheel drawn at S/2 lies at half the coordinates: each inked pixel of one
    // drawing has ink near the same place in the other.
    void halfSizeIsHalfTheCoordinates_data()
    {
        QTest::addColumn<int>("step");
        QTest::newRow("title and caption") << 0;
        QTest::newRow("zodiac ring") << 1;
        QTest::newRow("points of both charts") << 2;
        QTest::newRow("sign glyphs") << 3;
        QTest::newRow("aspect chords") << 4;
        QTest::newRow("house marks") << 5;
    }

    void halfSizeIsHalfTheCoordinates()
    {
        QFETCH(int, step);
        auto drawn = [step](int side) {
            ChartState state = busyChart();
            WheelPainter wheel(state, chartKindDescription(ChartKind::Transits), {}, side);
            wheel.updateRotation();
            return paint(side, [&](QPainter& p) {
                switch (step) {
                case 0: wheel.drawTitle(p, QSizeF(side, side), QStringLiteral("هيئة 1/2/3")); break;
                case 1: wheel.drawZodiac(p); break;
                case 2: wheel.drawPoints(p); break;
                case 3: wheel.drawSignGlyphs(p); break;
                case 4: wheel.drawAspects(p); break;
                default: wheel.drawHouses(p); break;
                }
            });
        };
        const QImage full = drawn(800);
        const QImage half = drawn(400);
        auto inked = [](const QImage& image, int x, int y) {
            return image.rect().contains(x, y) && darkness(image.pixel(x, y)) > 0.1;
        };
        // Ink of `from` with no ink of `to` within `reach` pixels of its place scaled by `factor`.
        auto stray = [&](const QImage& from, const QImage& to, double factor, int reach) {
            int total = 0, alone = 0;
            for (int y = 0; y < from.height(); ++y) {
                for (int x = 0; x < from.width(); ++x) {
                    if (!inked(from, x, y))
                        continue;
                    ++total;
                    const int tx = static_cast<int>((x + 0.5) * factor);
                    const int ty = static_cast<int>((y + 0.5) * factor);
                    bool near = false;
                    for (int dy = -reach; dy <= reach && !near; ++dy) {
                        for (int dx = -reach; dx <= reach && !near; ++dx)
                            near = inked(to, tx + dx, ty + dy);
                    }
                    alone += !near;
                }
            }
            return total ? double(alone) / total : 1.0;
        };
        QCOMPARE_LT(stray(full, half, 0.5, 1), 0.005);
        QCOMPARE_LT(stray(half, full, 2.0, 2), 0.005);
    }

    void backgroundPictureAtItsNaturalSizeOverTheBackgroundColour()
    {
        ChartState state = quietChart();
        state.ColorBackground = 0x00FF00;
        WheelAppearance appearance;
        appearance.background = QImage(50, 40, QImage::Format_RGB32);
        appearance.background.fill(Qt::red);
        WheelPainter wheel(state, chartKindDescription(ChartKind::Natal), appearance, 100);
        const QImage image = paint(200, [&](QPainter& p) { wheel.drawBackground(p, QSizeF(150, 120)); });
        QCOMPARE(image.pixelColor(49, 39), QColor(Qt::red));
        QCOMPARE(image.pixelColor(50, 39), QColor(Qt::green));
        QCOMPARE(image.pixelColor(149, 119), QColor(Qt::green));
        QCOMPARE(image.pixelColor(150, 119), QColor(Qt::white)); // outside the drawing area
    }

    void rightToLeftApplicationDrawsTheSameWheel()
    {
        ChartState state = busyChart();
        const QImage leftToRight = renderWheel(state, ChartKind::Transits, 500);
        QGuiApplication::setLayoutDirection(Qt::RightToLeft);
        const QImage rightToLeft = renderWheel(state, ChartKind::Transits, 500);
        QGuiApplication::setLayoutDirection(Qt::LeftToRight);
        QVERIFY(leftToRight == rightToLeft);
    }
};

QTEST_MAIN(WheelPainterTest)
#include "WheelPainterTest.moc"
