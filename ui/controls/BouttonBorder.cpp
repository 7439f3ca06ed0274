#include "ui/controls/BouttonBorder.h"

#include "ui/common/Twips.h"

#include <QMouseEvent>
#include <QPainter>
#include <QSettings>

namespace velmora::ui {

namespace {

enum LineIndex { L0a, L0b, L1a, L1b, L2a, L2b, L3a, L3b, F0, F1, F2, F3 };

const QColor kOuterLight(224, 224, 224);
const QColor kInnerLight(255, 255, 255);
const QColor kInnerDark(128, 128, 128);

void place(BorderLines& lines, int index, double x1, double y1, double x2, double y2)
{
    lines[index].line = QLineF(x1, y1, x2, y2);
}

QColor buttonFace()
{
    return QPalette().color(QPalette::Button);
}

} // namespace

BorderLines borderLines(BorderLines lines, int style, int w, int h, const QColor& windowText)
{
    if (style < 0 || style > 3)
        return lines;
    lines[L0a].colour = lines[L0b].colour = kOuterLight;
    lines[L1a].colour = lines[L1b].colour = kInnerLight;
    lines[L2a].colour = lines[L2b].colour = kInnerDark;
    lines[L3a].colour = lines[L3b].colour = windowText;
    lines[F0].colour = lines[F1].colour = kInnerDark;
    lines[F2].colour = lines[F3].colour = kOuterLight;

    const bool thick = style <= 1;
    for (int i = L0a; i <= L3b; ++i)
        lines[i].visible = thick;
    for (int i = F0; i <= F3; ++i)
        lines[i].visible = !thick;
    if (thick) {
        lines[L0a].width = lines[L0b].width = 3;
        lines[L1a].width = lines[L1b].width = 1;
        lines[L2a].width = lines[L2b].width = 2;
        lines[L3a].width = lines[L3b].width = 1;
    }

    switch (style) {
    case 0: // raised: light along the top and left, dark along the right and bottom
        place(lines, L0a, 0, 0, w, 0);
        place(lines, L0b, 0, 0, 0, h);
        place(lines, L1a, 10, 10, w, 10);
        place(lines, L1b, 10, 10, 10, h);
        place(lines, L2a, w - 20, 30, w - 20, h - 20);
        place(lines, L2b, 30, h - 20, w, h - 20);
        place(lines, L3a, w - 10, 0, w - 10, h - 10);
        place(lines, L3b, 0, h - 10, w - 10, h - 10);
        break;
    case 1: // pressed: light along the right and bottom, dark along the top and left
        place(lines, L0a, w - 20, 30, w - 20, h - 20);
        place(lines, L0b, 30, h - 20, w, h - 20);
        place(lines, L1a, w - 10, 10, w - 10, h - 10);
        place(lines, L1b, 10, h - 10, w - 10, h - 10);
        place(lines, L2a, 10, 10, w, 10);
        place(lines, L2b, 10, 10, 10, h);
        place(lines, L3a, 10, 10, w, 10);
        place(lines, L3b, 10, 10, 10, h);
        break;
    case 2: // thin sunken rectangle
        place(lines, F0, 10, 10, w - 10, 10);
        place(lines, F1, 10, 10, 10, h - 10);
        place(lines, F2, 10, h - 10, w - 10, h - 10);
        place(lines, F3, w - 10, 10, w - 10, h - 10);
        break;
    case 3: // thin raised rectangle
        place(lines, F2, 10, 10, w - 10, 10);
        place(lines, F3, 10, 10, 10, h - 10);
        place(lines, F0, 10, h - 10, w - 10, h - 10);
        place(lines, F1, w - 10, 10, w - 10, h - 10);
        break;
    }
    return lines;
}

BouttonBorder::BouttonBorder(QWidget* parent)
    : QWidget(parent)
{
    setBackColor(buttonFace());
    resizeStep();
}

void BouttonBorder::setBackStyle(qint16 style)
{
    m_backStyle = style;
    setAutoFillBackground(style != 0); // 0 is transparent
    update();
    emit propertyChanged();
}

QColor BouttonBorder::backColor() const
{
    return palette().color(QPalette::Window);
}

void BouttonBorder::setBackColor(const QColor& colour)
{
    QPalette p = palette();
    p.setColor(QPalette::Window, colour);
    setPalette(p);
    emit propertyChanged();
}

void BouttonBorder::setForcerBorder(qint16 style)
{
    resizeStep();
    m_forcerBorder = style;
    SForcer(style);
    emit propertyChanged();
}

void BouttonBorder::SForcer(qint16 style)
{
    m_lines = borderLines(m_lines, style, m_w, m_h, palette().color(QPalette::WindowText));
    update();
}

void BouttonBorder::resizeStep()
{
    m_w = width() * kTwipsPerPixel;
    m_h = height() * kTwipsPerPixel;
    SForcer(m_forcerBorder);
}

void BouttonBorder::writeProperties(QSettings& settings) const
{
    settings.setValue(QStringLiteral("BackStyle"), m_backStyle);
    settings.setValue(QStringLiteral("BackColor"), backColor());
    settings.setValue(QStringLiteral("ForcerBorder"), m_forcerBorder);
}

void BouttonBorder::readProperties(const QSettings& settings)
{
    setBackStyle(static_cast<qint16>(settings.value(QStringLiteral("BackStyle"), 0).toInt()));
    setBackColor(settings.value(QStringLiteral("BackColor"), buttonFace()).value<QColor>());
    setForcerBorder(static_cast<qint16>(settings.value(QStringLiteral("ForcerBorder"), 0).toInt()));
}

void BouttonBorder::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    for (const BorderLine& l : m_lines) {
        if (!l.visible)
            continue;
        p.setPen(QPen(l.colour, l.width, Qt::SolidLine, Qt::FlatCap));
        const QLineF& t = l.line;
        p.drawLine(QLineF(t.x1() / kTwipsPerPixel, t.y1() / kTwipsPerPixel,
                          t.x2() / kTwipsPerPixel, t.y2() / kTwipsPerPixel));
    }
}

void BouttonBorder::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    resizeStep();
}

void BouttonBorder::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    resizeStep();
}

void BouttonBorder::mouseReleaseEvent(QMouseEvent* event)
{
    if (rect().contains(event->position().toPoint()))
        emit Click();
    QWidget::mouseReleaseEvent(event);
}

} // namespace velmora::ui
