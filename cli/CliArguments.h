#pragma once

#include "core/ChartComputation.h"
#include "core/ChartRequest.h"
#include "core/ChartState.h"
#include "core/Ephemerides.h"

#include <optional>
#include <string>
#include <vector>

namespace velmora::cli {

// A chart request as the command line gives it, already in the forms the dialogs hold.
struct ChartOptions {
    std::string dateText;
    std::string timeText;
    DateTimeTexts first;
    std::optional<std::string> date2Text;
    std::optional<std::string> time2Text;
    std::optional<DateTimeTexts> second;
    PlaceInput place;
    std::optional<std::string> zoneText; // without it the zone follows the longitude
    std::string summerText = "0";
    std::optional<std::string> city;     // the place is the atlas's first match instead
    bool summerFromCity = false;         // --city without --zone or --summer: its legal time
    bool json = false;
    ChartKind kind = ChartKind::Natal;
    bool aspects = false;
    bool analysis = false;
    bool lots = false;      // the seven lots of the first chart
    bool dignities = false; // the essential dignities of the Sun through Saturn
    HouseSystem houses = HouseSystem::Placidus;
    std::optional<std::string> saved; // --saved NAME: the saved chart's request instead
    std::optional<std::string> db;    // the library file for --saved
    std::string name;                 // a saved chart's name
    std::optional<AtlasIdentity> atlasPlace; // a saved chart's atlas place
};

// A month of ephemerides as the command line gives it.
struct EphemeridesOptions {
    std::string yearText;
    int month = 1; // 1..12
    std::string hourText;
    PlaceInput place;
    std::optional<std::string> zoneText;
    std::string summerText = "0";
    std::optional<std::string> city;
    bool summerFromCity = false;
    EphemerisTableKind table = EphemerisTableKind::Planets;
    bool decimal = false;
    bool csv = false;
    HouseSystem houses = HouseSystem::Placidus; // of the houses table
    bool hijri = false;                         // the year and month are a Hijri month
};

struct ParsedEphemeridesArguments {
    std::optional<EphemeridesOptions> options;
    std::string error;
};

struct ParsedChartArguments {
    std::optional<ChartOptions> options;
    std::string error; // one line, when options is empty
};

// A search of the atlas as the command line gives it.
struct PlacesOptions {
    std::string query;
    int limit = 10;
    bool json = false;
};

struct ParsedPlacesArguments {
    std::optional<PlacesOptions> options;
    std::string error;
};

// Parses the arguments that follow "chart".
ParsedChartArguments parseChartArguments(const std::vector<std::string>& args);

// The texts of one batch row: the date and time, and --lat/--lon or --city with the optional
// --zone and --summer (empty: not given).
struct BatchRowTexts {
    std::string date;
    std::string time;
    std::string lat;
    std::string lon;
    std::string city;
    std::string zone;
    std::string summer;
};

// Puts a batch row into options parsed once from the batch's shared arguments, reading each
// field as parseChartArguments reads the option of its name; empty on success, else the same
// one line it would give.
std::string readBatchRow(ChartOptions& options, const BatchRowTexts& row);

// Parses the arguments that follow "ephemerides".
ParsedEphemeridesArguments parseEphemeridesArguments(const std::vector<std::string>& args);

// Parses the arguments that follow "places".
ParsedPlacesArguments parsePlacesArguments(const std::vector<std::string>& args);

// Splits "Y-M-D" (the year may carry a minus sign) into the three date texts.
std::optional<DateTimeTexts> splitDate(const std::string& text);
// Splits "H:M" into the hour and minute texts.
bool splitTime(const std::string& text, DateTimeTexts& row);

// Reads a coordinate as degrees and minutes with a hemisphere letter ("21:27N") or as signed
// decimal degrees ("-33.9"), which is split into whole degrees and whole minutes as a map pick
// does. `positive` and `negative` are the accepted letters; `limit` the largest degree value.
struct Coordinate {
    std::string degrees;
    std::string minutes;
    bool negative = false;
};
std::optional<Coordinate> parseCoordinate(const std::string& text, char positive, char negative,
                                          int limit);

// The one usage line that follows every refusal.
std::string usage();
// What --help prints: the usage and every option.
std::string help();

} // namespace velmora::cli
