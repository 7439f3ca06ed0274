// The command line, one argument per line: it is refused with one line, or it holds real
// moments, a place on the globe and a zone within a day, and prints no infinite number.
#include "cli/EphemeridesReport.h"
#include "core/Calendar.h"
#include "core/ChartComputation.h"
#include "core/Numbers.h"
#include "tests/core/FakeEphemeris.h"
#include "tests/fuzz/FuzzSupport.h"

#include <cmath>

using namespace velmora;
using namespace velmora::cli;

namespace {

// A row the command line accepts is a day of the calendar at a time from 0:00 to 23:59.
bool realMoment(const DateTimeTexts& row)
{
    ChartState s;
    return !readDateTime(s, row, {}).error && dateExists(s.ChartYear, s.ChartMonth, s.ChartDay) &&
           s.ChartHour >= 0 && s.ChartHour <= 23 && s.ChartMinute >= 0 && s.ChartMinute <= 59;
}

bool onTheGlobe(const PlaceInput& place)
{
    ChartState s;
    readPlace(s, place);
    return std::fabs(s.PlaceLatitude) <= 90 && std::fabs(s.PlaceLongitude) <= 180;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::vector<std::string> args = fuzz::lines(data, size);
    const std::vector<std::string> rest(args.begin() + 1, args.end());
    if (const auto chart = args[0] == "chart" ? parseChartArguments(rest).options : std::nullopt) {
        FUZZ_REQUIRE(realMoment(chart->first) && onTheGlobe(chart->place));
        FUZZ_REQUIRE(chart->second.has_value() == (chartKindInfo(chart->kind).twoCharts == 1));
        FUZZ_REQUIRE(!chart->second || realMoment(*chart->second));
    }
    if (const auto month = args[0] == "ephemerides" ? parseEphemeridesArguments(rest).options : std::nullopt) {
        const double hour = leadingNumber(month->hourText);
        FUZZ_REQUIRE(hour >= 0 && hour < 24 && onTheGlobe(month->place));
    }

    // Run as a whole: the library only sees local times within a day of Greenwich's.
    ChartState state;
    testing::FakeEphemeris ephemeris;
    const CommandResult result = runCommand(args, state, ephemeris);
    for (const double hour : ephemeris.hours)
        FUZZ_REQUIRE(hour >= -48 && hour < 72);
    FUZZ_REQUIRE(result.error.find('\n') == std::string::npos);
    FUZZ_REQUIRE(result.exitCode == kExitOk ? result.error.empty()
                                            : !result.error.empty() && result.output.empty());
    FUZZ_REQUIRE(result.output.find("nan") == std::string::npos && result.output.find("inf") == std::string::npos);
    return 0;
}
