#include "core/ChartComputation.h"
#include "core/ChartRequest.h"
#include "core/PositionTexts.h"
#include "core/Aspects.h"
#include "core/Numbers.h"
#include "tests/core/FakeEphemeris.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

using namespace velmora;

namespace {

using velmora::testing::FakeEphemeris;

const PlaceInput kMecca{"39", "49", "21", "27", false, false};

ChartState stateWithMarks()
{
    ChartState state;
    for (int slot = 0; slot < kSlotCount; ++slot) {
        state.Planets[slot] = {-1.0f - slot, -2.0f - slot, 0, 0};
        state.HouseCusps[slot] = -3.0f - slot;
    }
    return state;
}

ChartState stateWithCusps(std::array<float, 12> cusps)
{
    ChartState state;
    std::copy(cusps.begin(), cusps.end(), state.HouseCusps.begin());
    return state;
}

// A chart computed by the installed library at a place near Greenwich.
ChartComputationResult chartAt(const CalendarDate& date, const char* hour, const char* minute,
                               const PlaceInput& place = {"0", "0", "51", "28", false, false})
{
    ChartState state;
    const DateTimeTexts row = {std::to_string(date.day), std::to_string(date.month),
                               std::to_string(date.year), hour, minute};
    EXPECT_FALSE(readDateTime(state, row, place).error);
    return computeChart(state, 0, {"0", "0"});
}

} // namespace

TEST(ReadPlace, DerivesTheZoneFromTheLongitudeAndMarksTheWholeDegrees)
{
    const struct {
        const char* name;
        PlaceInput place;
        const char* zone;
        const char* longitude;
        double markX, markY; // minus the east longitude and the latitude, minutes ignored
    } rows[] = {
        {"7 deg 30 east gives 1", {"7", "30", "0", "0", false, false}, "1", "7.5", -7, 0},
        {"7 deg 29 east gives 0", {"7", "29", "0", "0", false, false}, "0", "7.483333333333333", -7, 0},
        {"7 deg 30 west gives -1", {"7", "30", "0", "0", true, false}, "-1", "-7.5", 7, 0},
        {"Mecca gives 3", {"39", "49", "21", "27", false, false}, "3", "39.81666666666667", -39, 21},
        {"74 30 W 33 52 S", {"74", "30", "33", "52", true, true}, "-5", "-74.5", 74, -33},
        {"180 east gives 12", {"180", "0", "0", "0", false, false}, "12", "180", -180, 0},
        {"empty boxes read 0", {"", "", "", "", false, false}, "0", "0", 0, 0},
    };
    for (const auto& r : rows) {
        ChartState state;
        const PlaceReading reading = readPlace(state, r.place);
        EXPECT_EQ(reading.zoneText, r.zone) << r.name;
        EXPECT_EQ(state.PlaceLongitudeText, r.longitude) << r.name;
        EXPECT_EQ(state.PlaceLongitude, static_cast<float>(leadingNumber(r.longitude))) << r.name;
        EXPECT_EQ(std::pair(reading.markX, reading.markY), std::pair(r.markX, r.markY)) << r.name;
    }
}

