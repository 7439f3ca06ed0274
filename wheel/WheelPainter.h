#pragma once

#include "core/Aspects.h"
#include "core/ChartState.h"
#include "core/WheelModel.h"
#include "wheel/ChartKindDescription.h"
#include "wheel/WheelLayout.h"

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
    // Drawn at (0, 0) at its natural size over the background colour; null for none. Over a
    // picture the point glyphs get a light halo.
    QImage background;
    // Whether crowded point glyphs move apart along their ring (the dialog's spreading box).
    bool spread = true;
};

// Draws a chart wheel on any QPainter (a window's image, a QImage, SVG, PDF). Lengths are
// logical pixels. The wheel fills the square of side S at (0, 0), centre (S/2, S/2); a point at
// radius r and screen angle a (degrees, a = WheelRotation + longitude) lies at
// (c + r sin a, c + r cos a), so 270 is 9 o'clock and longitudes run counter-clockwise. The
// drawing is always left to right, whatever the application's layout direction.
//
// The rotation and the aspects come from the wheel model of the chart (wheelModelOf); the
// painter changes neither the chart nor the model, which must outlive it. The kind and the
// appearance are copied. Everything is drawn from the wheel's layout (wheelLayoutOf), which
// may scale all radii down so that every glyph and mark lies in the square below the band.
class WheelPainter final {
public:
    // S at or below 0, or not a number, draws at S = 1. `band` is the height of the title band
    // the picture will have, at least S/20.
    WheelPainter(const ChartState& state, const WheelModel& model,
                 const ChartKindDescription& kind, const WheelAppearance& appearance,
                 double size, double band = 0.0);

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

    const WheelLayout& layout() const { return m_layout; }

    // The fonts the text is drawn in, at a reference size: the glyphs always in the embedded
    // symbol font, the caption in "Arabic Transparent" or a font with Arabic that stands in.
    static QFont glyphFont();
    static QFont captionFont();
    // The ink of a symbol-font text at em size `pixels`, about its top-left corner.
    static QRectF glyphBounds(const QString& text, double pixels);

private:
    const ChartState& m_state;
    const WheelModel& m_model;
    ChartKindDescription m_kind;
    WheelAppearance m_appearance;
    double m_size;
    WheelLayout m_layout;
};

} // namespace velmora::ui
