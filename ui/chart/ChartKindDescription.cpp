#include "ui/chart/ChartKindDescription.h"

#include <array>

namespace velmora::ui {

namespace {

// In the order of ChartKind.
constexpr std::array<ChartKindDescription, 6> kKinds = {{
    {ChartKind::Horary, 11, true, false, true},
    {ChartKind::Natal, 11, true, false, false},
    {ChartKind::Transits, 23, true, false, false},
    {ChartKind::Comparison, 23, true, false, false},
    {ChartKind::Solar, 11, false, true, false},
    {ChartKind::Progressions, 23, true, false, false},
}};

constexpr bool inKindOrder()
{
    for (std::size_t i = 0; i < kKinds.size(); ++i) {
        if (static_cast<std::size_t>(kKinds[i].kind) != i)
            return false;
    }
    return true;
}
static_assert(inKindOrder(), "one row per ChartKind, in its order");

} // namespace

const ChartKindDescription& chartKindDescription(ChartKind kind)
{
    return kKinds[static_cast<std::size_t>(kind)];
}

} // namespace velmora::ui
