#pragma once

#include "core/Analysis.h"
#include "core/Aspects.h"
#include "core/ChartState.h"

#include <cstdint>
#include <vector>

namespace velmora {

// What a wheel of one kind shows beyond the chart itself: its rotation, the aspects with their
// chords at that rotation, and the analysis of the information panel.
struct WheelModel {
    std::int16_t rotation = 270; // degrees added to a longitude to give its screen angle
    std::vector<Aspect> aspects;
    ChartAnalysis analysis;
};

WheelModel wheelModelOf(const ChartState& state, ChartKind kind);

// Leaves in a state what drawing the wheel leaves there: its rotation and its aspect list.
void applyWheelModel(ChartState& state, const WheelModel& model);

} // namespace velmora
