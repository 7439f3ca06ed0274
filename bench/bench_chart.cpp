// ComputeChart against the bare library calls it makes, over the same instants, in one run.
#include "core/ChartComputation.h"

#include <benchmark/benchmark.h>
#include <swephexp.h>

namespace {

// Successive days from 1990, so no run profits from a cache the other lacks.
struct Instant {
    int year = 1990, month = 1, day = 1, hour = 12, minute = 30;
    void next()
    {
        if (++day > 28) {
            day = 1;
            if (++month > 12) {
                month = 1;
                ++year;
            }
        }
    }
};

constexpr double kLatitude = 21.45;
constexpr double kLongitude = 39.816666;
constexpr double kZone = 3.0;

void BM_BareLibraryCalls(benchmark::State& run)
{
    Instant at;
    double xx[6];
    char serr[AS_MAXCH];
    double cusps[13], angles[10];
    for (auto _ : run) {
        const double hour = at.hour + at.minute / 60.0 - kZone;
        const double jdUt = swe_julday(at.year, at.month, at.day, hour, SE_GREG_CAL);
        const double jdEt = jdUt + swe_deltat(jdUt);
        for (int body : velmora::kBodyOfSlot) {
            benchmark::DoNotOptimize(swe_calc(jdEt, body, 258, xx, serr));
        }
        benchmark::DoNotOptimize(
            swe_houses_ex(jdUt, 258, kLatitude, kLongitude, 'P', cusps, angles));
        swe_close();
        at.next();
    }
}
BENCHMARK(BM_BareLibraryCalls)->Unit(benchmark::kMicrosecond);

void BM_ComputeChart(benchmark::State& run)
{
    velmora::ChartState state;
    velmora::readPlace(state, {"39", "49", "21", "27", false, false});
    const velmora::ZoneInput zone{"3", "0"};
    Instant at;
    for (auto _ : run) {
        state.ChartYear = static_cast<std::int16_t>(at.year);
        state.ChartMonth = static_cast<std::int16_t>(at.month);
        state.ChartDay = static_cast<std::int16_t>(at.day);
        state.ChartHour = static_cast<std::int16_t>(at.hour);
        state.ChartMinute = static_cast<std::int16_t>(at.minute);
        benchmark::DoNotOptimize(velmora::computeChart(state, 0, zone));
        at.next();
    }
}
BENCHMARK(BM_ComputeChart)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
