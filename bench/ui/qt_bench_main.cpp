/// @file qt_bench_main.cpp The window benchmarks' shared start: an offscreen Qt application (the
/// window, QPainter and its fonts need one even without a display) with numbers in "." as the
/// game writes them, then the benchmarks asked for on the command line.
#include <QApplication>
#include <benchmark/benchmark.h>
#include <clocale>

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
