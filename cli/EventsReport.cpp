#include "cli/EventsReport.h"

#include "atlas/RequestLegalTime.h"
#include "core/Calendar.h"
#include "core/EventSearch.h"
#include "core/Numbers.h"

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <iterator>
#include <map>
#include <sstream>

namespace velmora::cli {

namespace {

// The options of one command taken out of the arguments, the chart's own left in order.
struct TakenOptions {
    std::map<std::string, std::string> values;
    std::vector<std::string> rest;
    std::string error;

    bool has(const std::string& name) const { return values.count(name) != 0; }
};

TakenOptions takeOptions(const std::vector<std::string>& args,
                         const std::map<std::string, bool>& own)
{
    TakenOptions out;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const auto it = own.find(args[i]);
        if (it == own.end()) {
            out.rest.push_back(args[i]);
            // A chart option's value is never taken for one of ours.
            if (args[i].rfind("--", 0) == 0 && i + 1 < args.size() &&
                args[i + 1].rfind("--", 0) != 0)
                out.rest.push_back(args[++i]);
            continue;
        }
        if (it->second && i + 1 >= args.size()) {
            out.error = args[i] + " needs a value";
            return out;
        }
        const std::string& name = args[i];
        out.values[name] = it->second ? args[++i] : "";
    }
    return out;
}

std::string jdText(double jd)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.8f", jd);
    return text;
}

// The natal chart of the chart arguments, and the clock of its place.
struct Natal {
    CommandResult failure;
    std::function<double(double)> clock;
};

Natal computeNatal(const std::vector<std::string>& chartArgs, ChartState& state,
                   EphemerisApi& ephemeris)
{
    Natal natal;
    const ParsedChartArguments parsed = parseChartArguments(chartArgs);
    if (!parsed.options) {
        natal.failure = {kExitUsage, {}, parsed.error + "; " + usage()};
        return natal;
    }
    const ComputedCharts computed = computeCharts(*parsed.options, state, ephemeris);
    if (computed.failure.exitCode != kExitOk) {
        natal.failure = computed.failure;
        if (natal.failure.exitCode == kExitUsage && !parsed.options->saved)
            natal.failure.error += "; " + usage();
        return natal;
    }
    natal.clock = atlas::requestClock(chartRequestOf(computed.options, computed.city));
    return natal;
}

// The moment of universal time at which a local day begins on the place's clocks.
double localMidnight(int year, int month, int day, EphemerisApi& ephemeris,
                     const std::function<double(double)>& clock)
{
    const double local = ephemeris.julianDay(year, month, day, 0.0, isGregorian(year, month, day));
    // The offset in force at that moment, found from the offset at the local reading.
    const double first = local - clock(local) / 24.0;
    return local - clock(first) / 24.0;
}

// A --from or --to day; nothing when it is no day of its calendar.
std::optional<CalendarDate> dayOption(const std::string& text)
{
    const auto parts = splitDate(text);
    if (!parts)
        return std::nullopt;
    DateTimeTexts row = *parts;
    row.hour = "0";
    row.minute = "0";
    if (rowFault(row))
        return std::nullopt;
    return CalendarDate{*wholeInt16(row.year), *wholeInt16(row.month), *wholeInt16(row.day)};
}

CommandResult searchFailure(const EventSearchResult& result)
{
    return {kExitEphemeris, {}, failureText(result.failure)};
}

std::string eventJson(const ChartEvent& e, const std::function<double(double)>& clock)
{
    std::string out = "{\"jd_ut\": " + jdText(e.jdUt) + ", \"local\": " +
                      jsonString(localTimeText(localTimeOf(e.jdUt, clock(e.jdUt)))) +
                      ", \"kind\": " + jsonString(eventKindWord(e.kind)) +
                      ", \"body\": " + jsonString(bodyKey(e.body));
    switch (e.kind) {
    case EventKind::Aspect:
        out += ", \"aspect\": " + jsonString(aspectKindWord(e.aspect)) +
               ", \"target\": " + jsonString(targetKey(e.target));
        break;
    case EventKind::Ingress:
        out += ", \"sign\": " + std::to_string(e.sign) +
               ", \"direction\": " + jsonString(e.retrograde ? "retrograde" : "direct");
        break;
    case EventKind::Station:
        out += ", \"direction\": " + jsonString(e.retrograde ? "retrograde" : "direct");
        break;
    case EventKind::Return:
        break;
    }
    char longitude[32];
    std::snprintf(longitude, sizeof longitude, "%.6f", e.longitude);
    return out + ", \"longitude\": " + longitude +
           ", \"text\": " + jsonString(eventText(e)) + "}";
}

