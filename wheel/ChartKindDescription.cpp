#include "wheel/ChartKindDescription.h"

#include <array>

namespace velmora::ui {

namespace {

// In the order of ChartKind. One-chart windows copy swatches 0 to 9, two-chart windows all
// twelve; the solar window also copies swatch 11, its glyph colour, so that this colour does not
// depend on which windows were opened before it.
constexpr std::array<ChartKindDescription, 6> kKinds = {{
    {ChartKind::Horary, 11, true, false, true, "FrmHoraire", 7050, 6075, 0x3FF},
    {ChartKind::Natal, 11, true, false, false, "FrmNatale", 7365, 6645, 0x3FF},
    {ChartKind::Transits, 23, true, false, false, "FrmTransite", 6945, 4935, 0xFFF},
    {ChartKind::Comparison, 23, true, false, false, "FrmSynastrie", 7395, 6915, 0xFFF},
    {ChartKind::Solar, 11, false, true, false, "FrmSolaire", 7920, 5520, 0xBFF},
    {ChartKind::Progressions, 23, true, false, false, "FrmProgression", 8865, 6405, 0xFFF},
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
