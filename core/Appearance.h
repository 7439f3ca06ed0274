#pragma once

#include "core/ChartState.h"

#include <array>

namespace velmora {

// The appearance dialog's colour swatches LabColor(0..11), in their order.
inline constexpr int kSwatchCount = 12;
using SwatchColors = std::array<ColorValue, kSwatchCount>;

// The colours the swatches start with.
SwatchColors initialSwatchColors();

// The colour setting a swatch stands for: background, zodiac, sextile, trine, square,
// opposition, signs, houses, first-chart points, conjunction, second-chart points, sign symbols
// (ColorGlyphs2).
ColorValue ChartState::*swatchSetting(int swatch);

// Copies every swatch into the setting it stands for.
void copySwatchColors(ChartState& state, const SwatchColors& swatches);

} // namespace velmora
