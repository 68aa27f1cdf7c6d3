/// @file repaint_bench.cpp One full repaint of the main window's surface: map, markers and the
/// town information panel (mode 5), rendered into an image as the screen would get it.
#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QPushButton>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <clocale>

#include "game/silent_frontend.h"
#include "ui/Tavrek95.h"

static void BM_FullRepaintMode5(benchmark::State& state)
{
    QTemporaryDir work;
    QDir::setCurrent(work.path());
    SilentFrontend silent;
    TForm1 form(nullptr, &silent);
    form.show();
    form.State().Program.Rng.Seed(3);
    NewGameSettings settings;
    settings.Map = 3;
    form.StartNewGame(settings);
    form.Button11->click();
    QImage image(QSize(kClientWidth, kClientHeight), QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        QPainter p(&image);
        form.FormPaint(p);
        p.end();
        benchmark::DoNotOptimize(image.constBits());
    }
    form.State().GameActive = false;
}
BENCHMARK(BM_FullRepaintMode5)->Unit(benchmark::kMicrosecond);

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
