#pragma once

#include "cli/ChartReport.h"

#include <ostream>

namespace velmora::cli {

// Runs a month of ephemerides as the ephemerides window does and prints its table: cells
// separated by tabs (empty cells at a row's end left out), or as CSV.
CommandResult runEphemeridesCommand(const EphemeridesOptions& options, ChartState& state,
                                    EphemerisApi& ephemeris);

// Runs a whole command line (without the program name). A batch writes its rows to `rows` as
// they are computed, when given, rather than into the result.
CommandResult runCommand(const std::vector<std::string>& args, ChartState& state,
                         EphemerisApi& ephemeris, std::ostream* rows = nullptr);

} // namespace velmora::cli
