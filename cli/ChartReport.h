#pragma once

#include "cli/CliArguments.h"
#include "core/ChartState.h"
#include "core/Ephemeris.h"

#include <string>

namespace velmora::cli {

inline constexpr int kExitOk = 0;
inline constexpr int kExitUsage = 2;
inline constexpr int kExitEphemeris = 3;
inline constexpr int kExitAtlas = 4; // the place index or the time-zone data cannot be read

struct CommandResult {
    int exitCode = kExitOk;
    std::string output; // for standard output
    std::string error;  // one line for standard error
};

// Text as a JSON string literal (quotes and control characters escaped; UTF-8 kept).
std::string jsonString(const std::string& text);

// Runs a chart request exactly as the data-entry dialog does and renders the chart state.
CommandResult runChart(const ChartOptions& options, ChartState& state, EphemerisApi& ephemeris);


} // namespace velmora::cli
