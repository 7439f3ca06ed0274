#include "core/Aspects.h"

#include "core/Numbers.h"
#include "core/PositionTexts.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace velmora;

namespace {

// Every point placed far from the others' aspects, so only the points a case moves count.
ChartState chartWith(std::initializer_list<std::pair<int, float>> points, int orb)
{
    ChartState state;
    state.PlanetInAspects.fill(kTrue);
    state.PlanetShown.fill(kFalse);
    for (const auto& [slot, lon] : points) {
        state.PlanetShown[slot] = kTrue;
        state.Planets[slot].Longitude = lon;
    }
    state.OrbConjunction = state.OrbSextile = state.OrbSquare = state.OrbOpposition =
        state.OrbTrine = static_cast<std::int16_t>(orb);
    return state;
}

const std::string kSunIn = "الشمس في ";
const std::string kApplying = "   متصل ";
const std::string kSeparating = "   منفصل ";

} // namespace

// The Sun and one point: the Moon, or under the progressions' windows, which replace the orbs,
// the second chart's Sun (its phase not checked).
TEST(FindAspects, DistancesAndPhases)
{
    const struct {
        const char* name;
        float a, b;
        int orb;
        AspectKind kind;
        const char* distance; // nullptr: no aspect
        std::string phase;
        bool progressions = false;
    } rows[] = {
        {"conjunction near 0", 10.0f, 13.0f, 5, AspectKind::Conjunction, "3°0'0''", kSeparating},
        {"conjunction near 360", 358.0f, 2.0f, 5, AspectKind::Conjunction, "4°0'0''", kApplying},
        {"d = 0 is no conjunction", 40.0f, 40.0f, 10, AspectKind::Conjunction, nullptr, ""},
        {"sextile before exact", 0.0f, 58.0f, 4, AspectKind::Sextile, "2°0'0''", kApplying},
        {"sextile past exact", 0.0f, 62.0f, 4, AspectKind::Sextile, "2°0'0''", kSeparating},
        {"sextile near 300", 0.0f, 301.0f, 4, AspectKind::Sextile, "1°0'0''", kSeparating},
        {"square near 270", 10.0f, 278.0f, 4, AspectKind::Square, "2°0'0''", kApplying},
        {"opposition", 0.0f, 183.5f, 5, AspectKind::Opposition, "3°30'0''", kSeparating},
        {"trine near 240", 0.0f, 237.0f, 5, AspectKind::Trine, "3°0'0''", kApplying},
        {"exact sextile has no phase", 0.0f, 60.0f, 4, AspectKind::Sextile, "0°0'0''", ""},
        {"progressions: 0.5 from square, orb 1", 0.0f, 90.5f, 1, AspectKind::Square, "0°30'0''", "", true},
        {"progressions: 1.5 from square, orb 5", 0.0f, 91.5f, 5, AspectKind::Square, nullptr, "", true},
        {"progressions: d = 299.5, orb 0, is near 300", 0.0f, 299.5f, 0, AspectKind::Sextile, "0°30'0''", "", true},
        {"progressions: d = 239.5, orb 0, is near 240", 0.0f, 239.5f, 0, AspectKind::Trine, "0°30'0''", "", true},
        {"progressions: d = 269.5, orb 0, is near 270", 0.0f, 269.5f, 0, AspectKind::Square, "0°30'0''", "", true},
        {"progressions: conjunction under 2", 0.0f, 1.9f, 0, AspectKind::Conjunction, "1°54'0''", "", true},
        {"progressions: conjunction at 2.1, orb 10", 0.0f, 2.1f, 10, AspectKind::Conjunction, nullptr, "", true},
        {"progressions: opposition 1.75 off", 0.0f, 181.75f, 0, AspectKind::Opposition, "1°45'0''", "", true},
        {"progressions: trine 1.1 off, orb 8", 0.0f, 238.9f, 8, AspectKind::Trine, nullptr, "", true},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.name);
        const int slot = r.progressions ? 12 : 1;
        ChartState state = chartWith({{0, r.a}, {slot, r.b}}, r.orb);
        const auto found = findAspects(state, r.progressions ? searchForKind(ChartKind::Progressions) : AspectSearch{});
        ASSERT_EQ(found.size(), r.distance ? 1u : 0u);
        if (!r.distance)
            continue;
        EXPECT_EQ(found[0].kind, r.kind);
        EXPECT_EQ(found[0].text, pointLabel(0) + aspectWord(r.kind) + pointLabel(slot) + r.distance +
                                     (r.progressions ? found[0].phase : r.phase));
        EXPECT_EQ(state.AspectLines, std::vector<std::string>{found[0].text});
        EXPECT_EQ(state.AspectLineCount, 1);
    }
}

