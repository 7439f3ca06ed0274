#include "core/Ephemerides.h"
#include "tests/core/FakeEphemeris.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace velmora;

namespace {

using velmora::testing::FakeEphemeris;

EphemeridesInput input(EphemerisTableKind table, int month = 0, const char* year = "2000")
{
    EphemeridesInput in;
    in.table = table;
    in.monthIndex = month;
    in.yearText = year;
    in.hourText = "12";
    in.zoneText = "0";
    in.summerText = "0";
    in.orbs = {10, 6, 8, 10, 8};
    return in;
}

} // namespace

TEST(DaysInMonth, LeapYearsOfBothCalendars)
{
    const struct {
        int month, year, days;
    } rows[] = {{1, 1900, 28}, {1, 2000, 29}, {1, 2003, 28}, {1, 2004, 29}, {1, 1500, 29},
                {1, 1582, 28}, {1, -500, 29}, {0, 2003, 31}, {3, 2003, 30}, {11, 1, 31}};
    for (const auto& r : rows)
        EXPECT_EQ(daysInMonth(r.month, r.year), r.days) << "month " << r.month << " of " << r.year;
}

TEST(EphemeridesRun, RowsCalendarAndUniversalTime)
{
    const struct {
        const char* year;
        int month;
        int rows;
        bool gregorian;
    } rows[] = {{"2000", 1, 30, true}, {"1900", 1, 29, true}, {"1582", 0, 32, true},
                {"1581", 11, 32, false}, {"2002.5", 1, 29, true}, {"2003.5", 1, 30, true}};
    for (const auto& r : rows) {
        FakeEphemeris fake;
        EphemeridesInput in = input(EphemerisTableKind::Planets, r.month, r.year);
        in.hourText = "1";
        in.zoneText = "3";
        std::vector<int> progress;
        const auto result =
            runEphemerides(in, fake, [&](int day, int days) { progress.push_back(day * 100 + days); });
        ASSERT_TRUE(result.ok) << r.year;
        EXPECT_EQ(result.table.rowCount(), r.rows) << r.year;
        EXPECT_EQ(fake.calendars.front(), r.gregorian) << r.year;
        EXPECT_EQ(fake.hours.front(), -2.0) << "hour 1 in zone 3 is the previous evening";
        EXPECT_EQ(fake.closes(), r.rows - 1) << "the library is closed after every day";
        EXPECT_EQ(progress.back(), (r.rows - 1) * 101) << r.year;
    }
}

TEST(EphemeridesRun, PlanetsTableMarksRetrogradeExceptTheBlackMoon)
{
    FakeEphemeris fake;
    fake.longitudes = {30.0, 0.0, 15.5, 45.25, 360.0, 100, 110, 120, 130, 140, 150, 0, 160};
    fake.speeds.fill(1.0);
    fake.speeds[10] = -0.05;
    fake.speeds[12] = -0.1;
    const auto result = runEphemerides(input(EphemerisTableKind::Planets), fake);
    ASSERT_TRUE(result.ok);
    const auto& t = result.table;
    EXPECT_EQ(t.columnCount(), 13);
    EXPECT_EQ(t.cells[0][0], "الكواكب/الأيام");
    EXPECT_EQ(t.cells[0][11], "الرأس");
    EXPECT_EQ(t.cells[31][0], "31");
    EXPECT_EQ(t.cells[1][1], "30°0'0''الحمل ");
    EXPECT_EQ(t.cells[1][2], "0°0'0''الحمل ");
    EXPECT_EQ(t.cells[1][3], "15°30'0''الحمل ");
    EXPECT_EQ(t.cells[1][5], "30°0'0''الحوت ");
    EXPECT_EQ(t.cells[1][11], "30°0'0''الأسد راجع ");
    EXPECT_EQ(t.cells[1][12], "10°0'0''السنبلة ");

    EphemeridesInput decimal = input(EphemerisTableKind::Planets);
    decimal.zodiacal = false;
    fake.longitudes[0] = 123.45678;
    EXPECT_EQ(runEphemerides(decimal, fake).table.cells[2][1], "123.4568");
}

