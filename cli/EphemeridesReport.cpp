#include "cli/EphemeridesReport.h"

#include "core/ChartComputation.h"

namespace velmora::cli {

CommandResult runEphemeridesCommand(const EphemeridesOptions& options, ChartState& state,
                                    EphemerisApi& ephemeris)
{
    // The window reads the place first, which derives the zone from the longitude.
    const PlaceReading place = readPlace(state, options.place);

    EphemeridesInput input;
    input.monthIndex = options.month - 1;
    input.yearText = options.yearText;
    input.hourText = options.hourText;
    input.table = options.table;
    input.zodiacal = !options.decimal;
    input.zoneText = options.zoneText.value_or(place.zoneText);
    input.summerText = options.summerText;
    input.latitude = state.PlaceLatitude;
    input.longitude = state.PlaceLongitude;
    input.orbs = defaultAspectOrbs();

    const EphemeridesResult result = runEphemerides(input, ephemeris);
    if (!result.ok)
        return {kExitEphemeris, {}, result.error};
    return {kExitOk,
            ephemeridesTableText(result.table, options.csv ? TableTextForm::Csv : TableTextForm::Tabs),
            {}};
}

CommandResult runCommand(const std::vector<std::string>& args, ChartState& state,
                         EphemerisApi& ephemeris)
{
    const std::vector<std::string> rest(args.empty() ? args.end() : args.begin() + 1, args.end());
    if (!args.empty() && args[0] == "chart") {
        const ParsedChartArguments parsed = parseChartArguments(rest);
        if (!parsed.options)
            return {kExitUsage, {}, parsed.error + "; " + usage()};
        return runChart(*parsed.options, state, ephemeris);
    }
    if (!args.empty() && args[0] == "ephemerides") {
        const ParsedEphemeridesArguments parsed = parseEphemeridesArguments(rest);
        if (!parsed.options)
            return {kExitUsage, {}, parsed.error + "; " + usage()};
        return runEphemeridesCommand(*parsed.options, state, ephemeris);
    }
    return {kExitUsage, {}, usage()};
}

} // namespace velmora::cli
