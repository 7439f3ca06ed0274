#include "core/ChartState.h"

namespace velmora {

const ChartKindInfo& chartKindInfo(ChartKind kind)
{
    static const ChartKindInfo kinds[] = {
        {ChartKind::Horary, "هيئة طالع الوقت", 0},
        {ChartKind::Natal, "هيئة ميلاد", 0},
        {ChartKind::Transits, "هيئة تحاويل", 1},
        {ChartKind::Comparison, "هيئة مقارنة", 1},
        {ChartKind::Solar, "هيئة شمسية", 0},
        // The progressions caption starts with one space.
        {ChartKind::Progressions, " هيئة تسييرات", 1},
    };
    return kinds[static_cast<int>(kind)];
}

std::optional<ChartKind> chartKindOfName(const std::string& name)
{
    for (int i = 0; i < kChartKindCount; ++i) {
        const ChartKindInfo& info = chartKindInfo(static_cast<ChartKind>(i));
        if (name == info.name)
            return info.kind;
    }
    return std::nullopt;
}

ChartState& chartState()
{
    static ChartState state;
    return state;
}

} // namespace velmora
