#pragma once

#include "core/ChartState.h"
#include "core/WheelModel.h"
#include "wheel/ChartKindDescription.h"

#include <QByteArray>
#include <QLineF>
#include <QRectF>
#include <QString>

#include <optional>
#include <vector>

namespace velmora::ui {

// Where one shown point is drawn, in picture pixels (y down).
struct PointLayout {
    int slot = 0;
    double longitude = 0.0;
    bool second = false; // of the second chart's ring
    double angle = 0.0;  // screen degrees of its glyph: its exact degree unless spread
    QString text;        // the retrograde mark and the letter
    QPointF corner;      // the text's top-left corner
    double pixels = 0.0; // the text's em size
    QRectF glyphBox;     // all the glyph's ink, mark and halo included
    QLineF marker;       // on the exact degree, from the inner disc out
    std::optional<QLineF> connector; // from the marker's end to a moved glyph
};

// One of the four angle marks: its end symbol, without its axis line.
struct MarkLayout {
    const char* name; // "ascendant", "descendant", "midheaven", "lowerheaven"
    int cusp;
    QRectF box;
};

// What a wheel draws where. Every radius is a fraction of wheel() = scale * size about the
// centre (size / 2, size / 2): scale is 1 unless the designed radii would put a glyph or a mark
// outside the size x size square or into the caption band, and then the largest that keeps
// them all in.
struct WheelLayout {
    double size = 1.0;
    double scale = 1.0;
    int rotation = 270;
    QRectF captionBand;
    std::vector<PointLayout> points;
    std::vector<MarkLayout> marks;

    QPointF centre() const { return {size / 2.0, size / 2.0}; }
    double wheel() const { return scale * size; }
};

// `band` is the caption band's height, at least size / 20. With `spread`, the glyphs of each
// ring move apart along it until none meets another, a glyph of the other ring or an angle mark.
WheelLayout wheelLayoutOf(const ChartState& state, const WheelModel& model,
                          const ChartKindDescription& kind, bool spread, double size,
                          double band);

// The layout as JSON: size, centre, scale, rotation, caption band, points and marks.
QByteArray layoutJson(const WheelLayout& layout);

} // namespace velmora::ui
