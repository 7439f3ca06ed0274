#pragma once

#include "core/ChartState.h"

#include <QColor>

namespace velmora::ui {

// Stored colours are 0x00BBGGRR; QColor(QRgb) would read them as 0xAARRGGBB.
QColor colorFromValue(ColorValue value);
ColorValue valueFromColor(const QColor& color);

} // namespace velmora::ui
