/// @file game_folders.h Where a game keeps the player's files and finds its own.
#pragma once

#include <string>

struct GameFolders {
    /// The settings file, the names file, highscores and "Autosave.tsg".
    std::string Data;
    /// The sound files and the help pages.
    std::string Resources;
};

/// A game started inside its game folder keeps everything there, as the game always did.
inline GameFolders FoldersIn(const std::string& gameFolder) { return {gameFolder, gameFolder}; }
