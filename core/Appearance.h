#pragma once

#include "core/ChartState.h"

#include <array>

namespace velmora {

// The appearance dialog's colour swatches LabColor(0..11), in their order.
inline constexpr int kSwatchCount = 12;
using SwatchColors = std::array<ColorValue, kSwatchCount>;

// The colours the swatches start with.
SwatchColors initialSwatchColors();

// Copies swatches 0..count-1 into the colour settings they stand for, as a new chart window
// does: background, zodiac, sextile, trine, square, opposition, signs, houses, first-chart
// points, conjunction, second-chart points, sign symbols (ColorGlyphs2).
void copySwatchColors(ChartState& state, const SwatchColors& swatches, int count = kSwatchCount);

} // namespace velmora
