#pragma once

#include "cli/CliArguments.h"
#include "core/ChartState.h"
#include "core/Ephemeris.h"

#include <string>

namespace velmora::cli {

inline constexpr int kExitOk = 0;
inline constexpr int kExitUsage = 2;
inline constexpr int kExitEphemeris = 3;

struct CommandResult {
    int exitCode = kExitOk;
    std::string output; // for standard output
    std::string error;  // one line for standard error
};

// Runs a chart request exactly as the data-entry dialog does and renders the chart state.
CommandResult runChart(const ChartOptions& options, ChartState& state, EphemerisApi& ephemeris);


} // namespace velmora::cli
