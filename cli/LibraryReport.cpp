#include "cli/LibraryReport.h"

#include "atlas/RequestLegalTime.h"
#include "cli/PlacesReport.h"
#include "core/Aaf.h"
#include "core/Numbers.h"
#include "library/ChartLibrary.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

namespace velmora::cli {

using library::ChartLibrary;
using library::SavedChart;

namespace {

struct Opened {
    std::unique_ptr<ChartLibrary> library;
    CommandResult failure;
};

// A library moved aside counts as a failure here: the command would otherwise act on the new,
// empty one without the user seeing why the charts are gone.
Opened openLibrary(const std::optional<std::string>& db)
{
    // A mistyped folder is told, not made: only the program's own folder is created.
    const std::filesystem::path folder = db ? std::filesystem::path(*db).parent_path() : "";
    std::error_code error;
    if (!folder.empty() && !std::filesystem::is_directory(folder, error))
        return {nullptr, {kExitLibrary, {}, "no folder " + folder.string() + " for the chart library"}};
    auto opening = ChartLibrary::open(db ? *db : library::defaultLibraryPath());
    if (!opening.library)
        return {nullptr, {kExitLibrary, {}, opening.error}};
    if (!opening.movedTo.empty())
        return {nullptr,
                {kExitLibrary, {},
                 "the chart library " + opening.library->path() + " " + opening.movedWhy +
                     "; it was moved to " + opening.movedTo + " and a new one started"}};
    return {std::move(opening.library), {}};
}

std::string dateOf(const DateTimeTexts& t)
{
    return t.year + "-" + t.month + "-" + t.day;
}

std::string dateOf(const ChartRequest& request)
{
    return dateOf(request.first.texts);
}

// "9:05", as the clock reads, whatever the minute box held ("5" or "05").
std::string timeOf(const DateTimeTexts& t)
{
    const int minute = static_cast<int>(leadingNumber(t.minute));
    return t.hour + ":" + (minute < 10 ? "0" : "") + std::to_string(minute);
}

std::string timeOf(const ChartRequest& request)
{
    return timeOf(request.first.texts);
}

std::string placeOf(const ChartRequest& request)
{
    return request.place.atlas ? request.place.atlas->name : std::string();
}

// The second date and time of the two-chart kinds, null for the others.
std::string secondJson(const ChartRequest& r)
{
    if (!r.second)
        return ", \"date2\": null, \"time2\": null";
    const DateTimeTexts& t = r.second->texts;
    return ", \"date2\": " + jsonString(dateOf(t)) +
           ", \"time2\": " + jsonString(timeOf(t));
}

std::string chartJson(const SavedChart& chart)
{
    const ChartRequest& r = chart.request;
    const auto [lat, lon] = placeDegrees(r.place.coordinates);
    const auto [zone, summer] = firstRowZone(r, atlas::requestLegalSummer());
    return "{\"name\": " + jsonString(r.name) + ", \"kind\": " +
           jsonString(library::kindWord(r.kind)) + ", \"date\": " + jsonString(dateOf(r)) +
           ", \"time\": " + jsonString(timeOf(r)) + ", \"place\": " + jsonString(placeOf(r)) +
           ", \"lat\": " + numberText(lat) + ", \"lon\": " + numberText(lon) +
           ", \"zone\": " + numberText(zone) + ", \"summer\": " + numberText(summer) +
           ", \"note\": " + jsonString(chart.note) + secondJson(r) + "}";
}

std::string chartLine(const SavedChart& chart)
{
    const ChartRequest& r = chart.request;
    return r.name + "\t" + library::kindWord(r.kind) + "\t" + dateOf(r) + "\t" + timeOf(r) +
           "\t" + placeOf(r) + "\n";
}

// Exactly one chart of that name, or the reason with the candidates.
struct OneChart {
    std::optional<SavedChart> chart;
    CommandResult failure;
};

// "#12" names the chart of that number, as the candidates of an ambiguous name show it, so
// that one of several charts of a name can still be chosen.
std::optional<std::int64_t> chartNumber(const std::string& name)
{
    if (name.size() < 2 || name.size() > 18 || name[0] != '#')
        return std::nullopt;
    for (std::size_t i = 1; i < name.size(); ++i) {
        if (name[i] < '0' || name[i] > '9')
            return std::nullopt;
    }
    return std::stoll(name.substr(1));
}

OneChart oneNamed(const ChartLibrary& charts, const std::string& name)
{
    if (const auto number = chartNumber(name)) {
        if (auto chart = charts.find(*number))
            return {std::move(chart), {}};
        return {std::nullopt, {kExitUsage, {}, "no saved chart has the number " + name}};
    }
    library::NameLookup found = charts.findByName(name);
    if (!found.error.empty())
        return {std::nullopt, {kExitLibrary, {}, found.error}};
    if (found.charts.empty())
        return {std::nullopt, {kExitUsage, {}, "no saved chart is named '" + name + "'"}};
    if (found.charts.size() > 1) {
        std::string error = std::to_string(found.charts.size()) + " saved charts are named '" +
                            name + "'; give one's number instead of the name:";
        for (const SavedChart& chart : found.charts) {
            std::string line = chartLine(chart);
            line.pop_back();
            error += "\n  #" + std::to_string(chart.id) + "\t" + line;
        }
        return {std::nullopt, {kExitUsage, {}, error}};
    }
    return {std::move(found.charts[0]), {}};
}

std::optional<std::string> fileBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return std::nullopt;
    return std::string(std::istreambuf_iterator<char>(in), {});
}

CommandResult importFile(ChartLibrary& charts, const std::string& path)
{
    const auto bytes = fileBytes(path);
    if (!bytes)
        return {kExitUsage, {}, "cannot read " + path};
    const aaf::Reading reading = aaf::read(*bytes);
    if (reading.holdsNoRecord())
        return {kExitUsage, {}, path + ": no AAF chart record (#A93 and #B93 lines)"};
    std::vector<SavedChart> saved;
    for (const aaf::Record& record : reading.records)
        saved.push_back({0, record.request, record.note, {}, {}});
    if (!saved.empty()) {
        const library::Written written = charts.saveAll(saved);
        if (!written.ok())
            return {kExitLibrary, {}, written.error};
    }
    CommandResult result{kExitOk,
                         "imported " + std::to_string(saved.size()) + " charts from " + path + "\n",
                         {}};
    for (const aaf::Refusal& refused : reading.refused) {
        result.exitCode = kExitUsage;
        result.error += (result.error.empty() ? "" : "\n") + path + ":" +
                        std::to_string(refused.line) + ": " + refused.reason;
    }
    return result;
}

CommandResult exportFile(const ChartLibrary& charts, const std::string& path)
{
    std::string error;
    const std::vector<SavedChart> all = charts.list(&error);
    if (!error.empty())
        return {kExitLibrary, {}, error};
    std::vector<aaf::Record> records;
    for (const SavedChart& chart : all)
        records.push_back({chart.request, chart.note});
    const std::string text = aaf::write(records, atlas::requestLegalSummer());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out || !out.write(text.data(), static_cast<std::streamsize>(text.size())) || !out.flush())
        return {kExitUsage, {}, "cannot write " + path};
    const std::size_t cut = aaf::firstMomentOnly(records);
    return {kExitOk, "exported " + std::to_string(records.size()) + " charts to " + path + "\n",
            cut ? std::to_string(cut) + " of them with their first date and time only: an AAF "
                                        "record holds one moment"
                : std::string()};
}

