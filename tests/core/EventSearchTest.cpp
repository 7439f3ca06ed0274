#include "core/ChartRequest.h"
#include "core/EventSearch.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <tuple>

namespace velmora {
namespace {

constexpr double kSecond = 1.0 / 86400.0;
constexpr double kHour = 1.0 / 24.0;
// 2020-01-01 and 2021-01-01 0h UT: Mercury loops three times, Mars once.
constexpr double kFrom2020 = 2458849.5;
constexpr double kTo2020 = 2459215.5;

// A natal chart at Fes: 4 May 1990, 10:30 local time (zone 0, one hour of summer time).
ChartState fesNatal()
{
    ChartState state;
    ChartRequest request;
    request.first.texts = {"4", "5", "1990", "10", "30"};
    request.place.coordinates = {"4", "59", "34", "2", true, false};
    request.place.summerText = "1";
    request.place.summerGiven = true;
    request.zoneText = "0";
    EXPECT_TRUE(computeRequest(state, request).ok);
    return state;
}

struct Position {
    double longitude, speed;
};

Position positionAt(int slot, double jdUt)
{
    EphemerisApi& e = swissEphemeris();
    const BodyPosition p = e.bodyPosition(jdUt + e.deltaT(jdUt), kBodyOfSlot[slot]);
    EXPECT_TRUE(p.ok);
    return {p.longitude, p.speed};
}

// What names an event apart from its moment.
using Identity = std::tuple<int, int, int, int, bool, int, bool>;
Identity identityOf(const ChartEvent& e)
{
    const bool aspect = e.kind == EventKind::Aspect || e.kind == EventKind::Return;
    return {static_cast<int>(e.kind), e.body, aspect ? e.target : -1,
            aspect ? static_cast<int>(e.aspect) : -1, aspect && e.behind,
            e.kind == EventKind::Ingress ? e.sign : 0,
            e.kind != EventKind::Aspect && e.kind != EventKind::Return && e.retrograde};
}

// The brute force the search must agree with: every body's position each hour, and each
// crossing of a target, a sign's edge or a zero speed between two of them, as the hour it
// begins.
std::map<Identity, std::vector<double>> hourlyScan(const ChartState& natal,
                                                   const std::vector<int>& bodies, double from,
                                                   double to)
{
    const struct {
        AspectKind kind;
        bool behind;
        double degrees;
    } angles[] = {{AspectKind::Conjunction, false, 0},  {AspectKind::Sextile, false, 60},
                  {AspectKind::Square, false, 90},      {AspectKind::Trine, false, 120},
                  {AspectKind::Opposition, false, 180}, {AspectKind::Trine, true, 240},
                  {AspectKind::Square, true, 270},      {AspectKind::Sextile, true, 300}};
    std::map<Identity, std::vector<double>> found;
    for (int body : bodies) {
        Position a = positionAt(body, from);
        for (double t = from; t < to - 1e-9; t += kHour) {
            const double next = std::min(to, t + kHour);
            const Position b = positionAt(body, next);
            const double motion = std::remainder(b.longitude - a.longitude, 360.0);
            ChartEvent e;
            e.body = body;
            if ((a.speed < 0) != (b.speed < 0)) {
                e.kind = EventKind::Station;
                e.retrograde = b.speed < 0;
                found[identityOf(e)].push_back(t);
            }
            const int signA = static_cast<int>(a.longitude / 30);
            const int signB = static_cast<int>(b.longitude / 30);
            if (signA != signB) {
                e.kind = EventKind::Ingress;
                e.sign = signB + 1;
                e.retrograde = motion < 0;
                found[identityOf(e)].push_back(t);
            }
            for (int target = 0; target < kEventTargetCount; ++target) {
                for (const auto& angle : angles) {
                    const double ga = std::remainder(a.longitude - eventTargetLongitude(natal, target) -
                                                         angle.degrees, 360.0);
                    if ((ga < 0) == (ga + motion < 0))
                        continue;
                    const bool isReturn = target == body && angle.degrees == 0 && body <= 1;
                    e.kind = isReturn ? EventKind::Return : EventKind::Aspect;
                    e.target = target;
                    e.aspect = angle.kind;
                    e.behind = angle.behind;
                    found[identityOf(e)].push_back(t);
                }
            }
            a = b;
        }
    }
    return found;
}

// How far from exact an event is, in seconds of time.
double secondsFromExact(const ChartState& natal, const ChartEvent& e)
{
    const Position p = positionAt(e.body, e.jdUt);
    switch (e.kind) {
    case EventKind::Aspect:
    case EventKind::Return: {
        const double level = eventTargetLongitude(natal, e.target) + aspectAngle(e.aspect, e.behind);
        return std::fabs(std::remainder(p.longitude - level, 360.0) / p.speed) / kSecond;
    }
    case EventKind::Ingress:
        return std::fabs(std::remainder(p.longitude, 30.0) / p.speed) / kSecond;
    case EventKind::Station: {
        // The speed changes sign within a second either side.
        const double before = positionAt(e.body, e.jdUt - kSecond).speed;
        const double after = positionAt(e.body, e.jdUt + kSecond).speed;
        return (before < 0) != (after < 0) ? 0.0 : 1e9;
    }
    }
    return 1e9;
}

// Every event the hourly scan sees, once, in its hour, and nothing else; each within a second.
void expectAgreesWithHourlyScan(const ChartState& natal, const EventSearchOptions& options)
{
    const EventSearchResult result = searchEvents(natal, options);
    ASSERT_TRUE(result.ok);
    std::vector<int> bodies = {0, 2, 3, 4, 5, 6, 7, 8, 9};
    if (options.moon)
        bodies.push_back(1);
    if (options.node)
        bodies.push_back(10);
    const auto scan = hourlyScan(natal, bodies, options.fromJdUt, options.toJdUt);

    std::map<Identity, std::vector<double>> searched;
    for (const ChartEvent& e : result.events) {
        searched[identityOf(e)].push_back(e.jdUt);
        EXPECT_LT(secondsFromExact(natal, e), 1.0) << eventText(e) << " at " << e.jdUt;
    }
    for (std::size_t k = 1; k < result.events.size(); ++k)
        EXPECT_LE(result.events[k - 1].jdUt, result.events[k].jdUt);
    for (const auto& [identity, hours] : scan) {
        const auto& times = searched[identity];
        ASSERT_EQ(times.size(), hours.size()) << "event " << std::get<0>(identity) << " body " << std::get<1>(identity)
                                              << " target " << std::get<2>(identity) << " first hour " << hours.front();
        for (std::size_t k = 0; k < hours.size(); ++k) {
            EXPECT_GE(times[k], hours[k] - kSecond);
            EXPECT_LE(times[k], hours[k] + kHour + kSecond);
        }
    }
    for (const auto& [identity, times] : searched)
        EXPECT_TRUE(scan.count(identity)) << "an event the hourly scan does not see, body "
                                          << std::get<1>(identity) << " at " << times.front();
}

TEST(EventSearch, AYearAgreesWithAnHourlyScan)
{
    expectAgreesWithHourlyScan(fesNatal(), {kFrom2020, kTo2020, true, true});
}

// A natal point just short of where Mercury stations: it is passed twice within hours.
TEST(EventSearch, TwoPassesHoursEitherSideOfAStation)
{
    ChartState natal = fesNatal();
    const auto stations = searchEvents(natal, {kFrom2020, kFrom2020 + 60});
    const auto station = std::find_if(stations.events.begin(), stations.events.end(),
                                      [](const ChartEvent& e) {
                                          return e.kind == EventKind::Station && e.body == 2;
                                      });
    ASSERT_NE(station, stations.events.end());
    natal.Planets[kBlackMoonSlot].Longitude = static_cast<float>(station->longitude - 0.0005);

    const EventSearchOptions around{station->jdUt - 3, station->jdUt + 3};
    int passes = 0;
    for (const ChartEvent& e : searchEvents(natal, around).events) {
        if (e.kind == EventKind::Aspect && e.body == 2 && e.target == kBlackMoonSlot &&
            e.aspect == AspectKind::Conjunction) {
            ++passes;
            EXPECT_LT(std::fabs(e.jdUt - station->jdUt), 1.0);
        }
    }
    EXPECT_EQ(passes, 2);
    expectAgreesWithHourlyScan(natal, around);
}

TEST(EventSearch, KnownMomentsOf2020)
{
    const ChartState natal = fesNatal();
    const auto events = searchEvents(natal, {kFrom2020, kTo2020}).events;
    const auto count = [&](EventKind kind, int body) {
        return std::count_if(events.begin(), events.end(), [&](const ChartEvent& e) {
            return e.kind == kind && e.body == body;
        });
    };
    const struct {
        const char* name;
        long found, expected;
    } rows[] = {
        {"Mercury's three loops", count(EventKind::Station, 2), 6},
        {"Mars's one loop", count(EventKind::Station, 4), 2},
        {"one solar return", count(EventKind::Return, 0), 1},
        {"the Sun through twelve signs", count(EventKind::Ingress, 0), 12},
    };
    for (const auto& row : rows)
        EXPECT_EQ(row.found, row.expected) << row.name;

    // The March equinox, 20 March 2020 at 03:50 UT: the Sun from Pisces into Aries.
    const auto equinox = std::find_if(events.begin(), events.end(), [](const ChartEvent& e) {
        return e.kind == EventKind::Ingress && e.body == 0 && e.sign == 1;
    });
    ASSERT_NE(equinox, events.end());
    EXPECT_NEAR(equinox->jdUt, 2458928.5 + (3 + 50 / 60.0) / 24, 1.5 / 1440);
    EXPECT_FALSE(equinox->retrograde);
}

TEST(EventSearch, ReturnsAndTheirLocalClock)
{
    const ChartState natal = fesNatal();
    const auto solar = searchReturns(natal, 0, kFrom2020, kTo2020);
    ASSERT_EQ(solar.events.size(), 1u);
    EXPECT_LT(secondsFromExact(natal, solar.events[0]), 1.0);
    // The Sun returns within a day of the natal chart's day, 4 May.
    const LocalTime local = localTimeOf(solar.events[0].jdUt, 1.0);
    EXPECT_EQ(local.month, 5);
    EXPECT_TRUE(local.day >= 3 && local.day <= 5) << localTimeText(local);

    const auto lunar = searchReturns(natal, 1, kFrom2020, kTo2020);
    EXPECT_EQ(lunar.events.size(), 13u);
    for (const ChartEvent& e : lunar.events)
        EXPECT_LT(secondsFromExact(natal, e), 1.0) << e.jdUt;
}

TEST(EventSearch, StopsWhenToldAndRefusesOddPeriods)
{
    const ChartState natal = fesNatal();
    int calls = 0;
    const auto stopped = searchEvents(natal, {kFrom2020, kFrom2020 + 3650}, swissEphemeris(),
                                      [&](double) { return ++calls < 3; });
    EXPECT_TRUE(stopped.cancelled);
    EXPECT_FALSE(stopped.ok);
    EXPECT_EQ(calls, 3);

    const struct {
        const char* name;
        double from, to;
    } odd[] = {
        {"ends before it starts", kTo2020, kFrom2020},
        {"longer than two hundred years", kFrom2020, kFrom2020 + 201 * 365.25},
        {"not a number", std::nan(""), kTo2020},
    };
    for (const auto& row : odd) {
        const auto result = searchEvents(natal, {row.from, row.to});
        EXPECT_TRUE(result.events.empty()) << row.name;
    }
}

TEST(EventSearch, LocalTimeAndTexts)
{
    const struct {
        const char* name;
        double jdUt, offset;
        const char* expected;
    } clocks[] = {
        {"noon UT", 2451545.0, 0, "2000-01-01 12:00:00"},
        {"an hour ahead crosses midnight", 2451544.5 - 0.5 / 24, 1, "2000-01-01 00:30:00"},
        {"behind UT goes back a day", 2451544.5, -5, "1999-12-31 19:00:00"},
        {"a second rounds up to the minute", 2451545.0 + 59.6 / 86400, 0, "2000-01-01 12:01:00"},
        {"the last Julian day", 2299159.5, 0, "1582-10-04 00:00:00"},
        {"the first Gregorian day", 2299160.5, 0, "1582-10-15 00:00:00"},
    };
    for (const auto& row : clocks)
        EXPECT_EQ(localTimeText(localTimeOf(row.jdUt, row.offset)), row.expected) << row.name;

    const struct {
        const char* name;
        ChartEvent event; // jdUt, kind, body, aspect, behind, target, sign, retrograde, longitude
        const char* expected;
    } texts[] = {
        {"aspect", {0, EventKind::Aspect, 6, AspectKind::Square, false, 0, 0, false, 342.0625},
         "زحل تربيع شمس الميلاد، 12°3'45'' من برج الحوت"},
        {"ingress backwards", {0, EventKind::Ingress, 4, {}, false, 0, 11, true, 329.99},
         "دخول المريخ برج الدالي راجعًا، 29°59'23'' من برج الدالي"},
        {"station", {0, EventKind::Station, 2, {}, false, 0, 0, true, 12.5}, "وقوف عطارد للرجوع، 12°30'0'' من برج الحمل"},
        {"lunar return", {0, EventKind::Return, 1, {}, false, 1, 0, false, 0.5}, "العودة القمرية، 0°30'0'' من برج الحمل"},
    };
    for (const auto& row : texts)
        EXPECT_EQ(eventText(row.event), row.expected) << row.name;
}

} // namespace
} // namespace velmora
