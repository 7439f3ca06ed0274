// A month of each ephemerides table against the bare library calls it makes (closing the
// library after every day, as the run does), in one run; and the same month run by the window,
// which also paints its progress and fills its grid.
#include "bench/QtBenchmarkMain.h"
#include "core/Ephemerides.h"
#include "ui/ephemerides/FrmEphemirids.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <swephexp.h>

#include <cmath>

namespace {

constexpr int kDays = 31; // March 2024
constexpr double kHourUt = 9.0;
constexpr float kLatitude = 21.45f;
constexpr float kLongitude = 39.816666f;

void bareDayPositions(int day, double* out)
{
    double xx[6];
    char serr[AS_MAXCH];
    const double jdUt = swe_julday(2024, 3, day, kHourUt, SE_GREG_CAL);
    const double jdEt = jdUt + swe_deltat(jdUt);
    for (int i = 0; i < 12; ++i) {
        swe_calc(jdEt, velmora::kBodyOfSlot[i], 258, xx, serr);
        out[i] = xx[0];
    }
    swe_close();
}

void BM_BarePlanetsMonth(benchmark::State& run)
{
    double positions[12];
    for (auto _ : run) {
        for (int day = 1; day <= kDays; ++day) {
            bareDayPositions(day, positions);
            benchmark::DoNotOptimize(positions);
        }
    }
}

void BM_BareHousesMonth(benchmark::State& run)
{
    double cusps[13], angles[10];
    for (auto _ : run) {
        for (int day = 1; day <= kDays; ++day) {
            const double jdUt = swe_julday(2024, 3, day, kHourUt, SE_GREG_CAL);
            benchmark::DoNotOptimize(jdUt + swe_deltat(jdUt));
            swe_houses_ex(jdUt, 258, kLatitude, kLongitude, 'P', cusps, angles);
            swe_close();
            benchmark::DoNotOptimize(cusps);
        }
    }
}

velmora::EphemeridesInput monthInput(velmora::EphemerisTableKind table)
{
    velmora::EphemeridesInput in;
    in.monthIndex = 2;
    in.yearText = "2024";
    in.hourText = "12";
    in.zoneText = "3";
    in.summerText = "0";
    in.table = table;
    in.latitude = kLatitude;
    in.longitude = kLongitude;
    in.orbs = {10, 6, 8, 10, 8};
    return in;
}

void BM_EphemeridesMonth(benchmark::State& run)
{
    const auto in = monthInput(static_cast<velmora::EphemerisTableKind>(run.range(0)));
    for (auto _ : run)
        benchmark::DoNotOptimize(velmora::runEphemerides(in, velmora::swissEphemeris()));
}

void BM_WindowMonth(benchmark::State& run)
{
    velmora::ui::FrmEphemirids* window = velmora::ui::FrmEphemirids::instance();
    window->show();
    window->CmbMois->setCurrentIndex(2);
    window->TxtYears->setText(QStringLiteral("2024"));
    window->Opt[static_cast<std::size_t>(run.range(0))]->click();
    for (auto _ : run)
        window->CmdCalculer->click();
}

BENCHMARK(BM_BarePlanetsMonth)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BareHousesMonth)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EphemeridesMonth)
    ->Arg(0)->Arg(1)->Arg(2)
    ->ArgNames({"table"})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WindowMonth)
    ->Arg(0)->Arg(1)->Arg(2)
    ->ArgNames({"table"})
    ->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    return velmora::bench::runWithQt<QApplication>(argc, argv);
}
