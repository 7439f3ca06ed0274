#include "cli/ChartReport.h"

#include "atlas/RequestLegalTime.h"
#include "cli/LibraryReport.h"
#include "cli/PlacesReport.h"
#include "core/Analysis.h"
#include "core/Aspects.h"
#include "core/ChartComputation.h"
#include "core/ChartRequest.h"
#include "core/Dignities.h"
#include "core/Hijri.h"
#include "core/Lots.h"
#include "core/Numbers.h"
#include "core/PositionTexts.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <optional>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace velmora::cli {

namespace {

const std::array<const char*, 12> kBodyNames = {
    "sun",     "moon",   "mercury", "venus", "mars",      "jupiter",
    "saturn",  "uranus", "neptune", "pluto", "mean_node", "mean_apogee",
};

// The dignities held, in their order of weight, or "peregrine" (detriment and fall apart).
std::string dignityWords(const Dignities& d)
{
    std::string out;
    for (const auto& [held, word] : {std::pair{d.domicile, "domicile"}, {d.exaltation, "exaltation"},
                                     {d.triplicity, "triplicity"}, {d.term, "term"},
                                     {d.face, "face"}, {d.detriment, "detriment"},
                                     {d.fall, "fall"}}) {
        if (held)
            out += std::string(out.empty() ? "" : ",") + word;
    }
    if (d.peregrine())
        out += std::string(out.empty() ? "" : ",") + "peregrine";
    return out;
}

// Whether any of eight bytes needs escaping: a control character, a quote or a backslash.
bool anyToEscape(std::uint64_t bytes)
{
    constexpr std::uint64_t kOnes = 0x0101010101010101ull;
    constexpr std::uint64_t kHighs = 0x8080808080808080ull;
    const auto anyBelow = [](std::uint64_t v, std::uint64_t n) {
        return (v - kOnes * n) & ~v & kHighs;
    };
    return (anyBelow(bytes, 0x20) | anyBelow(bytes ^ (kOnes * '"'), 1) |
            anyBelow(bytes ^ (kOnes * '\\'), 1)) != 0;
}

// How many bytes from `p` on, in whole steps and at most up to `end`, need no escaping.
std::size_t plainRun(const char* p, const char* end)
{
    const char* const start = p;
#ifdef __SSE2__
    // Sixteen at a time. The byte comparison is signed, so both sides have their top bit
    // flipped to compare as unsigned: UTF-8's bytes of 0x80 and over are no controls.
    const __m128i space = _mm_set1_epi8(0x20);
    const __m128i quote = _mm_set1_epi8('"');
    const __m128i backslash = _mm_set1_epi8('\\');
    const __m128i high = _mm_set1_epi8(static_cast<char>(0x80));
    for (; end - p >= 16; p += 16) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        const __m128i control = _mm_cmplt_epi8(_mm_xor_si128(v, high), _mm_xor_si128(space, high));
        const __m128i hit = _mm_or_si128(control, _mm_or_si128(_mm_cmpeq_epi8(v, quote),
                                                               _mm_cmpeq_epi8(v, backslash)));
        if (_mm_movemask_epi8(hit) != 0)
            break;
    }
#endif
    for (; end - p >= 8; p += 8) {
        std::uint64_t chunk;
        std::memcpy(&chunk, p, 8);
        if (anyToEscape(chunk))
            break;
    }
    return static_cast<std::size_t>(p - start);
}

// The text's characters as a JSON string holds them, without the quotes.
void appendJsonEscaped(std::string& out, const std::string& text)
{
    // Skips through the plain runs many bytes at a time: a batch escapes megabytes of texts.
    const char* const p = text.data();
    const std::size_t n = text.size();
    std::size_t from = 0;
    for (std::size_t i = 0; i < n;) {
        i += plainRun(p + i, p + n);
        if (i >= n)
            break;
        const auto c = static_cast<unsigned char>(p[i++]);
        if (c != '"' && c != '\\' && c >= 0x20)
            continue;
        // The plain run before the character, in one piece.
        out.append(p + from, i - 1 - from);
        from = i;
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
            out += escaped;
        }
    }
    out.append(p + from, n - from);
}

} // namespace

