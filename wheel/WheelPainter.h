#pragma once

#include "core/Aspects.h"
#include "core/ChartState.h"
#include "core/WheelModel.h"
#include "wheel/ChartKindDescription.h"

#include <QFont>
#include <QImage>
#include <QPointF>
#include <QSizeF>
#include <QString>

#include <array>
#include <vector>

class QPainter;

namespace velmora::ui {

// What a chart window shows of the appearance settings that the chart state does not hold.
struct WheelAppearance {
    // Whether the chord of each aspect kind is drawn, by AspectKind (the dialog's Aspect boxes).
    std::array<bool, kAspectKindCount> chords{true, true, true, true, true};
    // Drawn at (0, 0) at its natural size over the background colour; null for none.
    QImage background;
};

// Draws a chart wheel on any QPainter (a window's image, a QImage, SVG, PDF). Lengths are
// logical pixels. The wheel fills the square of side S at (0, 0), centre (S/2, S/2); a point at
// radius r and screen angle a (degrees, a = WheelRotation + longitude) lies at
// (c + r sin a, c + r cos a), so 270 is 9 o'clock and longitudes run counter-clockwise. The
// drawing is always left to right, whatever the application's layout direction.
//
// The rotation and the aspects come from the wheel model of the chart (wheelModelOf); the
// painter changes neither the chart nor the model, which must outlive it. The kind and the
// appearance are copied.
class WheelPainter final {
public:
    // S at or below 0, or not a number, draws at S = 1.
    WheelPainter(const ChartState& state, const WheelModel& model,
                 const ChartKindDescription& kind, const WheelAppearance& appearance,
                 double size);

    // The whole chart in a chart window's order: background, title band and caption, zodiac
    // ring, points, sign glyphs, aspect chords, house marks. `area` is the drawing area W x H:
    // the background fills it and the title band is W by H/20.
    void draw(QPainter& painter, const QSizeF& area, const QString& caption) const;

    // The steps of draw(), for pictures of part of a wheel. Each sets up and restores the
    // painter itself.
    void drawBackground(QPainter& painter, const QSizeF& area) const;
    void drawTitle(QPainter& painter, const QSizeF& area, const QString& caption) const;
    void drawZodiac(QPainter& painter) const; // ring, sign boundaries, 10° ticks, inner disc
    void drawPoints(QPainter& painter) const;
    void drawSignGlyphs(QPainter& painter) const;
    void drawAspects(QPainter& painter) const;
    void drawHouses(QPainter& painter) const;

    // The point at radius r and screen angle a (degrees).
    QPointF at(double r, double a) const;

    // The fonts the text is drawn in, at a reference size: the glyphs always in the embedded
    // symbol font, the caption in "Arabic Transparent" or a font with Arabic that stands in.
    static QFont glyphFont();
    static QFont captionFont();

private:
    const ChartState& m_state;
    const WheelModel& m_model;
    ChartKindDescription m_kind;
    WheelAppearance m_appearance;
    double m_size;
};

} // namespace velmora::ui
