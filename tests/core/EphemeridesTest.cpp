#include "core/Ephemerides.h"
#include "tests/core/FakeEphemeris.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace velmora;

namespace {

using velmora::testing::FakeEphemeris;

EphemeridesInput input(EphemerisTableKind table, int month = 0, const char* year = "2000")
{
    return {month, year, "12", table, true, "0", "0", 0.0f, 0.0f, {10, 6, 8, 10, 8}};
}

} // namespace

TEST(DaysInMonth, LeapYearsOfBothCalendars)
{
    for (const auto& [month, year, days] :
         {std::tuple{1, 1900, 28}, {1, 2000, 29}, {1, 2003, 28}, {1, 2004, 29}, {1, 1500, 29},
          {1, 1582, 28}, {1, -500, 29}, {0, 2003, 31}, {3, 2003, 30}, {11, 1, 31}})
        EXPECT_EQ(daysInMonth(month, year), days) << "month " << month << " of " << year;
}

TEST(EphemeridesRun, RowsCalendarAndUniversalTime)
{
    const struct {
        const char* year;
        int month, rows;
        const char* fifthDay;
        bool gregorianFirst, gregorianLast;
    } rows[] = {{"2000", 1, 30, "5", true, true},      {"1900", 1, 29, "5", true, true},
                {"1582", 0, 32, "5", false, false},    {"1581", 11, 32, "5", false, false},
                {"1582", 9, 22, "15", false, true}, // the reform went from the 4th to the 15th
                {"2002.5", 1, 29, "5", true, true},    {"2003.5", 1, 30, "5", true, true}};
    for (const auto& r : rows) {
        FakeEphemeris fake;
        EphemeridesInput in = input(EphemerisTableKind::Planets, r.month, r.year);
        in.hourText = "1";
        in.zoneText = "3";
        std::vector<int> progress;
        const auto result =
            runEphemerides(in, fake, [&](int day, int days) { progress.push_back(day * 100 + days); });
        SCOPED_TRACE(r.year);
        ASSERT_TRUE(result.ok);
        EXPECT_EQ(result.table.rowCount(), r.rows);
        EXPECT_EQ(result.table.cells[5][0], r.fifthDay);
        EXPECT_EQ(std::pair(bool(fake.calendars.front()), bool(fake.calendars.back())),
                  std::pair(r.gregorianFirst, r.gregorianLast));
        EXPECT_EQ(fake.hours.front(), -2.0) << "hour 1 in zone 3 is the previous evening";
        EXPECT_EQ(fake.closes(), r.rows - 1) << "the library is closed after every day";
        EXPECT_EQ(progress.back(), (r.rows - 1) * 101);
    }
}

