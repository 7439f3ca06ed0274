// The event search of a year and of a century against a brute-force hourly scan of the library
// over the same year, in one run.
#include "core/ChartRequest.h"
#include "core/EventSearch.h"

#include <benchmark/benchmark.h>
#include <swephexp.h>

#include <cmath>

namespace {

constexpr double kFrom = 2460676.5; // 2025-01-01 0h UT
constexpr double kYear = 365.25;

velmora::ChartState natal()
{
    velmora::ChartState state;
    velmora::ChartRequest request;
    request.first.texts = {"4", "5", "1990", "10", "30"};
    request.place.coordinates = {"4", "59", "34", "2", true, false};
    request.place.summerText = "1";
    request.place.summerGiven = true;
    request.zoneText = "0";
    velmora::computeRequest(state, request);
    return state;
}

void searchPeriod(benchmark::State& run, double years)
{
    const velmora::ChartState chart = natal();
    std::size_t events = 0;
    for (auto _ : run) {
        const auto result = velmora::searchEvents(chart, {kFrom, kFrom + years * kYear});
        events = result.events.size();
        benchmark::DoNotOptimize(events);
    }
    run.counters["events"] = static_cast<double>(events);
}

void BM_EventsOneYear(benchmark::State& run) { searchPeriod(run, 1); }
void BM_EventsTenYears(benchmark::State& run) { searchPeriod(run, 10); }
void BM_EventsHundredYears(benchmark::State& run) { searchPeriod(run, 100); }
BENCHMARK(BM_EventsOneYear)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EventsTenYears)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EventsHundredYears)->Unit(benchmark::kMillisecond)->Iterations(3);

double wrap180(double x)
{
    x = std::fmod(x, 360.0);
    return x < -180 ? x + 360 : x >= 180 ? x - 360 : x;
}

// The same year the plain way: the nine bodies' positions each hour straight from the library,
// and a crossing test of every target, angle, sign edge and speed between two of them.
void BM_HourlyScanOneYear(benchmark::State& run)
{
    const velmora::ChartState chart = natal();
    double targets[velmora::kEventTargetCount];
    for (int k = 0; k < velmora::kEventTargetCount; ++k)
        targets[k] = velmora::eventTargetLongitude(chart, k);
    const int bodies[] = {0, 2, 3, 4, 5, 6, 7, 8, 9};
    char serr[AS_MAXCH];
    for (auto _ : run) {
        long crossings = 0;
        for (int body : bodies) {
            double previous[6];
            double xx[6];
            swe_calc(kFrom + swe_deltat(kFrom), body, 258, previous, serr);
            for (int hour = 1; hour <= 8766; ++hour) {
                const double t = kFrom + hour / 24.0;
                swe_calc(t + swe_deltat(t), body, 258, xx, serr);
                const double motion = wrap180(xx[0] - previous[0]);
                crossings += (previous[3] < 0) != (xx[3] < 0);
                crossings += static_cast<int>(previous[0] / 30) != static_cast<int>(xx[0] / 30);
                for (double target : targets) {
                    for (double angle : {0, 60, 90, 120, 180, 240, 270, 300}) {
                        const double g = wrap180(previous[0] - target - angle);
                        crossings += (g < 0) != (g + motion < 0);
                    }
                }
                std::copy(xx, xx + 6, previous);
            }
        }
        swe_close();
        benchmark::DoNotOptimize(crossings);
        run.counters["events"] = static_cast<double>(crossings);
    }
}
BENCHMARK(BM_HourlyScanOneYear)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