TEST(ReadDateTime, RefusesAFieldThatIsNotAWholeNumberInRangeOrADayThatNeverWas)
{
    using F = DateTimeField;
    const std::string nines(400, '9');
    const auto number = DateTimeProblem::NotAWholeNumber;
    const auto reform = DateTimeProblem::DroppedByCalendarReform;
    const char* const dropped = "من 5 إلى 14 أكتوبر 1582";
    const struct {
        DateTimeTexts texts;
        DateTimeField field;
        DateTimeProblem problem;
        const char* message;
    } rows[] = {
        {{"", "3", "2000", "12", "0"}, F::Day, number, "اليوم"},
        {{"1", "mars", "2000", "12", "0"}, F::Month, number, "الشهر"},
        {{"1", "3", "40000", "12", "0"}, F::Year, number, "السنة"},
        {{"1", "3", "-32769", "12", "0"}, F::Year, number, "السنة"},
        {{"1", "3", nines, "12", "0"}, F::Year, number, "السنة"},
        {{"1", "3", "2000", "12h", "0"}, F::Hour, number, "الساعة"},
        {{"1", "3", "2000", "12", " "}, F::Minute, number, "الدقيقة"},
        {{"5", "10", "1582", "12", "0"}, F::Year, reform, dropped},
        {{"14", "10", "1582", "0", "0"}, F::Year, reform, dropped},
    };
    for (const auto& r : rows) {
        const std::string name = r.texts.day + "/" + r.texts.month + "/" + r.texts.year.substr(0, 6);
        ChartState state;
        state.ChartDay = 9;
        state.PlaceLongitudeText = "untouched";
        const DateTimeReading reading = readDateTime(state, r.texts, kMecca);
        ASSERT_TRUE(reading.error) << name;
        EXPECT_EQ(reading.error->field, r.field) << name;
        EXPECT_EQ(reading.error->problem, r.problem) << name;
        EXPECT_NE(dateTimeErrorMessage(*reading.error).find(r.message), std::string::npos) << name;
        EXPECT_EQ(state.ChartDay, 9) << name;
        EXPECT_EQ(state.PlaceLongitudeText, "untouched") << name;
    }
}

// Zones beyond a day are refused before the library is asked: the readers' fuzz seeds check it.
TEST(ComputeChart, UniversalTimeHourAndCalendar)
{
    const DateTimeTexts noon = {"1", "1", "2000", "12", "0"};
    const struct {
        const char* name;
        DateTimeTexts texts;
        std::string zone, summer;
        double hourUt;
        bool gregorian;
    } rows[] = {
        {"00:30 zone 3 is the previous day", {"1", "1", "2000", "0", "30"}, "3", "0", -2.5, true},
        {"23:30 zone -5 summer 1", {"1", "1", "2000", "23", "30"}, "-5", "1", 27.5, true},
        {"India's half hour", noon, "5.5", "0.5", 6.0, true},
        {"zone 24 is the farthest", noon, "24", "-24", 12.0, true},
        {"text reads its leading number", {"1", "1", "2000", "10", "15"}, "2h", "1x", 7.25, true},
        {"March 1582 is Julian", {"10", "3", "1582", "12", "0"}, "0", "0", 12.0, false},
        {"4 October 1582 is Julian", {"4", "10", "1582", "12", "0"}, "0", "0", 12.0, false},
        {"15 October 1582 is Gregorian", {"15", "10", "1582", "12", "0"}, "0", "0", 12.0, true},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.name);
        ChartState state = stateWithMarks();
        ASSERT_FALSE(readDateTime(state, r.texts, kMecca).error);
        FakeEphemeris fake;
        ASSERT_TRUE(computeChart(state, 0, {r.zone, r.summer}, fake).ok);
        EXPECT_NEAR(fake.hours.front(), r.hourUt, 1e-6);
        EXPECT_EQ(fake.calendars.front(), r.gregorian);
    }
}