void appendJsonString(std::string& out, const std::string& text)
{
    out += '"';
    appendJsonEscaped(out, text);
    out += '"';
}

std::string jsonString(const std::string& text)
{
    std::string out;
    out.reserve(text.size() + 2);
    appendJsonString(out, text);
    return out;
}

namespace {

// The stored float in the fewest digits that read back to it, with at least six decimals.
void appendStoredValue(std::string& out, float value)
{
    if (value == 0) {
        out += "0.000000";
        return;
    }
    // Room for any float in fixed notation and the padding, appended in one piece.
    char buffer[80];
    char* end = std::to_chars(buffer, buffer + 64, value, std::chars_format::fixed).ptr;
    char* point = std::find(buffer, end, '.');
    if (point == end)
        *end++ = '.';
    while (end - point - 1 < 6)
        *end++ = '0';
    out.append(buffer, end);
}

// The labels of the points and the houses, made once: every chart of a batch uses them.
const std::array<std::string, kSlotCount>& pointLabels()
{
    static const auto labels = [] {
        std::array<std::string, kSlotCount> made;
        for (int slot = 0; slot < kSlotCount; ++slot)
            made[slot] = pointLabel(slot);
        return made;
    }();
    return labels;
}

// The cusp labels of each house system.
const std::array<std::string, 12>& houseLabels(HouseSystem system)
{
    static const auto labels = [] {
        std::array<std::array<std::string, 12>, kHouseSystemCount> made;
        for (int s = 0; s < kHouseSystemCount; ++s)
            for (int house = 0; house < 12; ++house)
                made[s][house] = cuspPositionText({}, house, static_cast<HouseSystem>(s));
        return made;
    }();
    return labels[static_cast<int>(system)];
}

// A point's label and position, and a cusp's, as both reports write them.
void appendPointText(std::string& out, const ChartState& state, int slot)
{
    out += pointLabels()[slot];
    appendSignPositionText(out, state.Planets[slot].Longitude);
}

void appendCuspText(std::string& out, const ChartState& state, int slot)
{
    out += houseLabels(state.HouseSystemUsed[slot < kPointsPerChart ? 0 : 1])[slot % 12];
    appendSignPositionText(out, state.HouseCusps[slot]);
}

struct Extras {
    std::vector<Aspect> aspects;
    std::optional<ChartAnalysis> analysis;
    std::optional<atlas::Place> city;
};

const char* kindWord(AspectKind kind)
{
    switch (kind) {
    case AspectKind::Conjunction: return "conjunction";
    case AspectKind::Sextile: return "sextile";
    case AspectKind::Square: return "square";
    case AspectKind::Opposition: return "opposition";
    case AspectKind::Trine: return "trine";
    }
    return "";
}

// Porphyry when the houses of any chart fell back to it.
HouseSystem usedSystem(const ChartState& state, const ChartOptions& options)
{
    const bool second = options.second && state.HouseSystemUsed[1] != state.HouseSystemChosen;
    return second ? HouseSystem::Porphyry : state.HouseSystemUsed[0];
}

std::string plainReport(const ChartOptions& options, const ChartState& state, int lastSlot,
                        const Extras& extras)
{
    std::string out = extras.city ? placeLine(*extras.city) : "";
    for (int slot = 0; slot <= lastSlot; ++slot) {
        appendPointText(out, state, slot);
        out += '\n';
    }
    for (int slot = 0; slot <= lastSlot; ++slot) {
        appendCuspText(out, state, slot);
        out += '\n';
    }
    for (const std::string& line : angleLines(state, lastSlot < kPointsPerChart ? 1 : 2))
        out += line + '\n';
    for (int slot = 0; slot < kPointsPerChart; ++slot)
        out += pointLabel(slot) + houseName(state.PlanetAttr[slot].House) + "\n";
    if (const auto hijri = hijriOfRow(options.first))
        out += hijriDateLine(*hijri) + "\n";
    if (options.aspects) {
        for (const std::string& line : state.AspectLines)
            out += line + "\n";
    }
    if (extras.analysis)
        out += extras.analysis->text;
    if (options.lots) {
        for (const Lot& lot : lotsOf(state))
            out += lotText(lot) + "\n";
    }
    if (options.dignities) {
        for (const Dignities& d : chartDignities(state))
            out += std::string(kBodyNames[d.slot]) + "\t" + dignityWords(d) + "\t" +
                   std::to_string(d.score()) + "\n";
    }
    return out;
}

// Appends each piece in turn: a chart's JSON is some ten thousand characters, and a batch
// writes thousands of them.
struct JsonOut {
    std::string text;
    JsonOut& operator<<(const char* piece)
    {
        text += piece;
        return *this;
    }
    JsonOut& operator<<(const std::string& piece)
    {
        text += piece;
        return *this;
    }
    JsonOut& quoted(const std::string& piece)
    {
        appendJsonString(text, piece);
        return *this;
    }
    // A text that `append` builds, quoted: it is put together in a buffer kept from one text
    // to the next.
    template <typename Append>
    JsonOut& quotedBuilt(Append append)
    {
        scratch.clear();
        append(scratch);
        appendJsonString(text, scratch);
        return *this;
    }
    JsonOut& stored(float value)
    {
        appendStoredValue(text, value);
        return *this;
    }

