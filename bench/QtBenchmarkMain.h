#pragma once

#include <QGuiApplication>
#include <benchmark/benchmark.h>

namespace velmora::bench {

// The main of a benchmark that needs a Qt application (QGuiApplication or QApplication):
// offscreen unless a platform is set, right to left as the program runs.
template <typename Application>
int runWithQt(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    int qtArgc = 1;
    Application app(qtArgc, argv);
    Application::setLayoutDirection(Qt::RightToLeft);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

} // namespace velmora::bench
