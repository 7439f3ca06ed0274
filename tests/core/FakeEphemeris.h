#pragma once

#include "core/Ephemeris.h"

#include <algorithm>
#include <array>
#include <optional>
#include <string>
#include <vector>

namespace velmora::testing {

// Records every call and answers from its tables: by default body b at longitude 10 b + 1
// with speed b / 10, and cusps 30 degrees apart from 10. Every Julian day is 2451545 (UT).
class FakeEphemeris final : public EphemerisApi {
public:
    static constexpr double kJdUt = 2451545.0;
    static constexpr double kDeltaT = 0.0007;

    std::vector<std::string> calls;
    std::vector<double> hours;
    std::vector<bool> calendars;
    std::vector<double> bodyDays;  // the Julian days the positions were asked for
    std::vector<double> houseDays; // and the houses
    std::array<double, 13> longitudes{1, 11, 21, 31, 41, 51, 61, 71, 81, 91, 101, 111, 121};
    std::array<double, 13> speeds{0, 0.1, 0.2, 0.3, 0.4, 0.5, 0.6, 0.7, 0.8, 0.9, 1.0, 1.1, 1.2};
    std::array<double, 13> cusps{0, 10, 40, 70, 100, 130, 160, 190, 220, 250, 280, 310, 340};
    int failingBody = -1; // fails this body ...
    std::optional<int> failingDay; // ... or every body on this day of the month
    bool housesFail = false;
    std::optional<HouseSystem> houseSystem; // as the library would name its cusps: the asked one

    int closes() const { return static_cast<int>(std::count(calls.begin(), calls.end(), "close")); }

    double julianDay(int, int, int day, double hourUt, bool gregorian) override
    {
        calls.push_back("julday");
        hours.push_back(hourUt);
        calendars.push_back(gregorian);
        m_day = day;
        return kJdUt;
    }
    double deltaT(double) override
    {
        calls.push_back("deltat");
        return kDeltaT;
    }
    BodyPosition bodyPosition(double jdEt, int body) override
    {
        calls.push_back("calc " + std::to_string(body));
        bodyDays.push_back(jdEt);
        if (body == failingBody || m_day == failingDay)
            return {false, 0, 0, {EphemerisProblem::Library, "file not found", {}}};
        return {true, longitudes[body], speeds[body], {}};
    }
    HouseCusps houseCusps(double jdUt, double, double, HouseSystem asked) override
    {
        calls.push_back("houses");
        houseDays.push_back(jdUt);
        if (housesFail)
            return {false, {}, {EphemerisProblem::Library, "houses", {}}};
        return {true, cusps, {}, houseSystem.value_or(asked), cusps[1], cusps[10]};
    }
    void close() override { calls.push_back("close"); }

private:
    int m_day = 0;
};

} // namespace velmora::testing