    std::string scratch;
};

std::string jsonReport(const ChartOptions& options, const ChartState& state,
                       const std::array<RowOutcome, 2>& rows, int lastSlot, const Extras& extras)
{
    char jd[64];
    *std::to_chars(jd, jd + sizeof jd - 1, rows[0].jdUt, std::chars_format::fixed, 8).ptr = '\0';
    JsonOut out;
    out.text.reserve(16384);
    out << "{\"input\": {\"date\": ";
    out.quoted(options.dateText) << ", \"time\": ";
    out.quoted(options.timeText) << ", \"lat\": "
        << numberText(leadingNumber(state.PlaceLatitudeText)) << ", \"lon\": "
        << numberText(leadingNumber(state.PlaceLongitudeText)) << ", \"zone\": "
        << numberText(leadingNumber(rows[0].zoneText)) << ", \"summer\": "
        << numberText(rows[0].summerHours);
    // The second row of a two-chart kind, with its own summer correction.
    if (options.second) {
        out << ", \"date2\": ";
        out.quoted(options.date2Text.value_or("")) << ", \"time2\": ";
        out.quoted(options.time2Text.value_or("")) << ", \"summer2\": "
            << numberText(rows[1].summerHours);
    }
    if (extras.city)
        out << ", \"city\": " << placeJson(*extras.city);
    out << "}, \"jd_ut\": " << jd << ", \"house_system\": ";
    out.quoted(houseSystemName(usedSystem(state, options))) << ", \"points\": [";
    for (int slot = 0; slot <= lastSlot; ++slot) {
        const PlanetPos& pos = state.Planets[slot];
        out << (slot ? ", " : "") << "{\"slot\": " << std::to_string(slot) << ", \"body\": ";
        out.quoted(kBodyNames[slot % 12]) << ", \"longitude\": ";
        out.stored(pos.Longitude) << ", \"speed\": ";
        out.stored(pos.Speed);
        if (slot < kPointsPerChart) {
            out << ", \"sign\": " << std::to_string(state.PlanetAttr[slot].Sign)
                << ", \"house\": " << std::to_string(state.PlanetAttr[slot].House);
        }
        out << ", \"text\": ";
        out.quotedBuilt([&](std::string& t) { appendPointText(t, state, slot); }) << "}";
    }
    out << "], \"cusps\": [";
    for (int slot = 0; slot <= lastSlot; ++slot) {
        out << (slot ? ", " : "") << "{\"house\": " << std::to_string(slot % 12 + 1)
            << ", \"longitude\": ";
        out.stored(state.HouseCusps[slot]) << ", \"text\": ";
        out.quotedBuilt([&](std::string& t) { appendCuspText(t, state, slot); }) << "}";
    }
    // Equal and whole-sign cusps do not hold the angles, so each chart's are given apart.
    out << "], \"angles\": [";
    for (int chart = 0; chart * kPointsPerChart <= lastSlot; ++chart) {
        out << (chart ? ", " : "") << "{\"ascendant\": ";
        out.stored(angleLongitude(state, chart, 0)) << ", \"midheaven\": ";
        out.stored(angleLongitude(state, chart, 9)) << "}";
    }
    out << "]";
    // The Hijri day of the first row's local date; null before the Hijra.
    const auto hijri = hijriOfRow(options.first);
    out << ", \"hijri\": ";
    if (hijri)
        out << "{\"year\": " << std::to_string(hijri->year) << ", \"month\": "
            << std::to_string(hijri->month) << ", \"day\": " << std::to_string(hijri->day)
            << "}";
    else
        out << "null";
    if (options.aspects) {
        out << ", \"aspects\": [";
        for (std::size_t k = 0; k < extras.aspects.size(); ++k) {
            const Aspect& a = extras.aspects[k];
            out << (k ? ", " : "") << "{\"slots\": [" << std::to_string(a.slotA) << ", "
                << std::to_string(a.slotB) << "], \"kind\": ";
            out.quoted(kindWord(a.kind)) << ", \"distance\": ";
            out.stored(a.distance) << ", \"text\": ";
            out.quoted(a.text) << "}";
        }
        out << "]";
    }
    if (extras.analysis) {
        out << ", \"analysis\": ";
        out.quoted(extras.analysis->text);
    }
    if (options.lots) {
        out << ", \"lots\": [";
        const auto lots = lotsOf(state);
        for (std::size_t k = 0; k < lots.size(); ++k) {
            out << (k ? ", " : "") << "{\"name\": ";
            out.quoted(lots[k].name) << ", \"name_latin\": ";
            out.quoted(lots[k].nameLatin) << ", \"longitude\": " << numberText(lots[k].longitude)
                                          << ", \"text\": ";
            out.quoted(lotText(lots[k])) << "}";
        }
        out << "]";
    }
    if (options.dignities) {
        out << ", \"dignities\": [";
        const auto flag = [](bool held) { return held ? "true" : "false"; };
        const auto all = chartDignities(state);
        for (std::size_t k = 0; k < all.size(); ++k) {
            const Dignities& d = all[k];
            out << (k ? ", " : "") << "{\"body\": ";
            out.quoted(kBodyNames[d.slot]) << ", \"domicile\": " << flag(d.domicile)
                                           << ", \"exaltation\": " << flag(d.exaltation)
                                           << ", \"triplicity\": " << flag(d.triplicity)
                                           << ", \"term\": " << flag(d.term)
                                           << ", \"face\": " << flag(d.face)
                                           << ", \"detriment\": " << flag(d.detriment)
                                           << ", \"fall\": " << flag(d.fall) << ", \"score\": "
                                           << std::to_string(d.score()) << "}";
        }
        out << "]";
    }
    out << "}\n";
    return std::move(out.text);
}

std::string fieldWord(DateTimeField field)
{
    switch (field) {
    case DateTimeField::Day: return "day";
    case DateTimeField::Month: return "month";
    case DateTimeField::Year: return "year";
    case DateTimeField::Hour: return "hour";
    case DateTimeField::Minute: return "minute";
    }
    return "field";
}

std::string dateText(const CalendarDate& date)
{
    return std::to_string(date.year) + "-" + std::to_string(date.month) + "-" +
           std::to_string(date.day);
}

} // namespace

