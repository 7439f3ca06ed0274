#pragma once

#include "core/Appearance.h"

#include <QImage>
#include <QSize>

namespace velmora::ui {

inline constexpr QSize kColorSampleSize(333, 544);

// The colours tab's sample: a section of a two-chart wheel drawn in the given swatch colours,
// with a lead line from each part a swatch colours (swatches 0..10) to that swatch's centre on
// the picture's right edge, (i + 0.5) * swatchPitch below its top.
QImage colorSample(const SwatchColors& colours, int swatchPitch);

} // namespace velmora::ui
