// Painting a transits wheel, with its glyphs spread and not, against computing its two
// charts, in one run.
#include "bench/QtBenchmarkMain.h"
#include "bench/TransitsChart.h"

#include <QGuiApplication>

namespace {

using namespace velmora;

using bench::kMecca;
using bench::kZone;

void BM_PaintTransitsWheel(benchmark::State& run)
{
    bench::paintTransits(run, QSize(1000, 1000));
}
BENCHMARK(BM_PaintTransitsWheel)->Unit(benchmark::kMillisecond);

// The same with the glyphs at their exact degrees: what spreading them costs.
void BM_PaintTransitsWheelUnspread(benchmark::State& run)
{
    ui::WheelAppearance appearance;
    appearance.spread = false;
    bench::paintTransits(run, QSize(1000, 1000), appearance);
}
BENCHMARK(BM_PaintTransitsWheelUnspread)->Unit(benchmark::kMillisecond);

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
    return velmora::bench::runWithQt<QGuiApplication>(argc, argv);
}
