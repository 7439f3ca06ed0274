#include "cli/EphemeridesReport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <map>
#include <sstream>

using namespace velmora;
using namespace velmora::cli;

namespace {

CommandResult run(const std::vector<std::string>& args)
{
    ChartState state;
    return runCommand(args, state, swissEphemeris());
}

std::size_t count(const std::string& text, const std::string& part)
{
    std::size_t n = 0;
    for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++n;
    return n;
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

// The tab-separated cells of a printed table, by row.
std::vector<std::vector<std::string>> cellsOf(const std::string& printed)
{
    std::vector<std::vector<std::string>> rows;
    std::istringstream lines(printed);
    for (std::string line; std::getline(lines, line);) {
        rows.emplace_back();
        std::istringstream row(line);
        for (std::string cell; std::getline(row, cell, '\t');)
            rows.back().push_back(cell);
    }
    return rows;
}

double arcSeconds(double a, double b)
{
    double d = std::fabs(a - b);
    if (d > 180)
        d = 360 - d;
    return d * 3600.0;
}

} // namespace

TEST(ChartArguments, BadArgumentsExitWithOneUsageLine)
{
    const char* const chart = "chart --date 2000-3-1 --time 12:00 ";
    const char* const month = "ephemerides --year 2000 --month 2 --hour 12 --lat 1 --lon 1 ";
    const std::vector<std::string> rows = {
        "",
        "chart",
        std::string(chart) + "--lat 21:27N",
        "chart --date 2000/3/1 --time 12:00 --lat 1 --lon 1",
        "chart --date 2000-3-1 --time 12 --lat 1 --lon 1",
        "chart --date 2000-x-1 --time 12:00 --lat 1 --lon 1",
        std::string(chart) + "--lat 91 --lon 1",
        std::string(chart) + "--lat 21:27E --lon 1",
        std::string(chart) + "--lat 21:60N --lon 1",
        std::string(chart) + "--lat 1 --lon 181",
        std::string(chart) + "--lat 1 --lon 1 --date2 2001-1-1",
        std::string(chart) + "--lat 1 --lon 1 --zone east",
        std::string(chart) + "--lat 1 --lon 1 --foo",
        std::string(chart) + "--lat 1 --lon 1 --kind transits",
        std::string(chart) + "--lat 1 --lon 1 --kind weekly",
        std::string(month) + "--table stars",
        "ephemerides --year 2000 --month 13 --hour 12 --lat 1 --lon 1 --table planets",
        "ephemerides --year 40000 --month 2 --hour 12 --lat 1 --lon 1 --table houses",
        "ephemerides --year 2000 --month 2 --lat 1 --lon 1 --table houses",
        std::string(chart) + "--city Paris --lat 1",
        "places",
        "places --json Paris",
        "places Paris --limit 0",
    };
    for (const std::string& line : rows) {
        std::vector<std::string> args;
        std::istringstream words(line);
        for (std::string word; words >> word;)
            args.push_back(word);
        const CommandResult result = run(args);
        EXPECT_EQ(result.exitCode, kExitUsage) << line;
        EXPECT_TRUE(result.output.empty()) << line;
        EXPECT_EQ(count(result.error, "\n"), 0u) << line;
        EXPECT_NE(result.error.find("usage:"), std::string::npos) << line;
    }
}

TEST(ChartArguments, NegativeYearsAndDecimalCoordinates)
{
    const auto date = splitDate("-500-3-1");
    ASSERT_TRUE(date);
    EXPECT_EQ(date->year, "-500");
    EXPECT_EQ(date->month, "3");
    EXPECT_EQ(date->day, "1");

    const struct {
        const char* text;
        char pos, neg;
        const char* degrees;
        const char* minutes;
        bool negative;
    } rows[] = {
        {"39.83", 'E', 'W', "39", "49", false}, {"-74", 'E', 'W', "74", "0", true},
        {"21:27N", 'N', 'S', "21", "27", false}, {"33:52s", 'N', 'S', "33", "52", true},
        {"-0.5", 'N', 'S', "0", "30", true},
    };
    for (const auto& r : rows) {
        const auto c = parseCoordinate(r.text, r.pos, r.neg, 180);
        ASSERT_TRUE(c) << r.text;
        EXPECT_EQ(c->degrees, r.degrees) << r.text;
        EXPECT_EQ(c->minutes, r.minutes) << r.text;
        EXPECT_EQ(c->negative, r.negative) << r.text;
    }
}

TEST(Commands, PrintTheTableOrTheLibrarysReason)
{
    const std::vector<std::string> base = {"ephemerides", "--year", "2000", "--month", "2",
                                           "--hour", "12", "--lat", "21:27N", "--lon", "39:49E"};
    auto with = [&](std::vector<std::string> extra) {
        std::vector<std::string> args = base;
        args.insert(args.end(), extra.begin(), extra.end());
        return run(args);
    };
    const auto planets = with({"--table", "planets"});
    ASSERT_EQ(planets.exitCode, kExitOk) << planets.error;
    EXPECT_EQ(count(planets.output, "\n"), 30u) << "header and 29 days of February 2000";
    EXPECT_EQ(planets.output.rfind("الكواكب/الأيام\tالشمس\t", 0), 0u);

    const auto houses = with({"--table", "houses", "--decimal", "--csv"});
    ASSERT_EQ(houses.exitCode, kExitOk);
    EXPECT_EQ(count(houses.output, "\n"), 30u);
    EXPECT_EQ(count(houses.output, ","), 30u * 12);

    const auto aspects = with({"--table", "aspects"});
    ASSERT_EQ(aspects.exitCode, kExitOk);
    EXPECT_NE(aspects.output.find("1\ta "), std::string::npos);

    const auto far = run({"ephemerides", "--year", "6000", "--month", "1", "--hour", "0",
                          "--lat", "0", "--lon", "0", "--table", "planets"});
    EXPECT_EQ(far.exitCode, kExitEphemeris);
    EXPECT_NE(far.error.find("day 1: SwissEph file"), std::string::npos) << far.error;
    const auto farChart = run({"chart", "--date", "6000-1-1", "--time", "12:00", "--lat",
                               "21:27N", "--lon", "39:49E"});
    EXPECT_EQ(farChart.exitCode, kExitEphemeris);
    EXPECT_NE(farChart.error.find("sepl_60.se1"), std::string::npos) << farChart.error;
}

TEST(ChartCommand, AspectsAndAnalysisOfTheChosenKind)
{
    const auto natal = run({"chart", "--date", "2000-3-1", "--time", "15:00", "--lat", "21:27N",
                            "--lon", "39:49E", "--aspects", "--analysis"});
    ASSERT_EQ(natal.exitCode, kExitOk) << natal.error;
    EXPECT_NE(natal.output.find("المشتري في  مقارنة زحل في 9°40'51''   منفصل \n"),
              std::string::npos);
    EXPECT_NE(natal.output.find("عدد الكواكب في البروج النارية   3\r\n"), std::string::npos);

    const auto transits =
        run({"chart", "--date", "2000-3-1", "--time", "15:00", "--lat", "21:27N", "--lon",
             "39:49E", "--kind", "transits", "--date2", "2026-12-6", "--time2", "12:00",
             "--aspects", "--json"});
    ASSERT_EQ(transits.exitCode, kExitOk) << transits.error;
    EXPECT_NE(transits.output.find("\"aspects\": [{\"slots\": ["), std::string::npos);
    EXPECT_EQ(count(transits.output, "التحويل"), count(transits.output, "\"slots\"") + 12)
        << "every aspect joins a transit point; 12 more in the points' texts";
}

TEST(ChartCommand, JsonHasTheDocumentedShape)
{
    const auto one = run({"chart", "--date", "2000-3-1", "--time", "15:00", "--lat", "21.45",
                          "--lon", "39.83", "--json"});
    ASSERT_EQ(one.exitCode, kExitOk) << one.error;
    EXPECT_EQ(one.output.rfind("{\"input\": {\"date\": \"2000-3-1\", \"time\": \"15:00\", "
                               "\"lat\": 21.45, \"lon\": 39.81666666666667, \"zone\": 3, "
                               "\"summer\": 0}, \"jd_ut\": 2451605.00000000, \"points\": [",
                               0),
              0u)
        << one.output.substr(0, 200);
    EXPECT_EQ(count(one.output, "\"slot\""), 12u);
    EXPECT_EQ(count(one.output, "\"house\""), 24u); // 12 points + 12 cusps
    EXPECT_NE(one.output.find("\"body\": \"mean_apogee\""), std::string::npos);
    EXPECT_NE(one.output.find("\"text\": \"الشمس في 11°12'35''من برج الحوت \""),
              std::string::npos);

    const auto two = run({"chart", "--date", "2000-3-1", "--time", "15:00", "--lat", "21.45",
                          "--lon", "39.83", "--date2", "2010-1-1", "--time2", "0:00", "--zone",
                          "2", "--json"});
    ASSERT_EQ(two.exitCode, kExitOk) << two.error;
    EXPECT_EQ(count(two.output, "\"slot\""), 24u);
    EXPECT_EQ(count(two.output, "{\"house\""), 24u);
    EXPECT_NE(two.output.find("\"zone\": 2,"), std::string::npos);
}

TEST(CityCommands, UseTheFirstMatchAndItsLegalTime)
{
    const auto places = run({"places", "فاس", "--json", "--limit", "2"});
    ASSERT_EQ(places.exitCode, kExitOk) << places.error;
    EXPECT_EQ(places.output.rfind("[{\"name\": \"فاس\", \"name_latin\": \"Fes\", \"region\": ", 0), 0u)
        << places.output;
    EXPECT_NE(places.output.find("\"lat\": 34.03313, \"lon\": -5.00028, \"zone\": "
                                 "\"Africa/Casablanca\", \"population\": "),
              std::string::npos);
    EXPECT_EQ(count(places.output, "{\"name\""), 2u);
    const auto none = run({"places", "zzqxj"});
    EXPECT_EQ(none.exitCode, kExitUsage);
    EXPECT_NE(none.error.find("'zzqxj'"), std::string::npos) << none.error;

    // The same points as with Mecca's coordinates typed.
    const std::vector<std::string> when = {"--date", "2000-3-1", "--time", "15:00", "--json"};
    auto chart = [&when](std::vector<std::string> place) {
        place.insert(place.begin(), "chart");
        place.insert(place.end(), when.begin(), when.end());
        return run(place);
    };
    const auto city = chart({"--city", "مكة"});
    const auto typed = chart({"--lat", "21.42664", "--lon", "39.82563"});
    ASSERT_EQ(city.exitCode, kExitOk) << city.error;
    EXPECT_EQ(city.output.substr(city.output.find("\"jd_ut\"")),
              typed.output.substr(typed.output.find("\"jd_ut\"")));
    EXPECT_NE(city.output.find("\"city\": {\"name\": \"مكة المكرمة\""), std::string::npos);
    EXPECT_EQ(chart({"--city", "zzqxj"}).exitCode, kExitUsage);

    // Madrid in July: zone 0 from the longitude, the legal summer time unless one is given.
    const struct {
        std::vector<std::string> extra;
        const char* zoneAndSummer;
    } madrid[] = {{{}, "\"zone\": 0, \"summer\": 2,"},
                  {{"--summer", "0"}, "\"zone\": 0, \"summer\": 0,"},
                  {{"--zone", "1"}, "\"zone\": 1, \"summer\": 0,"}};
    for (const auto& row : madrid) {
        std::vector<std::string> args = {"chart", "--city", "Madrid", "--date", "2024-7-15",
                                         "--time", "12:00", "--json"};
        args.insert(args.end(), row.extra.begin(), row.extra.end());
        const auto result = run(args);
        EXPECT_NE(result.output.find(row.zoneAndSummer), std::string::npos)
            << row.zoneAndSummer << "\n" << result.output.substr(0, 160) << result.error;
    }

    // A month at Fes: the legal time of 15 June 2024 is one hour ahead of zone 0.
    const std::vector<std::string> month = {"ephemerides", "--year", "2024", "--month", "6",
                                            "--hour", "12", "--table", "planets"};
    auto fes = month;
    fes.insert(fes.end(), {"--city", "Fes"});
    auto fesTyped = month;
    fesTyped.insert(fesTyped.end(), {"--lat", "34.03313", "--lon", "-5.00028", "--summer", "1"});
    const auto legal = run(fes);
    ASSERT_EQ(legal.exitCode, kExitOk) << legal.error;
    EXPECT_EQ(legal.output, run(fesTyped).output);
}

TEST(ChartCommand, PlainOutputListsPointsCuspsAndHouses)
{
    const auto result = run({"chart", "--date", "2000-3-1", "--time", "15:00", "--lat",
                             "21:27N", "--lon", "39:49E"});
    ASSERT_EQ(result.exitCode, kExitOk) << result.error;
    EXPECT_EQ(count(result.output, "\n"), 36u);
    EXPECT_NE(result.output.find("الشمس في 11°12'35''من برج الحوت \n"), std::string::npos);
    EXPECT_NE(result.output.find(" الطالع في 26°3'36''من برج السرطان \n"), std::string::npos)
        << result.output;
}

// Every chart of the reference file must agree with swetest to 1 arc-second.
TEST(ChartCommand, AgreesWithSwetest)
{
    std::ifstream file(VELMORA_TEST_DATA "/swetest_charts.txt");
    ASSERT_TRUE(file) << "reference data missing";
    std::string line, command;
    ChartState state;
    int checked = 0;
    while (std::getline(file, line)) {
        std::istringstream in(line);
        std::string kind;
        in >> kind;
        if (kind == "chart") {
            std::string date, time, lat, lon, summer;
            in >> date >> time >> lat >> lon >> summer;
            state = ChartState();
            const auto result = runCommand({"chart", "--date", date, "--time", time, "--lat", lat,
                                            "--lon", lon, "--summer", summer},
                                           state, swissEphemeris());
            ASSERT_EQ(result.exitCode, kExitOk) << line << ": " << result.error;
        } else if (kind == "command") {
            command = line;
        } else if (kind == "point") {
            int slot;
            double lon, speed;
            in >> slot >> lon >> speed;
            EXPECT_LT(arcSeconds(state.Planets[slot].Longitude, lon), 1.0)
                << command << "\nslot " << slot << " expected " << lon << " actual "
                << state.Planets[slot].Longitude;
            if (slot != kBlackMoonSlot) {
                EXPECT_NEAR(state.Planets[slot].Speed, speed, 1e-5)
                    << command << "\nspeed of slot " << slot;
            }
            ++checked;
        } else if (kind == "cusp") {
            int house;
            double lon;
            in >> house >> lon;
            const double stored = state.HouseCusps[house - 1] - 0.5 / 3600.0;
            EXPECT_LT(arcSeconds(stored, lon), 1.0)
                << command << "\ncusp " << house << " expected " << lon << " actual " << stored;
            ++checked;
        }
    }
    EXPECT_EQ(checked, 6 * 24);
}

// February 2024 at Mecca, local noon: the three tables velmora-cli prints against swetest
// (tests/data/swetest_month.txt).
TEST(Commands, AMonthOfEphemeridesAgreesWithSwetest)
{
    std::ifstream file(VELMORA_TEST_DATA "/swetest_month.txt");
    ASSERT_TRUE(file);
    std::map<std::pair<int, int>, std::pair<double, double>> points; // (day, slot) -> lon, speed
    std::map<std::pair<int, int>, double> cusps;                    // (day, house) -> lon
    std::vector<std::string> command;
    std::string line;
    while (std::getline(file, line)) {
        std::istringstream in(line);
        if (line.rfind("ephemerides ", 0) == 0) {
            for (std::string word; in >> word;)
                command.push_back(word);
            continue;
        }
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
    auto table = [&](const char* kind) {
        std::vector<std::string> args = command;
        args.insert(args.end(), {"--table", kind});
        const CommandResult result = run(args);
        EXPECT_EQ(result.exitCode, kExitOk) << result.error;
        return cellsOf(result.output);
    };
    const auto planets = table("planets");
    const auto houses = table("houses");
    const auto aspects = table("aspects");
    ASSERT_EQ(planets.size(), 30u);
    ASSERT_EQ(houses.size(), 30u);
    ASSERT_EQ(aspects.size(), 30u);

    const char* glyphs = "abcdefghijln";
    const struct {
        int exact;
        int orb;
        const char* text;
    } tests[] = {{0, 10, " v "}, {60, 6, " z "}, {90, 8, " x "}, {180, 10, " w "}, {120, 8, " y "}};
    for (int day = 1; day <= 29; ++day) {
        ASSERT_EQ(planets[day].size(), 13u) << "day " << day;
        for (int slot = 0; slot < 12; ++slot) {
            const auto [lon, speed] = points[{day, slot}];
            const std::string& cell = planets[day][slot + 1];
            // Truncated texts sit up to one second below the true value, give or take the
            // longitude's single-precision storage (0.06 seconds near 360 degrees).
            const double below = (lon - degreesOf(cell)) * 3600;
            EXPECT_TRUE(below >= -0.06 && below < 1.06)
                << "2024-02-" << day << " slot " << slot << " expected " << lon << " actual "
                << cell << " (" << below << " arc-seconds below)";
            const bool marked = cell.find("راجع") != std::string::npos;
            EXPECT_EQ(marked, slot != 11 && speed < 0) << "day " << day << " slot " << slot;
        }
        for (int h = 1; h <= 12; ++h) {
            const double lon = cusps[{day, h}];
            EXPECT_LT(std::fabs(lon - degreesOf(houses[day][h])) * 3600, 1.0)
                << "2024-02-" << day << " cusp " << h << " expected " << lon << " actual "
                << houses[day][h];
        }
        // The day's aspect cells, from the reference longitudes by the table's own rules.
        std::vector<std::string> expected = {std::to_string(day)};
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
        EXPECT_EQ(aspects[day - 1], expected) << "aspects of day " << day;
    }
}