// A CSV cell, quoted where it holds a separator, a quote or a line break.
std::string csvCell(const std::string& text)
{
    if (text.find_first_of(",\"\n\r") == std::string::npos)
        return text;
    std::string out = "\"";
    for (char c : text)
        out += c == '"' ? std::string("\"\"") : std::string(1, c);
    return out + "\"";
}

std::string eventCsv(const ChartEvent& e, const std::function<double(double)>& clock)
{
    const bool aspect = e.kind == EventKind::Aspect;
    const bool turning = e.kind == EventKind::Ingress || e.kind == EventKind::Station;
    return jdText(e.jdUt) + "," + localTimeText(localTimeOf(e.jdUt, clock(e.jdUt))) + "," +
           eventKindWord(e.kind) + "," + bodyKey(e.body) + "," +
           (aspect ? aspectKindWord(e.aspect) : "") + "," + (aspect ? targetKey(e.target) : "") +
           "," + (e.kind == EventKind::Ingress ? std::to_string(e.sign) : "") + "," +
           (turning ? (e.retrograde ? "retrograde" : "direct") : "") + "," +
           csvCell(eventText(e)) + "\n";
}

std::string eventLine(const ChartEvent& e, const std::function<double(double)>& clock)
{
    return localTimeText(localTimeOf(e.jdUt, clock(e.jdUt))) + "\t" + eventText(e) + "\n";
}

} // namespace

CommandResult runEventsCommand(const std::vector<std::string>& args, ChartState& state,
                               EphemerisApi& ephemeris)
{
    const TakenOptions own = takeOptions(
        args, {{"--from", true}, {"--to", true}, {"--moon", false}, {"--node", false},
               {"--csv", false}});
    if (!own.error.empty())
        return {kExitUsage, {}, own.error + "; " + usage()};
    for (const char* required : {"--from", "--to"}) {
        if (!own.has(required))
            return {kExitUsage, {}, std::string(required) + " is required; " + usage()};
    }
    const auto from = dayOption(own.values.at("--from"));
    const auto to = dayOption(own.values.at("--to"));
    if (!from || !to)
        return {kExitUsage, {},
                "bad --" + std::string(from ? "to" : "from") + " (expected a day Y-M-D); " +
                    usage()};
    const bool json =
        std::find(own.rest.begin(), own.rest.end(), "--json") != own.rest.end();
    if (json && own.has("--csv"))
        return {kExitUsage, {}, "--json and --csv exclude each other; " + usage()};

    const Natal natal = computeNatal(own.rest, state, ephemeris);
    if (natal.failure.exitCode != kExitOk)
        return natal.failure;
    EventSearchOptions options;
    options.fromJdUt = localMidnight(from->year, from->month, from->day, ephemeris, natal.clock);
    // Through the end of the last day.
    options.toJdUt = localMidnight(to->year, to->month, to->day, ephemeris, natal.clock) + 1.0;
    options.moon = own.has("--moon");
    options.node = own.has("--node");
    if (options.toJdUt <= options.fromJdUt)
        return {kExitUsage, {}, "--to comes before --from; " + usage()};
    if (options.toJdUt - options.fromJdUt > kLongestEventPeriod)
        return {kExitUsage, {}, "the period is longer than 200 years; " + usage()};

    const EventSearchResult found = searchEvents(state, options, ephemeris);
    if (!found.ok)
        return searchFailure(found);
    CommandResult result;
    if (json) {
        result.output = "[";
        for (std::size_t k = 0; k < found.events.size(); ++k)
            result.output += (k ? ",\n " : "\n ") + eventJson(found.events[k], natal.clock);
        result.output += "\n]\n";
    } else if (own.has("--csv")) {
        result.output = "jd_ut,local,kind,body,aspect,target,sign,direction,text\n";
        for (const ChartEvent& e : found.events)
            result.output += eventCsv(e, natal.clock);
    } else {
        for (const ChartEvent& e : found.events)
            result.output += eventLine(e, natal.clock);
    }
    return result;
}

