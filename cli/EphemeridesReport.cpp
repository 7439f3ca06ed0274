#include "cli/EphemeridesReport.h"

#include "cli/EventsReport.h"
#include "cli/LibraryReport.h"

#include "cli/PlacesReport.h"
#include "core/ChartComputation.h"
#include "core/Hijri.h"
#include "core/Numbers.h"

#include <algorithm>
#include <cmath>

namespace velmora::cli {

CommandResult runEphemeridesCommand(const EphemeridesOptions& given, ChartState& state,
                                    EphemerisApi& ephemeris)
{
    EphemeridesOptions options = given;
    std::optional<atlas::Place> city;
    if (options.city) {
        CityLookup found = lookUpCity(*options.city);
        if (!found.place)
            return found.failure;
        city = std::move(found.place);
        options.place = placeInputOf(*city);
    }

    // The window reads the place first, which derives the zone from the longitude.
    const PlaceReading place = readPlace(state, options.place);
    if (options.summerFromCity && city) {
        // The legal time of the 15th of the month at the table's hour.
        const double hour = leadingNumber(options.hourText);
        const int year = static_cast<int>(leadingNumber(options.yearText));
        const CalendarDate middle = options.hijri ? civilOf({year, options.month, 15}).value()
                                                  : CalendarDate{year, options.month, 15};
        const LegalSummer legal = legalSummer(
            *city, {middle.year, middle.month, middle.day, static_cast<int>(std::floor(hour)),
                    static_cast<int>((hour - std::floor(hour)) * 60)},
            place.zoneText);
        if (!legal.error.empty())
            return {kExitAtlas, {}, legal.error};
        options.summerText = legal.summerText;
    }

    EphemeridesInput input;
    input.monthIndex = options.month - 1;
    input.yearText = options.yearText;
    input.hijri = options.hijri;
    input.hourText = options.hourText;
    input.table = options.table;
    input.zodiacal = !options.decimal;
    input.zoneText = options.zoneText.value_or(place.zoneText);
    input.summerText = options.summerText;
    input.latitude = state.PlaceLatitude;
    input.longitude = state.PlaceLongitude;
    input.orbs = defaultAspectOrbs();
    input.houses = options.houses;

    const EphemeridesResult result = runEphemerides(input, ephemeris);
    if (!result.ok)
        return {kExitEphemeris, {}, "day " + std::to_string(result.failedDay) + ": " +
                                        failureText(result.failure)};
    return {kExitOk,
            ephemeridesTableText(result.table, options.csv ? TableTextForm::Csv : TableTextForm::Tabs),
            result.houseNote.empty()
                ? std::string()
                : std::string("note: the houses of the days marked * are Porphyry cusps, ") +
                      houseSystemName(options.houses) + " being undefined at this latitude"};
}

CommandResult runCommand(const std::vector<std::string>& args, ChartState& state,
                         EphemerisApi& ephemeris, std::ostream* rows)
{
    const std::vector<std::string> rest(args.empty() ? args.end() : args.begin() + 1, args.end());
    if (!args.empty() && (args[0] == "--help" || args[0] == "-h" || args[0] == "help"))
        return {kExitOk, help(), {}};
    if (!args.empty() && args[0] == "chart" &&
        std::find(rest.begin(), rest.end(), "--batch") != rest.end())
        return runBatchCommand(rest, state, ephemeris, rows);
    if (!args.empty() && args[0] == "events")
        return runEventsCommand(rest, state, ephemeris);
    if (!args.empty() && args[0] == "return")
        return runReturnCommand(rest, state, ephemeris);
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
    if (!args.empty() && args[0] == "places") {
        const ParsedPlacesArguments parsed = parsePlacesArguments(rest);
        if (!parsed.options)
            return {kExitUsage, {}, parsed.error + "; " + usage()};
        return runPlaces(*parsed.options);
    }
    if (!args.empty() && args[0] == "library")
        return runLibraryCommand(rest);
    if (!args.empty())
        return {kExitUsage, {}, "unknown command '" + args[0] + "'; " + usage()};
    return {kExitUsage, {}, usage()};
}

} // namespace velmora::cli
