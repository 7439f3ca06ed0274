#include "core/Ephemeris.h"

#include <swephexp.h>

namespace velmora {

namespace {

// Data files plus speeds; the same value goes to the house call.
constexpr int kFlags = SEFLG_SWIEPH | SEFLG_SPEED;
static_assert(kFlags == 258);

} // namespace

double SwissEphemeris::julianDay(int year, int month, int day, double hourUt, bool gregorian)
{
    return swe_julday(year, month, day, hourUt, gregorian ? SE_GREG_CAL : SE_JUL_CAL);
}

double SwissEphemeris::deltaT(double jdUt)
{
    return swe_deltat(jdUt);
}

BodyPosition SwissEphemeris::bodyPosition(double jdEt, int body)
{
    char error[AS_MAXCH] = {};
    double values[6] = {};
    BodyPosition result;
    // A negative result is a failure; a fall-back to the analytical ephemeris when a data file
    // is missing still returns the flags and is not one.
    if (swe_calc(jdEt, body, kFlags, values, error) < 0) {
        result.error = error[0] != '\0' ? error : "swe_calc failed";
        return result;
    }
    result.ok = true;
    result.longitude = values[0];
    result.speed = values[3];
    return result;
}

HouseCusps SwissEphemeris::placidusCusps(double jdUt, double latitude, double longitude)
{
    double angles[10] = {};
    HouseCusps result;
    // Within the polar circles Placidus is undefined: the library answers ERR and silently
    // substitutes Porphyry cusps, which must not pass for Placidus ones.
    if (swe_houses_ex(jdUt, kFlags, latitude, longitude, 'P', result.cusps.data(), angles) < 0) {
        result.error = "Placidus house cusps cannot be computed for this date and latitude";
        return result;
    }
    result.ok = true;
    return result;
}

void SwissEphemeris::close()
{
    swe_close();
}

EphemerisApi& swissEphemeris()
{
    static SwissEphemeris binding;
    return binding;
}

} // namespace velmora
