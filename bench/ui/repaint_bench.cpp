/// @file repaint_bench.cpp One full repaint of the main window's surface: map, markers and the
/// town information panel (mode 5), rendered into an image as the screen would get it, at 100
/// and 200 %.
#include <QImage>
#include <QPainter>
#include <QPushButton>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include "game/silent_frontend.h"
#include "ui/Tavrek95.h"

namespace {

// The window shown at a zoom with a new game on a map, in a scratch game directory of its own.
struct ShownGame {
    explicit ShownGame(int map, int zoom = 100)
    {
        form.AvailableScreenSize = [] { return QSize(4096, 4096); };
        form.show();
        form.SetZoom(zoom);
        form.Session().SetSeed(3);
        NewGameSettings settings;
        settings.Map = map;
        form.StartNewGame(settings);
    }
    ~ShownGame() { form.Session().Leave(); }  // no autosave when the window goes

    QTemporaryDir work;  // the game writes its settings into its game folder
    SilentFrontend silent;
    TForm1 form{FoldersIn(work.path().toStdString()), nullptr, &silent};
};

}  // namespace

static void BM_FullRepaintMode5(benchmark::State& state)
{
    ShownGame game(3, static_cast<int>(state.range(0)));
    TForm1& form = game.form;
    form.Button11->click();
    QImage image(form.Surface()->size(), QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        QPainter p(&image);
        form.FormPaint(p);
        p.end();
        benchmark::DoNotOptimize(image.constBits());
    }
}
BENCHMARK(BM_FullRepaintMode5)->Arg(100)->Arg(200)->Unit(benchmark::kMicrosecond);

// One tick of the map animation in the window: the state machine's step, the mask, sprite and
// map drawn onto the window's back buffer, the surface asked to repaint. A brewery's appearance
// over and over, so the figure is the mean of its 25 reveal ticks and its erase tick.
static void BM_AnimationTickInWindow(benchmark::State& state)
{
    ShownGame game(1);
    TForm1& form = game.form;
    form.Surface()->grab();  // the back buffer exists, as after the first paint
    for (auto _ : state) {
        if (!form.Animation().Running())
            form.StartAnimation(4, 0, 2);
        form.Timer1Timer();
    }
    benchmark::DoNotOptimize(form.BackBuffer().constBits());
}
BENCHMARK(BM_AnimationTickInWindow)->Unit(benchmark::kMicrosecond);
