#pragma once

#include <QFrame>
#include <QImage>
#include <QPointF>

#include <optional>

namespace velmora::ui {

// The place picker's map: the world map drawn unscaled in a drawing area of exactly its size,
// under a user scale of X from 180 (left) to -180 (right) and Y from 90 (top) to -90 (bottom):
// X is the longitude counted westward, Y the latitude. Marks are drawn into a persistent
// picture over the map; the crosshair follows the pointer at whole degrees.
class WorldMapPicture final : public QFrame {
    Q_OBJECT

public:
    static constexpr int kMapWidth = 528;  // pixels
    static constexpr int kMapHeight = 264; // pixels

    explicit WorldMapPicture(QWidget* parent = nullptr);

    // Scale units of a point of the drawing area, and back.
    static QPointF toScale(const QPointF& pixel);
    static QPointF toPixel(const QPointF& scale);

    // Clears the marks; the map stays.
    void clearDrawing();
    // A circle of radius 1.5 scale units in the drawing colour at (x, y).
    void drawMark(double x, double y);
    // Moves the crosshair to (x, y) rounded to whole degrees, ties to even.
    void drawCross(double x, double y);

    QPointF crossPosition() const { return m_cross; }
    QPointF lastMark() const { return m_mark; }
    const QImage& picture() const { return m_picture; }

signals:
    void pointerMoved(double x, double y);
    void pressed(double x, double y);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    // Scale units of a point of the widget; nothing on the frame.
    std::optional<QPointF> scaleAt(const QPointF& widgetPos) const;

    QImage m_map;
    QImage m_picture;
    QPointF m_cross;
    QPointF m_mark;
};

} // namespace velmora::ui
