#pragma once

#include "core/Appearance.h"
#include "core/Aspects.h"
#include "core/ChartComputation.h"
#include "core/Numbers.h"

namespace velmora::bench {

inline const PlaceInput kMecca{"39", "49", "21", "27", false, false};
inline const ZoneInput kZone{"3", "0"};

// A transits chart as its window draws it: every point of both charts shown and in the
// aspect search, houses on, the dialog's initial colours and orbs.
inline ChartState transitsChart()
{
    ChartState state;
    readDateTime(state, {"4", "5", "1990", "8", "15"}, kMecca);
    computeChart(state, 0, kZone);
    classifyPoints(state);
    readDateTime(state, {"6", "12", "2026", "12", "0"}, kMecca);
    computeChart(state, 1, kZone);
    copySwatchColors(state, initialSwatchColors());
    setOrbs(state, defaultAspectOrbs());
    state.PlanetShown.fill(kTrue);
    state.PlanetInAspects.fill(kTrue);
    state.OrientOnAscendant = kTrue;
    state.ShowHouses = kTrue;
    state.ZodiacAsPictures = kTrue;
    return state;
}

} // namespace velmora::bench
