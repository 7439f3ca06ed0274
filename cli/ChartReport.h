#pragma once

#include "atlas/Atlas.h"
#include "cli/CliArguments.h"
#include "core/ChartRequest.h"
#include "core/ChartState.h"
#include "core/Ephemeris.h"

#include <array>
#include <optional>
#include <string>

namespace velmora::cli {

inline constexpr int kExitOk = 0;
inline constexpr int kExitUsage = 2;
inline constexpr int kExitEphemeris = 3;
inline constexpr int kExitAtlas = 4; // the place index or the time-zone data cannot be read
inline constexpr int kExitLibrary = 4; // the chart library cannot be opened or is corrupt

struct CommandResult {
    int exitCode = kExitOk;
    std::string output; // for standard output
    std::string error;  // one line for standard error
};

// Text as a JSON string literal (quotes and control characters escaped; UTF-8 kept).
std::string jsonString(const std::string& text);
// The same literal appended to `out`.
void appendJsonString(std::string& out, const std::string& text);

// The charts of a request computed into the state exactly as the data-entry dialog's OK
// computes them (the place from --city when given, each row at its legal time), the state then set up as a new chart window
// of the kind sets it up (oriented on the ascendant, every point in the aspect search, the
// initial orbs, the wheel's rotation).
struct ComputedCharts {
    CommandResult failure; // exit code and reason (no usage line) when something failed
    ChartOptions options;  // as computed: with the city's place and legal summer hours
    std::optional<atlas::Place> city;
    std::array<RowOutcome, 2> rows; // the zone, summer correction and day of each chart
};
ComputedCharts computeCharts(const ChartOptions& options, ChartState& state,
                             EphemerisApi& ephemeris);

// The request the options describe, the place from the city when one was looked up.
ChartRequest chartRequestOf(const ChartOptions& options, const std::optional<atlas::Place>& city);

// Runs a chart request exactly as the data-entry dialog does and renders the chart state.
CommandResult runChart(const ChartOptions& options, ChartState& state, EphemerisApi& ephemeris);

// One English line saying why a date could not be computed.
std::string failureText(const EphemerisFailure& failure);

} // namespace velmora::cli
