/// @file history_bench.cpp The record beside the game: entering a closed month, a whole month
/// with its record as the session plays it, the month's digest, writing and reading the file of
/// a 600-month game, and one price forecast as Change Prices shows it while the player types.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "commands/game_session.h"
#include "engine/market.h"
#include "engine/month_digest.h"
#include "engine/month_record.h"
#include "engine/turn.h"
#include "game/silent_frontend.h"
#include "game/world_generation.h"
#include "persistence/history_file.h"

namespace {

// A program directory of its own, removed at the end.
struct Scratch {
    std::filesystem::path Directory;
    Scratch()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "tavrek-bench-XXXXXX").string();
        if (!::mkdtemp(pattern.data()))
            std::abort();
        Directory = pattern;
    }
    ~Scratch()
    {
        std::error_code ec;
        std::filesystem::remove_all(Directory, ec);
    }
};

// A game on map 3 that nobody can win, played for `months`.
GameState Played(const Scratch& scratch, int months)
{
    GameState s;
    s.Program.ProgramDirectory = scratch.Directory.string();
    s.Program.Rng.Seed(3);
    s.Program.ShowBestOpponent = false;
    NewGameSettings settings;
    settings.Map = 3;
    settings.AdvancedOptions = true;
    settings.WinningShareText = "100";
    SilentFrontend frontend;
    GenerateWorld(s, settings, frontend);
    for (int month = 0; month < months; ++month)
        NextTurn(s, frontend);
    return s;
}

const Scratch& Directory()
{
    static const Scratch scratch;
    return scratch;
}

const GameState& SixHundredMonths()
{
    static const GameState game = Played(Directory(), 600);
    return game;
}

void BM_RecordMonth(benchmark::State& st)
{
    GameState s = Played(Directory(), 120);
    const PerCompanyTown<long double> before = s.Account;
    for (auto _ : st) {
        RecordMonth(s, before, s.Wages);
        benchmark::DoNotOptimize(s.History.Months.back().Companies[3].Value);
        s.History.DropNewestMonth();
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_RecordMonth);

void BM_HistoryText600(benchmark::State& st)
{
    const GameState& s = SixHundredMonths();
    for (auto _ : st) {
        std::string text = HistoryText(s.History, 42, s.MonthCount);
        benchmark::DoNotOptimize(text.data());
    }
    st.counters["months"] = static_cast<double>(s.History.Months.size());
    st.counters["bytes"] = static_cast<double>(HistoryText(s.History, 42, s.MonthCount).size());
}
BENCHMARK(BM_HistoryText600)->Unit(benchmark::kMillisecond);

void BM_ParseHistory600(benchmark::State& st)
{
    const std::string text = HistoryText(SixHundredMonths().History, 42, SixHundredMonths().MonthCount);
    for (auto _ : st) {
        GameHistory h;
        if (ParseHistory(text, 42, SixHundredMonths().MonthCount, h) != HistoryLoad::Loaded)
            st.SkipWithError("not read back");
        benchmark::DoNotOptimize(h.Months.size());
    }
}
BENCHMARK(BM_ParseHistory600)->Unit(benchmark::kMillisecond);

// As Save does it: the text, a scratch file flushed to disk, renamed over the old one.
void BM_SaveHistoryFile600(benchmark::State& st)
{
    const GameState& s = SixHundredMonths();
    const std::string savegame = (Directory().Directory / "bench.tsg").string();
    for (auto _ : st)
        if (!SaveHistoryFile(savegame, s.History, 42, s.MonthCount))
            st.SkipWithError("not saved");
}
BENCHMARK(BM_SaveHistoryFile600)->Unit(benchmark::kMillisecond);

// As Open does it: the file read and checked.
void BM_LoadHistoryFile600(benchmark::State& st)
{
    const std::string savegame = (Directory().Directory / "bench-load.tsg").string();
    if (!SaveHistoryFile(savegame, SixHundredMonths().History, 42, SixHundredMonths().MonthCount)) {
        st.SkipWithError("not saved");
        return;
    }
    for (auto _ : st) {
        GameHistory h;
        if (LoadHistoryFile(savegame, 42, SixHundredMonths().MonthCount, h) != HistoryLoad::Loaded)
            st.SkipWithError("not read back");
        benchmark::DoNotOptimize(h.Months.size());
    }
}
BENCHMARK(BM_LoadHistoryFile600)->Unit(benchmark::kMillisecond);

// One month of the long game tavrek-sim plays (map 3, expert, seed 1) as the session plays it:
// Next Turn kept as an input, the month closed into the record, its digest. Each iteration is
// the game's next month, so the record grows as in a long game.
void BM_MonthWithRecord(benchmark::State& st)
{
    SilentFrontend frontend;
    GameSession session(frontend, Directory().Directory.string());
    session.SetSeed(1);
    session.SetShowBestOpponent(false);
    NewGameSettings settings;
    settings.Map = 3;
    settings.Expert = true;
    session.NewGame(settings);
    for (auto _ : st)
        session.NextTurn();
    st.counters["months"] = static_cast<double>(session.History().Months.size());
    st.counters["record_bytes_per_month"] =
        static_cast<double>(session.History().MemoryBytes()) / static_cast<double>(session.History().Months.size());
}
BENCHMARK(BM_MonthWithRecord);

// The digest of a ten-year-old game, as each closed month takes it.
void BM_MonthDigest(benchmark::State& st)
{
    const GameState s = Played(Directory(), 120);
    for (auto _ : st)
        benchmark::DoNotOptimize(MonthDigest(s));
}
BENCHMARK(BM_MonthDigest);

// One forecast of the player's first brand in the busiest town of a ten-year-old game.
void BM_Forecast(benchmark::State& st)
{
    const GameState s = Played(Directory(), 120);
    const int c = s.CurrentCompany;
    int town = 0;
    for (int t = 1; t < kTowns; ++t)
        if (s.Demand[t] > s.Demand[town])
            town = t;
    float price = 1.0f;
    for (auto _ : st) {
        benchmark::DoNotOptimize(ForecastSales(s, c, 0, town, price));
        price = price < 4.0f ? price + 0.01f : 1.0f;  // as the player types
    }
}
BENCHMARK(BM_Forecast);

}  // namespace
