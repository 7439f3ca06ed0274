// The event search of a year and of a century against a brute-force hourly scan of the library
// over the same year, and a batch of charts against the library calls it makes, in one run.
#include "cli/EphemeridesReport.h"
#include "core/ChartRequest.h"
#include "core/EventSearch.h"

#include <benchmark/benchmark.h>
#include <swephexp.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <vector>

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

// Ten thousand charts on successive days from 1990 at Mecca, as batch rows.
constexpr int kBatchRows = 10000;

struct Day {
    int year;
    int month;
    int day;
};
Day dayOfRow(int row)
{
    return {1990 + row / 336, row / 28 % 12 + 1, row % 28 + 1};
}

// The file of the batch rows; written once.
const std::string& batchFile()
{
    static const std::string path = [] {
        const std::string made = "/tmp/velmora-bench-batch.csv";
        std::ofstream file(made);
        file << "name,date,time,lat,lon,zone,summer\n";
        for (int row = 0; row < kBatchRows; ++row) {
            const Day d = dayOfRow(row);
            file << "row" << row << "," << d.year << "-" << d.month << "-" << d.day
                 << ",12:30,21:27N,39:49E,3,0\n";
        }
        return made;
    }();
    return path;
}

void batchOnce(velmora::ChartState& state, std::ostream& rows)
{
    const auto result = velmora::cli::runCommand({"chart", "--batch", batchFile()}, state,
                                                 velmora::swissEphemeris(), &rows);
    benchmark::DoNotOptimize(result.exitCode);
}

// What the same charts cost the library alone, its files kept open.
void bareOnce()
{
    double xx[6];
    char serr[AS_MAXCH];
    double cusps[13];
    double angles[10];
    for (int row = 0; row < kBatchRows; ++row) {
        const Day d = dayOfRow(row);
        const double jdUt = swe_julday(d.year, d.month, d.day, 12.5 - 3, SE_GREG_CAL);
        const double jdEt = jdUt + swe_deltat(jdUt);
        for (int body : velmora::kBodyOfSlot)
            benchmark::DoNotOptimize(swe_calc(jdEt, body, 258, xx, serr));
        benchmark::DoNotOptimize(swe_houses_ex(jdUt, 258, 21.45, 39.816666, 'P', cusps, angles));
    }
    swe_close();
}

void BM_BatchTenThousandRows(benchmark::State& run)
{
    velmora::ChartState state;
    std::ofstream rows("/dev/null");
    for (auto _ : run)
        batchOnce(state, rows);
}
BENCHMARK(BM_BatchTenThousandRows)->Unit(benchmark::kMillisecond);

void BM_BareLibraryTenThousandCharts(benchmark::State& run)
{
    for (auto _ : run)
        bareOnce();
}
BENCHMARK(BM_BareLibraryTenThousandCharts)->Unit(benchmark::kMillisecond);

// Both back to back in each iteration, so that the ratio compares runs a second apart on a
// machine whose speed wanders: "ratio" is the batch's time over the bare calls'.
void BM_BatchOverBareLibrary(benchmark::State& run)
{
    using Clock = std::chrono::steady_clock;
    velmora::ChartState state;
    std::ofstream rows("/dev/null");
    std::vector<double> ratios;
    for (auto _ : run) {
        const auto start = Clock::now();
        bareOnce();
        const auto middle = Clock::now();
        batchOnce(state, rows);
        const auto end = Clock::now();
        ratios.push_back(std::chrono::duration<double>(end - middle).count() /
                         std::chrono::duration<double>(middle - start).count());
    }
    std::sort(ratios.begin(), ratios.end());
    run.counters["ratio"] = ratios[ratios.size() / 2];
}
BENCHMARK(BM_BatchOverBareLibrary)->Unit(benchmark::kMillisecond)->Iterations(9);

} // namespace

BENCHMARK_MAIN();
