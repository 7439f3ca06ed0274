#pragma once

#include "core/ChartState.h"

#include <array>
#include <string>

namespace velmora {

// An element bar of the information panel, in twips: it stands on the base line and grows up.
struct ElementBar {
    double height = 0.0;
    double top = 0.0;
};

struct ChartAnalysis {
    int masculine = 0;
    int feminine = 0;
    int northern = 0;
    int southern = 0;
    int cardinal = 0;
    int fixed = 0;
    int mutableCount = 0;
    int fire = 0;
    int earth = 0;
    int air = 0;
    int water = 0;
    std::string text;                // the panel's text: counts, separator, point list
    std::array<ElementBar, 4> bars;  // fire, earth, air, water
};

inline constexpr double kBarBaseLine = 2160.0;      // twips
inline constexpr double kBarFullHeight = 1455.0;    // twips, twelve points

// Counts the shown first-chart points by sign class and lists the points of the window kind
// with their houses (the solar chart lists the sign number as the house).
ChartAnalysis analyseChart(const ChartState& state, ChartKind kind);

} // namespace velmora
