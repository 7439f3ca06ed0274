#pragma once

#include "core/ChartState.h"

#include <string>
#include <vector>

namespace velmora {

// In the order in which each pair is tested.
enum class AspectKind { Conjunction, Sextile, Square, Opposition, Trine };

inline constexpr int kAspectKindCount = 5;

// Whole-degree orbs of the five aspects.
struct AspectOrbs {
    int conjunction = 0;
    int sextile = 0;
    int square = 0;
    int opposition = 0;
    int trine = 0;

    int of(AspectKind kind) const;
};

// The appearance dialog's initial orbs: conjunction and opposition 10, square and trine 8,
// sextile 6.
AspectOrbs defaultAspectOrbs();
AspectOrbs orbsOf(const ChartState& state);
void setOrbs(ChartState& state, const AspectOrbs& orbs);

// Whether a separation (0 <= d < 360) lies strictly within `orb` degrees of one of the kind's
// exact angles (0 and 360 for the conjunction).
bool aspectHolds(AspectKind kind, float separation, float orb);

// Which pairs a window examines and how it decides that an aspect holds.
struct AspectSearch {
    bool twoCharts = false;   // first-chart points against second-chart points
    bool progression = false; // fixed windows of +-1 degree (+-2 for conjunction and
                              // opposition) instead of the orbs
};

struct AspectSearch searchForKind(ChartKind kind);

struct Aspect {
    int slotA = 0;
    int slotB = 0;
    AspectKind kind = AspectKind::Conjunction;
    float distance = 0.0f; // degrees from exact
    std::string phase;     // applying, separating, or empty when exact
    std::string text;      // the line of the aspect list
    double angleA = 0.0;   // screen angles of the chord's ends, degrees (rotation + longitude)
    double angleB = 0.0;
};

// The aspects between the shown points taking part in aspects, their chords' ends at the screen
// angles of a wheel turned by `rotation` degrees.
std::vector<Aspect> aspectsOf(const ChartState& state, const AspectSearch& search,
                              double rotation);

// Rebuilds the state's aspect list (AspectLines, AspectLineCount) from found aspects.
void writeAspectList(ChartState& state, const std::vector<Aspect>& aspects);

// The aspects at the state's WheelRotation, the state's aspect list rebuilt from them.
std::vector<Aspect> findAspects(ChartState& state, const AspectSearch& search);

// The wheel's rotation for a window kind: the ascendant at 9 o'clock when the wheel is oriented
// on it, else 0 Aries there; the solar chart always has 0 Aries there.
std::int16_t wheelRotationFor(const ChartState& state, ChartKind kind);

// The word of each aspect kind in the aspect list, with its spaces.
const char* aspectWord(AspectKind kind);

} // namespace velmora
