#pragma once

#include "atlas/LegalTime.h"
#include "core/ChartRequest.h"

#include <functional>
#include <optional>

namespace velmora::atlas {

// The legal time of an atlas place as a chart request looks it up: the summer correction of
// its time zone at the row's local clock, nothing where the database lacks the zone. For the
// programs that link both the core and the atlas.
inline LegalSummerLookup requestLegalSummer()
{
    return [](const AtlasIdentity& place, const RowClock& local, int zoneHours) {
        return legalSummerForRow(place.timeZone, place.longitude,
                                 {local.year, local.month, local.day, local.hour, local.minute},
                                 zoneHours);
    };
}

// The clock of a request's place at a moment of universal time, in hours ahead of it: the
// atlas place's legal time where its zone is known, else the first row's zone and correction.
inline std::function<double(double jdUt)> requestClock(const ChartRequest& request)
{
    const RowZone fixed = firstRowZone(request, requestLegalSummer());
    const std::optional<AtlasIdentity> place =
        request.place.summerGiven ? std::nullopt : request.place.atlas;
    return [fixed, place](double jdUt) {
        if (place) {
            if (auto hours = placeOffsetHoursAt(place->timeZone, place->longitude, jdUt))
                return *hours;
        }
        return fixed.zone + fixed.summer;
    };
}

} // namespace velmora::atlas
