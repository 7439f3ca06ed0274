// Painting a transits wheel against computing its two charts, in one run.
#include "core/Appearance.h"
#include "core/ChartComputation.h"
#include "core/Numbers.h"
#include "core/Numbers.h"
#include "ui/chart/WheelPainter.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <benchmark/benchmark.h>

namespace {

using namespace velmora;

const PlaceInput kMecca{"39", "49", "21", "27", false, false};
const ZoneInput kZone{"3", "0"};

// A transits chart as its window draws it: every point of both charts shown and in the
// aspect search, houses on, the dialog's initial colours and orbs.
ChartState transitsChart()
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

void BM_PaintTransitsWheel(benchmark::State& run)
{
    ChartState state = transitsChart();
    const ui::ChartKindDescription& kind = ui::chartKindDescription(ChartKind::Transits);
    const QString caption = QStringLiteral("هيئة تحاويل ل1990/5/4   15:8");
    QImage image(1000, 1000, QImage::Format_ARGB32_Premultiplied);
    std::size_t aspects = 0;
    for (auto _ : run) {
        QPainter painter(&image);
        ui::WheelPainter wheel(state, kind, {}, 1000);
        aspects = wheel.draw(painter, QSizeF(1000, 1000), caption).aspects.size();
    }
    run.counters["aspects"] = static_cast<double>(aspects);
}
BENCHMARK(BM_PaintTransitsWheel)->Unit(benchmark::kMillisecond);

// ComputeChart for both charts, on successive days so that no run profits from a cache.
void BM_ComputeTwoCharts(benchmark::State& run)
{
    ChartState state;
    readPlace(state, kMecca);
    int day = 0;
    for (auto _ : run) {
        state.ChartYear = 1990;
        state.ChartMonth = static_cast<std::int16_t>(1 + day / 28 % 12);
        state.ChartDay = static_cast<std::int16_t>(1 + day % 28);
        state.ChartHour = 8;
        benchmark::DoNotOptimize(computeChart(state, 0, kZone));
        state.ChartYear = 2026;
        benchmark::DoNotOptimize(computeChart(state, 1, kZone));
        ++day;
    }
}
BENCHMARK(BM_ComputeTwoCharts)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    int qtArgc = 1;
    QGuiApplication app(qtArgc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