TEST(ComputeChart, CallsTheLibraryInItsOrderAndStoresOnlyItsOwnSlots)
{
    const std::vector<std::string> order = {
        "julday", "deltat", "calc 0", "calc 1", "calc 2", "calc 3", "calc 4", "calc 5",
        "calc 6", "calc 7", "calc 8", "calc 9", "calc 10", "calc 12", "houses", "close"};
    for (int chart : {0, 1}) {
        ChartState state = stateWithMarks();
        FakeEphemeris fake;
        fake.cusps[1] = 99.99995;
        fake.cusps[11] = 359.99985; // 360 once raised and held in float
        fake.cusps[12] = 359.99995; // past 360 once raised
        ASSERT_TRUE(computeChart(state, chart, {"0", "0"}, fake).ok);
        EXPECT_EQ(fake.calls, order);
        // Planets in ephemeris time, houses in universal time.
        EXPECT_EQ(fake.bodyDays.back(), FakeEphemeris::kJdUt + FakeEphemeris::kDeltaT);
        EXPECT_EQ(fake.houseDays, std::vector<double>{FakeEphemeris::kJdUt});
        const int base = chart * 12;
        const int other = 12 - base;
        for (int i = 0; i < 12; ++i) {
            EXPECT_FLOAT_EQ(state.Planets[base + i].Longitude, 10.0f * kBodyOfSlot[i] + 1.0f);
            EXPECT_FLOAT_EQ(state.Planets[other + i].Longitude, -1.0f - (other + i));
            EXPECT_FLOAT_EQ(state.HouseCusps[other + i], -3.0f - (other + i));
        }
        EXPECT_FLOAT_EQ(state.Planets[base + 10].Speed, 1.0f);
        EXPECT_FLOAT_EQ(state.Planets[base + 11].Speed, -2.0f - (base + 11)) << "black moon speed";
        // Stored half an arc-second high and below 360.
        EXPECT_NEAR(state.HouseCusps[base], 100.00009, 1e-5);
        EXPECT_NEAR(state.HouseCusps[base + 1], 40.0 + 0.5 / 3600, 1e-5);
        EXPECT_EQ(state.HouseCusps[base + 10], 0.0f);
        EXPECT_NEAR(state.HouseCusps[base + 11], 0.00009, 1e-5);
    }
}

TEST(ComputeChart, AFailureLeavesTheStateAsItWas)
{
    for (const int failingBody : {5, 12, -1}) { // -1: the houses fail
        ChartState state = stateWithMarks();
        FakeEphemeris fake;
        fake.failingBody = failingBody;
        fake.housesFail = failingBody < 0;
        const auto result = computeChart(state, 0, {"0", "0"}, fake);
        EXPECT_EQ(result.failure.problem, EphemerisProblem::Library);
        EXPECT_EQ(fake.calls.back(), "close") << failingBody << ": library left open";
        for (int slot = 0; slot < kSlotCount; ++slot) {
            EXPECT_FLOAT_EQ(state.Planets[slot].Longitude, -1.0f - slot) << failingBody;
            EXPECT_FLOAT_EQ(state.HouseCusps[slot], -3.0f - slot) << failingBody;
        }
    }
}

TEST(ClassifyPoints, BoundariesBelongToTheEarlierSignAndHouseArcsPassThroughZero)
{
    const struct {
        float lon;
        int sign, house;
    } rows[] = {{0.0f, 1, 12}, {5.0f, 1, 12}, {20.0f, 1, 1}, {30.0f, 1, 1}, {30.001f, 2, 1}, {50.0f, 2, 1},
                {60.0f, 2, 2}, {185.0f, 7, 6}, {355.0f, 12, 12}, {360.0f, 12, 12}};
    for (const auto& r : rows) {
        ChartState state = stateWithCusps({20, 50, 80, 110, 140, 170, 200, 230, 260, 290, 320, 350});
        state.Planets[3].Longitude = r.lon;
        classifyPoints(state);
        EXPECT_EQ(std::pair(int(state.PlanetAttr[3].Sign), int(state.PlanetAttr[3].House)), std::pair(r.sign, r.house))
            << "longitude " << r.lon;
    }
}

