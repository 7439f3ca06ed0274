// The command line, one argument per line: it is refused with one line, or it holds real
// moments, a place on the globe and a zone within a day, and prints no infinite number.
#include "cli/EphemeridesReport.h"
#include "core/Calendar.h"
#include "core/Numbers.h"
#include "tests/core/FakeEphemeris.h"
#include "tests/fuzz/FuzzSupport.h"

#include <cmath>

using namespace velmora;
using namespace velmora::cli;

namespace {

void requireRealMoment(const DateTimeTexts& row)
{
    const auto field = [](const std::string& text) {
        const auto number = wholeNumberText(text);
        FUZZ_REQUIRE(number && toInt16(*number));
        return static_cast<int>(*toInt16(*number));
    };
    FUZZ_REQUIRE(dateExists(field(row.year), field(row.month), field(row.day)));
    const int hour = field(row.hour);
    const int minute = field(row.minute);
    FUZZ_REQUIRE(hour >= 0 && hour <= 23 && minute >= 0 && minute <= 59);
}

void requireOnTheGlobe(const PlaceInput& place)
{
    ChartState state;
    readPlace(state, place);
    FUZZ_REQUIRE(std::fabs(state.PlaceLatitude) <= 90 && std::fabs(state.PlaceLongitude) <= 180);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::vector<std::string> args = fuzz::lines(data, size);
    const std::vector<std::string> rest(args.begin() + 1, args.end());
    if (args[0] == "chart") {
        if (const auto options = parseChartArguments(rest).options) {
            requireRealMoment(options->first);
            FUZZ_REQUIRE(options->second.has_value() == (chartKindInfo(options->kind).twoCharts == 1));
            if (options->second)
                requireRealMoment(*options->second);
            requireOnTheGlobe(options->place);
        }
    } else if (args[0] == "ephemerides") {
        if (const auto options = parseEphemeridesArguments(rest).options) {
            const double hour = leadingNumber(options->hourText);
            FUZZ_REQUIRE(hour >= 0 && hour < 24 && options->month >= 1 && options->month <= 12);
            requireOnTheGlobe(options->place);
        }
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
    FUZZ_REQUIRE(result.output.find("nan") == std::string::npos &&
                 result.output.find("inf") == std::string::npos);
    return 0;
}
