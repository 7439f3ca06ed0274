// Re-rendering a 1000 px transits window on a resize, against the wheel painter alone drawing
// the same picture, in one run; and the resident memory with three chart windows open.
#include "bench/QtBenchmarkMain.h"
#include "bench/TransitsChart.h"
#include "ui/chart/FrmChart.h"
#include "ui/main/MDIFrmMain.h"

#include <QApplication>
#include <QFile>
#include <QMdiArea>

namespace {

using namespace velmora;

// The window is 1117 px wide so that S is its height, 1000; every resize gives a new picture.
void BM_ResizeTransitsWindow(benchmark::State& run)
{
    chartState() = bench::transitsChart();
    ui::FrmChart window(ChartKind::Transits, bench::kTransitsCaption);
    window.show();
    int step = 0;
    for (auto _ : run)
        window.resize(1117 + step++ % 2, 1000);
    run.counters["aspects"] = window.chart().AspectLineCount;
}
BENCHMARK(BM_ResizeTransitsWindow)->Unit(benchmark::kMillisecond);

// The painter alone, into a picture of the window's size.
void BM_PaintTransitsPicture(benchmark::State& run)
{
    bench::paintTransits(run, QSize(1117, 1000));
}
BENCHMARK(BM_PaintTransitsPicture)->Unit(benchmark::kMillisecond);

double residentMegabytes()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0.0;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toDouble() / 1024.0;
    }
    return 0.0;
}

// The main window with a natal, a transits and a progressions window at their first sizes.
void BM_ThreeChartWindowsResident(benchmark::State& run)
{
    const double before = residentMegabytes();
    ui::MDIFrmMain main;
    main.show();
    chartState() = bench::transitsChart();
    for (auto _ : run) {
        for (ChartKind kind : {ChartKind::Natal, ChartKind::Transits, ChartKind::Progressions})
            main.openChartWindow(kind, bench::kTransitsCaption);
        QCoreApplication::processEvents();
    }
    run.counters["rss_MB"] = residentMegabytes();
    run.counters["rss_before_MB"] = before;
    main.mdiArea()->closeAllSubWindows();
}
BENCHMARK(BM_ThreeChartWindowsResident)->Iterations(1)->Repetitions(1)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    return velmora::bench::runWithQt<QApplication>(argc, argv);
}
