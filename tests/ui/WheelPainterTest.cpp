#include "ui/chart/WheelPainter.h"

#include "core/Appearance.h"
#include "core/Numbers.h"
#include "resources/VelmoraResources.h"

#include <QFile>
#include <QFontInfo>
#include <QGuiApplication>
#include <QElapsedTimer>
#include <QPainter>
#include <QPainterPath>
#include <QRawFont>
#include <QTest>
#include <QtMath>

using namespace velmora;
using namespace velmora::ui;

namespace {

enum Step { Title, Zodiac, Points, Signs, Chords, Houses, Whole };

// Every point hidden at 0, equal houses from Aries at 9 o'clock, the initial colours but magenta houses.
ChartState quietChart()
{
    ChartState state;
    copySwatchColors(state, initialSwatchColors());
    state.ColorHouses = 0xFF00FF;
    state.PlanetShown.fill(kFalse);
    state.PlanetInAspects.fill(kTrue);
    setOrbs(state, defaultAspectOrbs());
    state.ZodiacAsPictures = state.ShowHouses = kTrue;
    for (int cusp = 0; cusp < 24; ++cusp)
        state.HouseCusps[cusp] = 30.0f * (cusp % 12);
    return state;
}

// Every point shown, some retrograde, oriented on an ascendant at 17.
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
    return state;
}