std::string libraryUsage()
{
    return "usage: velmora-cli library list [--json] | library import FILE.aaf | "
           "library export FILE.aaf | library delete NAME, each with [--db PATH]";
}

} // namespace

SavedLookup lookUpSaved(const std::string& name, const std::optional<std::string>& db)
{
    Opened opened = openLibrary(db);
    if (!opened.library)
        return {std::nullopt, opened.failure};
    OneChart found = oneNamed(*opened.library, name);
    if (!found.chart)
        return {std::nullopt, found.failure};
    return {std::move(found.chart->request), {}};
}

ChartOptions optionsOfRequest(const ChartRequest& request, ChartOptions base)
{
    base.saved.reset();
    base.kind = request.kind;
    base.name = request.name;
    base.first = request.first.texts;
    base.dateText = dateOf(request);
    base.timeText = timeOf(request);
    base.second.reset();
    base.date2Text.reset();
    base.time2Text.reset();
    if (request.second) {
        const DateTimeTexts& t = request.second->texts;
        base.second = t;
        base.date2Text = dateOf(t);
        base.time2Text = timeOf(t);
    }
    base.place = request.place.coordinates;
    base.summerText = request.place.summerText;
    base.summerFromCity = !request.place.summerGiven;
    base.atlasPlace = request.place.atlas;
    base.zoneText = request.zoneText;
    base.city.reset();
    return base;
}

CommandResult runLibraryCommand(const std::vector<std::string>& given)
{
    std::vector<std::string> args;
    std::optional<std::string> db;
    bool json = false;
    for (std::size_t i = 0; i < given.size(); ++i) {
        if (given[i] == "--db") {
            if (i + 1 >= given.size())
                return {kExitUsage, {}, "--db needs a value; " + libraryUsage()};
            db = given[++i];
        } else if (given[i] == "--json") {
            json = true;
        } else {
            args.push_back(given[i]);
        }
    }
    const std::string command = args.empty() ? std::string() : args[0];
    const bool takesOne = command == "import" || command == "export" || command == "delete";
    if (!(command == "list" && args.size() == 1) && !(takesOne && args.size() == 2))
        return {kExitUsage, {}, libraryUsage()};
    if (json && command != "list")
        return {kExitUsage, {}, "--json goes with list; " + libraryUsage()};

    Opened opened = openLibrary(db);
    if (!opened.library)
        return opened.failure;
    ChartLibrary& charts = *opened.library;
    if (command == "import")
        return importFile(charts, args[1]);
    if (command == "export")
        return exportFile(charts, args[1]);
    if (command == "delete") {
        const OneChart found = oneNamed(charts, args[1]);
        if (!found.chart)
            return found.failure;
        const library::Written removed = charts.remove(found.chart->id);
        if (!removed.ok())
            return {kExitLibrary, {}, removed.error};
        return {kExitOk, "deleted '" + args[1] + "'\n", {}};
    }
    std::string error;
    const std::vector<SavedChart> all = charts.list(&error);
    if (!error.empty())
        return {kExitLibrary, {}, error};
    std::string out = json ? "[" : "";
    for (std::size_t i = 0; i < all.size(); ++i)
        out += json ? (i ? ",\n " : "") + chartJson(all[i]) : chartLine(all[i]);
    return {kExitOk, json ? out + "]\n" : out, {}};
}

} // namespace velmora::cli