TEST(FindAspects, PairsThatYieldNothingOrTwice)
{
    // A conjunction but for a point hidden, or one out of the aspect search.
    for (auto flags : {&ChartState::PlanetShown, &ChartState::PlanetInAspects}) {
        ChartState state = chartWith({{0, 10.0f}, {1, 13.0f}}, 5);
        (state.*flags)[1] = kFalse;
        EXPECT_TRUE(findAspects(state, {}).empty());
    }

    // With 60 degree orbs, d = 50 is a conjunction at 50, and that 50 is a sextile at 10.
    ChartState wide = chartWith({{0, 0.0f}, {1, 50.0f}}, 60);
    const auto twice = findAspects(wide, {});
    ASSERT_EQ(twice.size(), 2u);
    EXPECT_EQ(twice[0].text, kSunIn + aspectWord(AspectKind::Conjunction) + "القمر في 50°0'0''" + kSeparating);
    EXPECT_EQ(twice[1].text, kSunIn + aspectWord(AspectKind::Sextile) + "القمر في 10°0'0''" + kApplying);
}

TEST(FindAspects, AnExactAspectDoesNotInheritAPhase)
{
    // Sun-Moon separating first, then Sun-Venus an exact sextile.
    ChartState state = chartWith({{0, 0.0f}, {1, 1.5f}, {3, 60.0f}}, 2);
    state.OrbSextile = 1;
    const auto found = findAspects(state, {});
    ASSERT_EQ(found.size(), 2u);
    EXPECT_EQ(found[0].phase, kSeparating);
    EXPECT_EQ(found[1].text, kSunIn + aspectWord(AspectKind::Sextile) + "الزهرة في 0°0'0''");
}

// Every first-chart point at 100 and every second-chart one at 101: the kinds with a second chart
// find all 144 cross pairs, the others none.
TEST(FindAspects, TwoChartWindowsExamineEveryCrossPairAndKeepEveryLine)
{
    ChartState state;
    state.PlanetInAspects.fill(kTrue);
    state.OrbConjunction = 10;
    for (int slot = 0; slot < kSlotCount; ++slot)
        state.Planets[slot].Longitude = slot < 12 ? 100.0f : 101.0f;
    const struct {
        const char* name;
        ChartKind kind;
        std::size_t found;
    } rows[] = {{"horary", ChartKind::Horary, 0},           {"natal", ChartKind::Natal, 0},
                {"transits", ChartKind::Transits, 144},     {"comparison", ChartKind::Comparison, 144},
                {"solar", ChartKind::Solar, 0},             {"progressions", ChartKind::Progressions, 144}};
    for (const auto& r : rows) {
        const auto found = findAspects(state, searchForKind(r.kind));
        ASSERT_EQ(found.size(), r.found) << r.name;
        EXPECT_EQ(std::pair(int(state.AspectLineCount), state.AspectLines.size()), std::pair(int(r.found), r.found)) << r.name;
        EXPECT_TRUE(std::all_of(found.begin(), found.end(), [](const Aspect& a) { return a.slotA < 12 && a.slotB >= 12; }));
        if (r.found) { // the Moon's pairs follow the Sun's twelve
            EXPECT_EQ(std::pair(found[12].slotA, found[12].slotB), std::pair(1, 12)) << r.name;
        }
    }
    // A rerun rebuilds the list from empty.
    state.OrbConjunction = 0;
    EXPECT_TRUE(findAspects(state, searchForKind(ChartKind::Transits)).empty());
    EXPECT_EQ(state.AspectLineCount, 0);
    EXPECT_TRUE(state.AspectLines.empty());
}
