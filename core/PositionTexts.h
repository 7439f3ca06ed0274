#pragma once

#include "core/ChartState.h"

#include <array>
#include <string>

namespace velmora {

// Degrees, minutes and seconds, each truncated: 12.0625 gives 12°3'45''. Computed in float,
// as the stored longitudes are.
std::string formatDegrees(float x);

// Degrees within the sign followed by the sign's Arabic name; empty outside 0..360.
std::string signPositionText(float longitude);
// The same text appended to `out`, for reports that write thousands of them.
void appendSignPositionText(std::string& out, float longitude);

// Degrees within the sign of a longitude followed by the sign's name from a table of twelve;
// empty outside 0..360.
std::string degreesInSignText(float longitude, const std::array<const char*, 12>& signNames);

// The sign's name 1..12 with its word "برج" ("برج الحمل"); empty for any other number.
std::string signName(int sign);

// The house's label (house 0 is the first) followed by the position text; empty for a house
// outside 0..11.
std::string housePositionText(const std::string& position, int house);

// "البيت الأول", "البيت الرابع", "البيت السابع" or "البيت العاشر": the name of cusp 0, 3, 6 or 9
// where its system puts no angle there (equal houses, whole signs); null for any other cusp.
const char* numberedCuspName(int cusp, HouseSystem system);

// A cusp's label and position as its system places it: a cusp that is not the angle its label
// names goes by its house's number, " البيت العاشر في ".
std::string cuspPositionText(const std::string& position, int house, HouseSystem system);

// The label of a point slot 0..23; empty for any other slot.
std::string pointLabel(int slot);

// The name of house 1..12, with its leading space; empty for any other number.
std::string houseName(int house);

struct DateTimeTexts;

// The chart title the data-entry step builds from the name and the first date and time row, as
// typed: "ل", the name, year/month/day, three spaces, the minute, ":" and the hour as the whole
// number it reads as (08:15 gives "15:8").
std::string chartTitle(const std::string& name, const DateTimeTexts& firstRow);

// The most characters a name may have, in the data entry and on the command line: the caption
// holds far fewer, and a longer one is only elided.
inline constexpr int kLongestName = 100;

// A chart window's caption: the kind's name, one space and the title.
std::string chartCaption(ChartKind kind, const std::string& title);

// The horary window's caption for the clock at its creation: "هيئة لتاريخ " and
// day/month/year, three spaces, minute:hour, without leading zeros.
std::string horaryCaption(int day, int month, int year, int hour, int minute);

} // namespace velmora
