#pragma once

#include "core/ChartState.h"

#include <array>
#include <string>

namespace velmora {

// Day or night by the Sun: day when it lies in the half of the zodiac that runs from the
// descendant through the midheaven to the ascendant, the descendant itself included.
bool isDayChart(double sunLongitude, double ascendant);

struct Lot {
    const char* name;      // "سهم السعادة"
    const char* nameLatin; // "Fortune"
    double longitude = 0.0;
};

// The seven lots of the first chart from its ascendant and points, each reversed by night,
// in the order Fortune, Spirit, Eros, Necessity, Courage, Victory, Nemesis; all mod 360.
std::array<Lot, 7> lotsOf(const ChartState& state);

// "سهم السعادة في " and the position text of the lot's longitude, as the points read.
std::string lotText(const Lot& lot);

} // namespace velmora
