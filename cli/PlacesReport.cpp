#include "cli/PlacesReport.h"

#include "core/ChartComputation.h"
#include "core/Numbers.h"

namespace velmora::cli {

namespace {

atlas::AtlasOpening openAtlas()
{
    return atlas::Atlas::open(atlas::defaultIndexPath());
}

std::string noMatch(const std::string& query)
{
    return "no place in the atlas matches '" + query + "'";
}

} // namespace

std::string placeJson(const atlas::Place& place)
{
    return "{\"name\": " + jsonString(place.name) + ", \"name_latin\": " +
           jsonString(place.nameLatin) + ", \"region\": " + jsonString(place.region) +
           ", \"country\": " + jsonString(place.country) + ", \"lat\": " +
           numberText(place.latitude) + ", \"lon\": " + numberText(place.longitude) +
           ", \"zone\": " + jsonString(place.zone) +
           ", \"population\": " + std::to_string(place.population) + "}";
}

std::string placeLine(const atlas::Place& place)
{
    return place.name + "\t" + place.nameLatin + "\t" + place.region + "\t" + place.country +
           "\t" + numberText(place.latitude) + "\t" + numberText(place.longitude) + "\t" +
           place.zone + "\t" + std::to_string(place.population) + "\n";
}

CommandResult runPlaces(const PlacesOptions& options)
{
    auto opened = openAtlas();
    if (!opened.atlas)
        return {kExitAtlas, {}, opened.error};
    const atlas::Matches matches = opened.atlas->search(options.query, options.limit);
    if (!matches.error.empty())
        return {kExitAtlas, {}, matches.error};
    if (matches.places.empty())
        return {kExitUsage, {}, noMatch(options.query)};
    std::string out = options.json ? "[" : "";
    for (std::size_t i = 0; i < matches.places.size(); ++i) {
        if (options.json)
            out += (i ? ",\n " : "") + placeJson(matches.places[i]);
        else
            out += placeLine(matches.places[i]);
    }
    return {kExitOk, options.json ? out + "]\n" : out, {}};
}

CityLookup lookUpCity(const std::string& query)
{
    auto opened = openAtlas();
    if (!opened.atlas)
        return {std::nullopt, {kExitAtlas, {}, opened.error}};
    atlas::Matches matches = opened.atlas->search(query, 1);
    if (!matches.error.empty())
        return {std::nullopt, {kExitAtlas, {}, matches.error}};
    if (matches.places.empty())
        return {std::nullopt, {kExitUsage, {}, noMatch(query)}};
    return {std::move(matches.places.front()), {}};
}

PlaceInput placeInputOf(const atlas::Place& city)
{
    const CoordinateTexts lon = coordinateTexts(static_cast<float>(city.longitude));
    const CoordinateTexts lat = coordinateTexts(static_cast<float>(city.latitude));
    return {lon.degrees, lon.minutes, lat.degrees, lat.minutes, city.longitude < 0,
            city.latitude < 0};
}

std::string unknownZoneText(const atlas::Place& city)
{
    return "the time zone " + city.zone + " of " + city.nameLatin +
           " is not in the system's time-zone database; give --summer";
}

LegalSummer legalSummer(const atlas::Place& city, const atlas::LocalMoment& local,
                        const std::string& zoneText)
{
    const auto summer = atlas::legalSummerForRow(city.zone, city.longitude, local,
                                                 static_cast<int>(leadingNumber(zoneText)));
    if (!summer)
        return {{}, unknownZoneText(city)};
    return {numberText(*summer), {}};
}

AtlasIdentity identityOf(const atlas::Place& city)
{
    return {city.name, city.zone, city.latitude, city.longitude};
}

} // namespace velmora::cli
