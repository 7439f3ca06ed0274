#include "core/Appearance.h"

namespace velmora {

namespace {

constexpr ColorValue rgb(int red, int green, int blue)
{
    return red | green << 8 | blue << 16;
}

// The setting of each swatch, in swatch order.
constexpr std::array<ColorValue ChartState::*, kSwatchCount> kSwatchSettings = {
    &ChartState::ColorBackground, &ChartState::ColorZodiac,     &ChartState::ColorSextile,
    &ChartState::ColorTrine,      &ChartState::ColorSquare,     &ChartState::ColorOpposition,
    &ChartState::ColorSigns,      &ChartState::ColorHouses,     &ChartState::ColorPoints1,
    &ChartState::ColorConjunction, &ChartState::ColorPoints2,   &ChartState::ColorGlyphs2,
};

} // namespace

SwatchColors initialSwatchColors()
{
    return {rgb(255, 255, 255), rgb(255, 255, 232), rgb(0, 255, 0),   rgb(0, 0, 255),
            rgb(255, 0, 0),     rgb(128, 64, 0),    rgb(0, 0, 0),     rgb(255, 128, 128),
            rgb(64, 64, 64),    rgb(192, 0, 0),     rgb(0, 0, 192),   rgb(0, 0, 0)};
}

ColorValue ChartState::*swatchSetting(int swatch)
{
    return kSwatchSettings.at(static_cast<std::size_t>(swatch));
}

void copySwatchColors(ChartState& state, const SwatchColors& swatches)
{
    for (int i = 0; i < kSwatchCount; ++i)
        state.*kSwatchSettings[i] = swatches[i];
}

} // namespace velmora
