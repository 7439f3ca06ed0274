#include "core/ChartComputation.h"
#include "core/Numbers.h"
#include "tests/core/FakeEphemeris.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

using namespace velmora;

namespace {

using velmora::testing::FakeEphemeris;

const PlaceInput kMecca{"39", "49", "21", "27", false, false};

DateTimeTexts row(const char* day, const char* month, const char* year, const char* hour,
                  const char* minute)
{
    return {day, month, year, hour, minute};
}

ChartState stateWithMarks()
{
    ChartState state;
    for (int slot = 0; slot < kSlotCount; ++slot) {
        state.Planets[slot] = {-1.0f - slot, -2.0f - slot, 0, 0};
        state.HouseCusps[slot] = -3.0f - slot;
    }
    return state;
}

} // namespace

TEST(ReadPlace, DerivesTheZoneFromTheLongitude)
{
    const struct {
        const char* name;
        PlaceInput place;
        const char* zone;
    } rows[] = {
        {"7 deg 30 east gives 1", {"7", "30", "0", "0", false, false}, "1"},
        {"7 deg 29 east gives 0", {"7", "29", "0", "0", false, false}, "0"},
        {"7 deg 30 west gives -1", {"7", "30", "0", "0", true, false}, "-1"},
        {"Greenwich gives 0", {"0", "0", "51", "28", false, false}, "0"},
        {"Mecca gives 3", {"39", "49", "21", "27", false, false}, "3"},
        {"74 west gives -5", {"74", "0", "40", "42", true, false}, "-5"},
        {"180 east gives 12", {"180", "0", "0", "0", false, false}, "12"},
        {"empty boxes read 0", {"", "", "", "", false, false}, "0"},
    };
    for (const auto& r : rows) {
        ChartState state;
        EXPECT_EQ(readPlace(state, r.place).zoneText, r.zone) << r.name;
    }
}

TEST(ReadPlace, WritesSignedDecimalsAndTheWholeDegreeMark)
{
    ChartState state;
    const PlaceReading reading = readPlace(state, {"74", "30", "33", "52", true, true});
    EXPECT_EQ(state.PlaceLongitudeText, "-74.5");
    EXPECT_FLOAT_EQ(state.PlaceLongitude, -74.5f);
    EXPECT_NEAR(state.PlaceLatitude, -(33 + 52 / 60.0), 1e-5);
    EXPECT_EQ(reading.markX, 74.0); // minus the east longitude; minutes ignored
    EXPECT_EQ(reading.markY, -33.0);
}

TEST(ReadDateTime, RefusesAFieldThatIsNotAWholeNumberInRange)
{
    const struct {
        const char* name;
        DateTimeTexts texts;
        DateTimeField field;
    } rows[] = {
        {"empty day", row("", "3", "2000", "12", "0"), DateTimeField::Day},
        {"alphabetic month", row("1", "mars", "2000", "12", "0"), DateTimeField::Month},
        {"year past 16 bits", row("1", "3", "40000", "12", "0"), DateTimeField::Year},
        {"year below 16 bits", row("1", "3", "-32769", "12", "0"), DateTimeField::Year},
        {"hour with trailing text", row("1", "3", "2000", "12h", "0"), DateTimeField::Hour},
        {"blank minute", row("1", "3", "2000", "12", " "), DateTimeField::Minute},
    };
    for (const auto& r : rows) {
        ChartState state;
        state.ChartDay = 9;
        state.PlaceLongitudeText = "untouched";
        const DateTimeReading reading = readDateTime(state, r.texts, kMecca);
        ASSERT_TRUE(reading.error) << r.name;
        EXPECT_EQ(reading.error->field, r.field) << r.name;
        EXPECT_EQ(state.ChartDay, 9) << r.name;
        EXPECT_EQ(state.PlaceLongitudeText, "untouched") << r.name;
        EXPECT_NE(dateTimeErrorMessage(*reading.error).find("الرجاء إدخال رقم صحيح"),
                  std::string::npos);
    }
}

TEST(ReadDateTime, StoresTheRowRoundedAndReadsThePlace)
{
    ChartState state;
    const DateTimeReading reading = readDateTime(state, row(" 2.5", "3", "-500", "23", "59"),
                                                 kMecca);
    ASSERT_FALSE(reading.error);
    EXPECT_EQ(state.ChartDay, 2); // halves to even
    EXPECT_EQ(state.ChartMonth, 3);
    EXPECT_EQ(state.ChartYear, -500);
    EXPECT_EQ(state.ChartHour, 23);
    EXPECT_EQ(state.ChartMinute, 59);
    EXPECT_EQ(reading.place.zoneText, "3");
    EXPECT_NEAR(state.PlaceLongitude, 39.8166667, 1e-5);
}

