#include "core/ChartComputation.h"

#include "core/Calendar.h"
#include "core/Numbers.h"
#include "core/PositionTexts.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

namespace velmora {

namespace {

// Stored cusps sit half an arc-second high so that the truncating degree texts round them.
constexpr double kCuspOffset = 0.5 / 3600.0;

// No zone or summer correction lies farther from Greenwich than a day.
constexpr double kFarthestZoneHours = 24.0;

// A place reading kept within the float the state stores: no text, however long, gives an
// infinite place or an undefined conversion.
double withinFloat(double value)
{
    constexpr double kLargest = std::numeric_limits<float>::max();
    return std::clamp(value, -kLargest, kLargest);
}

const char* fieldName(DateTimeField field)
{
    switch (field) {
    case DateTimeField::Day: return "اليوم";
    case DateTimeField::Month: return "الشهر";
    case DateTimeField::Year: return "السنة";
    case DateTimeField::Hour: return "الساعة";
    case DateTimeField::Minute: return "الدقيقة";
    }
    return "";
}

bool inHouseArc(double lon, double from, double to)
{
    if (to >= from)
        return from <= lon && lon <= to;
    return lon >= from || lon <= to; // the arc passes through 360/0
}

} // namespace

float storedCusp(double libraryCusp)
{
    float cusp = static_cast<float>(libraryCusp + kCuspOffset);
    // Wrapped once held in float: a cusp just below 360 degrees rounds to 360 only there.
    if (cusp >= 360.0f)
        cusp -= 360.0f;
    return cusp;
}

int houseOfLongitude(const ChartState& state, double longitude)
{
    for (int h = 1; h <= 12; ++h) {
        if (inHouseArc(longitude, state.HouseCusps[h - 1], state.HouseCusps[h % 12]))
            return h;
    }
    return 0;
}

CoordinateTexts coordinateTexts(float value)
{
    return {numberText(std::fabs(truncateTowardZero(value))), minutesText(value)};
}

int signOfLongitude(double longitude)
{
    for (int k = 1; k <= 12; ++k) {
        if (30.0 * (k - 1) <= longitude && longitude <= 30.0 * k)
            return k;
    }
    return 0;
}

int zoneFromLongitude(double eastLongitude)
{
    const double shifted = eastLongitude >= 0 ? eastLongitude + 7.5 : eastLongitude - 7.5;
    const double zone = truncateTowardZero(shifted / 15.0);
    if (std::isnan(zone))
        return 0;
    // Clamped so that any longitude, however absurd, converts to a defined whole number.
    return static_cast<int>(std::clamp<double>(zone, std::numeric_limits<int>::min(),
                                               std::numeric_limits<int>::max()));
}

PlaceReading readPlace(ChartState& state, const PlaceInput& place)
{
    double lonDeg = withinFloat(leadingNumber(place.lonDeg));
    double lonMin = withinFloat(leadingNumber(place.lonMin));
    if (place.west) {
        lonDeg = -lonDeg;
        lonMin = -lonMin;
    }
    double latDeg = withinFloat(leadingNumber(place.latDeg));
    double latMin = withinFloat(leadingNumber(place.latMin));
    if (place.south) {
        latDeg = -latDeg;
        latMin = -latMin;
    }

    const double longitude = withinFloat(lonDeg + lonMin / 60.0);
    const double latitude = withinFloat(latDeg + latMin / 60.0);
    state.PlaceLongitudeText = numberText(longitude);
    state.PlaceLatitudeText = numberText(latitude);
    state.PlaceLatitude = static_cast<float>(leadingNumber(state.PlaceLatitudeText));
    state.PlaceLongitude = static_cast<float>(leadingNumber(state.PlaceLongitudeText));

    PlaceReading reading;
    reading.zoneText = numberText(zoneFromLongitude(longitude));
    reading.markX = -lonDeg;
    reading.markY = latDeg;
    return reading;
}

DateTimeReading readDateTime(ChartState& state, const DateTimeTexts& row, const PlaceInput& place)
{
    const std::array<std::pair<DateTimeField, const std::string*>, 5> fields = {{
        {DateTimeField::Day, &row.day},
        {DateTimeField::Month, &row.month},
        {DateTimeField::Year, &row.year},
        {DateTimeField::Hour, &row.hour},
        {DateTimeField::Minute, &row.minute},
    }};
    std::array<std::int16_t, 5> values{};
    for (std::size_t i = 0; i < fields.size(); ++i) {
        const auto value = wholeInt16(*fields[i].second);
        if (!value)
            return {DateTimeError{fields[i].first, *fields[i].second}, {}};
        values[i] = *value;
    }
    if (droppedByCalendarReform(values[2], values[1], values[0]))
        return {DateTimeError{DateTimeField::Year, row.year,
                              DateTimeProblem::DroppedByCalendarReform},
                {}};

    state.ChartDay = values[0];
    state.ChartMonth = values[1];
    state.ChartYear = values[2];
    state.ChartHour = values[3];
    state.ChartMinute = values[4];
    return {std::nullopt, readPlace(state, place)};
}

std::string dateTimeErrorMessage(const DateTimeError& error)
{
    if (error.problem == DateTimeProblem::DroppedByCalendarReform)
        return "الأيام من 5 إلى 14 أكتوبر 1582 أسقطها إصلاح التقويم: بعد 4 أكتوبر يأتي 15 أكتوبر";
    return std::string("الرجاء إدخال رقم صحيح في خانة ") + fieldName(error.field);
}

std::optional<double> universalTimeHour(double localHour, const ZoneInput& zone)
{
    const double zoneHours = leadingNumber(zone.zoneText);
    const double summerHours = leadingNumber(zone.summerText);
    if (!(std::fabs(zoneHours) <= kFarthestZoneHours) ||
        !(std::fabs(summerHours) <= kFarthestZoneHours) || !std::isfinite(localHour))
        return std::nullopt;
    return localHour - zoneHours - summerHours;
}

ChartComputationResult computeChart(ChartState& state, int chart, const ZoneInput& zone,
                                    EphemerisApi& ephemeris)
{
    const int base = chart == 1 ? kSecondChartBase : 0;
    ChartComputationResult result;
    const auto hour = universalTimeHour(state.ChartHour + state.ChartMinute / 60.0, zone);
    if (!hour) {
        result.failure.problem = EphemerisProblem::InputOutOfRange;
        return result;
    }
    // UT hour held in float; it may leave 0..24 and the library carries it into the next day.
    const float hourUt = static_cast<float>(*hour);
    const bool gregorian = isGregorian(state.ChartYear, state.ChartMonth, state.ChartDay);
    result.jdUt = ephemeris.julianDay(state.ChartYear, state.ChartMonth, state.ChartDay, hourUt,
                                      gregorian);
    const double jdEt = result.jdUt + ephemeris.deltaT(result.jdUt);

    // Computed aside and stored only when every call succeeded: a failed date leaves the
    // previous chart intact instead of a chart of zeros.
    std::array<BodyPosition, kPointsPerChart> positions;
    for (int i = 0; i < kPointsPerChart; ++i) {
        positions[i] = ephemeris.bodyPosition(jdEt, kBodyOfSlot[i]);
        if (!positions[i].ok) {
            ephemeris.close();
            result.failure = positions[i].failure;
            return result;
        }
    }
    const HouseCusps cusps =
        ephemeris.houseCusps(result.jdUt, state.PlaceLatitude, state.PlaceLongitude,
                             state.HouseSystemChosen);
    ephemeris.close();
    if (!cusps.ok) {
        result.failure = cusps.failure;
        return result;
    }

    for (int i = 0; i < kPointsPerChart; ++i) {
        PlanetPos& pos = state.Planets[base + i];
        pos.Longitude = static_cast<float>(positions[i].longitude);
        // The black moon's speed is never stored.
        if (i != kBlackMoonSlot)
            pos.Speed = static_cast<float>(positions[i].speed);
    }
    for (int h = 1; h <= 12; ++h)
        state.HouseCusps[base + h - 1] = storedCusp(cusps.cusps[h]);
    state.HouseSystemUsed[chart == 1 ? 1 : 0] = cusps.system;
    state.Ascendant[chart == 1 ? 1 : 0] = storedCusp(cusps.ascendant);
    state.Midheaven[chart == 1 ? 1 : 0] = storedCusp(cusps.midheaven);
    result.ok = true;
    return result;
}

namespace {

struct HouseSystemNames {
    HouseSystem system;
    const char* latin;
    const char* arabic;
    const char* option;
};

constexpr std::array<HouseSystemNames, kHouseSystemCount> kHouseSystemNames = {{
    {HouseSystem::Placidus, "Placidus", "بلاسيدوس", "placidus"},
    {HouseSystem::Koch, "Koch", "كوخ", "koch"},
    {HouseSystem::Porphyry, "Porphyry", "بورفيري", "porphyry"},
    {HouseSystem::Regiomontanus, "Regiomontanus", "ريجيومونتانوس", "regiomontanus"},
    {HouseSystem::Campanus, "Campanus", "كامبانوس", "campanus"},
    {HouseSystem::Alcabitius, "Alcabitius", "ألكابيتيوس", "alcabitius"},
    {HouseSystem::Equal, "Equal", "البيوت المتساوية", "equal"},
    {HouseSystem::WholeSign, "Whole sign", "البروج الكاملة", "whole-sign"},
}};

const HouseSystemNames& namesOf(HouseSystem system)
{
    return kHouseSystemNames[static_cast<std::size_t>(system)];
}

} // namespace

const char* houseSystemName(HouseSystem system)
{
    return namesOf(system).latin;
}

const char* houseSystemArabicName(HouseSystem system)
{
    return namesOf(system).arabic;
}

std::optional<HouseSystem> houseSystemOfOption(std::string_view option)
{
    for (const HouseSystemNames& names : kHouseSystemNames) {
        if (option == names.option)
            return names.system;
    }
    return std::nullopt;
}

bool cuspIsAngle(HouseSystem system, int cusp)
{
    if (cusp != 0 && cusp != 3 && cusp != 6 && cusp != 9)
        return false;
    if (system == HouseSystem::WholeSign)
        return false;
    return system != HouseSystem::Equal || cusp == 0 || cusp == 6;
}

float angleLongitude(const ChartState& state, int chart, int cusp)
{
    const int index = chart == 1 ? 1 : 0;
    if (cuspIsAngle(state.HouseSystemUsed[index], cusp))
        return state.HouseCusps[index * kPointsPerChart + cusp];
    const float angle = cusp == 0 || cusp == 6 ? state.Ascendant[index] : state.Midheaven[index];
    return cusp == 0 || cusp == 9 ? angle : std::fmod(angle + 180.0f, 360.0f);
}

std::vector<std::string> angleLines(const ChartState& state, int charts)
{
    std::vector<std::string> lines;
    for (int chart = 0; chart < charts && chart < 2; ++chart) {
        for (const int cusp : {0, 9}) {
            if (!cuspIsAngle(state.HouseSystemUsed[chart], cusp))
                lines.push_back(housePositionText(
                    signPositionText(angleLongitude(state, chart, cusp)), cusp));
        }
    }
    return lines;
}

std::string houseSystemLine(const ChartState& state)
{
    return std::string("نظام البيوت: ") + houseSystemArabicName(state.HouseSystemUsed[0]);
}

std::string porphyryFallbackText(HouseSystem chosen)
{
    return std::string(" بنظام بورفيري لأن نظام ") + houseSystemArabicName(chosen) +
           " غير معرّف عند هذا العرض";
}

std::string houseSystemNote(const ChartState& state, int charts)
{
    std::string note;
    for (int chart = 0; chart < charts && chart < 2; ++chart) {
        if (state.HouseSystemUsed[chart] == state.HouseSystemChosen)
            continue;
        note += charts == 2 ? (chart == 0 ? "بيوت الهيئة الأولى" : "بيوت الهيئة الثانية")
                            : "البيوت";
        note += porphyryFallbackText(state.HouseSystemChosen) + "\n";
    }
    return note;
}

void classifyPoints(ChartState& state)
{
    // Every point, shown or not: a point hidden now may be shown later in the window.
    for (int i = 0; i < kPointsPerChart; ++i) {
        const double lon = state.Planets[i].Longitude;
        PointAttributes& attr = state.PlanetAttr[i];

        const int k = signOfLongitude(lon);
        if (k != 0) {
            attr.Sign = static_cast<std::int16_t>(k);
            const int element = (k - 1) % 4;
            attr.Fire = toFlag(element == 0);
            attr.Earth = toFlag(element == 1);
            attr.Air = toFlag(element == 2);
            attr.Water = toFlag(element == 3);
            const int modality = (k - 1) % 3;
            attr.Cardinal = toFlag(modality == 0);
            attr.Fixed = toFlag(modality == 1);
            attr.Mutable = toFlag(modality == 2);
            attr.Masculine = toFlag(k % 2 == 1);
            attr.Northern = toFlag(k <= 6);
        }

        if (const int h = houseOfLongitude(state, lon))
            attr.House = static_cast<std::int16_t>(h);
    }
}

} // namespace velmora