// A Hijri month's rows are its own days, across two civil months: 1 Muharram 1446 is 7 July 2024.
TEST(EphemeridesRun, AHijriMonthRowsItsOwnDays)
{
    EphemeridesInput muharram = input(EphemerisTableKind::Planets, 0, "1446");
    muharram.hijri = true;
    const auto h = runEphemerides(muharram, swissEphemeris()).table.cells;
    const auto july = runEphemerides(input(EphemerisTableKind::Planets, 6, "2024"), swissEphemeris()).table.cells;
    ASSERT_EQ(h.size(), 30u); // 29 days
    EXPECT_EQ(h[1][0] + h[1][2] + h[25][2], "1" + july[7][2] + july[31][2]) << "the Moon on 7 and 31 July";
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
    EXPECT_EQ(t.cells[0][0] + t.cells[0][11] + t.cells[31][0], "الكواكب/الأيامالرأس31");
    EXPECT_EQ(t.cells[1], (std::vector<std::string>{
                              "1", "30°0'0''الحمل ", "0°0'0''الحمل ", "15°30'0''الحمل ",
                              "15°15'0''الثور ", "30°0'0''الحوت ", "10°0'0''السرطان ",
                              "20°0'0''السرطان ", "30°0'0''السرطان ", "10°0'0''الأسد ",
                              "20°0'0''الأسد ", "30°0'0''الأسد راجع ", "10°0'0''السنبلة "}));

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
    const auto& t = result.table;
    EXPECT_EQ(t.cells[0][7] + "|" + t.cells[1][1] + "|" + t.cells[1][12],
              "البيت السابع|0°0'0''الثور |0°0'0''الحمل ");
    EXPECT_EQ(t.cells[2][0] + "|" + result.houseNote, "2|") << "Placidus days are not marked";

    // Days the library gave Porphyry cusps for are starred, and the note says why.
    fake.houseSystem = HouseSystem::Porphyry;
    const auto polar = runEphemerides(input(EphemerisTableKind::Houses), fake);
    ASSERT_TRUE(polar.ok);
    EXPECT_EQ(polar.table.cells[2][0] + "|" + polar.table.cells[1][1] + "|" + polar.houseNote,
              "2*|0°0'0''الثور |* البيوت بنظام بورفيري لأن نظام بلاسيدوس غير معرّف عند هذا العرض");

    // Whole-sign cusps are not the angles their columns are named after in the other systems.
    fake.houseSystem.reset();
    EphemeridesInput signs = input(EphemerisTableKind::Houses);
    signs.houses = HouseSystem::WholeSign;
    const auto header = runEphemerides(signs, fake).table.cells[0];
    EXPECT_EQ(header[1] + "|" + header[4] + "|" + header[10], "البيت الأول|البيت الرابع|البيت العاشر");
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
    const auto& t = result.table;
    EXPECT_EQ(t.fontName, "VelmoraFonts");
    EXPECT_EQ(t.fixedRows, 0);
    // Day 1 in row 0, the spare last row empty.
    EXPECT_EQ(t.cells[0][0] + "|" + t.cells[0][1] + "|" + t.cells[27][0] + "|" + t.cells[28][0], "1|a v b|28|");

    // Every pair within every orb of 179: far more than 59 aspects in one day.
    in.orbs = {179, 179, 179, 179, 179};
    result = runEphemerides(in, fake);
    ASSERT_TRUE(result.ok);
    EXPECT_GT(result.table.columnCount(), 60);
    EXPECT_FALSE(result.table.cells[0].back().empty());
    EXPECT_EQ(result.table.cells[0][1] + "|" + result.table.cells[0][2], "a v b|a z b") << "wide orbs write adjacent cells";

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
    EXPECT_EQ(result.failure.libraryText, "file not found");
    EXPECT_EQ(result.failedDay, 3);

    fake.housesFail = true;
    EXPECT_FALSE(runEphemerides(input(EphemerisTableKind::Houses), fake).ok);

    // Values no clock or zone can hold are refused before the library is asked.
    const std::string nines(400, '9');
    const std::string refused[][3] = { // year, hour, zone
        {"99999", "12", "0"}, {"2000", nines, "0"}, {"2000", "12", "100000"}, {"2000", "12", "-" + nines}};
    for (const auto& [year, hour, zone] : refused) {
        FakeEphemeris untouched;
        EphemeridesInput in = input(EphemerisTableKind::Planets, 0, year.c_str());
        in.hourText = hour;
        in.zoneText = zone;
        EXPECT_TRUE(!runEphemerides(in, untouched).ok && untouched.calls.empty()) << year << " " << zone;
    }
}

TEST(EphemeridesTexts, DecimalInItsShortestForm)
{
    EXPECT_EQ(decimalLongitudeText(5.0f) + " " + decimalLongitudeText(0.5f) + " " +
                  decimalLongitudeText(0.0001234f),
              "5 0.5 0.0001234");
}

TEST(EphemeridesTableText, CsvQuotesCellsAndTabsDropEmptyRowEnds)
{
    EphemeridesTable table;
    table.cells = {{"a,b", "say \"x\"", ""}, {"1", "", ""}};
    EXPECT_EQ(ephemeridesTableText(table, TableTextForm::Csv), "\"a,b\",\"say \"\"x\"\"\",\n1,,\n");
    EXPECT_EQ(ephemeridesTableText(table, TableTextForm::Tabs), "a,b\tsay \"x\"\n1\n");
}