TEST(ClassifyPoints, ReclassificationReplacesTheClassesOfEveryPoint)
{
    // One point moved through Leo, Virgo and Libra: every class follows the latest sign.
    const struct {
        float lon;
        std::array<std::int16_t, 9> flags; // fire earth air water cardinal fixed mutable masc north
    } rows[] = {
        {135.0f, {kTrue, kFalse, kFalse, kFalse, kFalse, kTrue, kFalse, kTrue, kTrue}},
        {165.0f, {kFalse, kTrue, kFalse, kFalse, kFalse, kFalse, kTrue, kFalse, kTrue}},
        {200.0f, {kFalse, kFalse, kTrue, kFalse, kTrue, kFalse, kFalse, kTrue, kFalse}},
    };
    ChartState state = stateWithCusps({0, 30, 60, 90, 120, 150, 180, 210, 240, 270, 300, 330});
    for (int i = 0; i < 12; ++i)
        state.Planets[i].Longitude = 15.0f + 30.0f * i;
    for (const auto& r : rows) {
        state.Planets[0].Longitude = r.lon;
        classifyPoints(state);
        const PointAttributes& a = state.PlanetAttr[0];
        EXPECT_EQ((std::array{a.Fire, a.Earth, a.Air, a.Water, a.Cardinal, a.Fixed, a.Mutable,
                              a.Masculine, a.Northern}),
                  r.flags)
            << "longitude " << r.lon;
    }
    for (int i = 1; i < 12; ++i)
        EXPECT_EQ(state.PlanetAttr[i].Sign, i + 1) << "slot " << i;
    // A point hidden at computation may be shown later in the window: it is classified too.
    state.PlanetShown.fill(kFalse);
    state.Planets[4].Longitude = 15.0f; // Aries
    classifyPoints(state);
    EXPECT_EQ(state.PlanetAttr[4].Sign, 1);
    EXPECT_EQ(state.PlanetAttr[4].House, 1);
    EXPECT_EQ(state.PlanetAttr[12].Sign, 0) << "second chart slots are never classified";
}

// The range is found from the files: its first and last days compute, the days beyond are refused with it.
TEST(SwissEphemeris, TheInstalledRangeIsTheRangeThatComputes)
{
    const auto range = SwissEphemeris().installedRange();
    ASSERT_TRUE(range);
    // The two data packages hold the files of -5400 to 5400; delta T moves the ends by days.
    EXPECT_EQ(range->first.year, -5401);
    EXPECT_EQ(range->last.year, 5399);
    const auto [first, last] = *range;
    EXPECT_TRUE(chartAt(first, "0", "0").ok) << "first day at 0:00";
    EXPECT_TRUE(chartAt(last, "23", "59").ok) << "last day at 23:59";
    for (const bool after : {false, true}) { // the days beyond, at the same hours
        const CalendarDate beyond = after ? CalendarDate{last.year, last.month, last.day + 1}
                                          : CalendarDate{first.year, first.month, first.day - 1};
        const auto result = after ? chartAt(beyond, "23", "59") : chartAt(beyond, "0", "0");
        EXPECT_FALSE(result.ok) << beyond.year;
        EXPECT_EQ(result.failure.problem, EphemerisProblem::OutsideFiles) << beyond.year;
        EXPECT_EQ(result.failure.installed.first.day, first.day) << beyond.year;
        EXPECT_EQ(result.failure.installed.last.year, last.year) << beyond.year;
        EXPECT_NE(result.failure.libraryText.find(".se1"), std::string::npos) << result.failure.libraryText;
    }
}

// Within the polar circle the library gives Porphyry cusps: the chart is computed with them,
// and the chart's houses are named Porphyry.
TEST(SwissEphemeris, WithinThePolarCircleTheHousesArePorphyry)
{
    const struct {
        const char* name;
        PlaceInput place;
        HouseSystem system;
    } rows[] = {{"Tromso 69:39N", {"18", "57", "69", "39", false, false}, HouseSystem::Porphyry},
                {"south 75:00S", {"0", "0", "75", "0", false, true}, HouseSystem::Porphyry},
                {"Mecca 21:27N", {"39", "49", "21", "27", false, false}, HouseSystem::Placidus}};
    for (const auto& r : rows) {
        for (const int chart : {0, 1}) {
            ChartState state;
            state.HouseSystemUsed = {HouseSystem::Porphyry, HouseSystem::Porphyry};
            ASSERT_FALSE(readDateTime(state, {"1", "1", "2000", "12", "0"}, r.place).error);
            ASSERT_TRUE(computeChart(state, chart, {"0", "0"}).ok) << r.name;
            EXPECT_EQ(state.HouseSystemUsed[chart], r.system) << r.name;
            EXPECT_EQ(houseSystemNote(state, 1).empty(),
                      chart == 0 && r.system == HouseSystem::Placidus) << r.name;
        }
    }
}

