/// @file savegame_fuzz.cpp Fuzzes the savegame reader: every input is either refused with a reason
/// or read into a game that the writer can store and the reader take back, and that plays on for
/// a few turns with random events.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>

#include <unistd.h>

#include "engine/turn.h"
#include "game/silent_frontend.h"
#include "persistence/savegame.h"

namespace {

// A victory writes the highscore: the games play in a scratch directory of their own, removed
// when the fuzzer ends.
char gScratch[] = "/tmp/tavrek-fuzz-XXXXXX";

const std::string& ScratchDirectory()
{
    static const std::string directory = [] {
        if (!::mkdtemp(gScratch)) {
            std::perror("mkdtemp");
            std::abort();
        }
        std::atexit([] {
            std::error_code ec;
            std::filesystem::remove_all(gScratch, ec);
        });
        return std::string(gScratch);
    }();
    return directory;
}

void ExpectReadBack(const GameState& game, const char* when)
{
    std::string reason;
    const auto reread = ParseSavegame(SavegameText(game), &reason);
    if (!reread) {
        std::fprintf(stderr, "a game %s cannot be read back after writing: %s\n", when, reason.c_str());
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    std::string reason;
    const auto content = ParseSavegame(text, &reason);
    if (!content) {
        if (reason.empty()) {
            std::fprintf(stderr, "refused without a reason\n");
            std::abort();
        }
        return 0;
    }
    const std::string again = SavegameText(content->Game);
    const auto reread = ParseSavegame(again, &reason);
    if (!reread) {
        std::fprintf(stderr, "a game read from a file cannot be read back after writing: %s\n", reason.c_str());
        std::abort();
    }
    if (reread->Game.MonthCount != content->Game.MonthCount ||
        reread->Game.CurrentCompany != content->Game.CurrentCompany ||
        reread->Game.StandingOrder != content->Game.StandingOrder || reread->Game.Capacity != content->Game.Capacity) {
        std::fprintf(stderr, "whole numbers changed between writing and reading\n");
        std::abort();
    }

    // Play on: what the reader accepts must be playable. The names file is not needed for that,
    // so the loaded game plays as read; the input's first bytes seed the chance.
    GameState game;
    static_cast<GameData&>(game) = content->Game;
    game.GameActive = true;
    game.EventsOn = true;
    game.Program.ProgramDirectory = ScratchDirectory();
    uint32_t seed = 0;
    for (size_t i = 0; i < size && i < 4; ++i)
        seed = seed * 256u + data[i];
    game.Program.Rng.Seed(seed);
    SilentFrontend frontend;
    for (int press = 0; press < 4; ++press)
        NextTurn(game, frontend);
    ExpectReadBack(game, "played on from a file");
    return 0;
}
