/// @file next_turn_window_bench.cpp Next Turn in the window: from the mouse click on the button
/// to the surface's repainted frame of the next month, in a one-player game without events, at
/// each zoom; and the resident memory after 600 months played that way.
#include <QApplication>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <benchmark/benchmark.h>

#include "game/silent_frontend.h"
#include "ui/Tavrek95.h"
#include "tests/session_door.h"

namespace {

long StatusKiB(const char* field)
{
    QFile status("/proc/self/status");
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith(field))
            return line.mid(static_cast<int>(qstrlen(field))).trimmed().split(' ').value(0).toLong();
    return -1;
}

/// Counts the frames the surface paints.
class PaintCounter : public QObject {
public:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            ++Paints;
        return QObject::eventFilter(watched, event);
    }
    int Paints = 0;
};

// The window shown at a zoom with a one-player game on map 1 without events; the best-opponent
// comparison is off (it waits for the player's OK), messages and questions go to a silent
// frontend (every question answered "No"). A player who gives no orders goes bankrupt within a
// few years and a computer company may win, and an ended game takes no more turns: so nobody
// wins at a share of 100 %, and the player's towns are kept in money.
struct WindowGame {
    explicit WindowGame(int zoom)
    {
        form.AvailableScreenSize = [] { return QSize(4096, 4096); };
        form.show();
        form.SetZoom(zoom);
        if (form.State().Program.ShowBestOpponent)
            form.Menu(MenuEntry::Bestopponent1)->trigger();
        form.Surface()->installEventFilter(&counter);
        Start();
    }
    ~WindowGame() { form.Session().Leave(); }  // no autosave when the window goes

    void Start()
    {
        form.Session().SetSeed(1750);
        NewGameSettings settings;
        settings.Map = 1;
        settings.Events = false;
        settings.AdvancedOptions = true;
        settings.WinningShareText = "100";
        form.StartNewGame(settings);
        player = form.State().CurrentCompany;
        QApplication::processEvents();
    }

    /// The player's money, so that the months go on (outside the timing): set through the tests'
    /// door, as no player's action makes money.
    void KeepPlayerGoing()
    {
        for (long double& account : WritableState(form.Session()).Account[player])
            account = std::max(account, 100000.0L);
    }

    /// One month: the click on Next Turn, then the events until the surface has painted.
    void NextMonth()
    {
        if (!form.Button8->isVisible())
            return;  // the game is over: no frame would come
        const int paints = counter.Paints;
        QTest::mouseClick(form.Button8, Qt::LeftButton);
        while (counter.Paints == paints)
            QApplication::processEvents();
    }

    QTemporaryDir work;  // the game writes its settings into its game folder
    SilentFrontend silent;
    TForm1 form{FoldersIn(work.path().toStdString()), nullptr, &silent};
    PaintCounter counter;
    int player = 0;
};

}  // namespace

static void BM_NextTurnClickToRepaintedFrame(benchmark::State& state)
{
    WindowGame game(static_cast<int>(state.range(0)));
    int months = 0;
    for (auto _ : state) {
        // A fresh game every ten years, so the figure is of the first decades of a game.
        state.PauseTiming();
        if (++months % 120 == 0)
            game.Start();
        game.KeepPlayerGoing();
        const int month = game.form.State().MonthCount;
        state.ResumeTiming();
        game.NextMonth();
        if (game.form.State().MonthCount == month) {
            state.SkipWithError("Next Turn did not end the month");
            break;
        }
    }
    state.counters["zoom"] = static_cast<double>(state.range(0));
}
BENCHMARK(BM_NextTurnClickToRepaintedFrame)->Arg(100)->Arg(200)->Unit(benchmark::kMillisecond);

// 600 clicks on Next Turn in the window, one after the other in one game: the resident memory
// before and after, and the process's peak (run it alone for a figure of its own), and the month
// the game has reached.
static void BM_ResidentMemoryAfter600Months(benchmark::State& state)
{
    for (auto _ : state) {
        WindowGame game(static_cast<int>(state.range(0)));
        const long before = StatusKiB("VmRSS:");
        for (int month = 0; month < 600; ++month) {
            game.KeepPlayerGoing();
            game.NextMonth();
        }
        state.counters["rss_before_MiB"] = static_cast<double>(before) / 1024;
        state.counters["rss_after_MiB"] = static_cast<double>(StatusKiB("VmRSS:")) / 1024;
        state.counters["rss_peak_MiB"] = static_cast<double>(StatusKiB("VmHWM:")) / 1024;
        state.counters["month"] = game.form.State().MonthCount;
    }
}
BENCHMARK(BM_ResidentMemoryAfter600Months)->Arg(100)->Arg(200)->Iterations(1)->Unit(benchmark::kMillisecond);