std::string failureText(const EphemerisFailure& failure)
{
    switch (failure.problem) {
    case EphemerisProblem::OutsideFiles:
        return "the date lies outside the range of the installed ephemeris files, " +
               dateText(failure.installed.first) + " to " + dateText(failure.installed.last) +
               " (universal time)";
    case EphemerisProblem::InputOutOfRange:
        return "a year, hour, time zone or summer correction out of range";
    case EphemerisProblem::Library:
    case EphemerisProblem::None:
        break;
    }
    return failure.libraryText;
}

ChartRequest chartRequestOf(const ChartOptions& options, const std::optional<atlas::Place>& city)
{
    ChartRequest request;
    request.kind = options.kind;
    request.first.texts = options.first;
    if (options.second)
        request.second = RequestRow{*options.second, false};
    request.place.coordinates = options.place;
    request.place.summerText = options.summerText;
    request.place.summerGiven = !options.summerFromCity;
    request.name = options.name;
    if (city)
        request.place.atlas = identityOf(*city);
    else
        request.place.atlas = options.atlasPlace;
    request.zoneText = options.zoneText;
    return request;
}

ComputedCharts computeCharts(const ChartOptions& given, ChartState& state,
                             EphemerisApi& ephemeris)
{
    ComputedCharts out;
    out.options = given;
    ChartOptions& options = out.options;
    if (options.saved) {
        SavedLookup saved = lookUpSaved(*options.saved, options.db);
        if (!saved.request) {
            out.failure = saved.failure;
            return out;
        }
        options = optionsOfRequest(*saved.request, options);
    }
    if (options.city) {
        CityLookup found = lookUpCity(*options.city);
        if (!found.place) {
            out.failure = found.failure;
            return out;
        }
        out.city = std::move(found.place);
        options.place = placeInputOf(*out.city);
    }

    state.HouseSystemChosen = options.houses;
    const RequestResult computed =
        computeRequest(state, chartRequestOf(options, out.city), ephemeris, atlas::requestLegalSummer());
    const RequestFailure& failure = computed.failure;
    switch (failure.problem) {
    case RequestProblem::None:
        break;
    case RequestProblem::Field: {
        // The arguments were checked already; what is left is the data entry's year bounds.
        const bool dropped = failure.field.problem == DateTimeProblem::DroppedByCalendarReform;
        out.failure = {kExitUsage, {},
                       "bad " + fieldWord(failure.field.field) + " '" + failure.field.text +
                           (dropped ? "' (5 to 14 October 1582 never were)"
                                    : "' (the year lies from -20000 to 20000)")};
        return out;
    }
    case RequestProblem::Ephemeris:
        out.failure = {kExitEphemeris, {}, failureText(failure.ephemeris)};
        return out;
    case RequestProblem::UnknownTimeZone:
        out.failure = {kExitAtlas, {},
                       out.city ? unknownZoneText(*out.city)
                                : "the time zone " + options.atlasPlace->timeZone + " of " +
                                      options.atlasPlace->name +
                                      " is not in the system's time-zone database"};
        return out;
    }
    out.rows = computed.rows;

    // What a new chart window of the kind sets before it draws, with the appearance dialog's
    // initial orbs.
    const int charts = options.second ? 2 : 1;
    state.OrientOnAscendant = kTrue;
    state.LastPointIndex = static_cast<std::int16_t>(charts == 2 ? kSlotCount - 1
                                                                 : kPointsPerChart - 1);
    state.PlanetInAspects.fill(kTrue);
    setOrbs(state, defaultAspectOrbs());
    state.WheelRotation = wheelRotationFor(state, options.kind);
    return out;
}

