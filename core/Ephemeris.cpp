#include "core/Ephemeris.h"

#include <swephexp.h>

#include <algorithm>
#include <cmath>

namespace velmora {

namespace {

// Data files plus speeds; the same value goes to the house call.
constexpr int kFlags = SEFLG_SWIEPH | SEFLG_SPEED;
static_assert(kFlags == 258);

// The library keeps one planet file and one moon file per 600 years and picks them by the
// calendar year of the date, Julian before 1600 and Gregorian after.
constexpr int kFileYears = 600;
constexpr int kPresentFileYear = 1800;
constexpr int kFarthestYear = 30000; // beyond any file the library knows

// The first Gregorian day, 15 October 1582, at 0h.
constexpr double kGregorianReformJd = 2299160.5;

double yearStart(int year)
{
    return swe_julday(year, 1, 1, 0.0, year >= 1600 ? SE_GREG_CAL : SE_JUL_CAL);
}

// Whether the planet and moon files of the years [year, year + 600) open without the library
// falling back on its analytical theory; if so, narrows the span to what they cover.
bool filesOpen(int year, double& fromEt, double& toEt)
{
    fromEt = yearStart(year);
    toEt = yearStart(year + kFileYears);
    char error[AS_MAXCH] = {};
    double values[6] = {};
    for (const int body : {SE_SUN, SE_MOON}) {
        const int flags = swe_calc((fromEt + toEt) / 2, body, kFlags, values, error);
        double start = 0.0;
        double end = 0.0;
        int denum = 0;
        if (flags < 0 || !(flags & SEFLG_SWIEPH) ||
            !swe_get_current_file_data(body == SE_MOON ? 1 : 0, &start, &end, &denum))
            return false;
        fromEt = std::max(fromEt, start);
        toEt = std::min(toEt, end);
    }
    return true;
}

CalendarDate dayOf(double jdUt)
{
    CalendarDate date;
    double hour = 0.0;
    swe_revjul(jdUt, jdUt >= kGregorianReformJd ? SE_GREG_CAL : SE_JUL_CAL, &date.year,
               &date.month, &date.day, &hour);
    return date;
}

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
        result.failure = {EphemerisProblem::Library, error[0] != '\0' ? error : "swe_calc failed",
                          {}};
        const auto& files = coverage();
        if (files && (jdEt < files->fromEt || jdEt >= files->toEt)) {
            result.failure.problem = EphemerisProblem::OutsideFiles;
            result.failure.installed = files->days;
        }
        return result;
    }
    result.ok = true;
    result.longitude = values[0];
    result.speed = values[3];
    return result;
}

namespace {

int houseLetter(HouseSystem system)
{
    switch (system) {
    case HouseSystem::Placidus: return 'P';
    case HouseSystem::Koch: return 'K';
    case HouseSystem::Porphyry: return 'O';
    case HouseSystem::Regiomontanus: return 'R';
    case HouseSystem::Campanus: return 'C';
    case HouseSystem::Alcabitius: return 'B';
    case HouseSystem::Equal: return 'A';
    case HouseSystem::WholeSign: return 'W';
    }
    return 'P';
}

} // namespace

HouseCusps SwissEphemeris::houseCusps(double jdUt, double latitude, double longitude,
                                      HouseSystem system)
{
    double angles[10] = {};
    HouseCusps result;
    result.system = system;
    // Where the system is undefined (Placidus and Koch within the polar circles) the library
    // answers ERR and fills the buffer with Porphyry cusps, which are kept and named as such.
    if (swe_houses_ex(jdUt, kFlags, latitude, longitude, houseLetter(system),
                      result.cusps.data(), angles) < 0)
        result.system = HouseSystem::Porphyry;
    result.ascendant = angles[0];
    result.midheaven = angles[1];
    result.ok = true;
    return result;
}

void SwissEphemeris::close()
{
    swe_close();
}

std::optional<DateRange> SwissEphemeris::installedRange()
{
    const auto& files = coverage();
    return files ? std::optional<DateRange>(files->days) : std::nullopt;
}

const std::optional<SwissEphemeris::Coverage>& SwissEphemeris::coverage()
{
    if (m_coverageKnown)
        return m_coverage;
    m_coverageKnown = true;
    // The run of consecutive files around the present one; the installed packages may leave
    // out any of them.
    double fromEt = 0.0;
    double toEt = 0.0;
    if (!filesOpen(kPresentFileYear, fromEt, toEt)) {
        swe_close();
        return m_coverage;
    }
    double from = 0.0;
    double to = 0.0;
    for (int year = kPresentFileYear + kFileYears; year < kFarthestYear && filesOpen(year, from, to);
         year += kFileYears)
        toEt = to;
    for (int year = kPresentFileYear - kFileYears; year > -kFarthestYear && filesOpen(year, from, to);
         year -= kFileYears)
        fromEt = from;
    // Whole days of universal time within the span.
    const double fromUt = fromEt - swe_deltat(fromEt);
    const double toUt = toEt - swe_deltat(toEt);
    const double firstDay = std::ceil(fromUt - 0.5) + 0.5;
    const double lastDay = std::floor(toUt - 0.5) - 0.5;
    m_coverage = Coverage{fromEt, toEt, {dayOf(firstDay), dayOf(lastDay)}};
    swe_close();
    return m_coverage;
}

EphemerisApi& swissEphemeris()
{
    static SwissEphemeris binding;
    return binding;
}

} // namespace velmora
