#pragma once

#include "core/Appearance.h"
#include "core/Aspects.h"
#include "core/ChartComputation.h"
#include "core/Numbers.h"
#include "wheel/WheelPainter.h"

#include <QImage>
#include <QPainter>
#include <benchmark/benchmark.h>

namespace velmora::bench {

inline const PlaceInput kMecca{"39", "49", "21", "27", false, false};
inline const ZoneInput kZone{"3", "0"};
inline const QString kTransitsCaption = QStringLiteral("هيئة تحاويل ل1990/5/4   15:8");

// A transits chart as its window draws it: every point of both charts shown and in the
// aspect search, houses on, the dialog's initial colours and orbs.
inline ChartState transitsChart()
{
    ChartState state;
    readDateTime(state, {"4", "5", "1990", "8", "15"}, kMecca);
    computeChart(state, 0, kZone);
    classifyPoints(state);
    readDateTime(state, {"6", "12", "2026", "12", "0"}, kMecca);
    computeChart(state, 1, kZone);
    copySwatchColors(state, initialSwatchColors());
    setOrbs(state, defaultAspectOrbs());
    state.PlanetShown.fill(kTrue);
    state.PlanetInAspects.fill(kTrue);
    state.OrientOnAscendant = kTrue;
    state.ShowHouses = kTrue;
    state.ZodiacAsPictures = kTrue;
    return state;
}

// The wheel painter alone, its layout included, drawing that chart at S = 1000 into a picture
// of the given size.
inline void paintTransits(benchmark::State& run, const QSize& size,
                          const ui::WheelAppearance& appearance = {})
{
    ChartState state = transitsChart();
    const ui::ChartKindDescription& kind = ui::chartKindDescription(ChartKind::Transits);
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    std::size_t aspects = 0;
    for (auto _ : run) {
        QPainter painter(&image);
        const WheelModel model = wheelModelOf(state, ChartKind::Transits);
        ui::WheelPainter(state, model, kind, appearance, 1000)
            .draw(painter, QSizeF(size), kTransitsCaption);
        aspects = model.aspects.size();
    }
    run.counters["aspects"] = static_cast<double>(aspects);
}

} // namespace velmora::bench
