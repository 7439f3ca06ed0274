#include "core/Ephemerides.h"
#include "tests/core/FakeEphemeris.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <map>
#include <sstream>

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

// Degrees of a zodiacal cell such as 11°47'58''الدالي  (a retrograde mark may follow).
double degreesOf(const std::string& cell)
{
    static const std::map<std::string, int> signs = {
        {"الحمل", 0}, {"الثور", 1}, {"الجوزاء", 2}, {"السرطان", 3}, {"الأسد", 4}, {"السنبلة", 5},
        {"الميزان", 6}, {"العقرب", 7}, {"القوس", 8}, {"الجدي", 9}, {"الدالي", 10}, {"الحوت", 11},
    };
    int d = 0, m = 0, s = 0;
    char name[128] = {};
    std::sscanf(cell.c_str(), "%d°%d'%d''%127s", &d, &m, &s, name);
    return 30.0 * signs.at(name) + d + m / 60.0 + s / 3600.0;
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

// February 2024 at Mecca, local noon, against swetest (tests/data/swetest_month.txt).
TEST(EphemeridesRun, AMonthAgreesWithSwetest)
{
    std::ifstream file(VELMORA_TEST_DATA "/swetest_month.txt");
    ASSERT_TRUE(file);
    std::map<std::pair<int, int>, std::pair<double, double>> points; // (day, slot) -> lon, speed
    std::map<std::pair<int, int>, double> cusps;                    // (day, house) -> lon
    std::string line;
    while (std::getline(file, line)) {
        std::istringstream in(line);
        int day, index;
        std::string kind;
        if (!(in >> day >> kind >> index))
            continue;
        double lon, speed = 0;
        in >> lon >> speed;
        if (kind == "point")
            points[{day, index}] = {lon, speed};
        else if (kind == "cusp")
            cusps[{day, index}] = lon;
    }
    ASSERT_EQ(points.size(), 29u * 12);

    EphemeridesInput in = input(EphemerisTableKind::Planets, 1, "2024");
    in.zoneText = "3";
    in.latitude = 21.45f;
    in.longitude = static_cast<float>(39 + 49 / 60.0);
    const auto planets = runEphemerides(in, swissEphemeris());
    in.table = EphemerisTableKind::Houses;
    const auto houses = runEphemerides(in, swissEphemeris());
    in.table = EphemerisTableKind::Aspects;
    const auto aspects = runEphemerides(in, swissEphemeris());
    ASSERT_TRUE(planets.ok && houses.ok && aspects.ok);

    const char* glyphs = "abcdefghijln";
    const struct {
        int exact;
        int orb;
        const char* text;
    } tests[] = {{0, 10, " v "}, {60, 6, " z "}, {90, 8, " x "}, {180, 10, " w "}, {120, 8, " y "}};
    for (int day = 1; day <= 29; ++day) {
        for (int slot = 0; slot < 12; ++slot) {
            const auto [lon, speed] = points[{day, slot}];
            const std::string& cell = planets.table.cells[day][slot + 1];
            const double shown = degreesOf(cell);
            // Truncated texts sit up to one second below the true value, give or take the
            // longitude's single-precision storage (0.06 seconds near 360 degrees).
            const double below = (lon - shown) * 3600;
            EXPECT_GE(below, -0.06) << "day " << day << " slot " << slot << " " << cell;
            EXPECT_LT(below, 1.06) << "day " << day << " slot " << slot << " " << cell;
            const bool marked = cell.find("راجع") != std::string::npos;
            EXPECT_EQ(marked, slot != 11 && speed < 0) << "day " << day << " slot " << slot;
        }
        for (int h = 1; h <= 12; ++h) {
            const double lon = cusps[{day, h}];
            EXPECT_LT(std::fabs(lon - degreesOf(houses.table.cells[day][h])) * 3600, 1.0)
                << "day " << day << " cusp " << h << " expected " << lon;
        }
        // The day's aspect cells, from the reference longitudes by the table's own rules.
        std::vector<std::string> expected;
        for (int i = 0; i < 11; ++i) {
            for (int j = i + 1; j < 12; ++j) {
                const double d = std::fabs(points[{day, i}].first - points[{day, j}].first);
                for (const auto& t : tests) {
                    const bool near = t.exact == 0
                                          ? (d > 0 && d < t.orb) || d > 360 - t.orb
                                          : std::fabs(d - t.exact) < t.orb ||
                                                (t.exact != 180 && std::fabs(d - (360 - t.exact)) < t.orb);
                    if (near)
                        expected.push_back(std::string(1, glyphs[i]) + t.text + glyphs[j]);
                }
            }
        }
        const auto& row = aspects.table.cells[day - 1];
        std::vector<std::string> actual;
        for (std::size_t c = 1; c < row.size() && !row[c].empty(); ++c)
            actual.push_back(row[c]);
        EXPECT_EQ(actual, expected) << "aspects of day " << day;
    }
}
