#include "cli/CliArguments.h"

#include "core/Calendar.h"
#include "core/ChartRequest.h"
#include "core/Hijri.h"
#include "core/Numbers.h"

#include <cctype>
#include <cmath>
#include <map>
#include <stdexcept>
#include <string_view>

namespace velmora::cli {

namespace {

std::vector<std::string> split(const std::string& text, char separator)
{
    std::vector<std::string> parts;
    std::string current;
    for (char c : text) {
        if (c == separator) {
            parts.push_back(current);
            current.clear();
        } else {
            current += c;
        }
    }
    parts.push_back(current);
    return parts;
}

bool allDigits(const std::string& text)
{
    if (text.empty())
        return false;
    for (char c : text) {
        if (!std::isdigit(static_cast<unsigned char>(c)))
            return false;
    }
    return true;
}

// Refuses, by the data entry's rule, a date that is no day of its calendar and a time beyond
// 0:00 to 23:59; empty when the row is a real moment.
std::string checkRow(const DateTimeTexts& row, const std::string& dateOption,
                     const std::string& timeOption)
{
    const auto fault = rowFault(row);
    if (!fault)
        return {};
    const auto bad = [&fault](const char* field, const std::string& option,
                              const std::string& expected, const std::string* text = nullptr) {
        return std::string("bad ") + field + " '" + (text ? *text : fault->text) + "' in " +
               option + " (" + expected + ")";
    };
    switch (fault->field) {
    case DateTimeField::Hour: return bad("hour", timeOption, "0 to 23");
    case DateTimeField::Minute: return bad("minute", timeOption, "0 to 59");
    case DateTimeField::Month: return bad("month", dateOption, "1 to 12");
    case DateTimeField::Year:
        if (fault->problem == DateTimeProblem::DroppedByCalendarReform)
            return bad("day", dateOption,
                       "5 to 14 October 1582 never were: the reform went from the 4th to the 15th",
                       &row.day);
        return bad("year", dateOption, "a whole number from -20000 to 20000");
    case DateTimeField::Day:
        break;
    }
    if (fault->problem != DateTimeProblem::NoSuchDay)
        return bad("day", dateOption, "1 to 31");
    return bad("day", dateOption,
               "1 to " + std::to_string(daysInMonth(*wholeInt16(row.month) - 1,
                                                    *wholeInt16(row.year))) +
                   " in that month");
}

// No zone or summer correction lies farther from Greenwich than a day.
bool withinADay(const std::string& text)
{
    const auto hours = wholeNumberText(text);
    return hours && std::fabs(*hours) <= 24;
}

} // namespace

std::string usage()
{
    return "usage: velmora-cli chart --date Y-M-D|--hijri Y-M-D --time H:M --lat 21:27N|21.45 "
           "--lon 39:49E|39.82|--city NAME [--summer H] [--zone H] [--date2 Y-M-D --time2 H:M] "
           "[--kind natal|horary|solar|transits|comparison|progressions] [--aspects] "
           "[--analysis] [--lots] [--dignities] [--houses SYSTEM] [--json] | velmora-cli chart "
           "--saved NAME [--db PATH] [--aspects] [--analysis] [--lots] [--dignities] "
           "[--houses SYSTEM] [--json] | velmora-cli chart --batch FILE|- [--houses SYSTEM] [--aspects] "
           "[--analysis] [--lots] [--dignities] | velmora-cli events CHART --from Y-M-D --to Y-M-D "
           "[--moon] [--node] [--json|--csv] | velmora-cli return CHART --solar|--lunar --year Y "
           "[--month M] [--json] | velmora-cli ephemerides --year Y --month 1..12 --hour H "
           "--lat .. --lon ..|--city NAME [--summer H] [--zone H] --table planets|houses|aspects "
           "[--houses SYSTEM] [--hijri] [--decimal] [--csv] | velmora-cli places NAME [--limit N] [--json] | velmora-cli library "
           "list [--json]|import FILE.aaf|export FILE.aaf|delete NAME [--db PATH] | "
           "velmora-cli --help | velmora-cli --version";
}

std::string help()
{
    return "velmora-cli computes charts and monthly ephemerides as Velmora's windows do.\n\n" +
           usage() +
           "\n\n"
           "  --date Y-M-D --time H:M  local date and clock time (the year may be negative)\n"
           "  --hijri Y-M-D            the local date as a day of the Umm al-Qura calendar,\n"
           "                           in place of --date\n"
           "  --lat, --lon             21:27N, 39:49E (degrees:minutes and hemisphere) or signed\n"
           "                           decimal degrees, north and east positive\n"
           "  --city NAME              the first place of the atlas instead, each date at its\n"
           "                           legal time\n"
           "  --summer H               summer-time correction in hours, -24 to 24 (default 0)\n"
           "  --zone H                 time zone in hours east, -24 to 24: overrides the zone\n"
           "                           derived from the longitude, which the windows always use\n"
           "                           and do not let you override\n"
           "  --kind K                 natal (default), horary, solar: one date; transits,\n"
           "                           comparison, progressions: --date2 and --time2 too\n"
           "  --aspects --analysis     the aspect lines and the sign-class analysis\n"
           "  --lots --dignities       the seven lots (day or night by the Sun) and the essential\n"
           "                           dignities of the Sun through Saturn\n"
           "  --houses SYSTEM          placidus (default), koch, porphyry, regiomontanus,\n"
           "                           campanus, alcabitius, equal (from the ascendant) or\n"
           "                           whole-sign; Porphyry where the system is undefined\n"
           "  --json                   the chart as JSON\n"
           "  --hour H                 ephemerides: the local clock hour of every day, a whole\n"
           "                           number from 0 to 23\n"
           "  --hijri                  ephemerides: --year and --month name an Umm al-Qura month,\n"
           "                           whose days are the rows\n"
           "  --decimal --csv          ephemerides: decimal longitudes; comma-separated cells\n"
           "  places NAME              the atlas's places whose names begin with NAME's words\n"
           "  --saved NAME             chart: the saved chart of that exact name (or #N, its\n"
           "                           number, where several have the name)\n"
           "  library list|import|export|delete\n"
           "                           the saved charts: list them, import or export AAF\n"
           "                           records, delete one by its exact name\n"
           "  --db PATH                the chart library file instead of the program's own\n"
           "  --batch FILE|-           chart: one chart a row of a CSV file (or standard input)\n"
           "                           whose header names name,date,time,lat,lon,zone,summer or\n"
           "                           name,date,time,city; one JSON object a line, in row order,\n"
           "                           with \"row\" and \"name\", or \"error\" for a row that fails\n"
           "  events CHART             the transits to the chart's points, sign ingresses,\n"
           "                           stations and solar returns from --from to --to (whole\n"
           "                           local days); CHART is a chart's --date, --time and place\n"
           "                           or --saved NAME; --moon, --node: those bodies too\n"
           "  return CHART             the moments the Sun (--solar) or the Moon (--lunar)\n"
           "                           returns to its natal place in --year, or in --month\n\n"
           "Exit status: 0 success, 2 bad arguments, an unknown or ambiguous saved name, refused\n"
           "import records or an unreadable batch file, 3 a date the ephemeris cannot compute\n"
           "or a batch row that failed, 4 the atlas, a place's time zone or the chart library\n"
           "cannot be read.\n";
}

std::optional<DateTimeTexts> splitDate(const std::string& text)
{
    const bool negativeYear = !text.empty() && text[0] == '-';
    const auto parts = split(negativeYear ? text.substr(1) : text, '-');
    if (parts.size() != 3)
        return std::nullopt;
    for (const auto& part : parts) {
        if (part.empty())
            return std::nullopt;
    }
    DateTimeTexts row;
    row.year = negativeYear ? "-" + parts[0] : parts[0];
    row.month = parts[1];
    row.day = parts[2];
    return row;
}

bool splitTime(const std::string& text, DateTimeTexts& row)
{
    const auto parts = split(text, ':');
    if (parts.size() != 2 || parts[0].empty() || parts[1].empty())
        return false;
    row.hour = parts[0];
    row.minute = parts[1];
    return true;
}

std::optional<Coordinate> parseCoordinate(const std::string& text, char positive, char negative,
                                          int limit)
{
    if (text.empty())
        return std::nullopt;
    const char last = static_cast<char>(std::toupper(static_cast<unsigned char>(text.back())));
    if (last == positive || last == negative) {
        const auto parts = split(text.substr(0, text.size() - 1), ':');
        if (parts.size() != 2 || !allDigits(parts[0]) || !allDigits(parts[1]))
            return std::nullopt;
        const double degrees = leadingNumber(parts[0]);
        const double minutes = leadingNumber(parts[1]);
        if (minutes >= 60 || degrees + minutes / 60.0 > limit)
            return std::nullopt;
        return Coordinate{numberText(degrees), numberText(minutes), last == negative};
    }

    const auto value = wholeNumberText(text);
    if (!value || std::fabs(*value) > limit)
        return std::nullopt;
    // As a press on the map: whole degrees without sign, truncated minutes of the float value.
    const CoordinateTexts texts = coordinateTexts(static_cast<float>(*value));
    return Coordinate{texts.degrees, texts.minutes, *value < 0};
}

namespace {

// Option name -> whether it takes a value.
using KnownOptions = std::map<std::string, bool, std::less<>>;

struct OptionValues {
    // Looked up by the option's name as written, without a string made for it.
    std::map<std::string, std::string, std::less<>> values;
    std::string error;