TEST(ComputeChart, CallsTheLibraryInItsFixedOrder)
{
    ChartState state;
    FakeEphemeris fake;
    ASSERT_TRUE(computeChart(state, 0, {"3", "0"}, fake).ok);
    const std::vector<std::string> expected = {
        "julday", "deltat", "calc 0", "calc 1", "calc 2", "calc 3", "calc 4", "calc 5",
        "calc 6", "calc 7", "calc 8", "calc 9", "calc 10", "calc 12", "houses", "close"};
    EXPECT_EQ(fake.calls, expected);
    // Planets in ephemeris time, houses in universal time.
    for (double jd : fake.bodyDays)
        EXPECT_DOUBLE_EQ(jd, FakeEphemeris::kJdUt + FakeEphemeris::kDeltaT);
    EXPECT_EQ(fake.houseDays, std::vector<double>{FakeEphemeris::kJdUt});
}

TEST(ComputeChart, UniversalTimeHourAndCalendar)
{
    const struct {
        const char* name;
        int year, hour, minute;
        const char* zone;
        const char* summer;
        double hourUt;
        bool gregorian;
    } rows[] = {
        {"00:30 zone 3 falls on the previous day", 2000, 0, 30, "3", "0", -2.5, true},
        {"23:30 zone -5 summer 1 passes midnight", 2000, 23, 30, "-5", "1", 27.5, true},
        {"1581 is Julian", 1581, 12, 0, "0", "0", 12.0, false},
        {"1582 is Gregorian", 1582, 12, 0, "0", "0", 12.0, true},
        {"typed text reads its leading number", 2000, 10, 15, "2h", "1x", 7.25, true},
    };
    for (const auto& r : rows) {
        ChartState state;
        state.ChartYear = static_cast<std::int16_t>(r.year);
        state.ChartHour = static_cast<std::int16_t>(r.hour);
        state.ChartMinute = static_cast<std::int16_t>(r.minute);
        FakeEphemeris fake;
        computeChart(state, 0, {r.zone, r.summer}, fake);
        EXPECT_NEAR(fake.hours.front(), r.hourUt, 1e-6) << r.name;
        EXPECT_EQ(fake.calendars.front(), r.gregorian) << r.name;
    }
}

TEST(ComputeChart, StoresOnlyItsOwnSlotsAndKeepsTheBlackMoonSpeed)
{
    for (int chart : {0, 1}) {
        ChartState state = stateWithMarks();
        FakeEphemeris fake;
        ASSERT_TRUE(computeChart(state, chart, {"0", "0"}, fake).ok);
        const int base = chart * 12;
        const int other = 12 - base;
        for (int i = 0; i < 12; ++i) {
            const int body = kBodyOfSlot[i];
            EXPECT_FLOAT_EQ(state.Planets[base + i].Longitude, 10.0f * body + 1.0f)
                << "chart " << chart << " slot " << i;
            EXPECT_FLOAT_EQ(state.Planets[other + i].Longitude, -1.0f - (other + i))
                << "other chart's slot " << other + i << " was changed";
            EXPECT_FLOAT_EQ(state.HouseCusps[other + i], -3.0f - (other + i));
        }
        EXPECT_FLOAT_EQ(state.Planets[base + 11].Speed, -2.0f - (base + 11))
            << "black moon speed of chart " << chart << " was overwritten";
        EXPECT_FLOAT_EQ(state.Planets[base + 10].Speed, 1.0f);
    }
}

TEST(ComputeChart, StoresCuspsHalfAnArcSecondHigh)
{
    ChartState state;
    FakeEphemeris fake;
    fake.cusps[1] = 99.99995;
    fake.cusps[12] = 359.99995; // would pass 360 once raised
    ASSERT_TRUE(computeChart(state, 0, {"0", "0"}, fake).ok);
    EXPECT_NEAR(state.HouseCusps[0], 100.00009, 1e-5);
    EXPECT_NEAR(state.HouseCusps[11], 0.00009, 1e-5);
    EXPECT_NEAR(state.HouseCusps[1], 40.0 + 0.5 / 3600, 1e-5);
}

TEST(ComputeChart, AFailureLeavesTheStateAsItWas)
{
    const struct {
        const char* name;
        int failingBody;
        bool housesFail;
        const char* reason;
    } rows[] = {{"a body fails", 5, false, "file not found"},
                {"the black moon fails", 12, false, "file not found"},
                {"the houses fail", -1, true, "polar"}};
    for (const auto& r : rows) {
        ChartState state = stateWithMarks();
        FakeEphemeris fake;
        fake.failingBody = r.failingBody;
        fake.housesFail = r.housesFail;
        const auto result = computeChart(state, 0, {"0", "0"}, fake);
        EXPECT_FALSE(result.ok) << r.name;
        EXPECT_EQ(result.error, r.reason) << r.name;
        EXPECT_EQ(fake.calls.back(), "close") << r.name << ": library left open";
        for (int slot = 0; slot < kSlotCount; ++slot) {
            EXPECT_FLOAT_EQ(state.Planets[slot].Longitude, -1.0f - slot) << r.name;
            EXPECT_FLOAT_EQ(state.HouseCusps[slot], -3.0f - slot) << r.name;
        }
    }
}

