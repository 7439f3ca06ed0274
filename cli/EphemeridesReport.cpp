#include "cli/EphemeridesReport.h"

#include "core/ChartComputation.h"

namespace velmora::cli {

namespace {

std::string csvCell(const std::string& cell)
{
    if (cell.find_first_of(",\"\n") == std::string::npos)
        return cell;
    std::string out = "\"";
    for (char c : cell) {
        if (c == '"')
            out += '"';
        out += c;
    }
    return out + "\"";
}

std::string render(const EphemeridesTable& table, bool csv)
{
    std::string out;
    for (const auto& row : table.cells) {
        std::size_t end = row.size();
        if (!csv) {
            while (end > 0 && row[end - 1].empty())
                --end;
        }
        for (std::size_t c = 0; c < end; ++c) {
            if (c)
                out += csv ? "," : "\t";
            out += csv ? csvCell(row[c]) : row[c];
        }
        out += "\n";
    }
    return out;
}

} // namespace

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
    return {kExitOk, render(result.table, options.csv), {}};
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
