#pragma once

#include <array>
#include <string>

namespace velmora {

// Body numbers of the ephemeris library for the twelve points, in slot order: Sun to Pluto,
// the mean lunar node (10) and the mean lunar apogee, the black moon (12).
inline constexpr std::array<int, 12> kBodyOfSlot = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 12};

struct BodyPosition {
    bool ok = false;
    double longitude = 0.0; // degrees, ecliptic of date
    double speed = 0.0;     // degrees per day
    std::string error;      // the library's reason when !ok
};

struct HouseCusps {
    bool ok = false;
    std::array<double, 13> cusps{}; // cusps[1..12], degrees; cusps[0] unused
    std::string error;
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
    // Placidus cusps for a UT Julian day and a place (degrees, east and north positive).
    virtual HouseCusps placidusCusps(double jdUt, double latitude, double longitude) = 0;
    // Releases the library's open files.
    virtual void close() = 0;
};

class SwissEphemeris final : public EphemerisApi {
public:
    double julianDay(int year, int month, int day, double hourUt, bool gregorian) override;
    double deltaT(double jdUt) override;
    BodyPosition bodyPosition(double jdEt, int body) override;
    HouseCusps placidusCusps(double jdUt, double latitude, double longitude) override;
    void close() override;
};

// The process-wide binding to the installed library.
EphemerisApi& swissEphemeris();

} // namespace velmora
