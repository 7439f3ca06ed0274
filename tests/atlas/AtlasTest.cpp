#include "atlas/Atlas.h"
#include "atlas/LegalTime.h"

#include <gtest/gtest.h>

#include <cmath>

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
    const char* firstLatin; // nullptr: nothing found
    const char* zone;
    double latitude = NAN; // checked when given
    double longitude = NAN;
};

void PrintTo(const SearchCase& c, std::ostream* out) { *out << '"' << c.query << '"'; }

class FirstMatch : public ::testing::TestWithParam<SearchCase> {};

TEST_P(FirstMatch, IsTheExpectedPlaceWithoutError)
{
    const SearchCase& c = GetParam();
    const Matches matches = builtAtlas().search(c.query, 5);
    EXPECT_EQ(matches.error, "");
    if (!c.firstLatin) {
        EXPECT_TRUE(matches.places.empty()) << matches.places.front().nameLatin;
        return;
    }
    ASSERT_FALSE(matches.places.empty());
    const Place& first = matches.places.front();
    EXPECT_EQ(first.nameLatin, c.firstLatin);
    EXPECT_EQ(first.zone, c.zone);
    if (!std::isnan(c.latitude)) {
        EXPECT_NEAR(first.latitude, c.latitude, 1e-4);
        EXPECT_NEAR(first.longitude, c.longitude, 1e-4);
    }
}

// Arabic and Latin names, with the coordinates of Mecca and Fes as libgeonames gives them.
INSTANTIATE_TEST_SUITE_P(Names, FirstMatch, ::testing::ValuesIn(std::vector<SearchCase>{
    {"مكة", "Makkah al Mukarramah", "Asia/Riyadh", 21.4266, 39.8256}, {"makkah", "Makkah al Mukarramah", "Asia/Riyadh"},
    {"فاس", "Fes", "Africa/Casablanca", 34.0331, -5.0003}, {"Fes", "Fes", "Africa/Casablanca"},
    {"القاهرة", "Cairo", "Africa/Cairo"}, {"cairo", "Cairo", "Africa/Cairo"},
    {"باريس", "Paris", "Europe/Paris"}, {"Paris", "Paris", "Europe/Paris"}, {"paris, texas", "Paris", "America/Chicago"},
    {"نيويورك", "New York", "America/New_York"}, {"new york", "New York", "America/New_York"}}));

INSTANTIATE_TEST_SUITE_P(Folding, FirstMatch, ::testing::ValuesIn(std::vector<SearchCase>{
    {"إسطنبول", "Istanbul", "Europe/Istanbul"}, {"اسطنبول", "Istanbul", "Europe/Istanbul"}, // stored without hamza
    {"الاسكندريه", "Alexandria", "Africa/Cairo"}, // stored الإسكندرية
    {"مَكَّة", "Makkah al Mukarramah", "Asia/Riyadh"}, {"مكه", "Makkah al Mukarramah", "Asia/Riyadh"},
    {"ابوظبى", "Abu Dhabi Island and Internal Islands City", "Asia/Dubai"}, // أبوظبي
    {"الرباط", "Rabat", "Africa/Casablanca"}, {"رياض", "Riyadh", "Asia/Riyadh"}, // stored رباط, الرياض
    {"FÈS", "Fes", "Africa/Casablanca"}, {"zurich", "Zurich", "Europe/Zurich"}}));

// Nothing found, and query syntax of the full-text index taken as plain text.
INSTANTIATE_TEST_SUITE_P(Edges, FirstMatch, ::testing::ValuesIn(std::vector<SearchCase>{
    {"", nullptr, nullptr}, {" , ", nullptr, nullptr}, {"zzqxj", nullptr, nullptr}, {"«؟»", nullptr, nullptr},
    {"'; DROP TABLE places; --", nullptr, nullptr}, {"\"\" = \"\"; --", nullptr, nullptr},
    {"* NEAR(a b) names:x %_\\^", nullptr, nullptr}, {"(Paris) AND", nullptr, nullptr},
    {"\"Paris\"*", "Paris", "Europe/Paris"}, {"Paris;--", "Paris", "Europe/Paris"}}));

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
