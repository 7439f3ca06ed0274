#pragma once

#include "atlas/LegalTime.h"
#include "core/ChartRequest.h"

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

} // namespace velmora::atlas
