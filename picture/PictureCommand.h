#pragma once

#include "cli/ChartReport.h"

#include <QDateTime>

#include <string>
#include <vector>

namespace velmora::picture {

inline constexpr int kExitUnwritable = 4;

// Runs velmora-picture's command line (without the program name): computes the chart as
// `velmora-cli chart` does and writes its wheel to the --out file, in the format its suffix
// names. `now` is the clock the horary caption is built from. Needs a QGuiApplication.
cli::CommandResult runPicture(const std::vector<std::string>& args, ChartState& state,
                              EphemerisApi& ephemeris, const QDateTime& now);

std::string pictureUsage();

} // namespace velmora::picture
