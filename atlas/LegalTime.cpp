#include "atlas/LegalTime.h"

#include <glib.h>

#include <cmath>
#include <cstring>
#include <cstdint>

namespace velmora::atlas {

namespace {

// Days from 1970-01-01 to a date of the proleptic Gregorian calendar.
std::int64_t daysFromCivil(std::int64_t year, int month, int day)
{
    year -= month <= 2;
    const std::int64_t era = (year >= 0 ? year : year - 399) / 400;
    const std::int64_t yearOfEra = year - era * 400;
    const std::int64_t dayOfYear = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
    const std::int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

// A zone's rules, read once a thread for as long as the same zone is asked for: an events
// search asks for the offset of thousands of moments, and GLib reads the zone's file anew each
// time it is opened. The caller unrefs what it gets, as it would a new zone.
GTimeZone* zoneNamed(const std::string& zone)
{
    struct Kept {
        std::string name;
        GTimeZone* tz = nullptr;
        ~Kept()
        {
            if (tz)
                g_time_zone_unref(tz);
        }
    };
    thread_local Kept kept;
    if (zone.empty()) // GLib would read an empty name as the computer's own zone
        return nullptr;
    if (!kept.tz || kept.name != zone) {
        GTimeZone* tz = g_time_zone_new_identifier(zone.c_str());
        if (!tz)
            return nullptr;
        if (kept.tz)
            g_time_zone_unref(kept.tz);
        kept.name = zone;
        kept.tz = tz;
    }
    return g_time_zone_ref(kept.tz);
}

} // namespace

std::optional<LegalOffset> legalOffset(const std::string& zone, const LocalMoment& local)
{
    GTimeZone* tz = zoneNamed(zone);
    if (!tz)
        return std::nullopt;
    auto intervalAt = [tz](std::int64_t universal) {
        return g_time_zone_find_interval(tz, G_TIME_TYPE_UNIVERSAL, universal);
    };
    auto offsetAt = [tz, intervalAt](std::int64_t universal) {
        return g_time_zone_get_offset(tz, intervalAt(universal));
    };
    // The local moment read as if it were universal time, in seconds since 1970.
    const std::int64_t clock = daysFromCivil(local.year, local.month, local.day) * 86400 +
                               local.hour * 3600 + local.minute * 60;
    // The offsets in force a day either side are the only ones the moment can have, unless the
    // clocks changed twice within two days.
    const int before = offsetAt(clock - 86400);
    const int after = offsetAt(clock + 86400);
    const bool beforeHolds = offsetAt(clock - before) == before;
    const bool afterHolds = offsetAt(clock - after) == after;

    LegalOffset offset{before, ClockChange::Skipped};
    if (beforeHolds && afterHolds && after != before)
        offset.change = ClockChange::Repeated;
    else if (beforeHolds)
        offset.change = ClockChange::None;
    else if (afterHolds)
        offset = {after, ClockChange::None};
    // The database names the mean time of the zone's reference city so.
    const char* abbreviation = g_time_zone_get_abbreviation(tz, intervalAt(clock - offset.seconds));
    offset.localMeanTime = abbreviation && std::strcmp(abbreviation, "LMT") == 0;
    g_time_zone_unref(tz);
    return offset;
}

std::optional<LegalOffset> placeLegalOffset(const std::string& zone, double eastLongitude,
                                            const LocalMoment& local)
{
    auto offset = legalOffset(zone, local);
    // Before standard time a town kept its own mean time: 4 seconds of time a degree.
    if (offset && offset->localMeanTime)
        offset->seconds = static_cast<int>(std::lround(eastLongitude * 240.0));
    return offset;
}

std::optional<double> legalSummerForRow(const std::string& zone, double eastLongitude,
                                        const LocalMoment& local, int zoneHours)
{
    const auto offset = placeLegalOffset(zone, eastLongitude, local);
    if (!offset)
        return std::nullopt;
    return summerCorrection(*offset, zoneHours);
}

std::optional<double> placeOffsetHoursAt(const std::string& zone, double eastLongitude,
                                         double jdUt)
{
    GTimeZone* tz = zoneNamed(zone);
    if (!tz)
        return std::nullopt;
    // Seconds since 1970-01-01 00:00 UT, the Julian day 2440587.5.
    const auto universal = static_cast<std::int64_t>(std::floor((jdUt - 2440587.5) * 86400.0));
    const int interval = g_time_zone_find_interval(tz, G_TIME_TYPE_UNIVERSAL, universal);
    double hours = g_time_zone_get_offset(tz, interval) / 3600.0;
    const char* abbreviation = g_time_zone_get_abbreviation(tz, interval);
    if (abbreviation && std::strcmp(abbreviation, "LMT") == 0)
        hours = std::lround(eastLongitude * 240.0) / 3600.0;
    g_time_zone_unref(tz);
    return hours;
}

double summerCorrection(const LegalOffset& offset, int zoneHours)
{
    return std::nearbyint((offset.seconds / 3600.0 - zoneHours) * 10000.0) / 10000.0;
}

} // namespace velmora::atlas
