#include "cli/CliArguments.h"

#include "core/Numbers.h"

#include <cctype>
#include <cmath>
#include <map>

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

} // namespace

std::string usage()
{
    return "usage: velmora-cli chart --date Y-M-D --time H:M --lat 21:27N|21.45 "
           "--lon 39:49E|39.82 [--summer H] [--zone H] [--date2 Y-M-D --time2 H:M] [--json]";
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
    const float single = static_cast<float>(*value);
    return Coordinate{numberText(std::fabs(truncateTowardZero(single))), minutesText(single),
                      *value < 0};
}

ParsedChartArguments parseChartArguments(const std::vector<std::string>& args)
{
    static const std::map<std::string, bool> known = {
        {"--date", true},  {"--time", true},  {"--lat", true},   {"--lon", true},
        {"--summer", true}, {"--zone", true}, {"--date2", true}, {"--time2", true},
        {"--json", false},
    };
    std::map<std::string, std::string> values;
    bool json = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const auto it = known.find(args[i]);
        if (it == known.end())
            return {std::nullopt, "unknown argument: " + args[i]};
        if (!it->second) {
            json = true;
            continue;
        }
        if (i + 1 >= args.size())
            return {std::nullopt, args[i] + " needs a value"};
        values[args[i]] = args[i + 1];
        ++i;
    }
    for (const char* required : {"--date", "--time", "--lat", "--lon"}) {
        if (!values.count(required))
            return {std::nullopt, std::string(required) + " is required"};
    }
    if (values.count("--date2") != values.count("--time2"))
        return {std::nullopt, "--date2 and --time2 go together"};

    ChartOptions options;
    options.json = json;
    options.dateText = values["--date"];
    options.timeText = values["--time"];
    auto first = splitDate(options.dateText);
    if (!first || !splitTime(options.timeText, *first))
        return {std::nullopt, "bad --date or --time (expected Y-M-D and H:M)"};
    options.first = *first;

    if (values.count("--date2")) {
        options.date2Text = values["--date2"];
        options.time2Text = values["--time2"];
        auto second = splitDate(*options.date2Text);
        if (!second || !splitTime(*options.time2Text, *second))
            return {std::nullopt, "bad --date2 or --time2 (expected Y-M-D and H:M)"};
        options.second = *second;
    }

    const auto lat = parseCoordinate(values["--lat"], 'N', 'S', 90);
    if (!lat)
        return {std::nullopt, "bad --lat (expected 21:27N, 33:55S or signed decimal degrees)"};
    const auto lon = parseCoordinate(values["--lon"], 'E', 'W', 180);
    if (!lon)
        return {std::nullopt, "bad --lon (expected 39:49E, 74:0W or signed decimal degrees)"};
    options.place = PlaceInput{lon->degrees, lon->minutes, lat->degrees, lat->minutes,
                               lon->negative, lat->negative};

    if (values.count("--summer")) {
        if (!wholeNumberText(values["--summer"]))
            return {std::nullopt, "bad --summer (expected hours)"};
        options.summerText = values["--summer"];
    }
    if (values.count("--zone")) {
        if (!wholeNumberText(values["--zone"]))
            return {std::nullopt, "bad --zone (expected hours, east positive)"};
        options.zoneText = values["--zone"];
    }
    return {options, {}};
}

} // namespace velmora::cli
