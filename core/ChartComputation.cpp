#include "core/ChartComputation.h"

#include "core/Numbers.h"

#include <array>
#include <cmath>

namespace velmora {

namespace {

// Stored cusps sit half an arc-second high so that the truncating degree texts round them.
constexpr double kCuspOffset = 0.5 / 3600.0;

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
    double cusp = libraryCusp + kCuspOffset;
    // A cusp within half a second below 0 degrees would otherwise be stored past 360.
    if (cusp >= 360.0)
        cusp -= 360.0;
    return static_cast<float>(cusp);
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
    return static_cast<int>(truncateTowardZero(shifted / 15.0));
}

PlaceReading readPlace(ChartState& state, const PlaceInput& place)
{
    double lonDeg = leadingNumber(place.lonDeg);
    double lonMin = leadingNumber(place.lonMin);
    if (place.west) {
        lonDeg = -lonDeg;
        lonMin = -lonMin;
    }
    double latDeg = leadingNumber(place.latDeg);
    double latMin = leadingNumber(place.latMin);
    if (place.south) {
        latDeg = -latDeg;
        latMin = -latMin;
    }

    const double longitude = lonDeg + lonMin / 60.0;
    const double latitude = latDeg + latMin / 60.0;
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
        const auto number = wholeNumberText(*fields[i].second);
        const auto value = number ? toInt16(*number) : std::nullopt;
        if (!value)
            return {DateTimeError{fields[i].first, *fields[i].second}, {}};
        values[i] = *value;
    }

    state.ChartDay = values[0];
    state.ChartMonth = values[1];
    state.ChartYear = values[2];
    state.ChartHour = values[3];
    state.ChartMinute = values[4];
    return {std::nullopt, readPlace(state, place)};
}

std::string dateTimeErrorMessage(const DateTimeError& error)
{
    return std::string("الرجاء إدخال رقم صحيح في خانة ") + fieldName(error.field);
}

ChartComputationResult computeChart(ChartState& state, int chart, const ZoneInput& zone,
                                    EphemerisApi& ephemeris)
{
    const int base = chart == 1 ? kSecondChartBase : 0;
    const bool gregorian = state.ChartYear >= 1582;
    const double zoneHours = leadingNumber(zone.zoneText);
    const double summerHours = leadingNumber(zone.summerText);
    // UT hour held in float; it may leave 0..24 and the library carries it into the next day.
    const float hourUt = static_cast<float>(state.ChartHour + state.ChartMinute / 60.0 -
                                            zoneHours - summerHours);

    ChartComputationResult result;
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
            result.error = positions[i].error;
            return result;
        }
    }
    const HouseCusps cusps =
        ephemeris.placidusCusps(result.jdUt, state.PlaceLatitude, state.PlaceLongitude);
    ephemeris.close();
    if (!cusps.ok) {
        result.error = cusps.error;
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
    result.ok = true;
    return result;
}

void classifyPoints(ChartState& state)
{
    for (int i = 0; i < kPointsPerChart; ++i) {
        if (state.PlanetShown[i] != kTrue)
            continue;
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