namespace {

ChartState stateWithCusps(std::array<float, 12> cusps)
{
    ChartState state;
    std::copy(cusps.begin(), cusps.end(), state.HouseCusps.begin());
    return state;
}

} // namespace

TEST(ClassifyPoints, SignBoundariesBelongToTheEarlierSign)
{
    const struct {
        float lon;
        int sign;
    } rows[] = {{0.0f, 1}, {30.0f, 1}, {30.001f, 2}, {60.0f, 2}, {185.0f, 7}, {360.0f, 12}};
    for (const auto& r : rows) {
        ChartState state = stateWithCusps({0, 30, 60, 90, 120, 150, 180, 210, 240, 270, 300, 330});
        state.Planets[0].Longitude = r.lon;
        classifyPoints(state);
        EXPECT_EQ(state.PlanetAttr[0].Sign, r.sign) << "longitude " << r.lon;
    }
}

TEST(ClassifyPoints, HouseArcsPassThroughZero)
{
    const struct {
        const char* name;
        float lon;
        int house;
    } rows[] = {{"5 deg after 0 is in house 12", 5.0f, 12},
                {"355 deg is in house 12", 355.0f, 12},
                {"exactly on cusp 1 is house 1", 20.0f, 1},
                {"exactly on cusp 2 counts to house 1", 50.0f, 1},
                {"inside house 6", 200.0f, 6}};
    for (const auto& r : rows) {
        ChartState state =
            stateWithCusps({20, 50, 80, 110, 140, 170, 200, 230, 260, 290, 320, 350});
        state.Planets[3].Longitude = r.lon;
        classifyPoints(state);
        EXPECT_EQ(state.PlanetAttr[3].House, r.house) << r.name;
    }
}

TEST(ClassifyPoints, ReclassificationReplacesTheClasses)
{
    // One point moved through Leo, Virgo and Libra: every class follows the latest sign.
    const struct {
        float lon;
        int sign;
        std::array<std::int16_t, 9> flags; // fire earth air water cardinal fixed mutable masc north
    } rows[] = {
        {135.0f, 5, {kTrue, kFalse, kFalse, kFalse, kFalse, kTrue, kFalse, kTrue, kTrue}},
        {165.0f, 6, {kFalse, kTrue, kFalse, kFalse, kFalse, kFalse, kTrue, kFalse, kTrue}},
        {200.0f, 7, {kFalse, kFalse, kTrue, kFalse, kTrue, kFalse, kFalse, kTrue, kFalse}},
    };
    ChartState state = stateWithCusps({0, 30, 60, 90, 120, 150, 180, 210, 240, 270, 300, 330});
    for (const auto& r : rows) {
        state.Planets[0].Longitude = r.lon;
        classifyPoints(state);
        const PointAttributes& a = state.PlanetAttr[0];
        const std::array<std::int16_t, 9> flags = {a.Fire, a.Earth, a.Air, a.Water, a.Cardinal,
                                                   a.Fixed, a.Mutable, a.Masculine, a.Northern};
        EXPECT_EQ(a.Sign, r.sign) << "longitude " << r.lon;
        EXPECT_EQ(a.House, r.sign) << "longitude " << r.lon;
        EXPECT_EQ(flags, r.flags) << "longitude " << r.lon;
    }
}

TEST(ClassifyPoints, EveryPointStartsShownAndHiddenPointsKeepTheirClasses)
{
    ChartState state = stateWithCusps({0, 30, 60, 90, 120, 150, 180, 210, 240, 270, 300, 330});
    for (int i = 0; i < 12; ++i)
        state.Planets[i].Longitude = 15.0f + 30.0f * i;
    classifyPoints(state);
    for (int i = 0; i < 12; ++i)
        EXPECT_EQ(state.PlanetAttr[i].Sign, i + 1) << "slot " << i << " not classified";

    state.PlanetShown[4] = kFalse;
    state.Planets[4].Longitude = 15.0f; // Aries, but hidden
    classifyPoints(state);
    EXPECT_EQ(state.PlanetAttr[4].Sign, 5);
    EXPECT_EQ(state.PlanetAttr[12].Sign, 0) << "second chart slots are never classified";
}
