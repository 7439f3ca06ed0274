#pragma once

#include "core/Calendar.h"
#include "core/ChartState.h"

#include <array>
#include <optional>
#include <string>

namespace velmora {

// Body numbers of the ephemeris library for the twelve points, in slot order: Sun to Pluto,
// the mean lunar node (10) and the mean lunar apogee, the black moon (12).
inline constexpr std::array<int, 12> kBodyOfSlot = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 12};

// The first and last whole days, in universal time, that the installed data files cover.
struct DateRange {
    CalendarDate first;
    CalendarDate last;
};

enum class EphemerisProblem {
    None,
    Library,         // the library's own reason, in libraryText
    OutsideFiles,    // the date lies outside the installed data files, whose range is given
    InputOutOfRange, // a year, hour, zone or summer correction no calendar or clock holds,
                     // refused before the library was asked
};

// Why a date could not be computed; the windows and velmora-cli each word it in their language.
struct EphemerisFailure {
    EphemerisProblem problem = EphemerisProblem::None;
    std::string libraryText; // the library's own words, when it gave any
    DateRange installed;     // for OutsideFiles
};

struct BodyPosition {
    bool ok = false;
    double longitude = 0.0; // degrees, ecliptic of date
    double speed = 0.0;     // degrees per day
    EphemerisFailure failure;
};

struct HouseCusps {
    bool ok = false;
    std::array<double, 13> cusps{}; // cusps[1..12], degrees; cusps[0] unused
    EphemerisFailure failure;
    HouseSystem system = HouseSystem::Placidus; // the system the library actually used
    double ascendant = 0.0;
    double midheaven = 0.0;
};

// What the chart core asks of the ephemeris library. The real binding is the only code that
// calls swe_*; tests substitute a recording fake to check the order of the calls.
class EphemerisApi {
public:
    virtual ~EphemerisApi() = default;

    // Julian day in UT; hourUt may lie outside 0..24 and is carried into the next day.
    virtual double julianDay(int year, int month, int day, double hourUt, bool gregorian) = 0;
    // Delta T in days for a UT Julian day.
    virtual double deltaT(double jdUt) = 0;
    // Geocentric longitude and speed from the data files (flags 258), for an ET Julian day.
    virtual BodyPosition bodyPosition(double jdEt, int body) = 0;
    // The cusps of a house system for a UT Julian day and a place (degrees, east and north
    // positive); where the system is undefined, the Porphyry cusps the library gives instead,
    // marked so.
    virtual HouseCusps houseCusps(double jdUt, double latitude, double longitude,
                                  HouseSystem system) = 0;
    // Releases the library's open files.
    virtual void close() = 0;
};

class SwissEphemeris final : public EphemerisApi {
public:
    double julianDay(int year, int month, int day, double hourUt, bool gregorian) override;
    double deltaT(double jdUt) override;
    BodyPosition bodyPosition(double jdEt, int body) override;
    HouseCusps houseCusps(double jdUt, double latitude, double longitude,
                          HouseSystem system) override;
    void close() override;

    // The days the installed planet and moon files cover, found from the files themselves the
    // first time it is asked; nothing when none is installed.
    std::optional<DateRange> installedRange();

private:
    struct Coverage {
        double fromEt = 0.0; // Julian days in ephemeris time, the end excluded
        double toEt = 0.0;
        DateRange days;
    };
    const std::optional<Coverage>& coverage();

    bool m_coverageKnown = false;
    std::optional<Coverage> m_coverage;
};

// The process-wide binding to the installed library.
EphemerisApi& swissEphemeris();

} // namespace velmora
