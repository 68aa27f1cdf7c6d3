/// @file next_turn_bench.cpp The cost of one whole "Next Turn" in a busy game: a one-player
/// expert game on map 3, ten years old, every iteration playing the same month again.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

#include <unistd.h>

#include "engine/turn.h"
#include "game/game_state.h"
#include "game/silent_frontend.h"
#include "game/world_generation.h"

namespace {

// The names and settings files of the benchmark's games live here while it runs.
struct ScratchDirectory {
    std::filesystem::path Path =
        std::filesystem::temp_directory_path() / ("tavrek-bench-" + std::to_string(::getpid()));
    ScratchDirectory() { std::filesystem::create_directories(Path); }
    ~ScratchDirectory()
    {
        std::error_code ec;
        std::filesystem::remove_all(Path, ec);
    }
};

constexpr int kMonthsPlayed = 120;

const GameState& TenYearOldGame()
{
    static ScratchDirectory directory;
    static const GameState game = [] {
        GameState s;
        s.Program.ProgramDirectory = directory.Path.string();
        s.Program.Rng.Seed(3);  // a game still undecided after ten years
        NewGameSettings settings;
        settings.Map = 3;
        settings.Expert = true;
        SilentFrontend frontend;
        GenerateWorld(s, settings, frontend);
        for (int month = 0; month < kMonthsPlayed; ++month)
            NextTurn(s, frontend);
        // The record of the ten years would be copied with each turn below; its own figures are
        // in history_bench.
        s.History.Clear();
        return s;
    }();
    return game;
}

// Computer companies still trading: the game has not been decided.
int TradingCompanies(const GameState& s)
{
    int trading = 0;
    for (int c = 0; c < kCompanies; ++c)
        if (!IsHumanCompany(s, c) && BrandExists(s, c, 0))
            ++trading;
    return trading;
}

void BM_NextTurn(benchmark::State& st)
{
    const GameState& aged = TenYearOldGame();
    if (TradingCompanies(aged) == 0) {
        st.SkipWithError("the game was decided before month 121");
        return;
    }
    SilentFrontend frontend;
    GameState s = aged;
    for (auto _ : st) {
        s = aged;  // the same month each time; BM_CopyGameState measures this copy alone
        NextTurn(s, frontend);
        benchmark::DoNotOptimize(s.Account[0][0]);
        benchmark::ClobberMemory();
    }
    st.counters["month"] = aged.MonthCount;
    st.counters["trading"] = TradingCompanies(aged);
}
BENCHMARK(BM_NextTurn);

void BM_CopyGameState(benchmark::State& st)
{
    const GameState& aged = TenYearOldGame();
    GameState s = aged;
    for (auto _ : st) {
        s = aged;
        benchmark::DoNotOptimize(s.Account[0][0]);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_CopyGameState);

}  // namespace
