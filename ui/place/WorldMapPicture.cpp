#include "ui/place/WorldMapPicture.h"

#include "core/Numbers.h"
#include "resources/VelmoraResources.h"

#include <QBitmap>
#include <QMouseEvent>
#include <QPainter>

#include <cmath>

namespace velmora::ui {

namespace {

const QColor kDrawingColour(255, 64, 48);
const QColor kCrossColour(255, 236, 160, 200);

// The map's own pointer: a 32 x 32 monochrome arrow whose tip, the hot spot, is the top-left
// corner, with a small ring that echoes the place mark.
QCursor mapPointer()
{
    QBitmap shape(32, 32);
    QBitmap mask(32, 32);
    shape.fill(Qt::color0);
    mask.fill(Qt::color0);
    const QPolygon arrow({QPoint(0, 0), QPoint(0, 17), QPoint(4, 13), QPoint(8, 21),
                          QPoint(11, 20), QPoint(7, 12), QPoint(13, 12)});
    {
        QPainter p(&mask);
        p.setPen(QPen(Qt::color1, 3));
        p.setBrush(Qt::color1);
        p.drawPolygon(arrow);
        p.drawEllipse(QPoint(22, 23), 6, 6);
    }
    {
        QPainter p(&shape);
        p.setPen(Qt::color1);
        p.setBrush(Qt::color1);
        p.drawPolygon(arrow);
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(QPoint(22, 23), 5, 5);
        p.drawPoint(22, 23);
    }
    return QCursor(shape, mask, 0, 0);
}

} // namespace

WorldMapPicture::WorldMapPicture(QWidget* parent)
    : QFrame(parent)
    , m_map(QImage(kWorldMapImage).convertToFormat(QImage::Format_RGB32))
{
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(2);
    setFixedSize(kMapWidth + 2 * frameWidth(), kMapHeight + 2 * frameWidth());
    // The map is geography, never mirrored by the right-to-left interface.
    setLayoutDirection(Qt::LeftToRight);
    setMouseTracking(true);
    setCursor(mapPointer());
    m_picture = m_map;
}

QPointF WorldMapPicture::toScale(const QPointF& pixel)
{
    return {180.0 - 360.0 * pixel.x() / kMapWidth, 90.0 - 180.0 * pixel.y() / kMapHeight};
}

QPointF WorldMapPicture::toPixel(const QPointF& scale)
{
    return {(180.0 - scale.x()) * kMapWidth / 360.0, (90.0 - scale.y()) * kMapHeight / 180.0};
}

std::optional<QPointF> WorldMapPicture::scaleAt(const QPointF& widgetPos) const
{
    // The frame around the drawing area is no place on the globe.
    const QPoint pixel(static_cast<int>(std::floor(widgetPos.x())),
                       static_cast<int>(std::floor(widgetPos.y())));
    if (!contentsRect().contains(pixel))
        return std::nullopt;
    return toScale(widgetPos - QPointF(contentsRect().topLeft()));
}

void WorldMapPicture::clearDrawing()
{
    m_picture = m_map;
    update();
}

void WorldMapPicture::drawMark(double x, double y)
{
    m_mark = QPointF(x, y);
    QPainter p(&m_picture);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(kDrawingColour, 2));
    const QPointF centre = toPixel(m_mark);
    p.drawEllipse(centre, 1.5 * kMapWidth / 360.0, 1.5 * kMapHeight / 180.0);
    update();
}

void WorldMapPicture::drawCross(double x, double y)
{
    m_cross = QPointF(roundHalfEven(x), roundHalfEven(y));
    update();
}

void WorldMapPicture::paintEvent(QPaintEvent* event)
{
    QFrame::paintEvent(event);
    QPainter p(this);
    p.setClipRect(contentsRect());
    const QPoint origin = contentsRect().topLeft();
    p.drawImage(origin, m_picture);
    const QPointF cross = toPixel(m_cross) + QPointF(origin);
    p.setPen(QPen(kCrossColour, 1));
    p.drawLine(QPointF(origin.x(), cross.y()), QPointF(origin.x() + kMapWidth, cross.y()));
    p.drawLine(QPointF(cross.x(), origin.y()), QPointF(cross.x(), origin.y() + kMapHeight));
}

void WorldMapPicture::mouseMoveEvent(QMouseEvent* event)
{
    if (const auto at = scaleAt(event->position()))
        emit pointerMoved(at->x(), at->y());
}

void WorldMapPicture::mousePressEvent(QMouseEvent* event)
{
    if (const auto at = scaleAt(event->position()))
        emit pressed(at->x(), at->y());
}

} // namespace velmora::ui
