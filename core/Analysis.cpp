#include "core/Analysis.h"

#include "core/ChartComputation.h"
#include "core/Numbers.h"
#include "core/PositionTexts.h"

namespace velmora {

namespace {

const char* const kLineBreak = "\r\n";

void appendCount(std::string& text, const char* label, int count)
{
    text += label;
    text += numberText(count);
    text += kLineBreak;
}

ElementBar bar(int count)
{
    const double unit = kBarFullHeight / 12.0;
    return {unit * count, kBarBaseLine - unit * count};
}

} // namespace

ChartAnalysis analyseChart(const ChartState& state, ChartKind kind)
{
    ChartAnalysis a;
    int shown = 0;
    for (int i = 0; i < kPointsPerChart; ++i) {
        if (state.PlanetShown[i] != kTrue)
            continue;
        ++shown;
        const PointAttributes& p = state.PlanetAttr[i];
        a.masculine += p.Masculine == kTrue;
        a.northern += p.Northern == kTrue;
        a.cardinal += p.Cardinal == kTrue;
        a.fixed += p.Fixed == kTrue;
        a.mutableCount += p.Mutable == kTrue;
        a.fire += p.Fire == kTrue;
        a.earth += p.Earth == kTrue;
        a.air += p.Air == kTrue;
        a.water += p.Water == kTrue;
    }
    // Counted over the same shown points, so neither can go below zero.
    a.feminine = shown - a.masculine;
    a.southern = shown - a.northern;

    appendCount(a.text, "عدد الكواكب في البروج المذكرة   ", a.masculine);
    appendCount(a.text, "عدد الكواكب في البروج المؤنثة   ", a.feminine);
    appendCount(a.text, "عدد الكواكب في البروج الشمالية   ", a.northern);
    appendCount(a.text, "عدد الكواكب في البروج الجنوبية   ", a.southern);
    appendCount(a.text, "عدد الكواكب في البروج المنقلبة   ", a.cardinal);
    appendCount(a.text, "عدد الكواكب في البروج الثابتة   ", a.fixed);
    appendCount(a.text, "عدد الكواكب في البروج المجسدة   ", a.mutableCount);
    appendCount(a.text, "عدد الكواكب في البروج النارية   ", a.fire);
    appendCount(a.text, "عدد الكواكب في البروج الترابية   ", a.earth);
    appendCount(a.text, "عدد الكواكب في البروج الهوائية   ", a.air);
    appendCount(a.text, "عدد الكواكب في البروج المائية   ", a.water);
    a.text += "--------------------";
    a.text += kLineBreak;

    a.bars = {bar(a.fire), bar(a.earth), bar(a.air), bar(a.water)};

    const int last = chartKindInfo(kind).twoCharts == 1 ? kSlotCount - 1 : kPointsPerChart - 1;
    for (int i = 0; i <= last; ++i) {
        if (state.PlanetShown[i] != kTrue)
            continue;
        int house = 0;
        if (kind == ChartKind::Solar)
            house = state.PlanetAttr[i].Sign;
        else if (i < kPointsPerChart)
            house = state.PlanetAttr[i].House;
        else // a second-chart point falls in the first chart's houses
            house = houseOfLongitude(state, state.Planets[i].Longitude);
        a.text += pointLabel(i) + houseName(house) + kLineBreak;
    }
    return a;
}

} // namespace velmora