TEST(HouseSystemNote, NamesTheChartsWithPorphyryHouses)
{
    const std::string line = " بنظام بورفيري لأن نظام بلاسيدوس غير معرّف عند هذا العرض\n";
    const struct {
        const char* name;
        HouseSystem first, second;
        int charts;
        std::string note;
    } rows[] = {
        {"one Placidus chart", HouseSystem::Placidus, HouseSystem::Porphyry, 1, ""},
        {"one Porphyry chart", HouseSystem::Porphyry, HouseSystem::Placidus, 1, "البيوت" + line},
        {"two Placidus charts", HouseSystem::Placidus, HouseSystem::Placidus, 2, ""},
        {"second Porphyry", HouseSystem::Placidus, HouseSystem::Porphyry, 2, "بيوت الهيئة الثانية" + line},
        {"both Porphyry", HouseSystem::Porphyry, HouseSystem::Porphyry, 2,
         "بيوت الهيئة الأولى" + line + "بيوت الهيئة الثانية" + line},
    };
    for (const auto& r : rows) {
        ChartState state;
        state.HouseSystemUsed = {r.first, r.second};
        EXPECT_EQ(houseSystemNote(state, r.charts), r.note) << r.name;
    }
}

// Equal and whole-sign cusps miss the angles: the wheel turns on the ascendant, and each angle no cusp holds has a line.
TEST(HouseAngles, StandApartFromEqualAndWholeSignCusps)
{
    const struct {
        const char* name;
        HouseSystem system;
        float ascendant, lowerHeaven;
        std::vector<std::string> lines;
    } rows[] = {
        {"Placidus: the cusps, all at 0", HouseSystem::Placidus, 0, 0, {}},
        {"equal", HouseSystem::Equal, 0, 261.5f, {" وسط السماء في 21°30'0''من برج الجوزاء "}},
        {"whole sign", HouseSystem::WholeSign, 172, 261.5f,
         {" الطالع في 22°0'0''من برج السنبلة ", " وسط السماء في 21°30'0''من برج الجوزاء "}},
    };
    for (const auto& r : rows) {
        ChartState state;
        state.HouseSystemUsed[0] = r.system;
        state.Ascendant[0] = 172.0f;
        state.Midheaven[0] = 81.5f;
        state.OrientOnAscendant = kTrue;
        EXPECT_EQ(wheelRotationFor(state, ChartKind::Natal), 270 - int(r.ascendant)) << r.name;
        EXPECT_EQ(angleLongitude(state, 0, 3), r.lowerHeaven) << r.name;
        EXPECT_EQ(angleLines(state, 1), r.lines) << r.name;
    }
}

TEST(ChartRequest, RowFaultIsTheFirstInTheDataEntrysOrderAndRefusesDaysThatNeverWere)
{
    using F = DateTimeField;
    using P = DateTimeProblem;
    const struct {
        const char* name;
        DateTimeTexts texts;
        std::optional<std::pair<F, P>> fault;
    } rows[] = {
        {"31 April", {"31", "4", "1985", "12", "0"}, std::pair{F::Day, P::NoSuchDay}},
        {"29 February 2001", {"29", "2", "2001", "12", "0"}, std::pair{F::Day, P::NoSuchDay}},
        {"29 February 1900", {"29", "2", "1900", "12", "0"}, std::pair{F::Day, P::NoSuchDay}},
        {"29 February 2000 passes", {"29", "2", "2000", "12", "0"}, std::nullopt},
        {"29 February 1500 is Julian and passes", {"29", "2", "1500", "12", "0"}, std::nullopt},
        {"the bounds pass", {"31", "12", "-20000", "23", "59"}, std::nullopt},
        {"day 0", {"0", "3", "2000", "12", "0"}, std::pair{F::Day, P::OutOfRange}},
        {"month 0", {"1", "0", "2000", "12", "0"}, std::pair{F::Month, P::OutOfRange}},
        {"year 20001", {"1", "1", "20001", "12", "0"}, std::pair{F::Year, P::OutOfRange}},
        {"hour 24 before month 13", {"1", "13", "2000", "24", "0"}, std::pair{F::Hour, P::OutOfRange}},
        {"letters in the minute", {"1", "1", "2000", "12", "mm"}, std::pair{F::Minute, P::NotAWholeNumber}},
        {"10 October 1582", {"10", "10", "1582", "12", "0"}, std::pair{F::Year, P::DroppedByCalendarReform}},
    };
    for (const auto& r : rows) {
        const auto fault = rowFault(r.texts);
        EXPECT_EQ(fault ? std::optional(std::pair(fault->field, fault->problem)) : std::nullopt, r.fault) << r.name;
    }
}

