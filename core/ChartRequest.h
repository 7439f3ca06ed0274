#pragma once

#include "core/ChartComputation.h"
#include "core/ChartState.h"
#include "core/Ephemeris.h"

#include <array>
#include <functional>
#include <optional>
#include <string>

namespace velmora {

// One date-and-time row of a request, as typed.
struct RequestRow {
    DateTimeTexts texts;
    bool timeUnknown = false; // the time of birth is not known: the wheel starts at Aries
};

// A place found in the atlas: what names it and what gives its legal time.
struct AtlasIdentity {
    std::string name;
    std::string timeZone;   // IANA name of the system's time-zone database
    double latitude = 0.0;  // decimal degrees, north positive
    double longitude = 0.0; // decimal degrees, east positive
};

// The place of a request: the coordinate boxes, the summer correction as typed, and the atlas
// place it came from, if it did.
struct RequestPlace {
    PlaceInput coordinates;
    std::string summerText = "0";
    std::optional<AtlasIdentity> atlas;
    // For an atlas place, each row's summer correction is its legal time unless a correction
    // was given explicitly; a place of a map press or typed boxes keeps the typed one.
    bool summerGiven = false;
};

// Everything a chart is computed from: plain data, so that it can be stored, reloaded and kept
// by the window it made.
struct ChartRequest {
    ChartKind kind = ChartKind::Natal;
    std::string name;
    RequestRow first;
    std::optional<RequestRow> second; // for the two-chart kinds; computed whenever present
    RequestPlace place;
    std::optional<std::string> zoneText; // replaces the zone derived from the longitude
};

// The local clock of a row once it is read.
struct RowClock {
    int year = 0;
    int month = 1;
    int day = 1;
    int hour = 0;
    int minute = 0;
};

// The summer correction in hours that turns a zone of whole hours into the legal time of an
// atlas place at a local moment; nothing when its time zone is unknown.
using LegalSummerLookup =
    std::function<std::optional<double>(const AtlasIdentity& place, const RowClock& local,
                                        int zoneHours)>;

enum class RequestProblem {
    None,
    Field,            // a date or time field is refused: `field`
    Ephemeris,        // the library could not compute the row: `ephemeris`
    UnknownTimeZone,  // the atlas place's time zone is not in the database
};

struct RequestFailure {
    RequestProblem problem = RequestProblem::None;
    int row = 0; // 0 the first row, 1 the second
    DateTimeError field{DateTimeField::Year, {}};
    EphemerisFailure ephemeris;
};

// What one row was computed with.
struct RowOutcome {
    std::string zoneText;
    double summerHours = 0.0;
    double jdUt = 0.0;
};

struct RequestResult {
    bool ok = false;
    RequestFailure failure; // when !ok
    std::array<RowOutcome, 2> rows;
};

// The place's boxes as decimal degrees, north and east positive.
struct PlaceDegrees {
    double latitude = 0.0;
    double longitude = 0.0;
};
PlaceDegrees placeDegrees(const PlaceInput& place);

// The zone and summer correction of the first row as the request gives them, without
// computing: the zone given or the longitude's, and the summer correction given or, for an
// atlas place, its legal time where `legalSummer` knows it.
struct RowZone {
    double zone = 0.0;
    double summer = 0.0;
};
RowZone firstRowZone(const ChartRequest& request, const LegalSummerLookup& legalSummer);

// The first field of a row that the data entry refuses, in its order: hour 0..23, minute
// 0..59, day 1..31, month 1..12, year -20000..20000, each a whole 16-bit number; then a day the
// calendar reform dropped (the year's fault) and a day its month does not have.
std::optional<DateTimeError> rowFault(const DateTimeTexts& row);

// Checks every row, then computes them into a copy of the state (the first chart classified)
// and stores the copy only when every step succeeded; otherwise the state is left as it was
// and the first failure returned. The legal time of an atlas place comes from `legalSummer`;
// without it the typed correction applies.
RequestResult computeRequest(ChartState& state, const ChartRequest& request,
                             EphemerisApi& ephemeris = swissEphemeris(),
                             const LegalSummerLookup& legalSummer = {});

} // namespace velmora
