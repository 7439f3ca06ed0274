#include "core/Analysis.h"

#include "core/ChartComputation.h"
#include "core/Numbers.h"

#include <gtest/gtest.h>

using namespace velmora;

namespace {

// Equal houses from 0 Aries, so each point's house is its sign; points classified.
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

} // namespace

TEST(AnalyseChart, TheWholeTextCountsTheShownPointsOnly)
{
    // One point in each sign but Cancer and Pisces, Mars and the black moon in Leo; Venus, in
    // Cancer, hidden.
    ChartState state = classified({5, 45, 75, 105, 135, 165, 195, 225, 255, 285, 315, 125});
    state.PlanetShown[3] = kFalse;
    const ChartAnalysis a = analyseChart(state, ChartKind::Natal);
    EXPECT_EQ(a.text, "عدد الكواكب في البروج المذكرة   7\r\n"
                      "عدد الكواكب في البروج المؤنثة   4\r\n"
                      "عدد الكواكب في البروج الشمالية   6\r\n"
                      "عدد الكواكب في البروج الجنوبية   5\r\n"
                      "عدد الكواكب في البروج المنقلبة   3\r\n"
                      "عدد الكواكب في البروج الثابتة   5\r\n"
                      "عدد الكواكب في البروج المجسدة   3\r\n"
                      "عدد الكواكب في البروج النارية   4\r\n"
                      "عدد الكواكب في البروج الترابية   3\r\n"
                      "عدد الكواكب في البروج الهوائية   3\r\n"
                      "عدد الكواكب في البروج المائية   1\r\n"
                      "--------------------\r\n"
                      "الشمس في  الطالع\r\n"
                      "القمر في  البيت الثاني\r\n"
                      "عطارد في  البيت الثالث\r\n"
                      "المريخ في  البيت الخامس\r\n"
                      "المشتري في  البيت السادس\r\n"
                      "زحل في  الغارب\r\n"
                      "أورانوس في  البيت الثامن\r\n"
                      "نيبتون في  البيت التاسع\r\n"
                      "بلوطون في  وسط السماء\r\n"
                      "العقدة الشمالية في  البيت الحادي عشر\r\n"
                      "القمر الأسود في  البيت الخامس\r\n");
    // Bars in twips on the base line: a twelfth of the full height per point.
    EXPECT_DOUBLE_EQ(a.bars[0].height, 485.0);
    EXPECT_DOUBLE_EQ(a.bars[0].top, 1675.0);
    EXPECT_DOUBLE_EQ(a.bars[3].height, 1455.0 / 12);
}

TEST(AnalyseChart, PointListsOfTheWindowKinds)
{
    ChartState state = classified({15, 45, 75, 105, 135, 165, 195, 225, 255, 285, 315, 345});
    for (int i = 12; i < 24; ++i)
        state.Planets[i].Longitude = 200.0f; // in the first chart's seventh house
    state.PlanetAttr[1].House = 5;           // the solar list shows the sign as the house
    EXPECT_NE(analyseChart(state, ChartKind::Solar).text.find("القمر في  البيت الثاني\r\n"), std::string::npos);

    const std::string transits = analyseChart(state, ChartKind::Transits).text;
    EXPECT_EQ(transits.find("الشمس في  الطالع\r\n"), transits.find("--\r\n") + 4);
    EXPECT_NE(transits.find("القمر الأسود في  البيت الثاني عشر\r\nشمس التحويل في  الغارب\r\n"), std::string::npos);
    const std::string last = "قمر التحويل الأسود في  الغارب\r\n";
    EXPECT_EQ(transits.rfind(last), transits.size() - last.size());
}
