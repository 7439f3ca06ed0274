#include "ui/settings/ColorSample.h"

#include "core/Numbers.h"
#include "wheel/ColorValue.h"
#include "wheel/WheelPainter.h"

#include <QLineF>
#include <QPainter>

#include <cmath>

namespace velmora::ui {

namespace {

// The wheel the section is cut from: its side S in pixels and where its centre falls in the
// picture. Only its right half shows, leaving room for the lead lines on the right.
constexpr double kWheel = 500.0;
const QPointF kCentre(20.0, 300.0);

// Drawn with Aries at 9 o'clock, so a screen angle a (0 at 6 o'clock, 90 at 3 o'clock) is the
// longitude a - 270.
constexpr int kRotation = 270;

struct SamplePoint {
    int slot;
    double angle; // screen angle, degrees
};

// The first chart's Sun makes one aspect of each other kind with a point of the second chart;
// the Moon is in conjunction with one; Mercury makes none.
constexpr SamplePoint kPoints[] = {
    {0, 160}, {1, 20}, {2, 60},
    {12, 100}, {13, 40}, {14, 70}, {15, 340}, {16, 28},
};

// Equal houses; the descendant is at screen angle kAscendant - 180.
constexpr double kAscendant = 260.0;

ChartState sampleChart(const SwatchColors& colours)
{
    ChartState state;
    copySwatchColors(state, colours);
    state.OrientOnAscendant = kFalse;
    state.ShowHouses = kTrue;
    state.ZodiacAsPictures = kTrue;
    state.PlanetShown.fill(kFalse);
    state.PlanetInAspects.fill(kTrue);
    for (const SamplePoint& point : kPoints) {
        state.PlanetShown[point.slot] = kTrue;
        state.Planets[point.slot].Longitude =
            static_cast<float>(std::fmod(point.angle - kRotation + 360.0, 360.0));
        state.Planets[point.slot].Speed = 1.0f;
    }
    for (int cusp = 0; cusp < kPointsPerChart; ++cusp)
        state.HouseCusps[cusp] =
            static_cast<float>(std::fmod(kAscendant + 30.0 * cusp - kRotation + 360.0, 360.0));
    setOrbs(state, {9, 2, 2, 2, 2});
    return state;
}

} // namespace

QImage colorSample(const SwatchColors& colours, int swatchPitch)
{
    QImage image(kColorSampleSize, QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&image);

    const ChartState state = sampleChart(colours);
    const WheelModel model = wheelModelOf(state, ChartKind::Transits);
    const WheelPainter wheel(state, model, chartKindDescription(ChartKind::Transits),
                             WheelAppearance(), kWheel);
    wheel.drawBackground(painter, QSizeF(kColorSampleSize));
    const QPointF shift = kCentre - QPointF(kWheel / 2.0, kWheel / 2.0);
    painter.translate(shift);
    wheel.drawZodiac(painter);
    wheel.drawPoints(painter);
    wheel.drawSignGlyphs(painter);
    wheel.drawAspects(painter);
    const std::vector<Aspect>& aspects = model.aspects;
    wheel.drawHouses(painter);
    painter.resetTransform();

    // Radii are fractions of S as the wheel draws them: the inner disc 1/5.2, the ring's outer
    // edge 1/3.2, the first chart's glyphs 1/2.5 and the second chart's 1/2.3.
    auto on = [&](double radius, double angle) { return wheel.at(radius * kWheel, angle) + shift; };
    auto pointAngle = [&](int slot) {
        return model.rotation + static_cast<double>(state.Planets[slot].Longitude);
    };
    // From where a point's glyph is placed to the middle of its ink.
    const QPointF glyphMiddle(1.0, 4.0);
    // A point a fraction t along the chord of an aspect kind, from its first-chart end.
    auto along = [&](AspectKind kind, double t) {
        for (const Aspect& aspect : aspects) {
            if (aspect.kind == kind)
                return QLineF(on(1 / 5.2, aspect.angleA), on(1 / 5.2, aspect.angleB)).pointAt(t);
        }
        return QPointF();
    };

    // Where each swatch's lead line starts, in swatch order.
    const QPointF anchors[] = {
        on(0.6, 135),                                     // background
        on(0.295, 153),                                   // zodiac, between a boundary and a glyph
        along(AspectKind::Sextile, 0.5),
        along(AspectKind::Trine, 0.3),
        along(AspectKind::Square, 0.55),
        along(AspectKind::Opposition, 0.4),
        on(1 / 3.2, 95),                                  // the ring's outer outline
        on(0.34, kAscendant - 180),                       // the descendant's line
        on(1 / 2.5, pointAngle(2)) + glyphMiddle,         // first chart's Mercury
        along(AspectKind::Conjunction, 0.5),
        on(1 / 2.3, pointAngle(16)) + glyphMiddle,        // second chart's Mars
    };
    static_assert(sizeof(anchors) / sizeof(anchors[0]) == kSwatchCount - 1,
                  "every swatch the OK button copies has its lead line");
    auto target = [&](int swatch) {
        return QPointF(kColorSampleSize.width() - 0.5, (swatch + 0.5) * swatchPitch);
    };

    painter.setRenderHint(QPainter::Antialiasing);
    const QColor lead(70, 70, 90);
    // A band of the chart's background under each lead line keeps it readable over the wheel.
    QColor halo = colorFromValue(colours[0]);
    halo.setAlpha(190);
    for (int i = 0; i < kSwatchCount - 1; ++i) {
        const QLineF line(anchors[i], target(i));
        painter.setPen(QPen(halo, 3.0, Qt::SolidLine, Qt::RoundCap));
        painter.drawLine(line);
        painter.setPen(QPen(lead, 1.0));
        painter.drawLine(line);
        painter.setPen(QPen(halo, 1.0));
        painter.setBrush(lead);
        painter.drawEllipse(anchors[i], 3.0, 3.0);
    }
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(QColor(160, 160, 160));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(image.rect().adjusted(0, 0, -1, -1));
    return image;
}

} // namespace velmora::ui