    bool has(std::string_view name) const { return values.find(name) != values.end(); }
    const std::string& operator[](std::string_view name) const
    {
        const auto it = values.find(name);
        if (it == values.end())
            throw std::out_of_range(std::string(name));
        return it->second;
    }
};

OptionValues readOptions(const std::vector<std::string>& args, const KnownOptions& known,
                         std::initializer_list<const char*> required)
{
    OptionValues out;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const auto it = known.find(args[i]);
        if (it == known.end()) {
            out.error = "unknown argument: " + args[i];
            return out;
        }
        if (!it->second) {
            out.values[args[i]] = "";
            continue;
        }
        if (i + 1 >= args.size()) {
            out.error = args[i] + " needs a value";
            return out;
        }
        out.values[args[i]] = args[i + 1];
        ++i;
    }
    for (const char* name : required) {
        if (!out.has(name)) {
            out.error = std::string(name) + " is required";
            return out;
        }
    }
    return out;
}

// The place, zone and summer options shared by both commands, into the fields of the same
// names of either command's options; empty on success.
template <typename Options>
std::string readPlaceOptions(const OptionValues& values, Options& options)
{
    if (values.has("--city")) {
        if (values.has("--lat") || values.has("--lon"))
            return "--city replaces --lat and --lon";
        options.city = values["--city"];
        options.summerFromCity = !values.has("--zone") && !values.has("--summer");
    } else {
        if (!values.has("--lat") || !values.has("--lon"))
            return values.has("--lat") ? "--lon is required" : "--lat is required";
        const auto lat = parseCoordinate(values["--lat"], 'N', 'S', 90);
        if (!lat)
            return "bad --lat (expected 21:27N, 33:55S or signed decimal degrees)";
        const auto lon = parseCoordinate(values["--lon"], 'E', 'W', 180);
        if (!lon)
            return "bad --lon (expected 39:49E, 74:0W or signed decimal degrees)";
        options.place = PlaceInput{lon->degrees, lon->minutes, lat->degrees, lat->minutes,
                                   lon->negative, lat->negative};
    }
    if (values.has("--summer")) {
        if (!withinADay(values["--summer"]))
            return "bad --summer (expected hours, -24 to 24)";
        options.summerText = values["--summer"];
    }
    if (values.has("--zone")) {
        if (!withinADay(values["--zone"]))
            return "bad --zone (expected hours east of Greenwich, -24 to 24)";
        options.zoneText = values["--zone"];
    }
    return {};
}

// --hijri as the civil "Y-M-D" it names; empty when it is no day of the calendar.
std::string civilOfHijriOption(const std::string& text)
{
    const auto parts = splitDate(text);
    if (!parts || !allDigits(parts->year) || !allDigits(parts->month) || !allDigits(parts->day))
        return {};
    const auto civil = civilOfHijriRow(*parts);
    if (!civil)
        return {};
    return civil->year + "-" + civil->month + "-" + civil->day;
}

// A date and a time option into a row that names a real moment; empty on success.
std::string readRow(const OptionValues& values, const std::string& dateOption,
                    const std::string& timeOption, DateTimeTexts& row,
                    const std::string& dateText)
{
    auto date = splitDate(dateText);
    if (!date || !splitTime(values[timeOption], *date))
        return "bad " + dateOption + " or " + timeOption + " (expected Y-M-D and H:M)";
    row = *date;
    return checkRow(row, dateOption, timeOption);
}

const KnownOptions kPlaceOptions = {
    {"--lat", true}, {"--lon", true}, {"--city", true}, {"--summer", true}, {"--zone", true}};

KnownOptions withPlace(KnownOptions options)
{
    options.insert(kPlaceOptions.begin(), kPlaceOptions.end());
    return options;
}

std::optional<ChartKind> kindNamed(const std::string& name)
{
    static const std::map<std::string, ChartKind> kinds = {
        {"natal", ChartKind::Natal},           {"horary", ChartKind::Horary},
        {"solar", ChartKind::Solar},           {"transits", ChartKind::Transits},
        {"comparison", ChartKind::Comparison}, {"progressions", ChartKind::Progressions},
    };
    const auto it = kinds.find(name);
    if (it == kinds.end())
        return std::nullopt;
    return it->second;
}

// The --houses option into `houses`; an error line when it names no system.
std::string readHouses(const OptionValues& values, HouseSystem& houses)
{
    if (!values.has("--houses"))
        return {};
    const auto system = houseSystemOfOption(values["--houses"]);
    if (!system)
        return "bad --houses (expected placidus, koch, porphyry, regiomontanus, campanus, "
               "alcabitius, equal or whole-sign)";
    houses = *system;
    return {};
}

// What a chart prints besides its points and cusps, with a saved chart or typed rows alike.
ChartOptions withOutputs(const OptionValues& values)
{
    ChartOptions options;
    options.json = values.has("--json");
    options.aspects = values.has("--aspects");
    options.analysis = values.has("--analysis");
    options.lots = values.has("--lots");
    options.dignities = values.has("--dignities");
    return options;
}

} // namespace

