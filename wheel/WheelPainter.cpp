#include "wheel/WheelPainter.h"

#include "core/ChartComputation.h"
#include "core/Numbers.h"
#include "resources/VelmoraResources.h"
#include "wheel/ColorValue.h"

#include <QFontMetricsF>
#include <QHash>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

#include <cmath>

namespace velmora::ui {

namespace {

// Text is laid out at this em size in pixels and scaled to the size it is drawn at, so that
// every glyph scales exactly with S.
constexpr int kReferencePixels = 200;

// Light enough to stand out from a dark background picture, the ground of glyphs over it.
const QColor kHalo(255, 255, 255, 210);
const QColor kTitleBand(0, 0, 0);
const QColor kCaptionColour(255, 255, 0);

// Sine and cosine of an angle in degrees, as all the wheel's geometry takes them.
double sinDegrees(double a)
{
    return std::sin(a * std::atan(1.0) / 45.0);
}

double cosDegrees(double a)
{
    return std::cos(a * std::atan(1.0) / 45.0);
}

// Every step draws anti-aliased and left to right, and leaves the painter as it found it.
class PainterSetup {
public:
    explicit PainterSetup(QPainter& painter) : m_painter(painter)
    {
        painter.save();
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setLayoutDirection(Qt::LeftToRight);
    }
    ~PainterSetup() { m_painter.restore(); }
    PainterSetup(const PainterSetup&) = delete;
    PainterSetup& operator=(const PainterSetup&) = delete;

private:
    QPainter& m_painter;
};

// A line one logical pixel wide at any scale.
QPen hairline(const QColor& colour, Qt::PenStyle style = Qt::SolidLine)
{
    QPen pen(colour, 1.0, style);
    pen.setCosmetic(true);
    return pen;
}

// The outline of a text at the reference size with its top-left corner at (0, 0), as the
// polygons that fill it. Text is drawn as outlines so that pictures, SVG and PDF show the same
// shapes and no viewer of a saved picture needs our symbol font; polygons because a raster
// painter fills them several times faster than the curved path.
struct TextOutline {
    QList<QPolygonF> polygons;
    Qt::FillRule rule = Qt::OddEvenFill;
    QRectF bounds;
};

TextOutline outlineOf(const QFont& font, const QString& text)
{
    QPainterPath path;
    path.addText(0.0, QFontMetricsF(font).ascent(), font, text);
    return {path.toFillPolygons(), path.fillRule(), path.boundingRect()};
}

// The few symbol-font texts (point letters with or without the retrograde mark, sign letters)
// are laid out once.
const TextOutline& glyphOutline(const QString& text)
{
    thread_local QHash<QString, TextOutline> outlines;
    auto it = outlines.constFind(text);
    if (it == outlines.constEnd())
        it = outlines.insert(text, outlineOf(WheelPainter::glyphFont(), text));
    return *it;
}

// A window redraws with the same caption: its layout is kept until the caption changes.
const TextOutline& captionOutline(const QString& caption)
{
    thread_local QString laidOut;
    thread_local TextOutline outline;
    if (caption != laidOut || outline.polygons.isEmpty()) {
        outline = outlineOf(WheelPainter::captionFont(), caption);
        laidOut = caption;
    }
    return outline;
}

// Fills a text outline with its top-left corner at `topLeft`, `pixels` being its em size; a
// halo of `halo` pixels first when above 0.
void fillText(QPainter& painter, const TextOutline& outline, const QPointF& topLeft,
              double pixels, const QColor& colour, double halo = 0.0)
{
    const double scale = pixels / kReferencePixels;
    painter.save();
    painter.translate(topLeft);
    painter.scale(scale, scale);
    if (halo > 0.0) {
        painter.setPen(QPen(kHalo, 2.0 * halo / scale, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        painter.setBrush(kHalo);
        for (const QPolygonF& polygon : outline.polygons)
            painter.drawPolygon(polygon, outline.rule);
    }
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    for (const QPolygonF& polygon : outline.polygons)
        painter.drawPolygon(polygon, outline.rule);
    painter.restore();
}

QColor chordColour(const ChartState& state, AspectKind kind)
{
    switch (kind) {
    case AspectKind::Conjunction: return colorFromValue(state.ColorConjunction);
    case AspectKind::Sextile: return colorFromValue(state.ColorSextile);
    case AspectKind::Square: return colorFromValue(state.ColorSquare);
    case AspectKind::Opposition: return colorFromValue(state.ColorOpposition);
    case AspectKind::Trine: return colorFromValue(state.ColorTrine);
    }
    return {};
}

// The conjunction is 8 logical pixels wide, ending flat on the inner disc; the square is
// dashed, the opposition dotted.
QPen chordPen(const ChartState& state, AspectKind kind)
{
    const QColor colour = chordColour(state, kind);
    switch (kind) {
    case AspectKind::Conjunction: return QPen(colour, 8.0, Qt::SolidLine, Qt::FlatCap);
    case AspectKind::Square: return hairline(colour, Qt::DashLine);
    case AspectKind::Opposition: return hairline(colour, Qt::DotLine);
    case AspectKind::Sextile:
    case AspectKind::Trine: break;
    }
    return hairline(colour);
}

} // namespace

WheelPainter::WheelPainter(const ChartState& state, const WheelModel& model,
                           const ChartKindDescription& kind, const WheelAppearance& appearance,
                           double size, double band)
    : m_state(state)
    , m_model(model)
    , m_kind(kind)
    , m_appearance(appearance)
    , m_size(size > 0.0 && std::isfinite(size) ? size : 1.0)
    , m_layout(wheelLayoutOf(state, model, kind, appearance.spread, m_size, band))
{
}

QRectF WheelPainter::glyphBounds(const QString& text, double pixels)
{
    const QRectF& bounds = glyphOutline(text).bounds;
    const double scale = pixels / kReferencePixels;
    return {bounds.topLeft() * scale, bounds.size() * scale};
}

QFont WheelPainter::glyphFont()
{
    registerSymbolFont();
    QFont font(kSymbolFontFamily);
    font.setPixelSize(kReferencePixels);
    // A letter the symbol font lacks must not be drawn from another font.
    font.setStyleStrategy(QFont::NoFontMerging);
    return font;
}

QFont WheelPainter::captionFont()
{
    QFont font;
    // DejaVu Sans first among the stand-ins: its Arabic is a plain sans like Arabic
    // Transparent's, and its metrics keep the caption in the title band.
    font.setFamilies({QStringLiteral("Arabic Transparent"), QStringLiteral("DejaVu Sans"),
                      QStringLiteral("Noto Sans Arabic")});
    font.setPixelSize(kReferencePixels);
    return font;
}

QPointF WheelPainter::at(double r, double a) const
{
    const double c = m_size / 2.0;
    return {c + r * sinDegrees(a), c + r * cosDegrees(a)};
}

void WheelPainter::draw(QPainter& painter, const QSizeF& area, const QString& caption) const
{
    drawBackground(painter, area);
    drawTitle(painter, area, caption);
    drawZodiac(painter);
    drawPoints(painter);
    drawSignGlyphs(painter);
    drawAspects(painter);
    drawHouses(painter);
}

void WheelPainter::drawBackground(QPainter& painter, const QSizeF& area) const
{
    PainterSetup setup(painter);
    painter.fillRect(QRectF(QPointF(0.0, 0.0), area), colorFromValue(m_state.ColorBackground));
    if (!m_appearance.background.isNull())
        painter.drawImage(QPointF(0.0, 0.0), m_appearance.background);
}

void WheelPainter::drawTitle(QPainter& painter, const QSizeF& area, const QString& caption) const
{
    PainterSetup setup(painter);
    painter.fillRect(QRectF(0.0, 0.0, area.width(), area.height() / 20.0), kTitleBand);
    if (caption.isEmpty())
        return;
    // Elided to the band's width, so that no caption, however long, costs more than the band
    // can show; bounded by characters first, as measuring a long text is slow in itself.
    constexpr qsizetype kMostCaptionCharacters = 400;
    const double band = m_size / 20.0;
    const QString shown = QFontMetricsF(captionFont())
                              .elidedText(caption.left(kMostCaptionCharacters), Qt::ElideRight,
                                          area.width() * kReferencePixels / band);
    // The dots below ي and ب reach past the font's line, where yellow on white is lost: such a
    // caption is made smaller, its ink to 85% of the band's height, and centred in the band.
    const TextOutline& outline = captionOutline(shown);
    const double top = outline.bounds.top() * band / kReferencePixels;
    const double bottom = outline.bounds.bottom() * band / kReferencePixels;
    const bool below = bottom > band;
    const double scale = below ? std::min(1.0, 0.85 * band / (bottom - top)) : 1.0;
    const double y = below ? (band - (top + bottom) * scale) / 2.0 : 0.0;
    fillText(painter, outline, {0.0, y}, band * scale, kCaptionColour);
}

void WheelPainter::drawZodiac(QPainter& painter) const
{
    PainterSetup setup(painter);
    const double s = m_layout.wheel();
    const QPointF centre = m_layout.centre();
    const double rotation = m_model.rotation;
    painter.setPen(hairline(colorFromValue(m_state.ColorSigns)));
    painter.setBrush(colorFromValue(m_state.ColorZodiac));
    painter.drawEllipse(centre, s / 3.2, s / 3.2);
    painter.drawEllipse(centre, s / 4.7, s / 4.7);
    for (int j = 0; j < 12; ++j)
        painter.drawLine(at(s / 5.2, rotation + 30 * j), at(s / 3.2, rotation + 30 * j));
    for (int j = 0; j < 36; ++j)
        painter.drawLine(at(s / 5.2, rotation + 10 * j), at(s / 4.7, rotation + 10 * j));
    painter.setBrush(colorFromValue(m_state.ColorBackground));
    painter.drawEllipse(centre, s / 5.2, s / 5.2);
}

void WheelPainter::drawPoints(QPainter& painter) const
{
    PainterSetup setup(painter);
    const double halo = m_appearance.background.isNull() ? 0.0 : m_layout.wheel() / 400.0;
    for (const PointLayout& point : m_layout.points) {
        const QColor marker =
            colorFromValue(point.second ? m_state.ColorPoints2 : m_state.ColorPoints1);
        const QColor glyph =
            m_kind.glyphsInColorGlyphs2 ? colorFromValue(m_state.ColorGlyphs2) : marker;
        painter.setPen(hairline(marker));
        painter.drawLine(point.marker);
        if (point.connector)
            painter.drawLine(*point.connector);
        fillText(painter, glyphOutline(point.text), point.corner, point.pixels, glyph, halo);
    }
}

void WheelPainter::drawSignGlyphs(QPainter& painter) const
{
    PainterSetup setup(painter);
    const double s = m_layout.wheel();
    const bool pictures = m_state.ZodiacAsPictures == kTrue;
    const char16_t first = pictures ? u'A' : u'M';
    const double pixels = pictures ? s / 19.0 : s / 16.0;
    const QColor colour = colorFromValue(m_state.ColorSigns);
    for (int j = 0; j < 12; ++j) {
        const double a = m_model.rotation + 30 * j;
        const QString letter(QChar(static_cast<char16_t>(first + j)));
        fillText(painter, glyphOutline(letter),
                 at(s / 3.8, a + 15) - QPointF(s / 50.0, s / 50.0), pixels, colour);
    }
}

void WheelPainter::drawAspects(QPainter& painter) const
{
    PainterSetup setup(painter);
    const double edge = m_layout.wheel() / 5.2;
    for (const Aspect& aspect : m_model.aspects) {
        if (!m_appearance.chords[static_cast<std::size_t>(aspect.kind)])
            continue;
        painter.setPen(chordPen(m_state, aspect.kind));
        painter.drawLine(at(edge, aspect.angleA), at(edge, aspect.angleB));
    }
}

void WheelPainter::drawHouses(QPainter& painter) const
{
    if (!m_kind.houseMarks || m_state.ShowHouses != kTrue)
        return;
    PainterSetup setup(painter);
    const double s = m_layout.wheel();
    const QColor colour = colorFromValue(m_state.ColorHouses);
    painter.setPen(hairline(colour));
    painter.setBrush(Qt::NoBrush);
    // A line from radius S/r1 at angle a1 to radius S/r2 at angle a2.
    auto line = [&](double r1, double a1, double r2, double a2) {
        painter.drawLine(at(s / r1, a1), at(s / r2, a2));
    };
    // A pointer on the zodiac's outer circle, from 3° before each cusp to 2° after, where the
    // cusp is no angle; marks one colour, so their order does not change the picture.
    const HouseSystem system = m_state.HouseSystemUsed[0];
    for (int cusp = 0; cusp < kPointsPerChart; ++cusp) {
        const double a = m_model.rotation + static_cast<double>(m_state.HouseCusps[cusp]);
        if (!cuspIsAngle(system, cusp)) {
            line(3.2, a, 3.0, a + 2);
            line(3.2, a, 3.0, a - 3);
            line(3.0, a + 2, 3.0, a - 3);
        }
    }
    // The four angles where they lie, on their cusps or, in equal houses and whole signs,
    // between them.
    for (const int cusp : {0, 3, 6, 9}) {
        const double a = m_model.rotation + static_cast<double>(angleLongitude(m_state, 0, cusp));
        switch (cusp) {
        case 0: // ascendant: arrowhead and a larger chevron beyond it
            line(5.2, a, 2.2, a);
            line(2.2, a, 2.4, a - 5);
            line(2.2, a, 2.4, a + 5);
            line(2.0, a, 2.4, a - 5);
            line(2.0, a, 2.4, a + 5);
            break;
        case 6: // descendant: fletching
            line(5.2, a, 2.4, a);
            line(2.4, a, 2.2, a - 4);
            line(2.4, a, 2.2, a + 4);
            line(2.2, a, 2.1, a - 4);
            line(2.2, a, 2.1, a + 4);
            line(2.2, a - 4, 2.1, a - 4);
            line(2.2, a + 4, 2.1, a + 4);
            break;
        case 3: { // lower heaven: a ring of single pixels open away from the wheel
            line(5.2, a, 2.4, a);
            const QPointF ring = at(s / 2.15, a);
            const int from = static_cast<int>(roundHalfEven(a + 70));
            const int to = static_cast<int>(roundHalfEven(a + 290));
            for (int theta = from; theta <= to; ++theta) {
                const QPointF dot = ring + s / 20 * QPointF(sinDegrees(theta), cosDegrees(theta));
                painter.fillRect(QRectF(std::floor(dot.x()), std::floor(dot.y()), 1, 1), colour);
            }
            break;
        }
        case 9: // midheaven: a closed ring
            line(5.2, a, 2.4, a);
            painter.drawEllipse(at(s / 2.15, a), s / 20, s / 20);
            break;
        }
    }
}

} // namespace velmora::ui
