#include "core/Dignities.h"
#include "core/Hijri.h"
#include "core/Lots.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <tuple>
#include <vector>

using namespace velmora;

namespace {

// Charts worked by hand: the ascendant and the Sun through Saturn, then the seven lots.
struct LotRow {
    const char* name;
    float asc;
    std::array<float, 7> points; // Sun, Moon, Mercury, Venus, Mars, Jupiter, Saturn
    bool day;
    std::array<double, 7> lots;  // Fortune .. Nemesis
};

const LotRow kLotRows[] = {
    {"day_the_Sun_above_the_horizon", 100, {300, 50, 280, 320, 10, 150, 200}, true,
     {210, 350, 70, 30, 300, 260, 110}},
    {"night_the_Sun_below_it", 100, {150, 50, 280, 320, 10, 170, 200}, false,
     {200, 0, 140, 180, 270, 290, 100}},
    {"the_Sun_on_the_descendant_is_day", 100, {280, 50, 280, 320, 10, 150, 200}, true,
     {230, 330, 90, 50, 320, 280, 130}},
    {"the_Sun_on_the_ascendant_is_night", 100, {100, 50, 280, 320, 10, 150, 200}, false,
     {150, 50, 190, 230, 320, 0, 150}},
};

class LotsOfChart : public ::testing::TestWithParam<LotRow> {};

TEST_P(LotsOfChart, FollowTheSectAndWrapAt360)
{
    const LotRow& row = GetParam();
    ChartState state;
    state.Ascendant[0] = row.asc;
    for (int slot = 0; slot < 7; ++slot)
        state.Planets[slot].Longitude = row.points[slot];
    EXPECT_EQ(isDayChart(row.points[0], row.asc), row.day);
    const auto lots = lotsOf(state);
    for (int k = 0; k < 7; ++k)
        EXPECT_NEAR(lots[k].longitude, row.lots[k], 1e-4) << lots[k].nameLatin;
}

INSTANTIATE_TEST_SUITE_P(Rows, LotsOfChart, ::testing::ValuesIn(kLotRows),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Lots, ReadAsThePointsRead)
{
    EXPECT_EQ(lotText({"سهم السعادة", "Fortune", 210.5}), "سهم السعادة في 0°30'0''من برج العقرب ");
}

struct DignityRow {
    const char* name;
    int slot;
    double longitude;
    bool day;
    const char* held; // D domicile, E exaltation, T triplicity, B term, F face, d detriment, f fall
    int score;
};

const DignityRow kDignityRows[] = {
    {"Sun in Leo 5 by day: home and triplicity", 0, 125, true, "DT", 8},
    {"Sun in Aries 15 by night: exalted, its face", 0, 15, false, "EF", 5},
    {"Saturn in Libra 5 by day: exalted, triplicity, term", 6, 185, true, "ETB", 9},
    {"Saturn in Cancer 10: detriment, peregrine", 6, 100, false, "d", -5},
    {"Mars at 30 exactly is 0 Taurus: detriment", 4, 30, false, "d", -5},
    {"Venus in Pisces 25 by day: exalted, triplicity", 3, 355, true, "ET", 7},
    {"Mercury in Virgo 20 by night: home, exalted, face", 2, 170, false, "DEF", 10},
    {"Moon in Scorpio 2 by night: fall, term of Mars not hers", 1, 212, false, "f", -4},
    {"Jupiter in Cancer 20 by night: exalted, term", 5, 110, false, "EB", 6},
    {"Venus in Virgo 15 by day: fall, triplicity, term, face", 3, 165, true, "TBFf", 2},
};

class DignitiesOfPlanet : public ::testing::TestWithParam<DignityRow> {};

TEST_P(DignitiesOfPlanet, HoldTheirTablesAndScore)
{
    const DignityRow& row = GetParam();
    const Dignities d = dignitiesOf(row.slot, row.longitude, row.day);
    std::string held;
    for (const auto& [flag, letter] : std::vector<std::pair<bool, char>>{
             {d.domicile, 'D'}, {d.exaltation, 'E'}, {d.triplicity, 'T'}, {d.term, 'B'},
             {d.face, 'F'}, {d.detriment, 'd'}, {d.fall, 'f'}})
        if (flag)
            held += letter;
    EXPECT_EQ(held, std::string(row.held)) << row.name;
    EXPECT_EQ(d.score(), row.score) << row.name;
    EXPECT_EQ(d.peregrine(), std::string(row.held).find_first_of("DETBF") == std::string::npos)
        << row.name;
}

INSTANTIATE_TEST_SUITE_P(Rows, DignitiesOfPlanet, ::testing::ValuesIn(kDignityRows));

struct HijriRow {
    const char* name;
    HijriDate hijri;
    CalendarDate civil;
};

const HijriRow kHijriRows[] = {
    {"1 Ramadan 1445", {1445, 9, 1}, {2024, 3, 11}},
    {"1 Muharram 1446", {1446, 1, 1}, {2024, 7, 7}},
    {"1 Shawwal 1444", {1444, 10, 1}, {2023, 4, 21}},
    {"the Hijra, in the Julian calendar", {1, 1, 1}, {622, 7, 16}},
};

TEST(Hijri, KnownDaysBothWays)
{
    for (const HijriRow& row : kHijriRows) {
        const auto civil = civilOf(row.hijri);
        const auto hijri = hijriOf(row.civil);
        ASSERT_TRUE(civil && hijri) << row.name;
        EXPECT_EQ(std::tie(civil->year, civil->month, civil->day),
                  std::tie(row.civil.year, row.civil.month, row.civil.day)) << row.name;
        EXPECT_EQ(std::tie(hijri->year, hijri->month, hijri->day),
                  std::tie(row.hijri.year, row.hijri.month, row.hijri.day)) << row.name;
    }
    EXPECT_EQ(hijriText({1445, 9, 1}), "1 رمضان 1445 هـ");
}

const std::pair<const char*, HijriDate> kImpossibleHijri[] = {
    {"month 13", {1445, 13, 1}}, {"month 0", {1445, 0, 1}}, {"day 0", {1445, 9, 0}},
    {"day 31", {1445, 9, 31}},   {"year 0", {0, 1, 1}},
    {"day 30 of 29-day Ramadan 1444", {1444, 9, 30}},
};

TEST(Hijri, ImpossibleDaysAreRefused)
{
    for (const auto& [name, date] : kImpossibleHijri)
        EXPECT_FALSE(civilOf(date)) << name;
    EXPECT_FALSE(hijriOf({622, 7, 15})) << "before the Hijra";
    EXPECT_FALSE(hijriOf({1582, 10, 10})) << "a day the reform dropped";
}

// Each civil day, across the calendar reform and from before to after the Umm al-Qura table,
// is the day after the one before in both calendars, and each reads back to itself.
TEST(Hijri, DaysFollowOneAnotherBothWays)
{
    for (const auto& [from, to] : {std::pair{1560, 1600}, std::pair{1870, 2190}}) {
        std::optional<HijriDate> last;
        for (CalendarDate d{from, 1, 1}; d.year < to;) {
            const auto h = hijriOf(d);
            const auto back = h ? civilOf(*h) : std::nullopt;
            ASSERT_TRUE(back && back->year == d.year && back->month == d.month && back->day == d.day)
                << d.year << "-" << d.month << "-" << d.day << (h ? " reads back as another day" : " has no Hijri day");
            if (last) {
                const bool nextDay = h->year == last->year && h->month == last->month &&
                                     h->day == last->day + 1;
                const bool nextMonth = h->day == 1 && last->day >= 29 &&
                                       (h->month == last->month % 12 + 1) &&
                                       h->year == last->year + (last->month == 12);
                ASSERT_TRUE(nextDay || nextMonth) << d.year << "-" << d.month << "-" << d.day;
                EXPECT_TRUE(nextDay || !civilOf({last->year, last->month, last->day + 1})) << "a month past its end";
            }
            last = h;
            do {
                if (++d.day > daysInMonth(d.month - 1, d.year))
                    d = {d.year + (d.month == 12), d.month % 12 + 1, 1};
            } while (!dateExists(d.year, d.month, d.day));
        }
    }
}

// The window's table from the day chart of the lots' first row: the Sun at 0° Aquarius is in
// detriment, Saturn at 20° Libra exalted and, by day, of air's triplicity.
TEST(DignitiesTable, ShowsThePointsHeldAndThePeregrine)
{
    ChartState state;
    state.Ascendant[0] = kLotRows[0].asc;
    for (int slot = 0; slot < 7; ++slot)
        state.Planets[slot].Longitude = kLotRows[0].points[slot];
    const DignitiesTable table = dignitiesTable(state);
    EXPECT_EQ(table.sect, "هيئة نهارية");
    ASSERT_EQ(table.cells.size(), 8u);
    using Row = std::vector<std::string>;
    EXPECT_EQ(table.cells[1], (Row{"الشمس", "", "", "", "", "", "-5", "", "-5", "غريب"}));
    EXPECT_EQ(table.cells[7], (Row{"زحل", "", "+4", "+3", "", "", "", "", "7", ""}));
}

} // namespace
