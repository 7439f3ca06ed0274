#include "atlas/Atlas.h"
#include "atlas/LegalTime.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>

#include <unistd.h>

using namespace velmora::atlas;

namespace {

// The index the build made from libgeonames (GeoNames cities15000).
Atlas& builtAtlas()
{
    static AtlasOpening opened = Atlas::open(defaultIndexPath());
    if (!opened.atlas)
        throw std::runtime_error(opened.error);
    return *opened.atlas;
}

struct SearchCase {
    const char* query;
    const char* firstLatin;      // nullptr: nothing found
    const char* zone = nullptr;  // the first place's, checked when given
    const char* refusal = "";    // a part of the error, "" for none
    double latitude = NAN;       // checked when given
    double longitude = NAN;
};

void PrintTo(const SearchCase& c, std::ostream* out) { *out << '"' << c.query << '"'; }

void expectFirstMatch(Atlas& atlas, const SearchCase& c)
{
    const Matches matches = atlas.search(c.query, 5);
    EXPECT_EQ(matches.places.empty() ? "" : matches.places.front().nameLatin, c.firstLatin ? c.firstLatin : "");
    EXPECT_TRUE(*c.refusal ? matches.error.find(c.refusal) != std::string::npos : matches.error.empty()) << matches.error;
    if (c.zone && !matches.places.empty()) {
        EXPECT_EQ(matches.places.front().zone, c.zone);
    }
    if (!std::isnan(c.latitude) && !matches.places.empty()) {
        EXPECT_NEAR(matches.places.front().latitude, c.latitude, 1e-4);
        EXPECT_NEAR(matches.places.front().longitude, c.longitude, 1e-4);
    }
}

class FirstMatch : public ::testing::TestWithParam<SearchCase> {};

TEST_P(FirstMatch, IsTheExpectedPlaceWithoutError) { expectFirstMatch(builtAtlas(), GetParam()); }

// Arabic and Latin names, with the coordinates of Mecca and Fes as libgeonames gives them.
INSTANTIATE_TEST_SUITE_P(Names, FirstMatch, ::testing::ValuesIn(std::vector<SearchCase>{
    {"مكة", "Makkah al Mukarramah", "Asia/Riyadh", "", 21.4266, 39.8256}, {"makkah", "Makkah al Mukarramah", "Asia/Riyadh"},
    {"فاس", "Fes", "Africa/Casablanca", "", 34.0331, -5.0003}, {"Fes", "Fes", "Africa/Casablanca"},
    {"القاهرة", "Cairo", "Africa/Cairo"}, {"cairo", "Cairo", "Africa/Cairo"},
    {"باريس", "Paris", "Europe/Paris"}, {"Paris", "Paris", "Europe/Paris"}, {"paris, texas", "Paris", "America/Chicago"},
    {"نيويورك", "New York", "America/New_York"}, {"new york", "New York", "America/New_York"},
    // Names of other languages, found but not shown; ø typed o.
    {"Mecca", "Makkah al Mukarramah", "Asia/Riyadh"}, {"Marrakech", "Marrakesh", "Africa/Casablanca"},
    {"Fez", "Fes", "Africa/Casablanca"}, {"Tromso", "Tromsø", "Europe/Oslo"}}));

INSTANTIATE_TEST_SUITE_P(Folding, FirstMatch, ::testing::ValuesIn(std::vector<SearchCase>{
    {"إسطنبول", "Istanbul", "Europe/Istanbul"}, {"اسطنبول", "Istanbul", "Europe/Istanbul"}, // stored without hamza
    {"الاسكندريه", "Alexandria", "Africa/Cairo"}, // stored الإسكندرية
    {"مَكَّة", "Makkah al Mukarramah", "Asia/Riyadh"}, {"مكه", "Makkah al Mukarramah", "Asia/Riyadh"},
    {"ابوظبى", "Abu Dhabi Island and Internal Islands City", "Asia/Dubai"}, // أبوظبي
    {"الرباط", "Rabat", "Africa/Casablanca"}, {"رياض", "Riyadh", "Asia/Riyadh"}, // stored رباط, الرياض
    {"FÈS", "Fes", "Africa/Casablanca"}, {"zurich", "Zurich", "Europe/Zurich"}}));

// Nothing found, and query syntax of the full-text index taken as plain text.
INSTANTIATE_TEST_SUITE_P(Edges, FirstMatch, ::testing::ValuesIn(std::vector<SearchCase>{
    {"", nullptr}, {" , ", nullptr}, {"zzqxj", nullptr}, {"«؟»", nullptr}, {"'; DROP TABLE places; --", nullptr},
    {"\"\" = \"\"; --", nullptr}, {"* NEAR(a b) names:x %_\\^", nullptr}, {"(Paris) AND", nullptr},
    {"\"Paris\"*", "Paris", "Europe/Paris"}, {"Paris;--", "Paris", "Europe/Paris"}}));

Place place(const char* latin, double latitude, double longitude, const char* zone,
            std::int64_t population, std::vector<std::string> otherNames = {})
{
    Place p;
    p.name = p.nameLatin = latin;
    p.latitude = latitude;
    p.longitude = longitude;
    p.zone = zone;
    p.population = population;
    p.otherNames = std::move(otherNames);
    return p;
}

// A small index as a damaged or edited file may hold it: the refused places are the most
// populous, so that they come first.
Atlas& writtenAtlas()
{
    static AtlasOpening opened = [] {
        // One file per process: ctest runs the rows of this table side by side.
        const std::string path = ::testing::TempDir() + "velmora-atlas-test-" + std::to_string(getpid()) + ".sqlite";
        const std::string error = writeIndex(path, {
            place("Tromsø", 69.6, 18.9, "Europe/Oslo", 10), place("Ærøskøbing", 54.9, 10.4, "Europe/Copenhagen", 10),
            place("Straße", 50, 8, "Europe/Berlin", 10), place("Łódź", 51.8, 19.5, "Europe/Warsaw", 10),
            place("Đakovo", 45.3, 18.4, "Europe/Zagreb", 10), place("Þórshöfn", 66.2, -15.3, "Atlantic/Reykjavik", 10),
            place("København", 55.7, 12.6, "Europe/Copenhagen", 10, {"Copenhagen", "Copenhague"}),
            place("Broken Hill", -31.9, 141.5, "Australia/Broken_Hill", 1),
            place("Broken Lat", INFINITY, 0, "Europe/Paris", 9), place("Broken South", -90.5, 0, "Europe/Paris", 9),
            place("Broken Lon", 10, 200, "Europe/Paris", 9), place("Broken Zone", 10, 10, "../../etc/passwd", 9),
            place("Broken Root", 10, 10, "/etc/localtime", 9), place("Broken Empty", 10, 10, "", 9),
            place("Broken Trail", 10, 10, "Europe/", 9), place("Broken Blank", 10, 10, "Europe/Pa ris", 9)});
        if (!error.empty())
            throw std::runtime_error(error);
        AtlasOpening opening = Atlas::open(path);
        std::remove(path.c_str()); // the open file stays readable
        return opening;
    }();
    if (!opened.atlas)
        throw std::runtime_error(opened.error);
    return *opened.atlas;
}

class WrittenMatch : public FirstMatch {};

TEST_P(WrittenMatch, FirstPlaceAndRefusal) { expectFirstMatch(writtenAtlas(), GetParam()); }

// Latin letters that are not accented letters, typed as a plain keyboard spells them.
INSTANTIATE_TEST_SUITE_P(PlainLetters, WrittenMatch, ::testing::ValuesIn(std::vector<SearchCase>{
    {"tromso", "Tromsø"}, {"TROMSØ", "Tromsø"}, {"aeroskobing", "Ærøskøbing"}, {"Ærø", "Ærøskøbing"},
    {"strasse", "Straße"}, {"lodz", "Łódź"}, {"ŁÓDŹ", "Łódź"}, {"dakovo", "Đakovo"},
    {"thorshofn", "Þórshöfn"}, {"copenhague", "København"}, {"kobenhavn", "København"}}));

// Coordinates out of bounds and zones that are not zone names are refused with the reason;
// the sound places of the same search remain.
INSTANTIATE_TEST_SUITE_P(Refused, WrittenMatch, ::testing::ValuesIn(std::vector<SearchCase>{
    {"broken lat", nullptr, nullptr, "'Broken Lat' is refused: its latitude inf is not a number within -90..90"},
    {"broken south", nullptr, nullptr, "latitude -90.5"}, {"broken lon", nullptr, nullptr, "longitude 200"},
    {"broken zone", nullptr, nullptr, "'Broken Zone' is refused: its time zone '../../etc/passwd' is not"},
    {"broken root", nullptr, nullptr, "'/etc/localtime'"}, {"broken empty", nullptr, nullptr, "time zone ''"},
    {"broken trail", nullptr, nullptr, "'Europe/'"}, {"broken blank", nullptr, nullptr, "'Europe/Pa ris'"},
    {"broken", "Broken Hill", nullptr, "'Broken Lat' is refused"}}));

TEST(Search, OneLetterListsTheMostPopulousFirstUpToTheLimit)
{
    for (const char* letter : {"ف", "a"}) {
        const Matches matches = builtAtlas().search(letter, 50);
        ASSERT_EQ(matches.places.size(), 50u) << letter;
        for (std::size_t i = 1; i < matches.places.size(); ++i)
            EXPECT_GE(matches.places[i - 1].population, matches.places[i].population) << letter << " row " << i;
    }
    EXPECT_TRUE(builtAtlas().search("a", 0).places.empty());
}

TEST(Search, AMissingIndexIsReportedWithItsPath)
{
    const AtlasOpening opened = Atlas::open("/nonexistent/places.sqlite");
    EXPECT_FALSE(opened.atlas);
    EXPECT_NE(opened.error.find("/nonexistent/places.sqlite"), std::string::npos) << opened.error;
}

struct LegalCase {
    const char* name;
    const char* zone;
    LocalMoment local;
    int seconds;
    ClockChange change;
    int zoneHours; // the zone the longitude gives
    double correction;
    double longitude = NAN; // when given, the legal offset of a town at that east longitude
};

class Legal : public ::testing::TestWithParam<LegalCase> {};

TEST_P(Legal, OffsetAndCorrection)
{
    const LegalCase& c = GetParam();
    const bool town = !std::isnan(c.longitude);
    const auto offset = town ? placeLegalOffset(c.zone, c.longitude, c.local) : legalOffset(c.zone, c.local);
    ASSERT_TRUE(offset);
    if (town) {
        EXPECT_EQ(legalSummerForRow(c.zone, c.longitude, c.local, c.zoneHours), c.correction);
    }
    EXPECT_EQ(offset->seconds, c.seconds);
    EXPECT_EQ(offset->change, c.change);
    EXPECT_EQ(summerCorrection(*offset, c.zoneHours), c.correction);
}

// Offsets as zdump prints them from the system's tzdata.
constexpr auto kOnce = ClockChange::None;
INSTANTIATE_TEST_SUITE_P(Tzdata, Legal, ::testing::ValuesIn(std::vector<LegalCase>{
    {"MadridJanuary", "Europe/Madrid", {2024, 1, 15, 12, 0}, 3600, kOnce, 0, 1},
    {"MadridJuly", "Europe/Madrid", {2024, 7, 15, 12, 0}, 7200, kOnce, 0, 2},
    {"Fes1June2024", "Africa/Casablanca", {2024, 6, 1, 12, 0}, 3600, kOnce, 0, 1},
    {"LondonDoubleSummer1944", "Europe/London", {1944, 6, 1, 12, 0}, 7200, kOnce, 0, 2},
    {"MadridMeanTime1850", "Europe/Madrid", {1850, 7, 1, 12, 0}, -884, kOnce, 0, -0.2456},
    {"KolkataHalfHour", "Asia/Kolkata", {2000, 1, 1, 0, 0}, 19800, kOnce, 6, -0.5},
    {"NewYorkSkippedTakesBefore", "America/New_York", {2024, 3, 10, 2, 30}, -18000, ClockChange::Skipped, -5, 0},
    {"NewYorkRepeatedTakesBefore", "America/New_York", {2024, 11, 3, 1, 30}, -14400, ClockChange::Repeated, -5, 1},
    {"NewYorkAfterTheChange", "America/New_York", {2024, 11, 3, 2, 30}, -18000, kOnce, -5, 0},
    // Before standard time a town's own mean time, not the reference city's (Casablanca -0:30:20,
    // Cairo +2:05:09); the law once it holds.
    {"FesOwnMeanTime1880", "Africa/Casablanca", {1880, 6, 1, 12, 0}, -1200, kOnce, 0, -0.3333, -5.00028},
    {"AlexandriaOwnMeanTime1890", "Africa/Cairo", {1890, 6, 1, 12, 0}, 7180, kOnce, 2, -0.0056, 29.91582},
    {"AlexandriaStandardTime1910", "Africa/Cairo", {1910, 6, 1, 12, 0}, 7200, kOnce, 2, 0, 29.91582},
    {"ParisMeanTimeIsLegal1900", "Europe/Paris", {1900, 6, 1, 12, 0}, 561, kOnce, 0, 0.1558, 2.3488}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(LegalTime, AnUnknownZoneHasNoOffset)
{
    EXPECT_FALSE(legalOffset("Nowhere/Atlantis", {2000, 1, 1, 0, 0}));
    EXPECT_FALSE(legalOffset("", {2000, 1, 1, 0, 0}));
}

} // namespace