CommandResult runReturnCommand(const std::vector<std::string>& args, ChartState& state,
                               EphemerisApi& ephemeris)
{
    const TakenOptions own = takeOptions(
        args, {{"--solar", false}, {"--lunar", false}, {"--year", true}, {"--month", true}});
    if (!own.error.empty())
        return {kExitUsage, {}, own.error + "; " + usage()};
    if (own.has("--solar") == own.has("--lunar"))
        return {kExitUsage, {}, "give one of --solar and --lunar; " + usage()};
    if (!own.has("--year"))
        return {kExitUsage, {}, "--year is required; " + usage()};
    const std::string month = own.has("--month") ? own.values.at("--month") : "1";
    const auto day = dayOption(own.values.at("--year") + "-" + month + "-1");
    if (!day)
        return {kExitUsage, {},
                std::string(own.has("--month") && wholeInt16(own.values.at("--year"))
                                ? "bad --month (expected 1 to 12)"
                                : "bad --year (expected a whole number from -20000 to 20000)") +
                    "; " + usage()};
    const bool json =
        std::find(own.rest.begin(), own.rest.end(), "--json") != own.rest.end();

    const Natal natal = computeNatal(own.rest, state, ephemeris);
    if (natal.failure.exitCode != kExitOk)
        return natal.failure;
    CalendarDate end = *day;
    if (!own.has("--month"))
        ++end.year;
    else if (++end.month > 12)
        end = {end.year + 1, 1, 1};
    const double from = localMidnight(day->year, day->month, 1, ephemeris, natal.clock);
    const double to = localMidnight(end.year, end.month, 1, ephemeris, natal.clock);
    const EventSearchResult found =
        searchReturns(state, own.has("--lunar") ? kMoonSlot : 0, from, to, ephemeris);
    if (!found.ok)
        return searchFailure(found);
    CommandResult result;
    for (const ChartEvent& e : found.events)
        result.output += json ? eventJson(e, natal.clock) + "\n" : eventLine(e, natal.clock);
    return result;
}

namespace {

// The cells of one CSV line; quoted cells may hold commas and doubled quotes.
std::vector<std::string> csvCells(const std::string& line)
{
    std::vector<std::string> cells(1);
    bool quoted = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (quoted) {
            if (c == '"' && i + 1 < line.size() && line[i + 1] == '"')
                cells.back() += line[++i];
            else if (c == '"')
                quoted = false;
            else
                cells.back() += c;
        } else if (c == '"') {
            quoted = true;
        } else if (c == ',') {
            cells.emplace_back();
        } else if (c != '\r') {
            cells.back() += c;
        }
    }
    return cells;
}

// The binding with its files kept open from one row to the next; closed at the end.
class OpenAcrossRows final : public EphemerisApi {
public:
    explicit OpenAcrossRows(EphemerisApi& real) : m_real(real) {}
    ~OpenAcrossRows() override { m_real.close(); }
    double julianDay(int year, int month, int day, double hourUt, bool gregorian) override
    {
        return m_real.julianDay(year, month, day, hourUt, gregorian);
    }
    double deltaT(double jdUt) override { return m_real.deltaT(jdUt); }
    BodyPosition bodyPosition(double jdEt, int body) override
    {
        return m_real.bodyPosition(jdEt, body);
    }
    HouseCusps houseCusps(double jdUt, double latitude, double longitude,
                          HouseSystem system) override
    {
        return m_real.houseCusps(jdUt, latitude, longitude, system);
    }
    void close() override {}

private:
    EphemerisApi& m_real;
};

const std::vector<std::string> kBatchColumns = {"name", "date", "time", "lat",
                                                "lon",  "zone", "summer", "city"};

} // namespace

