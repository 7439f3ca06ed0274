#pragma once

#include "core/ChartState.h"

#include <array>
#include <string>
#include <vector>

namespace velmora {

// The essential dignities of one of the seven classical planets at its longitude.
struct Dignities {
    int slot = 0; // 0 the Sun .. 6 Saturn
    bool domicile = false;
    bool exaltation = false;
    bool triplicity = false; // the Dorothean ruler of its sign's element for the chart's sect
    bool term = false;       // the Egyptian terms
    bool face = false;       // the Chaldean faces from 0° Aries
    bool detriment = false;
    bool fall = false;
    // +5 +4 +3 +2 +1 for the dignities, -5 -4 for detriment and fall.
    int score() const;
    // No positive dignity holds.
    bool peregrine() const { return !(domicile || exaltation || triplicity || term || face); }
};

Dignities dignitiesOf(int slot, double longitude, bool dayChart);

// The Sun through Saturn of the first chart, by its sect.
std::array<Dignities, 7> chartDignities(const ChartState& state);

// What the dignities window shows: the chart's sect, and a header row over one row for each
// of the Sun through Saturn: its name, the points of each dignity it holds ("+5" … "-4",
// empty where it holds none), the sum, and "غريب" where it is peregrine.
struct DignitiesTable {
    std::string sect; // "هيئة نهارية" or "هيئة ليلية"
    std::vector<std::vector<std::string>> cells;
};
DignitiesTable dignitiesTable(const ChartState& state);

} // namespace velmora
