#pragma once

#include "core/ChartState.h"
#include "core/Ephemeris.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velmora {

// The place as the place picker holds it: whole degrees and minutes without sign, and the
// hemisphere choices.
struct PlaceInput {
    std::string lonDeg;
    std::string lonMin;
    std::string latDeg;
    std::string latMin;
    bool west = false;
    bool south = false;
};

// What the place picker shows after a reading: the zone derived from the longitude, and the
// map mark in the map's own scale (x = minus the east longitude degrees, y = latitude degrees;
// the minutes do not move it).
struct PlaceReading {
    std::string zoneText;
    double markX = 0.0;
    double markY = 0.0;
};

// One date-and-time row of the data-entry dialog, as typed.
struct DateTimeTexts {
    std::string day;
    std::string month;
    std::string year;
    std::string hour;
    std::string minute;
};

enum class DateTimeField { Day, Month, Year, Hour, Minute };

enum class DateTimeProblem {
    NotAWholeNumber,        // not a number, or beyond a 16-bit integer once rounded
    DroppedByCalendarReform, // 5 to 14 October 1582, refused as the year's fault
    OutOfRange,              // a whole number beyond the field's bounds
    NoSuchDay                // a day its month does not have, as 31 April or 29 February 2001
};

struct DateTimeError {
    DateTimeField field;
    std::string text; // what the field held
    DateTimeProblem problem = DateTimeProblem::NotAWholeNumber;
};

struct DateTimeReading {
    std::optional<DateTimeError> error; // set when a field was refused; nothing was written then
    PlaceReading place;
};

// The time-zone and summer-time boxes of the place picker, as typed (hours, east positive).
struct ZoneInput {
    std::string zoneText;
    std::string summerText;
};

struct ChartComputationResult {
    bool ok = false;
    EphemerisFailure failure; // when !ok
    double jdUt = 0.0;
};

// Writes the place into the state and tells what the picker must show.
PlaceReading readPlace(ChartState& state, const PlaceInput& place);

// Writes the date and time of one row into the state, then reads the place. A field that is not
// a number, or does not fit a 16-bit integer once rounded, refuses the row and leaves the state
// as it was; so does a day the calendar reform dropped. Other days and times beyond the
// calendar (day 0, month 13, hour 24) pass and roll into the neighbouring ones.
DateTimeReading readDateTime(ChartState& state, const DateTimeTexts& row, const PlaceInput& place);

// Arabic reason of a refusal, for a message box: which field must hold a whole number, or why
// the date never was.
std::string dateTimeErrorMessage(const DateTimeError& error);

// The hour of universal time of a local clock hour (it may leave 0..24: the library carries it
// into the neighbouring day); nothing when the zone or the summer correction lies beyond 24
// hours either way, or the hour is not finite.
std::optional<double> universalTimeHour(double localHour, const ZoneInput& zone);

// Fills the twelve slots of chart 0 (slots 0..11) or chart 1 (slots 12..23) from the date,
// time and place last read. A zone beyond 24 hours is refused before the library is asked;
// when the library cannot compute a body or the houses, the state is left as it was and the
// reason is returned.
ChartComputationResult computeChart(ChartState& state, int chart, const ZoneInput& zone,
                                    EphemerisApi& ephemeris = swissEphemeris());

// "Placidus", "Whole sign", …: the system's name in velmora-cli's output.
const char* houseSystemName(HouseSystem system);
// "بلاسيدوس", "ألكابيتيوس", …: the system's name in the windows.
const char* houseSystemArabicName(HouseSystem system);
// The system an option names: "placidus", "koch", …, "equal", "whole-sign".
std::optional<HouseSystem> houseSystemOfOption(std::string_view option);

// "نظام البيوت: " and the Arabic name of the system of the first chart's cusps.
std::string houseSystemLine(const ChartState& state);

// " بنظام بورفيري لأن نظام … غير معرّف عند هذا العرض": why cusps chosen in `chosen` are
// Porphyry ones, after what names the houses.
std::string porphyryFallbackText(HouseSystem chosen);

// One Arabic line for each of the first `charts` charts whose houses are Porphyry ones because
// the chosen system is undefined at the place's latitude, each ending in a line break; empty
// when every chart has the chosen system's houses.
std::string houseSystemNote(const ChartState& state, int charts);

// Sign, classes and house of each first-chart point, shown or not.
void classifyPoints(ChartState& state);

// The first-chart house 1..12 whose arc holds a longitude, both cusps included (a point on
// cusp h + 1 counts to house h); 0 when none does.
int houseOfLongitude(const ChartState& state, double longitude);

// Whether cusp 0..11 of a system is the angle the quadrant systems put there: the ascendant,
// lower heaven, descendant and midheaven at cusps 0, 3, 6 and 9. Equal houses keep only the
// horizon there, whole signs none.
bool cuspIsAngle(HouseSystem system, int cusp);

// The angle of chart 0 or 1 that cusp 0, 3, 6 or 9 marks in a quadrant system, as stored: that
// cusp where it is the angle, else from the chart's ascendant or midheaven.
float angleLongitude(const ChartState& state, int chart, int cusp);

// " الطالع في …" and " وسط السماء في …" for each angle of the first `charts` charts that no
// cusp holds; none in a quadrant system.
std::vector<std::string> angleLines(const ChartState& state, int charts);

// A library cusp as stored: half an arc-second high, so truncating texts round it, and kept
// below 360.
float storedCusp(double libraryCusp);

// Whole degrees and whole minutes of a decimal degree value, both without sign, as a press on
// the map fills the coordinate boxes: 39.83 and -39.83 both give "39" and "49".
struct CoordinateTexts {
    std::string degrees;
    std::string minutes;
};
CoordinateTexts coordinateTexts(float value);

// Sign 1..12 of a longitude, a boundary belonging to the earlier sign; 0 outside 0..360.
int signOfLongitude(double longitude);

// The zone in whole hours derived from an east longitude: the nearest 15 degrees, halves away
// from zero; a longitude no place has gives a zone no place has, never an undefined one.
int zoneFromLongitude(double eastLongitude);

} // namespace velmora
