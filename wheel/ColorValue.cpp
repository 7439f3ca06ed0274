#include "wheel/ColorValue.h"

namespace velmora::ui {

QColor colorFromValue(ColorValue value)
{
    const auto bits = static_cast<std::uint32_t>(value);
    return QColor(static_cast<int>(bits & 0xFFu), static_cast<int>((bits >> 8) & 0xFFu),
                  static_cast<int>((bits >> 16) & 0xFFu));
}

ColorValue valueFromColor(const QColor& color)
{
    const QColor rgb = color.toRgb();
    return static_cast<ColorValue>(static_cast<std::uint32_t>(rgb.red())
                                   | (static_cast<std::uint32_t>(rgb.green()) << 8)
                                   | (static_cast<std::uint32_t>(rgb.blue()) << 16));
}

} // namespace velmora::ui