ParsedChartArguments parseChartArguments(const std::vector<std::string>& args)
{
    static const KnownOptions known = withPlace({
        {"--date", true}, {"--time", true}, {"--date2", true}, {"--time2", true},
        {"--kind", true}, {"--json", false}, {"--aspects", false}, {"--analysis", false},
        {"--lots", false}, {"--dignities", false}, {"--saved", true}, {"--db", true},
        {"--houses", true},
        {"--hijri", true},
    });
    const OptionValues given = readOptions(args, known, {});
    if (!given.error.empty())
        return {std::nullopt, given.error};
    if (given.has("--saved")) {
        // The saved request gives the kind, the dates and the place.
        for (const char* replaced : {"--date", "--hijri", "--time", "--date2", "--time2", "--kind", "--lat",
                                     "--lon", "--city", "--summer", "--zone"}) {
            if (given.has(replaced))
                return {std::nullopt, std::string("--saved replaces ") + replaced};
        }
        ChartOptions options = withOutputs(given);
        if (const std::string error = readHouses(given, options.houses); !error.empty())
            return {std::nullopt, error};
        options.saved = given["--saved"];
        if (given.has("--db"))
            options.db = given["--db"];
        return {options, {}};
    }
    if (given.has("--db"))
        return {std::nullopt, "--db goes with --saved"};
    if (given.has("--date") && given.has("--hijri"))
        return {std::nullopt, "--hijri replaces --date: give one of them"};
    const bool hijri = given.has("--hijri");
    for (const char* required : {hijri ? "--hijri" : "--date", "--time"}) {
        if (!given.has(required))
            return {std::nullopt, std::string(required) + " is required"};
    }
    const OptionValues& values = given;
    if (values.has("--date2") != values.has("--time2"))
        return {std::nullopt, "--date2 and --time2 go together"};

    ChartOptions options = withOutputs(values);
    if (values.has("--kind")) {
        const auto kind = kindNamed(values["--kind"]);
        if (!kind)
            return {std::nullopt, "bad --kind: " + values["--kind"]};
        options.kind = *kind;
    }
    const bool twoCharts = chartKindInfo(options.kind).twoCharts == 1;
    if (twoCharts && !values.has("--date2"))
        return {std::nullopt, "--kind " + values["--kind"] + " needs --date2 and --time2"};
    if (!twoCharts && values.has("--date2"))
        return {std::nullopt, "--date2 and --time2 need a two-chart --kind (transits, comparison "
                              "or progressions)"};

    // A Hijri date stands for the civil date it falls on, which the chart is then read from.
    options.dateText = hijri ? civilOfHijriOption(values["--hijri"]) : values["--date"];
    if (hijri && options.dateText.empty())
        return {std::nullopt, "bad --hijri '" + values["--hijri"] +
                                  "' (expected Y-M-D, a day of the Umm al-Qura calendar: month 1 "
                                  "to 12, day 1 to the month's 29 or 30)"};
    options.timeText = values["--time"];
    std::string error = readRow(values, hijri ? "--hijri" : "--date", "--time", options.first,
                                options.dateText);
    if (error.empty() && values.has("--date2")) {
        options.date2Text = values["--date2"];
        options.time2Text = values["--time2"];
        error = readRow(values, "--date2", "--time2", options.second.emplace(),
                        values["--date2"]);
    }
    if (error.empty())
        error = readPlaceOptions(values, options);
    if (error.empty())
        error = readHouses(values, options.houses);
    if (!error.empty())
        return {std::nullopt, error};
    return {options, {}};
}

