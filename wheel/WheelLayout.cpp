#include "wheel/WheelLayout.h"

#include "core/ChartComputation.h"
#include "core/GlyphSpreading.h"
#include "core/Numbers.h"
#include "wheel/WheelPainter.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>
#include <cmath>
#include <initializer_list>

namespace velmora::ui {

namespace {

const QString kPointLetters = QStringLiteral("abcdefghijln");
const QString kRetrogradeMark = QStringLiteral("r");

struct Ring {
    bool second;
    double k; // glyphs at S/k, markers out to S/(k + 0.1)
};

double sinDegrees(double a)
{
    return std::sin(a * std::atan(1.0) / 45.0);
}

double cosDegrees(double a)
{
    return std::cos(a * std::atan(1.0) / 45.0);
}

// The wheel's angle convention about the centre of a side-s square.
QPointF at(double side, double r, double a)
{
    const double c = side / 2.0;
    return {c + r * sinDegrees(a), c + r * cosDegrees(a)};
}

QRectF boundsOf(std::initializer_list<QPointF> points, double pad)
{
    QPointF low = *points.begin();
    QPointF high = low;
    for (const QPointF& p : points) {
        low = {std::min(low.x(), p.x()), std::min(low.y(), p.y())};
        high = {std::max(high.x(), p.x()), std::max(high.y(), p.y())};
    }
    return QRectF(low, high).adjusted(-pad, -pad, pad, pad);
}

// A box about the centre scaled by f.
QRectF scaled(const QRectF& box, QPointF centre, double f)
{
    return {centre + f * (box.topLeft() - centre), f * box.size()};
}

SpreadItem itemOf(double angle, double radius, const QRectF& box, QPointF anchor, bool fixed)
{
    const QRectF around = box.translated(-anchor);
    return {angle, radius, {around.left(), around.top(), around.right(), around.bottom()}, fixed};
}

// The end symbols of the angle marks as the painter draws them at wheel size s: the
// ascendant's chevrons, the descendant's fletching, the two rings of radius s/20.
void addMarks(WheelLayout& layout, const ChartState& state, double s,
              std::vector<SpreadItem>& items)
{
    const double side = layout.size;
    auto p = [&](double r, double a) { return at(side, s / r, a); };
    // Lines one pixel wide, the lower heaven's dots whole pixels: a pixel around, or s/400
    // from s = 400 on so that the layout scales with s.
    const double pad = std::max(1.0, s / 400.0);
    for (const int cusp : {0, 6, 9, 3}) {
        const double a = layout.rotation + static_cast<double>(angleLongitude(state, 0, cusp));
        QRectF box;
        double anchor = 0.0;
        const char* name = "";
        switch (cusp) {
        case 0:
            name = "ascendant";
            anchor = 2.2;
            box = boundsOf({p(2.2, a), p(2.4, a - 5), p(2.4, a + 5), p(2.0, a)}, pad);
            break;
        case 6:
            name = "descendant";
            anchor = 2.2;
            box = boundsOf({p(2.4, a), p(2.2, a - 4), p(2.2, a + 4), p(2.1, a - 4), p(2.1, a + 4),
                            p(2.2, a)},
                           pad);
            break;
        default: {
            name = cusp == 9 ? "midheaven" : "lowerheaven";
            anchor = 2.15;
            const QPointF centre = p(2.15, a);
            const double r = s / 20 + pad;
            box = QRectF(centre - QPointF(r, r), centre + QPointF(r, r));
            break;
        }
        }
        layout.marks.push_back({name, cusp, box});
        items.push_back(itemOf(a, s / anchor, box, p(anchor, a), true));
    }
}

// Where the connector from a marker's end meets its glyph's box, heading for the box's middle.
std::optional<QLineF> connectorTo(QPointF from, const QRectF& box)
{
    if (box.contains(from))
        return std::nullopt;
    const QPointF d = box.center() - from;
    double enter = 0.0;
    if (from.x() < box.left())
        enter = std::max(enter, (box.left() - from.x()) / d.x());
    else if (from.x() > box.right())
        enter = std::max(enter, (box.right() - from.x()) / d.x());
    if (from.y() < box.top())
        enter = std::max(enter, (box.top() - from.y()) / d.y());
    else if (from.y() > box.bottom())
        enter = std::max(enter, (box.bottom() - from.y()) / d.y());
    return QLineF(from, from + enter * d);
}

QJsonArray pair(QPointF p)
{
    return {p.x(), p.y()};
}

QJsonArray corners(const QRectF& box)
{
    return {box.left(), box.top(), box.right(), box.bottom()};
}

QJsonArray segment(const QLineF& line)
{
    return {pair(line.p1()), pair(line.p2())};
}

} // namespace

WheelLayout wheelLayoutOf(const ChartState& state, const WheelModel& model,
                          const ChartKindDescription& kind, bool spread, double size,
                          double band)
{
    WheelLayout layout;
    layout.size = size > 0.0 && std::isfinite(size) ? size : 1.0;
    layout.rotation = model.rotation;
    const double s = layout.size;
    const QPointF centre = layout.centre();
    layout.captionBand = QRectF(0.0, 0.0, s, std::max(band, s / 20.0));

    // Everything is first laid out at the designed radii (scale 1); spreading does not depend
    // on the scale, which then follows from what lies furthest out.
    std::vector<SpreadItem> marks;
    if (kind.houseMarks && state.ShowHouses == kTrue)
        addMarks(layout, state, s, marks);

    // The halo reaches s/400 beyond the outline and antialiasing s/800 further (half a pixel
    // from s = 400 on); in proportion to s, so that the spreading does not depend on s.
    const double pad = 3.0 * s / 800.0;
    const double gap = s / 250.0;
    std::vector<SpreadItem> items;
    for (const Ring ring : {Ring{false, 2.5}, Ring{true, 2.3}}) {
        for (int slot = 0; slot <= kind.lastPoint && slot < kSlotCount; ++slot) {
            if (state.PlanetShown[slot] != kTrue || (slot >= kSecondChartBase) != ring.second)
                continue;
            const PlanetPos& point = state.Planets[slot];
            PointLayout p;
            p.slot = slot;
            p.longitude = static_cast<double>(point.Longitude);
            p.second = ring.second;
            p.angle = model.rotation + p.longitude;
            p.text = QString(kPointLetters[slot % kPointsPerChart]);
            if (point.Speed < 0.0f)
                p.text.prepend(kRetrogradeMark);
            const QRectF ink = WheelPainter::glyphBounds(p.text, s / 15.0);
            const QPointF anchor = at(s, s / ring.k, p.angle);
            p.glyphBox = ink.translated(anchor - QPointF(s / 50.0, s / 50.0))
                             .adjusted(-pad, -pad, pad, pad);
            items.push_back(itemOf(p.angle, s / ring.k, p.glyphBox, anchor, false));
            layout.points.push_back(p);
        }
    }
    // The two rings spread together: at the designed radii a glyph is deeper than the step from
    // one ring to the other, so each keeps clear of the other ring's glyphs as of its own.
    const std::size_t count = items.size();
    if (spread && count > 0) {
        items.insert(items.end(), marks.begin(), marks.end());
        const std::vector<double> angles = spreadAround(items, gap);
        for (std::size_t i = 0; i < count; ++i) {
            PointLayout& p = layout.points[i];
            const double turn = angles[i] - items[i].angle;
            p.angle += turn - 360.0 * std::round(turn / 360.0);
            const QPointF anchor = at(s, items[i].radius, p.angle);
            p.glyphBox = QRectF(anchor + QPointF(items[i].box.left, items[i].box.top),
                                anchor + QPointF(items[i].box.right, items[i].box.bottom));
        }
    }

    // The one scale about the centre that keeps every glyph and mark in the square and below
    // the caption band.
    const double c = s / 2.0;
    const double top = layout.captionBand.bottom();
    double f = 1.0;
    auto keepIn = [&](const QRectF& box) {
        if (box.left() < c)
            f = std::min(f, c / (c - box.left()));
        if (box.right() > c)
            f = std::min(f, c / (box.right() - c));
        if (box.top() < c)
            f = std::min(f, (c - top) / (c - box.top()));
        if (box.bottom() > c)
            f = std::min(f, c / (box.bottom() - c));
    };
    for (const PointLayout& p : layout.points)
        keepIn(p.glyphBox);
    for (const MarkLayout& m : layout.marks)
        keepIn(m.box);
    layout.scale = std::max(f, 0.0);

    const double w = layout.wheel();
    for (MarkLayout& m : layout.marks)
        m.box = scaled(m.box, centre, f);
    for (PointLayout& p : layout.points) {
        const double k = p.second ? 2.3 : 2.5;
        const double exact = model.rotation + p.longitude;
        p.corner = at(s, w / k, p.angle) - QPointF(w / 50.0, w / 50.0);
        p.pixels = w / 15.0;
        p.glyphBox = scaled(p.glyphBox, centre, f);
        p.marker = QLineF(at(s, w / 5.2, exact), at(s, w / (k + 0.1), exact));
        const double moved = std::abs(std::remainder(p.angle - exact, 360.0));
        if (moved * std::atan(1.0) / 45.0 * w / k > 0.5)
            p.connector = connectorTo(p.marker.p2(), p.glyphBox);
    }
    return layout;
}

QByteArray layoutJson(const WheelLayout& layout)
{
    QJsonArray points;
    for (const PointLayout& p : layout.points) {
        points.append(QJsonObject{
            {QStringLiteral("slot"), p.slot},
            {QStringLiteral("longitude"), p.longitude},
            {QStringLiteral("glyph_box"), corners(p.glyphBox)},
            {QStringLiteral("marker"), segment(p.marker)},
            {QStringLiteral("connector"),
             p.connector ? QJsonValue(segment(*p.connector)) : QJsonValue(QJsonValue::Null)},
        });
    }
    QJsonArray marks;
    for (const MarkLayout& m : layout.marks)
        marks.append(QJsonObject{{QStringLiteral("name"), QString::fromLatin1(m.name)},
                                 {QStringLiteral("box"), corners(m.box)}});
    const QJsonObject object{
        {QStringLiteral("size"), layout.size},
        {QStringLiteral("centre"), pair(layout.centre())},
        {QStringLiteral("scale"), layout.scale},
        {QStringLiteral("rotation"), layout.rotation},
        {QStringLiteral("caption_band"), corners(layout.captionBand)},
        {QStringLiteral("points"), points},
        {QStringLiteral("marks"), marks},
    };
    return QJsonDocument(object).toJson(QJsonDocument::Indented);
}

} // namespace velmora::ui
