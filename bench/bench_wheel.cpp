// Painting a transits wheel against computing its two charts, in one run.
#include "bench/TransitsChart.h"
#include "ui/chart/WheelPainter.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <benchmark/benchmark.h>

namespace {

using namespace velmora;

using bench::kMecca;
using bench::kZone;
using bench::transitsChart;

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