TEST(EphemeridesRun, HousesTableRoundsCuspsAndKeepsThemBelow360)
{
    FakeEphemeris fake;
    for (int h = 1; h <= 12; ++h)
        fake.cusps[h] = 30.0 * (h - 1) + 29.99995; // half a second below the next sign
    fake.cusps[12] = 359.99995;
    const auto result = runEphemerides(input(EphemerisTableKind::Houses), fake);
    ASSERT_TRUE(result.ok);
    EXPECT_EQ(result.table.cells[0][7], "البيت السابع");
    EXPECT_EQ(result.table.cells[1][1], "0°0'0''الثور ");
    EXPECT_EQ(result.table.cells[1][12], "0°0'0''الحمل ");
}

TEST(EphemeridesRun, AspectsTableWritesGlyphCellsAndGrowsForACrowdedDay)
{
    FakeEphemeris fake;
    // Sun-Moon conjunct; nothing else within a conjunction orb of 5.
    fake.longitudes = {10.0, 13.0, 100, 137, 174, 211, 248, 285, 322, 340, 70, 0, 50};
    EphemeridesInput in = input(EphemerisTableKind::Aspects, 1, "2003");
    in.orbs = {5, 0, 0, 0, 0};
    auto result = runEphemerides(in, fake);
    ASSERT_TRUE(result.ok);
    EXPECT_EQ(result.table.fontName, "VelmoraFonts");
    EXPECT_EQ(result.table.fixedRows, 0);
    EXPECT_EQ(result.table.cells[0][0], "1");
    EXPECT_EQ(result.table.cells[27][0], "28");
    EXPECT_EQ(result.table.cells[28][0], "") << "the spare last row";
    EXPECT_EQ(result.table.cells[0][1], "a v b");

    // Every pair within every orb of 179: far more than 59 aspects in one day.
    in.orbs = {179, 179, 179, 179, 179};
    result = runEphemerides(in, fake);
    ASSERT_TRUE(result.ok);
    EXPECT_GT(result.table.columnCount(), 60);
    EXPECT_FALSE(result.table.cells[0].back().empty());
    EXPECT_EQ(result.table.cells[0][1], "a v b");
    EXPECT_EQ(result.table.cells[0][2], "a z b") << "wide orbs write adjacent cells";

    // A quieter rerun leaves nothing of the crowded one.
    in.orbs = {5, 0, 0, 0, 0};
    result = runEphemerides(in, fake);
    EXPECT_EQ(result.table.columnCount(), 60);
    EXPECT_EQ(result.table.cells[0][2], "");
}

TEST(EphemeridesRun, AnUncomputableDayIsReportedNotShown)
{
    FakeEphemeris fake;
    fake.failingDay = 3;
    const auto result = runEphemerides(input(EphemerisTableKind::Planets), fake);
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.error, "day 3: file not found");

    const auto year = runEphemerides(input(EphemerisTableKind::Planets, 0, "99999"), fake);
    EXPECT_FALSE(year.ok);
}

TEST(EphemeridesTexts, ZodiacalAndDecimal)
{
    EXPECT_EQ(cnvtNumToSigne(15.5f), "15°30'0''الحمل ");
    EXPECT_EQ(cnvtNumToSigne(360.0f), "30°0'0''الحوت ");
    EXPECT_EQ(cnvtNumToSigne(-0.1f), "");
    EXPECT_EQ(cnvtNumToSigne(360.5f), "");
    EXPECT_EQ(decimalLongitudeText(123.45678f), "123.4568");
    EXPECT_EQ(decimalLongitudeText(5.0f), "5");
    EXPECT_EQ(decimalLongitudeText(0.5f), "0.5");
    EXPECT_EQ(decimalLongitudeText(0.0001234f), "0.0001234");
}

TEST(EphemeridesTableText, CsvQuotesCellsAndTabsDropEmptyRowEnds)
{
    EphemeridesTable table;
    table.cells = {{"a,b", "say \"x\"", ""}, {"1", "", ""}};
    EXPECT_EQ(ephemeridesTableText(table, TableTextForm::Csv), "\"a,b\",\"say \"\"x\"\"\",\n1,,\n");
    EXPECT_EQ(ephemeridesTableText(table, TableTextForm::Tabs), "a,b\tsay \"x\"\n1\n");
}
