#include "core/WheelModel.h"

namespace velmora {

WheelModel wheelModelOf(const ChartState& state, ChartKind kind)
{
    WheelModel model;
    model.rotation = wheelRotationFor(state, kind);
    model.aspects = aspectsOf(state, searchForKind(kind), model.rotation);
    model.analysis = analyseChart(state, kind);
    return model;
}

void applyWheelModel(ChartState& state, const WheelModel& model)
{
    state.WheelRotation = model.rotation;
    writeAspectList(state, model.aspects);
}

} // namespace velmora