// One step, or the whole wheel, of side S on white, with a margin around the S x S square.
QImage drawn(ChartState& state, Step step, int side, ChartKind kind = ChartKind::Natal,
             const WheelAppearance& appearance = {}, int margin = 0)
{
    QImage image(side + 2 * margin, side + 2 * margin, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    p.translate(margin, margin);
    WheelPainter wheel(state, chartKindDescription(kind), appearance, side);
    wheel.updateRotation();
    const QSizeF area(side, side);
    switch (step) {
    case Title: wheel.drawTitle(p, area, QStringLiteral("هيئة ميلاد ل2000/3/1   0:15")); break;
    case Zodiac: wheel.drawZodiac(p); break;
    case Points: wheel.drawPoints(p); break;
    case Signs: wheel.drawSignGlyphs(p); break;
    case Chords: wheel.drawAspects(p); break;
    case Houses: wheel.drawHouses(p); break;
    case Whole: wheel.draw(p, area, QStringLiteral("هيئة ميلاد ل2000/3/1   0:15")); break;
    }
    return image;
}

// 0 for white, 1 for black.
double darkness(QRgb pixel)
{
    return 1.0 - (qRed(pixel) + qGreen(pixel) + qBlue(pixel)) / 765.0;
}

// How far a pixel leans to magenta (red and blue over green).
int magenta(QRgb pixel)
{
    return qMin(qRed(pixel), qBlue(pixel)) - qGreen(pixel);
}

// What is drawn on white in a region: its darkness, darkness-weighted centre, bounding box, and
// how much it darkens each channel.
struct Ink {
    double mass = 0.0;
    QPointF centre;
    QRect box;
    std::array<double, 3> rgb{};
};

Ink inkOf(const QImage& image, QRect region = {})
{
    Ink ink;
    QPointF sum;
    region = region.isNull() ? image.rect() : region;
    for (int y = region.top(); y <= region.bottom(); ++y) {
        for (int x = region.left(); x <= region.right(); ++x) {
            const QRgb pixel = image.pixel(x, y);
            const double w = darkness(pixel);
            if (w > 0.02) {
                ink.mass += w;
                sum += w * QPointF(x + 0.5, y + 0.5);
                ink.box |= QRect(x, y, 1, 1);
                ink.rgb[0] += 255 - qRed(pixel), ink.rgb[1] += 255 - qGreen(pixel), ink.rgb[2] += 255 - qBlue(pixel);
            }
        }
    }
    ink.centre = ink.mass > 0 ? sum / ink.mass : QPointF();
    return ink;
}

// A symbol-font letter from the font file, its corner at the same fraction of a pixel as `corner`.
QImage referenceGlyph(QChar letter, double pixels, const QPointF& corner)
{
    QFile file(kSymbolFontFile);
    file.open(QIODevice::ReadOnly);
    const QRawFont font(file.readAll(), pixels);
    QImage image(int(pixels * 2), int(pixels * 2), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const QPointF phase(corner.x() - std::floor(corner.x()), corner.y() - std::floor(corner.y()));
    const QPainterPath glyph = font.pathForGlyph(font.glyphIndexesForString(letter).value(0));
    p.fillPath(glyph.translated(phase + QPointF(4, 4 + font.ascent())), Qt::black);
    return image;
}

// How unlike two ink boxes are, aligned on their corners: the darkness that differs as a share
// of the ink; 1 when their sizes differ by more than a pixel.
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

// The share of `from`'s inked pixels with no ink of `to` within `reach` of their place scaled.
double strayInk(const QImage& from, const QImage& to, double scale, int reach)
{
    auto inked = [](const QImage& image, int x, int y) {
        return image.rect().contains(x, y) && darkness(image.pixel(x, y)) > 0.1;
    };
    int total = 0, stray = 0;
    for (int y = 0; y < from.height(); ++y) {
        for (int x = 0; x < from.width(); ++x) {
            if (!inked(from, x, y))
                continue;
            const QPoint at((x + 0.5) * scale, (y + 0.5) * scale);
            bool near = false;
            for (int dy = -reach; dy <= reach; ++dy) {
                for (int dx = -reach; dx <= reach; ++dx)
                    near = near || inked(to, at.x() + dx, at.y() + dy);
            }
            ++total;
            stray += !near;
        }
    }
    return double(stray) / qMax(total, 1);
}

struct Chord {
    AspectKind kind;
    float separation;
    QColor colour; // the dialog's initial swatch of the kind
    double width;  // ink per length of chord, within 15%
};

} // namespace

class WheelPainterTest final : public QObject {
    Q_OBJECT

private slots:
    // Oriented on the ascendant, rotation 270 - ascendant rounded half to even puts the axis on
    // the horizontal to within half a degree, its chevrons opening right from the left edge.
    void ascendantAxisPointsLeft_data()
    {
        QTest::addColumn<float>("ascendant");
        QTest::addColumn<int>("rotation");
        QTest::newRow("30") << 30.0f << 240;
        QTest::newRow("15.5: 254.5 goes to even") << 15.5f << 254;
        QTest::newRow("15.7") << 15.7f << 254;
    }

    void ascendantAxisPointsLeft()
    {
        QFETCH(float, ascendant);
        QFETCH(int, rotation);
        ChartState state = quietChart();
        state.HouseCusps.fill(ascendant + 90.0f); // the other marks out of the way, below
        state.HouseCusps[0] = ascendant;
        state.OrientOnAscendant = kTrue;
        const QImage houses = drawn(state, Houses, 600);
        QCOMPARE(int(state.WheelRotation), rotation);
        const double tilt = std::abs(rotation + ascendant - 270.0);
        const Ink axis = inkOf(houses, QRect(60, 270, 110, 60)); // radius S/2.2 to S/5.2
        QCOMPARE_LT(std::abs(axis.centre.y() - 300.0), 0.05 + 240 * std::sin(qDegreesToRadians(tilt)));
        const Ink tip = inkOf(houses, QRect(0, 250, 6, 100));
        const Ink arms = inkOf(houses, QRect(38, 250, 4, 100));
        QCOMPARE_LT(tip.box.left(), 2);
        QCOMPARE_LT(tip.box.height(), 10);
        QCOMPARE_GT(arms.box.height(), 30);
    }

    // Longitude 0 at rotation 270 is 9 o'clock, 90 is 6 o'clock: the marker between the ring
    // and the glyph lies on the horizontal, then the vertical, through the centre (300, 300).
    void pointMarkersFollowTheAngleConvention()
    {
        for (const bool below : {false, true}) {
            ChartState state = quietChart();
            state.PlanetShown[0] = kTrue;
            state.Planets[0].Longitude = below ? 90.0f : 0.0f;
            const Ink ink = inkOf(drawn(state, Points, 600), below ? QRect(290, 492, 20, 15) : QRect(92, 290, 15, 20));
            QCOMPARE(int(state.WheelRotation), 270);
            QVERIFY(ink.mass > 10);
            QCOMPARE_LT(std::abs((below ? ink.centre.x() : ink.centre.y()) - 300.0), 0.05);
        }
    }

    // A hidden point draws nothing. A shown one's text starts at the same corner whatever its
    // speed; the retrograde mark comes before the letter, pushing it right.
    void pointGlyphsAndTheRetrogradeMark()
    {
        ChartState state = quietChart();
        state.Planets[23].Longitude = 90.0f;
        QCOMPARE(inkOf(drawn(state, Points, 600, ChartKind::Transits)).mass, 0.0);
        state.PlanetShown[23] = kTrue;
        auto glyphBox = [&](float speed) {
            state.Planets[23].Speed = speed;
            return inkOf(drawn(state, Points, 600, ChartKind::Transits), QRect(250, 550, 150, 50)).box;
        };
        const QRect direct = glyphBox(0.5f);
        QVERIFY(!direct.isEmpty());
        QCOMPARE(glyphBox(0.0f), direct);
        const QRect retrograde = glyphBox(-0.01f);
        QCOMPARE_LE(retrograde.left(), direct.left() + 3);
        QCOMPARE_GT(retrograde.right(), direct.right() + 20);
    }

    // Aries's glyph, at radius S/3.8 and 285 degrees less S/50, is A at S/19 as pictures and M
    // at S/16 as symbols, from the embedded font; the caption's font has Arabic.
    void signStyleChangesLettersAndSize()
    {
        const QPointF corner(300 + 600 / 3.8 * std::sin(qDegreesToRadians(285.0)) - 12,
                             300 + 600 / 3.8 * std::cos(qDegreesToRadians(285.0)) - 12);
        for (const bool pictures : {true, false}) {
            ChartState state = quietChart();
            state.ZodiacAsPictures = toFlag(pictures);
            const QImage signs = drawn(state, Signs, 600);
            const double pixels = 600.0 / (pictures ? 19 : 16);
            const QRect box = inkOf(signs, QRectF(corner, QSizeF(pixels, pixels)).toAlignedRect().adjusted(-4, -4, 4, 4)).box;
            const QImage reference = referenceGlyph(pictures ? u'A' : u'M', pixels, corner);
            QVERIFY2(shapeDifference(signs, box, reference, inkOf(reference).box) < 0.05, pictures ? "pictures" : "symbols");
        }
        QCOMPARE(QFontInfo(WheelPainter::glyphFont()).family(), kSymbolFontFamily);
        const QString caption = QFontInfo(WheelPainter::captionFont()).family();
        QVERIFY2(caption == QStringLiteral("DejaVu Sans") || caption == QStringLiteral("Noto Sans Arabic"),
                 qPrintable(caption));
    }

    // Everything but the houses in greys: without houses, or on the solar wheel, no pixel leans
    // to their magenta, and what they add changes only the pixels they cover.
    void houseMarksOnlyWhereAsked_data()
    {
        QTest::addColumn<ChartKind>("kind");
        QTest::addColumn<bool>("showHouses");
        QTest::newRow("natal with houses") << ChartKind::Natal << true;
        QTest::newRow("natal without houses") << ChartKind::Natal << false;
        QTest::newRow("solar even with houses") << ChartKind::Solar << true;
    }

    void houseMarksOnlyWhereAsked()
    {
        QFETCH(ChartKind, kind);
        QFETCH(bool, showHouses);
        const bool marked = showHouses && kind != ChartKind::Solar;
        ChartState state = busyChart();
        SwatchColors greys;
        greys.fill(0x808080);
        greys[0] = 0xFFFFFF;
        copySwatchColors(state, greys);
        state.ColorHouses = 0xFF00FF;
        state.ShowHouses = toFlag(showHouses);
        const QImage image = drawn(state, Whole, 500, kind);
        state.ShowHouses = kFalse;
        const QImage without = drawn(state, Whole, 500, kind);
        int leaning = 0, leaningWithout = 0, changedOtherwise = 0;
        for (int y = 0; y < 500; ++y) {
            for (int x = 0; x < 500; ++x) {
                const QRgb pixel = image.pixel(x, y), under = without.pixel(x, y);
                leaning += magenta(pixel) >= 40;
                leaningWithout += magenta(under) >= 40;
                changedOtherwise += pixel != under && magenta(pixel) < magenta(under);
            }
        }
        QCOMPARE(leaningWithout, 0);
        QCOMPARE(changedOtherwise, 0);
        QCOMPARE(leaning > 500, marked);
        QCOMPARE(image == without, !marked);
    }

    // Lower heaven at 9 o'clock, midheaven at 3, drawn with a margin: the ring's outermost point
    // is empty for the lower heaven and drawn for the midheaven; both rings have their sides.
    void lowerHeavenRingOpenOutsideMidheavenClosed()
    {
        ChartState state = quietChart();
        state.HouseCusps.fill(45.0f); // the other marks out of the way, lower left
        state.HouseCusps[3] = 0.0f;
        state.HouseCusps[9] = 180.0f;
        const QImage houses = drawn(state, Houses, 600, ChartKind::Natal, {}, 50);
        for (const int cusp : {3, 9}) {
            const double a = qDegreesToRadians(270.0 + state.HouseCusps[cusp]);
            const QPointF ring = QPointF(350, 350) + 600 / 2.15 * QPointF(std::sin(a), std::cos(a));
            auto inkAt = [&](double turn) {
                const QPointF p = ring + 30.0 * QPointF(std::sin(a + turn), std::cos(a + turn));
                return inkOf(houses, QRect(p.toPoint() - QPoint(2, 2), QSize(5, 5))).mass;
            };
            QVERIFY2((inkAt(0) > 0.5) == (cusp == 9), cusp == 9 ? "midheaven open" : "lower heaven closed");
            QCOMPARE_GT(inkAt(M_PI / 2), 0.5);
            QCOMPARE_GT(inkAt(-M_PI / 2), 0.5);
        }
    }

    // Each chord alone, in its kind's colour: the conjunction 8 pixels wide, the others one
    // (square dashed, opposition dotted: less ink per length). A cleared box draws nothing, yet
    // lists the line.
    void chordsByKindAndBox_data()
    {
        QTest::addColumn<Chord>("c");
        QTest::newRow("conjunction") << Chord{AspectKind::Conjunction, 9.0f, QColor(192, 0, 0), 8.0};
        QTest::newRow("sextile") << Chord{AspectKind::Sextile, 62.0f, QColor(0, 255, 0), 0.78};
        QTest::newRow("square") << Chord{AspectKind::Square, 91.0f, QColor(255, 0, 0), 0.56};
        QTest::newRow("opposition") << Chord{AspectKind::Opposition, 178.0f, QColor(128, 64, 0), 0.33};
        QTest::newRow("trine") << Chord{AspectKind::Trine, 236.0f, QColor(0, 0, 255), 0.78};
    }

    void chordsByKindAndBox()
    {
        QFETCH(Chord, c);
        const auto [kind, separation, colour, width] = c;
        ChartState state = quietChart();
        state.PlanetShown[0] = state.PlanetShown[1] = kTrue;
        state.Planets[0].Longitude = 10.0f;
        state.Planets[1].Longitude = 10.0f + separation;
        for (bool shown : {true, false}) {
            WheelAppearance appearance;
            appearance.chords[int(kind)] = shown;
            const QImage chord = drawn(state, Chords, 600, ChartKind::Natal, appearance);
            QCOMPARE(state.AspectLines.size(), std::size_t(1));
            QCOMPARE(int(state.AspectLineCount), 1);
            QVERIFY(QString::fromStdString(state.AspectLines[0]).contains(QString::fromUtf8(aspectWord(kind))));
            const Ink ink = inkOf(chord);
            if (!shown) {
                QCOMPARE(ink.mass, 0.0);
                continue;
            }
            const double length = 2 * 600 / 5.2 * std::sin(qDegreesToRadians(separation / 2));
            QCOMPARE_LT(std::abs(ink.mass / length / darkness(colour.rgb()) / width - 1), 0.15);
            // The ink is the colour's: each channel darkens in the colour's proportions.
            const std::array<int, 3> missing = {255 - colour.red(), 255 - colour.green(), 255 - colour.blue()};
            const double share = (ink.rgb[0] + ink.rgb[1] + ink.rgb[2]) / (missing[0] + missing[1] + missing[2]);
            for (int c = 0; c < 3; ++c)
                QCOMPARE_LT(std::abs(ink.rgb[c] / share - missing[c]), 3.0);
        }
    }

    // Each part drawn at S/2 lies at half the coordinates, at the same size relative to S.
    void halfSizeIsHalfTheCoordinates_data()
    {
        QTest::addColumn<int>("step");
        QTest::newRow("title and caption") << int(Title);
        QTest::newRow("zodiac ring") << int(Zodiac);
        QTest::newRow("points of both charts") << int(Points);
        QTest::newRow("sign glyphs") << int(Signs);
        QTest::newRow("aspect chords") << int(Chords);
        QTest::newRow("house marks") << int(Houses);
    }

    void halfSizeIsHalfTheCoordinates()
    {
        QFETCH(int, step);
        ChartState state = busyChart();
        const QImage full = drawn(state, Step(step), 800, ChartKind::Transits);
        const QImage half = drawn(state, Step(step), 400, ChartKind::Transits);
        QVERIFY(inkOf(full).mass > 0);
        QCOMPARE_LT(strayInk(full, half, 0.5, 1), 0.005);
        QCOMPARE_LT(strayInk(half, full, 2.0, 2), 0.005);
    }

    // A caption far wider than the band is elided before it is laid out: it costs no more
    // than one the band holds.
    void aLongCaptionIsElidedToTheBand_data()
    {
        QTest::addColumn<int>("letters");
        QTest::newRow("32,000 letters") << 32000;
        QTest::newRow("131,000 letters") << 131000;
    }

    void aLongCaptionIsElidedToTheBand()
    {
        QFETCH(int, letters);
        ChartState state = quietChart();
        QImage image(800, 800, QImage::Format_RGB32);
        QPainter p(&image);
        WheelPainter wheel(state, chartKindDescription(ChartKind::Natal), {}, 800);
        QElapsedTimer timer;
        timer.start();
        wheel.drawTitle(p, QSizeF(800, 800), QStringLiteral("هيئة ميلاد ل") + QString(letters, u'س'));
        QCOMPARE_LT(timer.elapsed(), 1500);
    }

    void backgroundPictureAtItsNaturalSizeOverTheBackgroundColour()
    {
        ChartState state = quietChart();
        state.ColorBackground = 0x00FF00;
        WheelAppearance appearance;
        appearance.background = QImage(50, 40, QImage::Format_RGB32);
        appearance.background.fill(Qt::red);
        QImage image(200, 200, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter p(&image);
        WheelPainter(state, chartKindDescription(ChartKind::Natal), appearance, 100).drawBackground(p, QSizeF(150, 120));
        QCOMPARE(image.pixelColor(49, 39), QColor(Qt::red));
        QCOMPARE(image.pixelColor(50, 39), QColor(Qt::green));
        QCOMPARE(image.pixelColor(149, 119), QColor(Qt::green));
        QCOMPARE(image.pixelColor(150, 119), QColor(Qt::white)); // outside the drawing area
    }

    void rightToLeftApplicationDrawsTheSameWheel()
    {
        ChartState state = busyChart();
        const QImage leftToRight = drawn(state, Whole, 500, ChartKind::Transits);
        QGuiApplication::setLayoutDirection(Qt::RightToLeft);
        const QImage rightToLeft = drawn(state, Whole, 500, ChartKind::Transits);
        QGuiApplication::setLayoutDirection(Qt::LeftToRight);
        QVERIFY(leftToRight == rightToLeft);
    }
};

QTEST_MAIN(WheelPainterTest)
#include "WheelPainterTest.moc"
