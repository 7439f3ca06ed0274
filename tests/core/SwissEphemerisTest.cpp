#include "core/ChartComputation.h"

#include <gtest/gtest.h>

using namespace velmora;

namespace {

ChartComputationResult chartAt(const CalendarDate& date, const char* hour, const char* minute,
                               const PlaceInput& place = {"0", "0", "51", "28", false, false})
{
    ChartState state;
    state.Planets[0].Longitude = 123.0f;
    const DateTimeTexts row = {std::to_string(date.day), std::to_string(date.month),
                               std::to_string(date.year), hour, minute};
    EXPECT_FALSE(readDateTime(state, row, place).error);
    const auto result = computeChart(state, 0, {"0", "0"});
    if (!result.ok) {
        EXPECT_FLOAT_EQ(state.Planets[0].Longitude, 123.0f) << "a failure changed the chart";
    }
    return result;
}

} // namespace

// The range is found from the files: its first and last days compute, the days beyond are
// refused with that same range.
TEST(SwissEphemeris, TheInstalledRangeIsTheRangeThatComputes)
{
    const auto range = SwissEphemeris().installedRange();
    ASSERT_TRUE(range);
    // The two data packages hold the files of -5400 to 5400; delta T moves the ends by days.
    EXPECT_EQ(range->first.year, -5401);
    EXPECT_EQ(range->last.year, 5399);
    const CalendarDate first = range->first;
    const CalendarDate last = range->last;
    const struct {
        const char* name;
        CalendarDate date;
        const char* hour;
        const char* minute;
        bool ok;
    } rows[] = {{"first day at 0:00", first, "0", "0", true},
                {"the day before", {first.year, first.month, first.day - 1}, "0", "0", false},
                {"last day at 23:59", last, "23", "59", true},
                {"the day after", {last.year, last.month, last.day + 1}, "23", "59", false}};
    for (const auto& r : rows) {
        const auto result = chartAt(r.date, r.hour, r.minute);
        EXPECT_EQ(result.ok, r.ok) << r.name;
        if (r.ok)
            continue;
        EXPECT_EQ(result.failure.problem, EphemerisProblem::OutsideFiles) << r.name;
        EXPECT_EQ(result.failure.installed.first.day, first.day) << r.name;
        EXPECT_EQ(result.failure.installed.last.year, last.year) << r.name;
        EXPECT_NE(result.failure.libraryText.find(".se1"), std::string::npos)
            << r.name << ": " << result.failure.libraryText;
    }
}

TEST(SwissEphemeris, PlacidusWithinThePolarCircleIsRefused)
{
    const auto result = chartAt({2000, 1, 1}, "12", "0", {"18", "57", "75", "0", false, false});
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.failure.problem, EphemerisProblem::PolarHouses);
}