// Each row of an atlas place at its own legal time: here 2 hours in July, 1 otherwise.
TEST(ChartRequest, ComputesEveryRowWithItsSummerCorrectionAndCommitsOnlyOnSuccess)
{
    const DateTimeTexts july = {"15", "7", "1990", "12", "0"};
    const DateTimeTexts december = {"6", "12", "2026", "12", "0"};
    const AtlasIdentity paris{"Paris", "Europe/Paris", 48.85, 2.35};
    const LegalSummerLookup legal = [](const AtlasIdentity& place, const RowClock& local, int) {
        return place.timeZone.empty() ? std::nullopt : std::optional(local.month == 7 ? 2.0 : 1.0);
    };
    const struct {
        const char* name;
        DateTimeTexts first;
        std::optional<DateTimeTexts> second;
        std::optional<AtlasIdentity> atlas;
        bool summerGiven;
        int failingDay; // 0: none
        RequestProblem problem;
        int failedRow;
        std::array<double, 2> summers;
    } rows[] = {
        {"an atlas place at each row's legal time", july, december, paris, false, 0, RequestProblem::None, 0, {2, 1}},
        {"the other way round", december, july, paris, false, 0, RequestProblem::None, 0, {1, 2}},
        {"a given correction for both rows", july, december, paris, true, 0, RequestProblem::None, 0, {3, 3}},
        {"a map place keeps the typed one", july, december, std::nullopt, false, 0, RequestProblem::None, 0, {3, 3}},
        {"one row", july, std::nullopt, paris, false, 0, RequestProblem::None, 0, {2, 0}},
        {"a bad second row", july, DateTimeTexts{"31", "4", "1985", "12", "0"}, paris, false, 0,
         RequestProblem::Field, 1, {}},
        {"the second chart fails", july, december, paris, false, 6, RequestProblem::Ephemeris, 1, {}},
        {"an unknown time zone", july, december, AtlasIdentity{"Atlantis", "", 0, 0}, false, 0,
         RequestProblem::UnknownTimeZone, 0, {}},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.name);
        ChartState state = stateWithMarks();
        const ChartState before = state;
        ChartRequest request;
        request.first.texts = r.first;
        if (r.second)
            request.second = RequestRow{*r.second, false};
        request.place = {kMecca, "3", r.atlas, r.summerGiven};
        FakeEphemeris fake;
        if (r.failingDay)
            fake.failingDay = r.failingDay;
        const RequestResult result = computeRequest(state, request, fake, legal);
        EXPECT_EQ(result.failure.problem, r.problem);
        if (r.problem != RequestProblem::None) {
            EXPECT_FALSE(result.ok);
            EXPECT_EQ(result.failure.row, r.failedRow);
            EXPECT_EQ(state.Planets[0].Longitude, before.Planets[0].Longitude) << "committed a failure";
            continue;
        }
        ASSERT_TRUE(result.ok);
        // Zone 3 from Mecca's longitude and each row's summer correction: noon less both.
        for (int row = 0; row < (r.second ? 2 : 1); ++row) {
            EXPECT_EQ(result.rows[row].summerHours, r.summers[row]) << "row " << row;
            EXPECT_NEAR(fake.hours[row], 12.0 - 3 - r.summers[row], 1e-6) << "row " << row;
        }
        EXPECT_FLOAT_EQ(state.Planets[r.second ? 12 : 0].Longitude, 1.0f);
        EXPECT_EQ(state.PlanetAttr[0].Sign, 1) << "the first chart is classified";
    }
}
