#pragma once

#include "core/Analysis.h"
#include "core/Aspects.h"
#include "core/ChartState.h"
#include "ui/chart/ChartKindDescription.h"

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

// What one drawing found: the aspects (also written into the state's aspect list) and the
// analysis of the chart, for the window's information panel.
struct WheelDrawing {
    std::vector<Aspect> aspects;
    ChartAnalysis analysis;
};

// Draws a chart wheel on any QPainter (a window's image, a QImage, SVG, PDF). Lengths are
// logical pixels. The wheel fills the square of side S at (0, 0), centre (S/2, S/2); a point at
// radius r and screen angle a (degrees, a = WheelRotation + longitude) lies at
// (c + r sin a, c + r cos a), so 270 is 9 o'clock and longitudes run counter-clockwise. The
// drawing is always left to right, whatever the application's layout direction.
//
// Drawing writes WheelRotation and the aspect list into the state it is given (the shared state
// or a window's own copy); the kind and the appearance are copied.
class WheelPainter final {
public:
    // S at or below 0, or not a number, draws at S = 1.
    WheelPainter(ChartState& state, const ChartKindDescription& kind,
                 const WheelAppearance& appearance, double size);

    // The whole chart in a chart window's order: rotation, background, title band and caption,
    // zodiac ring, points, sign glyphs, aspect chords (then the analysis), house marks. `area`
    // is the drawing area W x H: the background fills it and the title band is W by H/20.
    WheelDrawing draw(QPainter& painter, const QSizeF& area, const QString& caption);

    // The steps of draw(), for pictures of part of a wheel. Each sets up and restores the
    // painter itself. The steps that place points use the state's WheelRotation: call
    // updateRotation() first.
    void updateRotation();
    void drawBackground(QPainter& painter, const QSizeF& area) const;
    void drawTitle(QPainter& painter, const QSizeF& area, const QString& caption) const;
    void drawZodiac(QPainter& painter) const; // ring, sign boundaries, 10° ticks, inner disc
    void drawPoints(QPainter& painter) const;
    void drawSignGlyphs(QPainter& painter) const;
    std::vector<Aspect> drawAspects(QPainter& painter); // finds them, rebuilding the list
    void drawHouses(QPainter& painter) const;

    // The point at radius r and screen angle a (degrees).
    QPointF at(double r, double a) const;

    // The fonts the text is drawn in, at a reference size: the glyphs always in the embedded
    // symbol font, the caption in "Arabic Transparent" or a font with Arabic that stands in.
    static QFont glyphFont();
    static QFont captionFont();

private:
    ChartState& m_state;
    ChartKindDescription m_kind;
    WheelAppearance m_appearance;
    double m_size;
};

} // namespace velmora::ui
