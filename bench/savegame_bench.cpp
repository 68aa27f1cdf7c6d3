/// @file savegame_bench.cpp The cost of saving and loading a two-player game on map 3 after two
/// years of play: the text alone, and the whole file operation as "Save" and "Open" do it.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "engine/turn.h"
#include "game/names_file.h"
#include "game/silent_frontend.h"
#include "game/world_generation.h"
#include "persistence/savegame.h"

namespace {

// A program directory of its own (settings and names file), removed at the end.
struct Played {
    std::filesystem::path Directory;
    GameState State;

    Played()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "tavrek-bench-XXXXXX").string();
        if (!::mkdtemp(pattern.data()))
            std::abort();
        Directory = pattern;
        State.Program.ProgramDirectory = Directory.string();
        State.Program.Rng.Seed(2024);
        NewGameSettings settings;
        settings.Map = 3;
        settings.TwoPlayer = true;
        settings.Player1Start = 3;
        settings.Player2Start = 8;
        settings.Player1Name = "Anna";
        settings.Player2Name = "Bert";
        SilentFrontend frontend;
        GenerateWorld(State, settings, frontend);
        for (int month = 0; month < 24; ++month)
            for (int p = 0; p < 2; ++p)
                NextTurn(State, frontend);
    }
    ~Played()
    {
        std::error_code ec;
        std::filesystem::remove_all(Directory, ec);
    }
};

const Played& Game()
{
    static const Played played;
    return played;
}

void BM_SavegameText(benchmark::State& st)
{
    const GameState& s = Game().State;
    for (auto _ : st) {
        std::string text = SavegameText(s);
        benchmark::DoNotOptimize(text.data());
    }
}
BENCHMARK(BM_SavegameText)->Unit(benchmark::kMicrosecond);

void BM_ParseSavegame(benchmark::State& st)
{
    const std::string text = SavegameText(Game().State);
    for (auto _ : st) {
        auto content = ParseSavegame(text);
        benchmark::DoNotOptimize(content->Game.Account[3][3]);
    }
}
BENCHMARK(BM_ParseSavegame)->Unit(benchmark::kMicrosecond);

// Reading and checking the text, then replacing the running game, names file included.
void BM_LoadFromText(benchmark::State& st)
{
    const std::string text = SavegameText(Game().State);
    GameState running = Game().State;
    for (auto _ : st) {
        auto content = ParseSavegame(text);
        ApplySavegame(running, *content);
        benchmark::DoNotOptimize(running.Account[3][3]);
    }
}
BENCHMARK(BM_LoadFromText)->Unit(benchmark::kMicrosecond);

// The part of a load that reads the names file: the map's company, brand and town names.
void BM_SetMapNames(benchmark::State& st)
{
    GameState running = Game().State;
    for (auto _ : st) {
        SetMapNames(running);
        benchmark::DoNotOptimize(running.CompanyName[3].data());
    }
}
BENCHMARK(BM_SetMapNames)->Unit(benchmark::kMicrosecond);

// "Save": the text, a new file beside the old one, flushed to disk, renamed over it.
void BM_SaveFile(benchmark::State& st)
{
    const std::string path = (Game().Directory / "game.tsg").string();
    for (auto _ : st)
        if (!WriteSavegameFile(Game().State, path))
            st.SkipWithError("save failed");
}
BENCHMARK(BM_SaveFile)->Unit(benchmark::kMicrosecond);

// "Open": reading the file, checking it and replacing the running game.
void BM_LoadFile(benchmark::State& st)
{
    const std::string path = (Game().Directory / "load.tsg").string();
    if (!WriteSavegameFile(Game().State, path))
        st.SkipWithError("save failed");
    GameState running = Game().State;
    for (auto _ : st)
        if (LoadGameFile(running, path) != LoadStatus::Loaded)
            st.SkipWithError("load failed");
}
BENCHMARK(BM_LoadFile)->Unit(benchmark::kMicrosecond);

}  // namespace
