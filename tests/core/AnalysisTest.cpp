#include "core/Analysis.h"

#include "core/ChartComputation.h"
#include "core/Numbers.h"

#include <gtest/gtest.h>

using namespace velmora;

namespace {

// Equal houses from 0 Aries, points at the given longitudes, classified.
ChartState classified(const std::array<float, 12>& longitudes)
{
    ChartState state;
    for (int h = 0; h < 12; ++h)
        state.HouseCusps[h] = 30.0f * h;
    for (int i = 0; i < 12; ++i)
        state.Planets[i].Longitude = longitudes[i];
    classifyPoints(state);
    return state;
}

int lineCount(const std::string& text)
{
    int n = 0;
    for (std::size_t at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n", at + 2))
        ++n;
    return n;
}

} // namespace

TEST(AnalyseChart, NoPointShown)
{
    ChartState state = classified({15, 45, 75, 105, 135, 165, 195, 225, 255, 285, 315, 345});
    state.PlanetShown.fill(kFalse);
    const ChartAnalysis a = analyseChart(state, ChartKind::Natal);
    for (int count : {a.masculine, a.feminine, a.northern, a.southern, a.cardinal, a.fixed,
                      a.mutableCount, a.fire, a.earth, a.air, a.water})
        EXPECT_EQ(count, 0);
    for (const ElementBar& bar : a.bars) {
        EXPECT_EQ(bar.height, 0.0);
        EXPECT_EQ(bar.top, 2160.0);
    }
    EXPECT_EQ(lineCount(a.text), 12) << "eleven counts and the separator, no point lines";
    EXPECT_EQ(a.text.substr(a.text.size() - 22), "--------------------\r\n");
}

TEST(AnalyseChart, SixFirePointsAndTheDerivedCounts)
{
    // Six points in Aries, Leo and Sagittarius, six in Taurus.
    const ChartAnalysis a = analyseChart(
        classified({5, 125, 245, 10, 130, 250, 35, 40, 45, 50, 55, 58}), ChartKind::Natal);
    EXPECT_EQ(a.fire, 6);
    EXPECT_EQ(a.earth, 6);
    EXPECT_DOUBLE_EQ(a.bars[0].height, 727.5);
    EXPECT_DOUBLE_EQ(a.bars[0].top, 1432.5);
    EXPECT_DOUBLE_EQ(a.bars[2].height, 0.0);
    EXPECT_EQ(a.masculine, 6);
    EXPECT_EQ(a.feminine, 6);
    EXPECT_EQ(a.northern, 10);
    EXPECT_EQ(a.southern, 2);
    EXPECT_EQ(a.text.rfind("عدد الكواكب في البروج المذكرة   6\r\n"
                           "عدد الكواكب في البروج المؤنثة   6\r\n"
                           "عدد الكواكب في البروج الشمالية   10\r\n"
                           "عدد الكواكب في البروج الجنوبية   2\r\n",
                           0),
              0u);
    EXPECT_NE(a.text.find("عدد الكواكب في البروج النارية   6\r\n"), std::string::npos);
}

TEST(AnalyseChart, DerivedCountsCoverTheShownPointsOnly)
{
    // Every point masculine and northern: the derived counts reach 0, never below.
    ChartState state = classified({5, 65, 125, 6, 66, 126, 7, 67, 127, 8, 68, 128});
    ChartAnalysis a = analyseChart(state, ChartKind::Natal);
    EXPECT_EQ(a.feminine, 0);
    EXPECT_EQ(a.southern, 0);

    state.PlanetShown[0] = kFalse;
    state.PlanetShown[11] = kFalse;
    a = analyseChart(state, ChartKind::Natal);
    EXPECT_EQ(a.masculine, 10);
    EXPECT_EQ(a.feminine, 0);
    EXPECT_EQ(a.text.find("الشمس في "), std::string::npos) << "hidden point still listed";
}

TEST(AnalyseChart, PointListsOfTheWindowKinds)
{
    ChartState state = classified({15, 45, 75, 105, 135, 165, 195, 225, 255, 285, 315, 345});
    for (int i = 12; i < 24; ++i)
        state.Planets[i].Longitude = 200.0f; // in the first chart's seventh house

    const ChartAnalysis natal = analyseChart(state, ChartKind::Natal);
    EXPECT_EQ(lineCount(natal.text), 24);
    EXPECT_NE(natal.text.find("القمر في  البيت الثاني\r\n"), std::string::npos);

    state.HouseCusps[0] = 10.0f; // moves no sign: the solar list shows signs as houses
    state.PlanetAttr[1].House = 5;
    const ChartAnalysis solar = analyseChart(state, ChartKind::Solar);
    EXPECT_NE(solar.text.find("القمر في  البيت الثاني\r\n"), std::string::npos);

    const ChartAnalysis transits = analyseChart(state, ChartKind::Transits);
    EXPECT_EQ(lineCount(transits.text), 36);
    EXPECT_NE(transits.text.find("قمر التحويل الأسود في  الغارب\r\n"), std::string::npos);
}
