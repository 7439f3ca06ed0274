#pragma once

#include "atlas/Atlas.h"
#include "atlas/LegalTime.h"
#include "cli/ChartReport.h"
#include "core/ChartRequest.h"

#include <optional>
#include <string>

namespace velmora::cli {

// Lists the atlas's matches for a name, most populous first: one place a line with the fields
// separated by tabs, or a JSON array.
CommandResult runPlaces(const PlacesOptions& options);

// The first match of a --city name, or the failure to report: exit 2 when nothing matches, 4 when
// the atlas cannot be read.
struct CityLookup {
    std::optional<atlas::Place> place;
    CommandResult failure;
};
CityLookup lookUpCity(const std::string& query);

// The city's coordinates as the same decimal degrees typed after --lat and --lon give them.
PlaceInput placeInputOf(const atlas::Place& city);

// The summer-time hours that, added to the zone the longitude gives, make the city's legal time
// at a local moment; the error when the system's time-zone database lacks the city's zone.
struct LegalSummer {
    std::string summerText;
    std::string error;
};
LegalSummer legalSummer(const atlas::Place& city, const atlas::LocalMoment& local,
                        const std::string& zoneText);

// Why a city's legal time cannot be told.
std::string unknownZoneText(const atlas::Place& city);

// The city as a chart request names it, and the legal time of such places for each row.
AtlasIdentity identityOf(const atlas::Place& city);

// One place as a JSON object, and as one line of text naming it.
std::string placeJson(const atlas::Place& place);
std::string placeLine(const atlas::Place& place);

} // namespace velmora::cli
