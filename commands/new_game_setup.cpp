/// @file new_game_setup.cpp The new-game dialog's contents at opening.
#include "commands/new_game_setup.h"

#include "game/names_file.h"
#include "game/text.h"
#include "persistence/settings.h"
#include "platform/cp1252.h"

NewGameSetup PrepareNewGameSetup(const GameState& s)
{
    NewGameSetup setup;
    // The name fields take only what the files can hold; a hand-edited settings file may hold
    // more, which shows here as it will be kept.
    setup.Player1Name = AsCp1252Line(ReadSetting(s.Program.ProgramDirectory, settings::kPlayer1));
    setup.Player2Name = AsCp1252Line(ReadSetting(s.Program.ProgramDirectory, settings::kPlayer2));

    // The names file gets its defaults on the first opening, as a new game would give them; the
    // running game's names stay as they are until a new game really starts.
    EnsureDefaultNames(s);
    const LocalText randomTown{"Random Town", "Zufällig"};
    for (int map = 1; map <= kMaps; ++map) {
        auto& list = setup.StartTowns[map - 1];
        list[0] = randomTown.In(s.Program.Language);
        for (int t = 0; t < kTowns; ++t)
            list[t + 1] = kTownNames[map - 1][t];
    }
    return setup;
}
