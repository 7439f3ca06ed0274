#pragma once

#include "core/ChartRequest.h"
#include "core/ChartState.h"

namespace velmora::ui {

// Computes a request into `state` as the windows do: each row of an atlas place at its legal
// time, and a zone the system's database lacks keeps the typed correction, as the picker said.
RequestResult computeForWindows(ChartState& state, const ChartRequest& asked);

} // namespace velmora::ui