std::string readBatchRow(ChartOptions& options, const BatchRowTexts& row)
{
    OptionValues values;
    values.values = {{"--date", row.date}, {"--time", row.time}};
    if (!row.city.empty()) {
        values.values.emplace("--city", row.city);
    } else {
        values.values.emplace("--lat", row.lat);
        values.values.emplace("--lon", row.lon);
    }
    if (!row.zone.empty())
        values.values.emplace("--zone", row.zone);
    if (!row.summer.empty())
        values.values.emplace("--summer", row.summer);
    // The place fields as a chart without place options has them, then the row's own.
    const ChartOptions unset;
    options.place = unset.place;
    options.zoneText = unset.zoneText;
    options.summerText = unset.summerText;
    options.city = unset.city;
    options.summerFromCity = unset.summerFromCity;
    options.dateText = row.date;
    options.timeText = row.time;
    if (std::string error = readRow(values, "--date", "--time", options.first, row.date);
        !error.empty())
        return error;
    return readPlaceOptions(values, options);
}

ParsedEphemeridesArguments parseEphemeridesArguments(const std::vector<std::string>& args)
{
    static const KnownOptions known = withPlace({
        {"--year", true}, {"--month", true}, {"--hour", true}, {"--table", true},
        {"--decimal", false}, {"--csv", false}, {"--houses", true}, {"--hijri", false},
    });
    const OptionValues values =
        readOptions(args, known, {"--year", "--month", "--hour", "--table"});
    if (!values.error.empty())
        return {std::nullopt, values.error};

    EphemeridesOptions options;
    options.decimal = values.has("--decimal");
    options.csv = values.has("--csv");
    const auto year = wholeNumberText(values["--year"]);
    if (!year || !toInt16(*year))
        return {std::nullopt, "bad --year (expected a year from -32768 to 32767)"};
    options.yearText = values["--year"];
    const auto month = wholeNumberText(values["--month"]);
    if (!allDigits(values["--month"]) || !month || *month < 1 || *month > 12)
        return {std::nullopt, "bad --month (expected 1 to 12)"};
    options.month = static_cast<int>(*month);
    options.hijri = values.has("--hijri");
    if (options.hijri && !civilOf({static_cast<int>(*year), options.month, 1}))
        return {std::nullopt, "bad --year (no such Hijri month)"};
    const auto hour = wholeNumberText(values["--hour"]);
    if (!allDigits(values["--hour"]) || !hour || *hour < 0 || *hour >= 24)
        return {std::nullopt, "bad --hour (expected the local clock hour, 0 to 23)"};
    options.hourText = values["--hour"];

    static const std::map<std::string, EphemerisTableKind> tables = {
        {"planets", EphemerisTableKind::Planets},
        {"houses", EphemerisTableKind::Houses},
        {"aspects", EphemerisTableKind::Aspects},
    };
    const auto table = tables.find(values["--table"]);
    if (table == tables.end())
        return {std::nullopt, "bad --table (expected planets, houses or aspects)"};
    options.table = table->second;
    if (const std::string error = readHouses(values, options.houses); !error.empty())
        return {std::nullopt, error};

    if (const std::string error = readPlaceOptions(values, options); !error.empty())
        return {std::nullopt, error};
    return {options, {}};
}

ParsedPlacesArguments parsePlacesArguments(const std::vector<std::string>& args)
{
    if (args.empty() || args[0].rfind("--", 0) == 0)
        return {std::nullopt, "places needs the name to look for first"};
    static const KnownOptions known = {{"--limit", true}, {"--json", false}};
    const OptionValues values =
        readOptions(std::vector<std::string>(args.begin() + 1, args.end()), known, {});
    if (!values.error.empty())
        return {std::nullopt, values.error};
    PlacesOptions options;
    options.query = args[0];
    options.json = values.has("--json");
    if (values.has("--limit")) {
        const auto limit = wholeNumberText(values["--limit"]);
        if (!allDigits(values["--limit"]) || !limit || *limit < 1 || *limit > 1000)
            return {std::nullopt, "bad --limit (expected 1 to 1000)"};
        options.limit = static_cast<int>(*limit);
    }
    return {options, {}};
}

} // namespace velmora::cli
