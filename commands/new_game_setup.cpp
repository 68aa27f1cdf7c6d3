/// @file new_game_setup.cpp The new-game dialog's contents at opening.
#include "commands/new_game_setup.h"

#include "game/names_file.h"
#include "game/text.h"
#include "persistence/settings.h"

NewGameSetup PrepareNewGameSetup(GameState& s)
{
    NewGameSetup setup;
    setup.Player1Name = ReadSetting(s.Program.ProgramDirectory, settings::kPlayer1);
    setup.Player2Name = ReadSetting(s.Program.ProgramDirectory, settings::kPlayer2);

    const LocalText randomTown{"Random Town", "Zufällig"};
    const int32_t runningMap = s.MapNumber;
    for (int map = 1; map <= kMaps; ++map) {
        // The lists show the town names that loading the map's names sets.
        s.MapNumber = map;
        SetMapNames(s);
        auto& list = setup.StartTowns[map - 1];
        list[0] = randomTown.In(s.Program.Language);
        for (int t = 0; t < kTowns; ++t)
            list[t + 1] = s.TownName[t];
    }
    s.MapNumber = runningMap;
    SetMapNames(s);
    return setup;
}
