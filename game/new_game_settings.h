/// @file new_game_settings.h What the new-game dialog hands over: everything a new world is made
/// from besides the names and the generator.
#pragma once

#include <cstdint>
#include <string>

/// The winning share the dialog offers.
inline constexpr const char* kDefaultShareText = "60";

/// What the new-game dialog hands over.
struct NewGameSettings {
    int32_t Map = 1;  ///< 1..3
    bool TwoPlayer = false;
    bool Expert = false;
    bool DelayBuilding = true;
    bool Events = true;
    bool AdvancedOptions = false;
    bool ReduceCapacities = false;
    std::string WinningShareText = kDefaultShareText;  ///< at most kShareFieldLength characters
    std::string Player1Name;  ///< at most kTypedNameLength characters; empty keeps the file's name
    std::string Player2Name;
    int32_t Player1Start = 0;  ///< 0 a random town, k town k-1
    int32_t Player2Start = 0;

    bool operator==(const NewGameSettings&) const = default;
};
