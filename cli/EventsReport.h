#pragma once

#include "cli/ChartReport.h"
#include "core/ChartState.h"
#include "core/Ephemeris.h"

#include <string>
#include <vector>

namespace velmora::cli {

// "events": the chart's arguments and --from Y-M-D --to Y-M-D [--moon] [--node]
// [--json|--csv]; the transits, ingresses, stations and returns of the period, the days read
// on the place's clocks.
CommandResult runEventsCommand(const std::vector<std::string>& args, ChartState& state,
                               EphemerisApi& ephemeris);

// "return": the chart's arguments and --solar|--lunar --year Y [--month M] [--json]; the
// moments of the return within the year or the month.
CommandResult runReturnCommand(const std::vector<std::string>& args, ChartState& state,
                               EphemerisApi& ephemeris);

// "chart --batch FILE|-": one chart per CSV row, as JSON Lines in row order.
CommandResult runBatchCommand(const std::vector<std::string>& args, ChartState& state,
                              EphemerisApi& ephemeris);

} // namespace velmora::cli
