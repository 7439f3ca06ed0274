#include "ui/common/WindowRequest.h"

#include "atlas/RequestLegalTime.h"
#include "core/Numbers.h"

namespace velmora::ui {

RequestResult computeForWindows(ChartState& state, const ChartRequest& asked)
{
    const double typedSummer = leadingNumber(asked.place.summerText);
    const auto legalSummer = [typedSummer](const AtlasIdentity& place, const RowClock& local,
                                           int zoneHours) {
        return atlas::requestLegalSummer()(place, local, zoneHours).value_or(typedSummer);
    };
    return computeRequest(state, asked, swissEphemeris(), legalSummer);
}

} // namespace velmora::ui