CommandResult runChart(const ChartOptions& given, ChartState& state, EphemerisApi& ephemeris)
{
    ComputedCharts computed = computeCharts(given, state, ephemeris);
    // A saved name that is unknown or ambiguous is no misuse of the arguments.
    if (computed.failure.exitCode == kExitUsage && !given.saved)
        return {kExitUsage, {}, computed.failure.error + "; " + usage()};
    if (computed.failure.exitCode != kExitOk)
        return computed.failure;
    const ChartOptions& options = computed.options;
    const int lastSlot = state.LastPointIndex;

    Extras extras;
    extras.city = std::move(computed.city);
    if (options.aspects)
        extras.aspects = findAspects(state, searchForKind(options.kind));
    if (options.analysis)
        extras.analysis = analyseChart(state, options.kind);

    CommandResult result;
    const int charts = options.second ? 2 : 1;
    for (int chart = 0; chart < charts; ++chart) {
        if (state.HouseSystemUsed[chart] != state.HouseSystemChosen)
            result.error += std::string(result.error.empty() ? "" : "; ") + "note: the houses" +
                            (charts == 1 ? "" : chart == 0 ? " of the first chart" : " of the second chart") +
                            " are Porphyry cusps, " + houseSystemName(state.HouseSystemChosen) +
                            " being undefined at this latitude";
    }
    result.output = options.json ? jsonReport(options, state, computed.rows, lastSlot, extras)
                                 : plainReport(options, state, lastSlot, extras);
    return result;
}

} // namespace velmora::cli