CommandResult runBatchCommand(const std::vector<std::string>& args, ChartState& state,
                              EphemerisApi& ephemeris, std::ostream* rows)
{
    const TakenOptions own = takeOptions(args, {{"--batch", true}, {"--json", false}});
    if (!own.error.empty())
        return {kExitUsage, {}, own.error + "; " + usage()};
    for (const std::string& arg : own.rest) {
        for (const char* row : {"--date", "--time", "--hijri", "--lat", "--lon", "--city",
                                "--zone", "--summer", "--saved", "--date2", "--time2"}) {
            if (arg == row)
                return {kExitUsage, {},
                        "--batch takes the dates and places from its rows, not " + arg + "; " +
                            usage()};
        }
    }
    const std::string path = own.values.at("--batch");
    std::string text;
    if (path == "-") {
        text.assign(std::istreambuf_iterator<char>(std::cin), {});
    } else {
        std::ifstream file(path, std::ios::binary);
        if (!file)
            return {kExitUsage, {}, "cannot read " + path};
        text.assign(std::istreambuf_iterator<char>(file), {});
        if (file.bad())
            return {kExitUsage, {}, "cannot read " + path};
    }

    std::vector<std::string> lines;
    std::istringstream stream(text);
    for (std::string line; std::getline(stream, line);) {
        if (line.find_first_not_of(" \t\r") != std::string::npos)
            lines.push_back(line);
    }
    if (lines.empty())
        return {kExitUsage, {}, path + " has no header line"};
    std::map<std::string, std::size_t> column;
    const std::vector<std::string> header = csvCells(lines[0]);
    for (std::size_t k = 0; k < header.size(); ++k) {
        if (std::find(kBatchColumns.begin(), kBatchColumns.end(), header[k]) ==
            kBatchColumns.end())
            return {kExitUsage, {},
                    "unknown column '" + header[k] +
                        "' (the header names name, date, time and lat, lon, zone, summer or "
                        "city)"};
        column[header[k]] = k;
    }
    const bool byCity = column.count("city") != 0;
    for (const char* needed : {"date", "time"}) {
        if (!column.count(needed))
            return {kExitUsage, {}, std::string("the header lacks the column ") + needed};
    }
    if (!byCity && (!column.count("lat") || !column.count("lon")))
        return {kExitUsage, {}, "the header needs lat and lon, or city"};

    // The options the rows share, read once; each row then brings its own date and place. A
    // placeholder row stands in for them here, so that a fault of the shared options is the
    // one every row reports.
    std::vector<std::string> sharedArgs = {"--date", "2000-1-1", "--time", "0:00",
                                           "--lat",  "0",        "--lon",  "0"};
    sharedArgs.insert(sharedArgs.end(), own.rest.begin(), own.rest.end());
    sharedArgs.push_back("--json");
    const ParsedChartArguments shared = parseChartArguments(sharedArgs);

    OpenAcrossRows open(ephemeris);
    const bool terminal = isatty(STDERR_FILENO) == 1;
    const std::size_t count = lines.size() - 1;
    CommandResult result;
    // The rows not yet written; all of them when there is no stream to write to.
    std::string& pending = result.output;
    for (std::size_t row = 1; row <= count; ++row) {
        const std::vector<std::string> cells = csvCells(lines[row]);
        const auto cell = [&](const char* name) {
            const auto it = column.find(name);
            return it != column.end() && it->second < cells.size() ? cells[it->second]
                                                                   : std::string();
        };
        pending += "{\"row\": ";
        pending += std::to_string(row);
        pending += ", \"name\": ";
        appendJsonString(pending, cell("name"));
        pending += ", ";
        CommandResult chart;
        if (shared.options) {
            ChartOptions options = *shared.options;
            const std::string error = readBatchRow(
                options, {cell("date"), cell("time"), cell("lat"), cell("lon"),
                          byCity ? cell("city") : std::string(), cell("zone"), cell("summer")});
            chart = error.empty() ? runChart(options, state, open)
                                  : CommandResult{kExitUsage, {}, error};
        } else {
            chart = {kExitUsage, {}, shared.error};
        }
        if (chart.exitCode == kExitOk) {
            pending.append(chart.output, 1, std::string::npos);
        } else {
            // The row's own fault, without the usage line a command refusal carries.
            pending += "\"error\": ";
            appendJsonString(pending, chart.error.substr(0, chart.error.find("; usage: ")));
            pending += "}\n";
            result.exitCode = kExitEphemeris;
        }
        // Written some thirty kilobytes at a time, and at the end: a buffer that stays in the
        // cache beside the library's own tables.
        if (rows && (pending.size() > (1u << 15) || row == count)) {
            rows->write(pending.data(), static_cast<std::streamsize>(pending.size()));
            pending.clear();
        }
        if (terminal && (row % 100 == 0 || row == count))
            std::fprintf(stderr, "\rrow %zu of %zu%s", row, count, row == count ? "\n" : "");
    }
    return result;
}

} // namespace velmora::cli
