#include "ui/settings/ColorSwatch.h"

#include "wheel/ColorValue.h"

#include <QMouseEvent>

namespace velmora::ui {

ColorSwatch::ColorSwatch(ColorValue value, QWidget* parent)
    : QLabel(parent)
{
    setFrameShape(QFrame::Box);
    setAutoFillBackground(true);
    setCursor(Qt::PointingHandCursor);
    setFixedSize(40, 20);
    setValue(value);
}

void ColorSwatch::setValue(ColorValue value)
{
    m_value = value;
    QPalette colours = palette();
    colours.setColor(QPalette::Window, colorFromValue(value));
    setPalette(colours);
    emit valueChanged(value);
}

void ColorSwatch::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked();
    QLabel::mouseReleaseEvent(event);
}

} // namespace velmora::ui
