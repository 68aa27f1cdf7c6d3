/// @file savegame_fuzz.cpp Fuzzes the savegame reader: every input is either refused with a reason
/// or read into a game that the writer can store and the reader take back.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "persistence/savegame.h"

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
        reread->Game.StandingOrder != content->Game.StandingOrder ||
        reread->Game.Capacity != content->Game.Capacity) {
        std::fprintf(stderr, "whole numbers changed between writing and reading\n");
        std::abort();
    }
    return 0;
}
