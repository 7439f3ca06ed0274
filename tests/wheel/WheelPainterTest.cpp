#include "wheel/WheelPainter.h"

#include "core/Appearance.h"
#include "core/Numbers.h"
#include "resources/VelmoraResources.h"

#include <QFontInfo>
#include <QGuiApplication>
#include <QElapsedTimer>
#include <QPainter>
#include <QPainterPath>
#include <QRawFont>
#include <QTest>
#include <QtMath>

#include <algorithm>

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
             const WheelAppearance& appearance = {}, int margin = 0,
             const QString& caption = QStringLiteral("هيئة ميلاد ل2000/3/1   0:15"))
{
    QImage image(side + 2 * margin, side + 2 * margin, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    p.translate(margin, margin);
    const WheelModel model = wheelModelOf(state, kind);
    applyWheelModel(state, model);
    const WheelPainter wheel(state, model, chartKindDescription(kind), appearance, side);
    const QSizeF area(side, side);
    // At the designed radii: the scale that keeps the marks in the picture undone.
    const double f = wheel.layout().scale;
    p.translate(side / 2.0, side / 2.0);
    p.scale(1.0 / f, 1.0 / f);
    p.translate(-side / 2.0, -side / 2.0);
    switch (step) {
    case Title: wheel.drawTitle(p, area, caption); break;
    case Zodiac: wheel.drawZodiac(p); break;
    case Points: wheel.drawPoints(p); break;
    case Signs: wheel.drawSignGlyphs(p); break;
    case Chords: wheel.drawAspects(p); break;
    case Houses: wheel.drawHouses(p); break;
    case Whole: wheel.draw(p, area, caption); break;
    }
    return image;
}

// Glyphs at their exact degrees, whatever marks or glyphs they meet.
const WheelAppearance kExactDegrees{{true, true, true, true, true}, QImage(), false};

// 0 for white, 1 for black.
double darkness(QRgb pixel)
{
    return 1.0 - (qRed(pixel) + qGreen(pixel) + qBlue(pixel)) / 765.0;
}

// What is drawn on white in a region: its darkness, darkness-weighted centre, bounding box, and
// how much it darkens each channel.
struct Ink {
    double mass = 0.0;
    QPointF centre;
    QRect box;
    std::array<double, 3> rgb{};
};

// Calls f(x, y) for each pixel of a region, row by row.
template <typename F>
void eachPixel(const QRect& region, F f)
{
    for (int i = 0; i < region.width() * region.height(); ++i)
        f(region.left() + i % region.width(), region.top() + i / region.width());
}

Ink inkOf(const QImage& image, QRect region = {})
{
    Ink ink;
    QPointF sum;
    region = region.isNull() ? image.rect() : region;
    eachPixel(region, [&](int x, int y) {
        const QRgb pixel = image.pixel(x, y);
        const double w = darkness(pixel);
        if (w > 0.02) {
            ink.mass += w;
            sum += w * QPointF(x + 0.5, y + 0.5);
            ink.box |= QRect(x, y, 1, 1);
            ink.rgb[0] += 255 - qRed(pixel), ink.rgb[1] += 255 - qGreen(pixel), ink.rgb[2] += 255 - qBlue(pixel);
        }
    });
    ink.centre = ink.mass > 0 ? sum / ink.mass : QPointF();
    return ink;
}

// A symbol-font letter from the font file, its corner at the same fraction of a pixel as `corner`.
QImage referenceGlyph(QChar letter, double pixels, const QPointF& corner)
{
    const QRawFont font(kSymbolFontFile, pixels);
    QImage image(int(pixels * 2), int(pixels * 2), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const QPointF phase(corner.x() - std::floor(corner.x()), corner.y() - std::floor(corner.y()));
    const QPainterPath glyph = font.pathForGlyph(font.glyphIndexesForString(letter).value(0));
    p.fillPath(glyph.translated(phase + QPointF(4, 4 + font.ascent())), Qt::black);
    return image;
}

// The share of `from`'s inked pixels with no ink of `to` within `reach` of their place scaled.
double strayInk(const QImage& from, const QImage& to, double scale, int reach)
{
    auto inked = [](const QImage& image, int x, int y) {
        return image.rect().contains(x, y) && darkness(image.pixel(x, y)) > 0.1;
    };
    int total = 0, stray = 0;
    eachPixel(from.rect(), [&](int x, int y) {
        if (!inked(from, x, y))
            return;
        const QPoint at((x + 0.5) * scale, (y + 0.5) * scale);
        bool near = false;
        eachPixel(QRect(at - QPoint(reach, reach), at + QPoint(reach, reach)),
                  [&](int u, int v) { near = near || inked(to, u, v); });
        ++total;
        stray += !near;
    });
    return double(stray) / qMax(total, 1);
}

// A chart whose points crowd: `longitudes` for the first slots of each ring (NaN: hidden), the
// rest hidden; every third retrograde; oriented on an ascendant at 17 unless Aries starts it.
struct Crowd {
    ChartKind kind;
    std::vector<float> first;
    std::vector<float> second;
    bool aries;
    int side;
};

ChartState crowdedChart(const Crowd& crowd)
{
    ChartState state = quietChart();
    for (std::size_t i = 0; i < crowd.first.size() + crowd.second.size(); ++i) {
        const bool second = i >= crowd.first.size();
        const int slot = second ? kSecondChartBase + int(i - crowd.first.size()) : int(i);
        const float longitude = second ? crowd.second[i - crowd.first.size()] : crowd.first[i];
        state.PlanetShown[slot] = toFlag(!std::isnan(longitude));
        state.Planets[slot].Longitude = longitude;
        state.Planets[slot].Speed = slot % 3 == 1 ? -0.2f : 0.9f;
    }
    for (int cusp = 0; cusp < 12; ++cusp)
        state.HouseCusps[cusp] = std::fmod(17.0f + 30.0f * cusp, 360.0f);
    state.OrientOnAscendant = toFlag(!crowd.aries);
    return state;
}

// The distance from a point to a segment.
double distanceTo(const QPointF& p, const QLineF& line)
{
    const QPointF d = line.p2() - line.p1();
    const double length2 = QPointF::dotProduct(d, d);
    const double t = length2 > 0 ? qBound(0.0, QPointF::dotProduct(p - line.p1(), d) / length2, 1.0) : 0.0;
    return QLineF(p, line.p1() + t * d).length();
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
        const QRect tip = inkOf(houses, QRect(0, 250, 6, 100)).box;
        QCOMPARE_LT(tip.left(), 2);
        QCOMPARE_LT(tip.height(), 10);
        QCOMPARE_GT(inkOf(houses, QRect(38, 250, 4, 100)).box.height(), 30); // the arms
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
            return inkOf(drawn(state, Points, 600, ChartKind::Transits, kExactDegrees), QRect(250, 550, 150, 50)).box;
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
            const Ink reference = inkOf(referenceGlyph(pictures ? u'A' : u'M', pixels, corner)), ink = inkOf(signs, box);
            QVERIFY2(std::abs(box.width() - reference.box.width()) <= 1 && std::abs(box.height() - reference.box.height()) <= 1 &&
                         std::abs(ink.mass / reference.mass - 1) < 0.03, pictures ? "pictures" : "symbols");
        }
        const QString caption = QFontInfo(WheelPainter::captionFont()).family();
        QVERIFY2(caption == QStringLiteral("DejaVu Sans") || caption == QStringLiteral("Noto Sans Arabic"),
                 qPrintable(caption));
    }

    // Everything but the houses in greys: without houses no pixel leans to their magenta; with
    // them many do. The solar wheel's none: FrmChartTest's eachKind.
    void houseMarksOnlyWhereAsked()
    {
        ChartState state = busyChart();
        SwatchColors greys;
        greys.fill(0x808080);
        greys[0] = 0xFFFFFF;
        copySwatchColors(state, greys);
        state.ColorHouses = 0xFF00FF;
        const QImage image = drawn(state, Whole, 500, ChartKind::Natal, kExactDegrees);
        state.ShowHouses = kFalse;
        const QImage without = drawn(state, Whole, 500, ChartKind::Natal, kExactDegrees);
        auto leaning = [](const QImage& image) { // pixels with red and blue over green
            int n = 0;
            eachPixel(image.rect(), [&](int x, int y) {
                const QRgb c = image.pixel(x, y);
                n += qMin(qRed(c), qBlue(c)) - qGreen(c) >= 40;
            });
            return n;
        };
        QCOMPARE(leaning(without), 0);
        QCOMPARE_GT(leaning(image), 500);
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

    // Crowded charts spread: no glyph box meets another; every box and mark lies in the picture
    // below the band; markers keep their exact degrees, glyphs their order along each ring; the
    // ink of the drawn points lies in the reported boxes or on markers and connectors. Spreading
    // off puts the glyphs back on their degrees.
    void crowdedWheelsReadAtAGlance_data()
    {
        QTest::addColumn<Crowd>("crowd");
        const float none = NAN;
        QTest::newRow("stellium of seven within 20 degrees")
            << Crowd{ChartKind::Natal, {300, 303, 305, 309, 312, 316, 319, 120, 200, none, 45, 301}, {}, false, 443};
        QTest::newRow("transits wheel")
            << Crowd{ChartKind::Transits, {10, 14, 18, 95, 100, 180, 183, 186, 260, 262, 300, 330},
                     {12, 16, 20, 97, 102, 181, 184, 270, 261, 300, 302, 331}, false, 1000};
        QTest::newRow("comparison wheel")
            << Crowd{ChartKind::Comparison, {40, 42, 44, 46, 150, 152, 154, 230, 232, 234, 290, 292},
                     {41, 43, 45, 151, 153, 231, 233, 235, 291, 293, 295, 297}, false, 443};
        QTest::newRow("cluster across 0 Aries")
            << Crowd{ChartKind::Natal, {356, 358, 359.5f, 0.5f, 2, 3.5f, none, none, none, none, none, none}, {}, true, 443};
        QTest::newRow("conjunction within 0.1 degree")
            << Crowd{ChartKind::Natal, {100.0f, 100.08f, none, none, none, none, none, none, none, none, none, none}, {}, true, 1000};
    }

    void crowdedWheelsReadAtAGlance()
    {
        QFETCH(Crowd, crowd);
        ChartState state = crowdedChart(crowd);
        const WheelModel model = wheelModelOf(state, crowd.kind);
        const double side = crowd.side;
        const QPointF centre(side / 2, side / 2);
        for (const bool spread : {true, false}) {
            WheelAppearance appearance;
            appearance.spread = spread;
            const WheelPainter wheel(state, model, chartKindDescription(crowd.kind), appearance, side);
            const WheelLayout& layout = wheel.layout();
            const double w = layout.wheel();
            QCOMPARE_LE(layout.scale, 1.0);
            QCOMPARE(int(layout.points.size()), int(std::count(state.PlanetShown.begin(), state.PlanetShown.begin() + chartKindDescription(crowd.kind).lastPoint + 1, kTrue)));
            QCOMPARE(int(layout.marks.size()), 4);
            const QRectF inside(0, layout.captionBand.bottom(), side, side - layout.captionBand.bottom());
            for (const MarkLayout& mark : layout.marks)
                QVERIFY2(inside.adjusted(-1e-9, -1e-9, 1e-9, 1e-9).contains(mark.box), mark.name);
            for (const PointLayout& p : layout.points) {
                const QString slot = QStringLiteral("slot %1").arg(p.slot);
                QVERIFY2(inside.adjusted(-1e-9, -1e-9, 1e-9, 1e-9).contains(p.glyphBox), qPrintable(slot));
                const double exact = qDegreesToRadians(layout.rotation + p.longitude);
                const double k = p.second ? 2.3 : 2.5;
                for (const auto& [end, radius] : {std::pair{p.marker.p1(), w / 5.2}, std::pair{p.marker.p2(), w / (k + 0.1)}}) {
                    const QPointF expected = centre + radius * QPointF(std::sin(exact), std::cos(exact));
                    QVERIFY2(QLineF(end, expected).length() < 1e-6, qPrintable(slot));
                }
                if (!spread) {
                    QVERIFY2(!p.connector, qPrintable(slot));
                    const QPointF corner = centre + w / k * QPointF(std::sin(exact), std::cos(exact)) - QPointF(w / 50, w / 50);
                    QVERIFY2(QLineF(p.corner, corner).length() < 1e-6, qPrintable(slot));
                    continue;
                }
                if (p.connector) {
                    QCOMPARE(p.connector->p1(), p.marker.p2());
                    QVERIFY2(p.glyphBox.adjusted(-1e-6, -1e-6, 1e-6, 1e-6).contains(p.connector->p2()), qPrintable(slot));
                }
                for (const PointLayout& q : layout.points) // the order along a ring: GlyphSpreadingTest
                    QVERIFY2(q.slot <= p.slot || !p.glyphBox.intersects(q.glyphBox), qPrintable(slot + QStringLiteral(" meets %1").arg(q.slot)));
            }
            if (!spread)
                continue;
            // What the points step draws, on white; where the markers meet the inner disc their
            // faint edges add up.
            QImage image(side, side, QImage::Format_RGB32);
            image.fill(Qt::white);
            QPainter painter(&image);
            wheel.drawPoints(painter);
            painter.end();
            int stray = 0;
            eachPixel(image.rect(), [&](int x, int y) {
                const QPointF at(x + 0.5, y + 0.5);
                bool explained = darkness(image.pixel(x, y)) < 0.1;
                for (const PointLayout& p : layout.points)
                    explained = explained || p.glyphBox.adjusted(-0.5, -0.5, 0.5, 0.5).contains(at) ||
                                distanceTo(at, p.marker) < 2 || (p.connector && distanceTo(at, *p.connector) < 2);
                stray += !explained;
            });
            QCOMPARE(stray, 0);
            for (const PointLayout& p : layout.points)
                QVERIFY2(inkOf(image, p.glyphBox.toAlignedRect() & image.rect()).mass > 10, qPrintable(QString::number(p.slot)));
        }
    }

    // Each chord alone, in its kind's colour: the conjunction 8 pixels wide, the others one
    // (square dashed, opposition dotted: less ink per length). A cleared box draws nothing.
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
        const Ink ink = inkOf(drawn(state, Chords, 600)); // every box ticked
        const double length = 2 * 600 / 5.2 * std::sin(qDegreesToRadians(separation / 2));
        QCOMPARE_LT(std::abs(ink.mass / length / darkness(colour.rgb()) / width - 1), 0.15);
        // The ink is the colour's: each channel darkens in the colour's proportions.
        const std::array<int, 3> missing = {255 - colour.red(), 255 - colour.green(), 255 - colour.blue()};
        const double share = (ink.rgb[0] + ink.rgb[1] + ink.rgb[2]) / (missing[0] + missing[1] + missing[2]);
        for (int c = 0; c < 3; ++c)
            QCOMPARE_LT(std::abs(ink.rgb[c] / share - missing[c]), 3.0);
        WheelAppearance cleared;
        cleared.chords[int(kind)] = false;
        QCOMPARE(inkOf(drawn(state, Chords, 600, ChartKind::Natal, cleared)).mass, 0.0);
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
        QElapsedTimer timer;
        timer.start();
        drawn(state, Title, 800, ChartKind::Natal, {}, 0, QStringLiteral("هيئة ميلاد ل") + QString(letters, u'س'));
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
        WheelPainter(state, WheelModel(), chartKindDescription(ChartKind::Natal), appearance, 100).drawBackground(p, QSizeF(150, 120));
        QCOMPARE(image.pixelColor(49, 39), QColor(Qt::red));
        QCOMPARE(image.pixelColor(50, 39), QColor(Qt::green));
        QCOMPARE(image.pixelColor(149, 119), QColor(Qt::green));
        QCOMPARE(image.pixelColor(150, 119), QColor(Qt::white)); // outside the drawing area

        // Over a picture, dark glyphs stand on a light halo; without one they have none.
        state.PlanetShown[0] = kTrue;
        for (const WheelAppearance& look : {appearance, WheelAppearance()}) {
            const bool picture = !look.background.isNull();
            QImage dark(400, 400, QImage::Format_RGB32);
            dark.fill(Qt::black);
            QPainter painter(&dark);
            const WheelPainter wheel(state, WheelModel(), chartKindDescription(ChartKind::Natal), look, 400);
            wheel.drawPoints(painter);
            painter.end();
            int light = 0;
            const QRect box = wheel.layout().points.at(0).glyphBox.toAlignedRect();
            eachPixel(box, [&](int x, int y) { light += darkness(dark.pixel(x, y)) < 0.3; });
            QVERIFY2((light > 20) == picture, picture ? "no halo" : "a halo without a picture");
        }
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
