#include "core/ChartComputation.h"

#include <gtest/gtest.h>

using namespace velmora;

namespace {

ChartState computedState(const DateTimeTexts& row, const PlaceInput& place, bool* ok,
                         std::string* error)
{
    ChartState state;
    const DateTimeReading reading = readDateTime(state, row, place);
    EXPECT_FALSE(reading.error);
    const auto result = computeChart(state, 0, {reading.place.zoneText, "0"});
    *ok = result.ok;
    *error = result.error;
    return state;
}

} // namespace

TEST(SwissEphemeris, DatesOutsideTheDataFilesAreRefusedWithTheLibrarysReason)
{
    for (const char* year : {"6000", "-6000"}) {
        ChartState state;
        state.Planets[0].Longitude = 123.0f;
        readDateTime(state, {"1", "1", year, "12", "0"}, {"39", "49", "21", "27", false, false});
        const auto result = computeChart(state, 0, {"3", "0"});
        EXPECT_FALSE(result.ok) << "year " << year;
        EXPECT_NE(result.error.find(".se1"), std::string::npos)
            << "year " << year << ": " << result.error;
        EXPECT_FLOAT_EQ(state.Planets[0].Longitude, 123.0f) << "year " << year;
    }
}

TEST(SwissEphemeris, PlacidusWithinThePolarCircleIsRefused)
{
    bool ok = true;
    std::string error;
    computedState({"1", "1", "2000", "12", "0"}, {"18", "57", "75", "0", false, false}, &ok,
                  &error);
    EXPECT_FALSE(ok);
    EXPECT_NE(error.find("Placidus"), std::string::npos) << error;
}

TEST(SwissEphemeris, EdgesOfTheInstalledFilesStillCompute)
{
    for (const char* year : {"-5399", "5399", "1", "0"}) {
        bool ok = false;
        std::string error;
        const ChartState state = computedState({"1", "6", year, "12", "0"},
                                               {"0", "0", "51", "28", false, false}, &ok, &error);
        EXPECT_TRUE(ok) << "year " << year << ": " << error;
        EXPECT_GE(state.Planets[0].Longitude, 0.0f);
        EXPECT_LT(state.Planets[0].Longitude, 360.0f);
    }
}
